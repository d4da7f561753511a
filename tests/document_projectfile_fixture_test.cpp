// Reading project files built byte by byte from the file layout, independent of
// our own writer: section order, text code page, trailing sections and damage.
#include "ProjectFile.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Little-endian file bytes, put together by hand.
struct FileBytes {
    QByteArray bytes;

    FileBytes& b(std::uint8_t v) {
        bytes.append(static_cast<char>(v));
        return *this;
    }
    FileBytes& u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b(static_cast<std::uint8_t>(v >> (8 * i)));
        return *this;
    }
    FileBytes& i32(std::int32_t v) { return u32(static_cast<std::uint32_t>(v)); }
    FileBytes& f64(double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, 8);
        for (int i = 0; i < 8; ++i)
            b(static_cast<std::uint8_t>(bits >> (8 * i)));
        return *this;
    }
    // An AString: int32 length, then the bytes as they are (Windows-1252).
    FileBytes& str(const QByteArray& raw) {
        i32(static_cast<std::int32_t>(raw.size()));
        bytes.append(raw);
        return *this;
    }
    FileBytes& font(int i) {
        const QString name = QStringLiteral("Font %1").arg(i);
        b(static_cast<std::uint8_t>(i)).u32(0x100u + i).b(static_cast<std::uint8_t>(name.size()));
        for (QChar c : name)
            b(c.unicode() & 0xFF).b(c.unicode() >> 8);
        return b(static_cast<std::uint8_t>(i % 3))
            .i32(96 + i)
            .i32(10 + i)
            .b(static_cast<std::uint8_t>(i));
    }
    qsizetype size() const { return bytes.size(); }
};

// Section 2 with a value for every control that differs from its default.
void AppendPageSettings(FileBytes& f) {
    f.str("bg.png").str("logo.gif").f64(11.5).f64(3.5).f64(13.5).f64(6.5).f64(2.5);
    f.b(0).b(0).str("foot odd").str("foot even").str("head");
    f.b(7).f64(7.5).f64(8.5).b(0).u32(0x010203).b(0).u32(0x040506);
    f.b(0).b(0).b(0).u32(0x070809).u32(0x0A0B0C).b(1).f64(9.5).f64(10.5).b(1).i32(-3);
    f.f64(31.5).f64(12.5).f64(40).f64(-20).b(0).b(1).b(0).f64(2.5).f64(3.25).b(0);
}

void AppendFonts(FileBytes& f) {
    for (int i = 0; i < 9; ++i)
        f.font(i);
}

void ExpectPageSettingsAndFonts(const LayoutSettings& s) {
    EXPECT_EQ(s.backgroundFile, "bg.png");
    EXPECT_EQ(s.logoFile, "logo.gif");
    EXPECT_EQ(s.leftMarginMm, 11.5);
    EXPECT_EQ(s.topMarginMm, 3.5);
    EXPECT_EQ(s.rightMarginMm, 13.5);
    EXPECT_EQ(s.bottomMarginMm, 6.5);
    EXPECT_EQ(s.objectGapMm, 2.5);
    EXPECT_FALSE(s.categoryNamesInCapitals);
    EXPECT_FALSE(s.headingCentred);
    EXPECT_EQ(s.oddFooterText, "foot odd");
    EXPECT_EQ(s.evenFooterText, "foot even");
    EXPECT_EQ(s.headerText, "head");
    EXPECT_TRUE(s.pageFrame); // stored as 7: any non-zero byte is true
    EXPECT_EQ(s.spaceBelowHeaderMm, 7.5);
    EXPECT_EQ(s.headerIndentMm, 8.5);
    EXPECT_FALSE(s.headerBand);
    EXPECT_EQ(s.headerColour, 0x010203u);
    EXPECT_FALSE(s.footerBand);
    EXPECT_EQ(s.footerColour, 0x040506u);
    EXPECT_FALSE(s.showLogo);
    EXPECT_FALSE(s.categoryNameBand);
    EXPECT_FALSE(s.categoryAreaBand);
    EXPECT_EQ(s.categoryNameColour, 0x070809u);
    EXPECT_EQ(s.categoryAreaColour, 0x0A0B0Cu);
    EXPECT_TRUE(s.footerCentred);
    EXPECT_EQ(s.spaceAboveFooterMm, 9.5);
    EXPECT_EQ(s.footerIndentMm, 10.5);
    EXPECT_TRUE(s.swapFooters);
    EXPECT_EQ(s.firstPageNumber, -3);
    EXPECT_EQ(s.tileWidthCm, 31.5);
    EXPECT_EQ(s.tileHeightCm, 12.5);
    EXPECT_EQ(s.tileBrightness, 40);
    EXPECT_EQ(s.tileSaturation, -20);
    EXPECT_FALSE(s.tileKeepsAspect);
    EXPECT_TRUE(s.tileGrayScale);
    EXPECT_FALSE(s.tileLighten);
    EXPECT_EQ(s.logoWidthCm, 2.5);
    EXPECT_EQ(s.logoHeightCm, 3.25);
    EXPECT_FALSE(s.logoKeepsAspect);
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        const FontRecord& font = s.fonts[static_cast<std::size_t>(i)];
        EXPECT_EQ(font.charset, i);
        EXPECT_EQ(font.color, 0x100u + i);
        EXPECT_EQ(font.name, QStringLiteral("Font %1").arg(i));
        EXPECT_EQ(font.pitch, i % 3);
        EXPECT_EQ(font.pixelsPerInch, 96 + i);
        EXPECT_EQ(font.size, 10 + i);
        EXPECT_EQ(font.style, i);
    }
}

// A layout whose trailing values all differ from what the fixtures store.
LayoutSettings FormerLayout() {
    LayoutSettings s;
    s.descriptionOneColumn = false;
    s.pictureAlignment = 0;
    s.descriptionNotJustified = false;
    s.columnGapMm = 4;
    s.variantsTableCentred = false;
    s.backgroundFill = true;
    s.backgroundStartColour = 0xAAAAAA;
    s.backgroundEndColour = 0xBBBBBB;
    s.noLineBelowVariants = false;
    s.lineWidthMm = 0.3;
    s.variantsLineWidthMm = 0.4;
    s.fieldBackgroundColour = s.tableHeadingColour = s.priceColumnsColour = s.tableLineColour =
        s.lineColour = 0xCCCCCC;
    return s;
}

void AppendT1ToT7(FileBytes& f) {
    f.b(1).i32(1).b(1).f64(6.5).b(1).b(0).u32(0x111111).u32(0x222222).b(1);
}
void AppendT9(FileBytes& f) {
    f.f64(0.8).f64(0.9).u32(0x070707).u32(0x080808).u32(0x090909).u32(0x0A0A0A).u32(0x0B0B0B);
}

// Where the sections of the small file below begin and end.
struct SmallFile {
    FileBytes f;
    qsizetype section3End = 0, t8Start = 0, t8End = 0;
};

// Two categories: "K1" with a text field (description, price columns, two variant
// rows, one picture) and a record; "K2" with no fields and no record.
SmallFile MakeSmallFile() {
    SmallFile s;
    FileBytes& f = s.f;
    f.i32(2);
    f.str("K1").i32(1);
    f.str("Name").str("Descr").i32(3).f64(6).f64(1.25).i32(fkText);
    f.i32(2).i32(2).str("S").str("M").i32(0);
    f.i32(1).f64(4.5).str("pic.jpg");
    f.str("K2").i32(0);
    AppendPageSettings(f);
    AppendFonts(f);
    s.section3End = f.size();
    AppendT1ToT7(f);
    s.t8Start = f.size();
    f.i32(2).b(1).str("Intro").str("cat.png").f64(3.5).i32(1).b(1).b(0);
    s.t8End = f.size();
    AppendT9(f);
    return s;
}

void ExpectTrailingFromFile(const LayoutSettings& s) {
    EXPECT_TRUE(s.descriptionOneColumn);
    EXPECT_EQ(s.pictureAlignment, 1);
    EXPECT_TRUE(s.descriptionNotJustified);
    EXPECT_EQ(s.columnGapMm, 6.5);
    EXPECT_TRUE(s.variantsTableCentred);
    EXPECT_FALSE(s.backgroundFill);
    EXPECT_EQ(s.backgroundStartColour, 0x111111u);
    EXPECT_EQ(s.backgroundEndColour, 0x222222u);
    EXPECT_TRUE(s.noLineBelowVariants);
    EXPECT_EQ(s.lineWidthMm, 0.8);
    EXPECT_EQ(s.variantsLineWidthMm, 0.9);
    EXPECT_EQ(s.fieldBackgroundColour, 0x070707u);
    EXPECT_EQ(s.tableHeadingColour, 0x080808u);
    EXPECT_EQ(s.priceColumnsColour, 0x090909u);
    EXPECT_EQ(s.tableLineColour, 0x0A0A0Au);
    EXPECT_EQ(s.lineColour, 0x0B0B0Bu);
}

void ExpectDamaged(const ProjectReadResult& r) {
    EXPECT_EQ(r.status, ProjectReadStatus::Damaged);
    EXPECT_EQ(r.error, "Read beyond end of file");
    EXPECT_EQ(r.document, nullptr);
}

// Every value of every section lands in its own place: a shifted order would mix them up.
TEST(ProjectFileFixture, SmallFileLoadsEveryValueInPlace) {
    const SmallFile s = MakeSmallFile();
    const ProjectReadResult r = ReadProjectFile(s.f.bytes, FormerLayout());
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    const FormDocument& doc = *r.document;
    ASSERT_EQ(doc.CategoryCount(), 2);
    EXPECT_EQ(doc.CategoryName(0), "K1");
    EXPECT_EQ(doc.CategoryName(1), "K2");
    ASSERT_EQ(doc.Fields(0)->Count(), 1u);
    EXPECT_EQ(doc.Fields(1)->Count(), 0u);
    const FieldRecord& field = *doc.Fields(0)->at(0);
    EXPECT_EQ(ToQString(field.name), "Name");
    EXPECT_EQ(ToQString(field.descr), "Descr");
    EXPECT_EQ(field.pricecols, 3);
    EXPECT_EQ(field.width, 6);
    EXPECT_EQ(field.height, 1.25);
    EXPECT_EQ(field.kind, fkText);
    ASSERT_EQ(field.variants->Count(), 2u);
    ASSERT_EQ(field.variants->at(0)->cells->Count(), 2u);
    EXPECT_EQ(ToQString(field.variants->at(0)->cells->at(1)->text), "M");
    EXPECT_EQ(field.variants->at(1)->cells->Count(), 0u);
    ASSERT_EQ(field.pictures->Count(), 1u);
    EXPECT_EQ(field.pictures->at(0)->number, 4.5);
    EXPECT_EQ(ToQString(field.pictures->at(0)->filename), "pic.jpg");
    ASSERT_NE(doc.Record(0), nullptr);
    EXPECT_EQ(ToQString(doc.Record(0)->introtext), "Intro");
    EXPECT_EQ(ToQString(doc.Record(0)->picfile), "cat.png");
    EXPECT_EQ(doc.Record(0)->picwidth, 3.5);
    EXPECT_EQ(doc.Record(0)->picbelow, 1);
    EXPECT_TRUE(doc.Record(0)->textbelowpic);
    EXPECT_EQ(doc.Record(1), nullptr);
    ExpectPageSettingsAndFonts(r.settings);
    ExpectTrailingFromFile(r.settings);
}

// An empty document: int32 0, sections 2 and 3, T1 to T7, T8 as the int32 0 alone, T9.
TEST(ProjectFileFixture, EmptyDocumentLoads) {
    FileBytes f;
    f.i32(0);
    AppendPageSettings(f);
    AppendFonts(f);
    AppendT1ToT7(f);
    f.i32(0);
    AppendT9(f);
    const ProjectReadResult r = ReadProjectFile(f.bytes, FormerLayout());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.document->CategoryCount(), 0);
    ExpectPageSettingsAndFonts(r.settings);
    ExpectTrailingFromFile(r.settings);
}

// Trailing sections a file lacks must keep the former values, not fall back to defaults.
TEST(ProjectFileFixture, FileEndingAfterSection3KeepsFormerTrailingValues) {
    const SmallFile s = MakeSmallFile();
    const LayoutSettings former = FormerLayout();
    const ProjectReadResult r = ReadProjectFile(s.f.bytes.left(s.section3End), former);
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.document->CategoryCount(), 2);
    EXPECT_EQ(r.document->Record(0), nullptr);
    EXPECT_EQ(r.document->Record(1), nullptr);
    ExpectPageSettingsAndFonts(r.settings);
    EXPECT_EQ(r.settings.pictureAlignment, former.pictureAlignment);
    EXPECT_EQ(r.settings.columnGapMm, former.columnGapMm);
    EXPECT_EQ(r.settings.backgroundStartColour, former.backgroundStartColour);
    EXPECT_EQ(r.settings.backgroundEndColour, former.backgroundEndColour);
    EXPECT_EQ(r.settings.lineWidthMm, former.lineWidthMm);
    EXPECT_EQ(r.settings.variantsLineWidthMm, former.variantsLineWidthMm);
    EXPECT_EQ(r.settings.lineColour, former.lineColour);
}

// A 0-byte file is damaged and yields no document that could be saved over the file.
TEST(ProjectFileFixture, ZeroByteFileIsDamaged) {
    ExpectDamaged(ReadProjectFile(QByteArray(), LayoutSettings()));
}

// Bytes 0x80 to 0x9F are Windows-1252 characters, not C1 controls or Latin-1.
TEST(ProjectFileFixture, TextsReadAsWindows1252) {
    FileBytes head;
    head.i32(1).str(QByteArray("\x80\xE4\xDF\x9F\x81", 5)).i32(0);
    AppendPageSettings(head);
    AppendFonts(head);
    const ProjectReadResult r = ReadProjectFile(head.bytes, LayoutSettings());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.document->CategoryName(0), QString::fromUtf8("€äßŸ\u0081"));
}

// T2 values other than 0, 1, 2 leave the picture alignment as it was.
TEST(ProjectFileFixture, UnknownPictureAlignmentIsIgnored) {
    for (const std::int32_t stored : {7, -1, 3}) {
        FileBytes f;
        f.i32(0);
        AppendPageSettings(f);
        AppendFonts(f);
        f.b(1).i32(stored).b(1);
        LayoutSettings former;
        former.pictureAlignment = 1;
        const ProjectReadResult r = ReadProjectFile(f.bytes, former);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r.settings.pictureAlignment, 1) << stored;
        EXPECT_TRUE(r.settings.descriptionNotJustified) << "the sections after T2 are still read";
    }
}

// A field kind the program never makes is kept, so saving does not change the file.
TEST(ProjectFileFixture, UnknownFieldKindIsKept) {
    FileBytes f;
    f.i32(1).str("K").i32(1).str("N").str("").i32(0).f64(1).f64(1).i32(5).i32(0).i32(0);
    AppendPageSettings(f);
    AppendFonts(f);
    const ProjectReadResult r = ReadProjectFile(f.bytes, LayoutSettings());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.document->Fields(0)->at(0)->kind, 5);
}

// More category records than categories: the surplus is skipped and T9 still read.
TEST(ProjectFileFixture, SurplusCategoryRecordsAreIgnored) {
    FileBytes f;
    f.i32(1).str("Only").i32(0);
    AppendPageSettings(f);
    AppendFonts(f);
    AppendT1ToT7(f);
    f.i32(3).b(0);
    f.b(1).str("lost").str("lost.png").f64(1).i32(0).b(0);
    f.b(1).str("lost too").str("").f64(1).i32(0).b(0);
    AppendT9(f);
    const ProjectReadResult r = ReadProjectFile(f.bytes, FormerLayout());
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.document->CategoryCount(), 1);
    EXPECT_EQ(r.document->Record(0), nullptr);
    ExpectTrailingFromFile(r.settings);
}

// A file cut at any byte never crashes: before the end of section 3 or inside T8 it is
// damaged; elsewhere it loads with the complete sections before the cut.
TEST(ProjectFileFixture, EveryTruncationLoadsOrReportsDamage) {
    const SmallFile s = MakeSmallFile();
    for (qsizetype n = 0; n <= s.f.size(); ++n) {
        SCOPED_TRACE(n);
        const ProjectReadResult r = ReadProjectFile(s.f.bytes.left(n), FormerLayout());
        const bool shouldLoad = n >= s.section3End && !(n > s.t8Start && n < s.t8End);
        if (!shouldLoad) {
            ExpectDamaged(r);
            continue;
        }
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r.document->CategoryCount(), 2);
        // A section is taken whole or not at all.
        const bool hasT4 = n >= s.section3End + 1 + 4 + 1 + 8;
        EXPECT_EQ(r.settings.columnGapMm, hasT4 ? 6.5 : 4.0);
        const bool hasT6 = n >= s.section3End + 1 + 4 + 1 + 8 + 1 + 9;
        EXPECT_EQ(r.settings.backgroundEndColour, hasT6 ? 0x222222u : 0xBBBBBBu);
        EXPECT_EQ(r.document->Record(0) != nullptr, n >= s.t8End);
        EXPECT_EQ(r.settings.lineColour, n == s.f.size() ? 0x0B0B0Bu : 0xCCCCCCu);
    }
}

struct BadCount {
    const char* what;
    QByteArray file;
    bool loads; // a count of zero or less means none
};

FileBytes Tail(FileBytes f) {
    AppendPageSettings(f);
    AppendFonts(f);
    return f;
}

// Negative lengths and counts larger than the bytes left are damage and build nothing.
TEST(ProjectFileFixture, NegativeAndHugeCounts) {
    const auto field = [](FileBytes f, std::int32_t rows, std::int32_t cells, std::int32_t pics) {
        f.str("N").str("").i32(0).f64(1).f64(1).i32(0).i32(rows);
        if (rows > 0) f.i32(cells);
        return f.i32(pics);
    };
    const BadCount cases[] = {
        {"negative name length",
         Tail(FileBytes().i32(1).str("").i32(0)).bytes.replace(4, 4, "\xFF\xFF\xFF\xFF"), false},
        {"huge category count", Tail(FileBytes().i32(0x7FFFFFFF)).bytes, false},
        {"negative category count", Tail(FileBytes().i32(-5)).bytes, true},
        {"huge field count", Tail(FileBytes().i32(1).str("K").i32(0x10000000)).bytes, false},
        {"huge variant row count",
         Tail(field(FileBytes().i32(1).str("K").i32(1), 0x7FFFFFF0, 0, 0)).bytes, false},
        {"huge cell count", Tail(field(FileBytes().i32(1).str("K").i32(1), 1, 0x7FFFFFF0, 0)).bytes,
         false},
        {"huge picture count",
         Tail(field(FileBytes().i32(1).str("K").i32(1), 0, 0, 0x7FFFFFF0)).bytes, false},
        {"negative counts inside a field",
         Tail(field(FileBytes().i32(1).str("K").i32(1), -1, 0, -7)).bytes, true},
        {"text longer than the file", Tail(FileBytes().i32(1).i32(0x7FFFFFFF)).bytes, false},
        {"huge record count",
         (Tail(FileBytes().i32(0)).bytes +
          FileBytes().b(0).i32(0).b(0).f64(0).b(0).b(0).u32(0).u32(0).b(0).i32(0x7FFFFFFF).bytes),
         false},
        {"negative record text length",
         (Tail(FileBytes().i32(1).str("K").i32(0)).bytes + FileBytes()
                                                               .b(0)
                                                               .i32(0)
                                                               .b(0)
                                                               .f64(0)
                                                               .b(0)
                                                               .b(0)
                                                               .u32(0)
                                                               .u32(0)
                                                               .b(0)
                                                               .i32(1)
                                                               .b(1)
                                                               .i32(-2)
                                                               .bytes),
         false},
    };
    for (const BadCount& c : cases) {
        SCOPED_TRACE(c.what);
        const ProjectReadResult r = ReadProjectFile(c.file, LayoutSettings());
        if (c.loads)
            EXPECT_TRUE(r.ok());
        else
            ExpectDamaged(r);
    }
}

// A text cut off inside T8 is damage, not a half-read category record.
TEST(ProjectFileFixture, TextCutInsideCategoryRecordsIsDamage) {
    const SmallFile s = MakeSmallFile();
    const qsizetype insideIntro = s.t8Start + 4 + 1 + 4 + 2; // in the middle of "Intro"
    ExpectDamaged(ReadProjectFile(s.f.bytes.left(insideIntro), LayoutSettings()));
}

} // namespace
