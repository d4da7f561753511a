// Saving and reopening a project keeps every value, and saving again gives the
// same bytes; texts go through Windows-1252 and font names through UTF-16.
#include "Cp1252.h"
#include "DocumentEdits.h"
#include "LayoutKeys.h"
#include "ProjectFile.h"
#include "ProjectLayoutOrder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Every part of the format: categories with and without a record, all three field
// kinds and one the program never makes, descriptions, price columns, variant rows
// with and without cells, pictures with numbers, a field with nothing nested.
void FillFullDocument(FormDocument& doc) {
    const int drinks = AppendCategory(doc, QString::fromUtf8("Getränke – Preise in €"));
    doc.SetRecord(drinks, NewCategoryRecord("drinks.png", 4.25,
                                            QString::fromUtf8("Zeile 1\r\nZeile 2 «ß»"), 1, true));
    TakenField name = TakenField::Make(fkText, "Name", 6, 1.25);
    FieldRecord& f = name.record();
    ReplaceText(f.descr, QStringLiteral("a description"));
    f.pricecols = 2;
    AddVariantCell(*f.variants->at(0), "0,5 l");
    AddVariantCell(*f.variants->at(0), QString::fromUtf8("1,20 €"));
    VariantRow* row = AddVariantRow(f);
    AddVariantCell(*row, "");
    AddVariantCell(*row, "1 l");
    AddVariantRow(f); // a row without cells
    AddImageEntry(f, 3.5, "a.jpg");
    AddImageEntry(f, -1e300, "");
    doc.InsertField(drinks, 0, std::move(name));
    AppendField(doc, drinks, fkCheckBox, "Ja", 1, 0.5);
    AppendField(doc, drinks, fkSingleChoice, "Nur eine", 2.5, 0.75)->kind = 9;

    const int plain = AppendCategory(doc, "Ohne Datensatz");
    TakenField bare = TakenField::Bare();
    ReplaceText(bare.record().name, "bare");
    bare.record().width = 0.1;
    bare.record().height = 1e-9;
    doc.InsertField(plain, 0, std::move(bare));

    const int empty = AppendCategory(doc, "");
    doc.SetRecord(empty, NewCategoryRecord("", 0, "", 0, false));
}

// A layout in which every value differs from its default.
LayoutSettings FullLayout() {
    LayoutSettings s;
    double v = 1.125;
    for (auto spins : {MarginSettings(), BackgroundSpinSettings(), LogoSpinSettings()})
        for (const SpinSetting& spin : spins)
            s.*spin.value = (v += 1.0);
    for (const CheckSetting& check : CheckSettings())
        s.*check.value = !(s.*check.value);
    ColourValue c = 0x010101;
    for (const ColourSetting& colour : ColourSettings())
        s.*colour.value = (c += 0x030201);
    s.pictureAlignment = 1;
    s.oddFooterText = QString::fromUtf8("Fuß %PAGE%");
    s.evenFooterText = "even";
    s.headerText = "";
    s.firstPageNumber = -12;
    s.logoFile = "/tmp/logo.gif";
    s.backgroundFile = "C:\\Bilder\\hintergrund.bmp";
    for (int i = 0; i < 9; ++i) {
        FontRecord& font = s.fonts[static_cast<std::size_t>(i)];
        font.charset = static_cast<std::uint8_t>(200 + i);
        font.color = 0xFF000000u + static_cast<ColourValue>(i);
        font.name = QString::fromUtf8("Schrift ") + QChar(0x4E00 + i); // beyond Windows-1252
        font.pitch = static_cast<std::uint8_t>(i % 3);
        font.pixelsPerInch = 72 + i;
        font.size = 5 + i;
        font.style = static_cast<std::uint8_t>(15 - i);
    }
    return s;
}

void ExpectSameLayout(const LayoutSettings& a, const LayoutSettings& b) {
    for (auto spins : {MarginSettings(), BackgroundSpinSettings(), LogoSpinSettings()})
        for (const SpinSetting& spin : spins)
            EXPECT_EQ(a.*spin.value, b.*spin.value) << spin.name;
    for (const CheckSetting& check : CheckSettings())
        EXPECT_EQ(a.*check.value, b.*check.value) << check.name;
    for (const ColourSetting& colour : ColourSettings())
        EXPECT_EQ(a.*colour.value, b.*colour.value) << colour.name;
    for (const FontSetting& font : FontSettings())
        EXPECT_EQ(a.fonts[static_cast<std::size_t>(font.index)],
                  b.fonts[static_cast<std::size_t>(font.index)])
            << font.dialogName;
    EXPECT_EQ(a.pictureAlignment, b.pictureAlignment);
    EXPECT_EQ(a.oddFooterText, b.oddFooterText);
    EXPECT_EQ(a.evenFooterText, b.evenFooterText);
    EXPECT_EQ(a.headerText, b.headerText);
    EXPECT_EQ(a.firstPageNumber, b.firstPageNumber);
    EXPECT_EQ(a.logoFile, b.logoFile);
    EXPECT_EQ(a.backgroundFile, b.backgroundFile);
}

void ExpectSameField(const FieldRecord& a, const FieldRecord& b) {
    EXPECT_EQ(ToQString(a.name), ToQString(b.name));
    EXPECT_EQ(ToQString(a.descr), ToQString(b.descr));
    EXPECT_EQ(a.kind, b.kind);
    EXPECT_EQ(a.width, b.width);
    EXPECT_EQ(a.height, b.height);
    EXPECT_EQ(a.pricecols, b.pricecols);
    ASSERT_EQ(a.variants->Count(), b.variants->Count());
    for (std::int32_t r = 0; r < static_cast<std::int32_t>(a.variants->Count()); ++r) {
        const auto* ca = a.variants->at(r)->cells;
        const auto* cb = b.variants->at(r)->cells;
        ASSERT_EQ(ca->Count(), cb->Count());
        for (std::int32_t k = 0; k < static_cast<std::int32_t>(ca->Count()); ++k)
            EXPECT_EQ(ToQString(ca->at(k)->text), ToQString(cb->at(k)->text));
    }
    ASSERT_EQ(a.pictures->Count(), b.pictures->Count());
    for (std::int32_t p = 0; p < static_cast<std::int32_t>(a.pictures->Count()); ++p) {
        EXPECT_EQ(a.pictures->at(p)->number, b.pictures->at(p)->number);
        EXPECT_EQ(ToQString(a.pictures->at(p)->filename), ToQString(b.pictures->at(p)->filename));
    }
}

void ExpectSameDocument(const FormDocument& a, const FormDocument& b) {
    ASSERT_EQ(a.CategoryCount(), b.CategoryCount());
    for (int i = 0; i < a.CategoryCount(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(a.CategoryName(i), b.CategoryName(i));
        ASSERT_EQ(a.Record(i) == nullptr, b.Record(i) == nullptr);
        if (const CategoryRecord* ra = a.Record(i)) {
            const CategoryRecord* rb = b.Record(i);
            EXPECT_EQ(ToQString(ra->picfile), ToQString(rb->picfile));
            EXPECT_EQ(ra->picwidth, rb->picwidth);
            EXPECT_EQ(ToQString(ra->introtext), ToQString(rb->introtext));
            EXPECT_EQ(ra->picbelow, rb->picbelow);
            EXPECT_EQ(ra->textbelowpic, rb->textbelowpic);
        }
        ASSERT_EQ(a.Fields(i)->Count(), b.Fields(i)->Count());
        for (std::int32_t f = 0; f < static_cast<std::int32_t>(a.Fields(i)->Count()); ++f)
            ExpectSameField(*a.Fields(i)->at(f), *b.Fields(i)->at(f));
    }
}

// A document using every part of the format comes back equal, and saves to the same bytes.
TEST(ProjectFileRoundTrip, FullDocumentReopensEqualAndSavesSameBytes) {
    FormDocument doc;
    FillFullDocument(doc);
    const LayoutSettings layout = FullLayout();
    QTemporaryDir dir;
    const QString path = dir.filePath("full.qlr");
    FileFailure failure;
    ASSERT_TRUE(WriteProjectFile(path, doc, layout, &failure)) << failure.english.toStdString();

    const ProjectReadResult r = ReadProjectFileFromPath(path, LayoutSettings());
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    ExpectSameDocument(doc, *r.document);
    ExpectSameLayout(layout, r.settings);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(SerializeProject(*r.document, r.settings), file.readAll());
}

// The shared table of trailing sections must keep the sizes the format fixes, or
// reader and writer would agree with each other on a wrong file.
TEST(ProjectFileRoundTrip, TrailingSectionsHaveTheirFixedSizes) {
    const std::vector<TrailingSection>& sections = TrailingSections();
    ASSERT_EQ(sections.size(), 9u);
    const int bytes[] = {1, 4, 1, 8, 1, 9, 1, 0, 36};
    for (std::size_t i = 0; i < sections.size(); ++i) {
        EXPECT_EQ(sections[i].categoryRecords, i == 7) << "T" << i + 1;
        EXPECT_EQ(SectionBytes(sections[i]), bytes[i]) << "T" << i + 1;
    }
}

// A layout value left out of the file order would be lost on saving, one placed twice
// would shift every value after it: each key but the fonts (saved in a part of their
// own) has exactly one place, and each place belongs to a key.
TEST(ProjectFileRoundTrip, EveryLayoutKeyHasOnePlaceInTheFile) {
    std::vector<int> places(LayoutKeys().size(), 0);
    auto place = [&places](const PageValue& value) {
        const int key =
            std::visit([](auto member) { return LayoutKeyIndex(LayoutMember(member)); }, value);
        ASSERT_GE(key, 0);
        ++places[static_cast<std::size_t>(key)];
    };
    for (const PageValue& value : PageSettingsOrder())
        place(value);
    for (const TrailingSection& section : TrailingSections())
        for (const PageValue& value : section.values)
            place(value);
    for (std::size_t key = 0; key < places.size(); ++key) {
        const bool font = std::holds_alternative<FontRole>(LayoutKeys()[key].member);
        EXPECT_EQ(places[key], font ? 0 : 1) << LayoutKeys()[key].name;
    }
}

// Every Windows-1252 byte, 0x80 to 0x9F included, is read and written back unchanged.
TEST(ProjectFileRoundTrip, WholeCodePageSurvives) {
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = Cp1252ToUnicode(all);
    EXPECT_EQ(text[0x80 - 1], QChar(0x20AC));
    EXPECT_EQ(text[0x9F - 1], QChar(0x0178));
    EXPECT_EQ(UnicodeToCp1252(text), all);

    FormDocument doc;
    AppendCategory(doc, text);
    const QByteArray saved = SerializeProject(doc, LayoutSettings());
    EXPECT_EQ(saved.mid(8, 255), all); // after the category count and the name length
    const ProjectReadResult r = ReadProjectFile(saved, LayoutSettings());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.document->CategoryName(0), text);
}

// A character without a Windows-1252 form is written as one "?", a surrogate pair too.
TEST(ProjectFileRoundTrip, UnmappableCharactersBecomeQuestionMarks) {
    const QString text = QString::fromUtf8("a日😀Ā€b") + QChar(0xD800); // ends in a lone surrogate
    EXPECT_EQ(UnicodeToCp1252(text), QByteArray("a???\x80"
                                                "b?"));
    FormDocument doc;
    AppendCategory(doc, text);
    const ProjectReadResult r =
        ReadProjectFile(SerializeProject(doc, LayoutSettings()), LayoutSettings());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.document->CategoryName(0), QString::fromUtf8("a???€b?"));
}

// A face name longer than its one-byte length can count is cut, never left to corrupt the
// fonts after it; the cut never splits a surrogate pair.
TEST(ProjectFileRoundTrip, LongFontNamesAreCut) {
    LayoutSettings layout;
    layout.fonts[0].name = QString(300, QChar('x'));
    layout.fonts[1].name = QString(254, QChar('y')) + QString::fromUtf8("😀z");
    layout.fonts[2].name = QString::fromUtf8("Ünïcödé 😀");
    const ProjectReadResult r =
        ReadProjectFile(SerializeProject(FormDocument(), layout), LayoutSettings());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.settings.fonts[0].name, QString(255, QChar('x')));
    EXPECT_EQ(r.settings.fonts[1].name, QString(254, QChar('y')));
    EXPECT_EQ(r.settings.fonts[2].name, layout.fonts[2].name);
    for (std::size_t i = 3; i < 9; ++i)
        EXPECT_EQ(r.settings.fonts[i], layout.fonts[i]);
}

QString CorpusFile(const char* name) {
    return QStringLiteral(QUILLORA_SOURCE_DIR "/fuzz/corpus/") + QString::fromLatin1(name);
}

// The fuzzer's seeds are whole files of our own writer; each must load, and the
// writer must still give the bytes of the committed seeds (a change of the file
// layout shows here). With QUILLORA_FUZZ_SEEDS set, they are written into that folder.
TEST(ProjectFileRoundTrip, SeedCorpusFilesLoad) {
    FormDocument full;
    FillFullDocument(full);
    const QByteArray fullBytes = SerializeProject(full, FullLayout());
    FormDocument none;
    const QByteArray emptyBytes = SerializeProject(none, LayoutSettings());
    // An older, shorter file holding sections 1 to 3 only. Without category records the
    // trailing sections take T1-T7 (25 bytes), T8 (count and one flag per category), T9 (36).
    for (int i = 0; i < full.CategoryCount(); ++i)
        full.SetRecord(i, nullptr);
    const QByteArray noRecords = SerializeProject(full, FullLayout());
    const qsizetype trailing = 25 + 4 + full.CategoryCount() + 36;
    const QList<std::pair<const char*, QByteArray>> seeds = {
        {"empty.qlr", emptyBytes},
        {"full.qlr", fullBytes},
        {"no-trailing-sections.qlr", noRecords.left(noRecords.size() - trailing)},
    };
    const QString target = qEnvironmentVariable("QUILLORA_FUZZ_SEEDS");
    for (const auto& [name, bytes] : seeds) {
        SCOPED_TRACE(name);
        const ProjectReadResult r = ReadProjectFile(bytes, LayoutSettings());
        ASSERT_TRUE(r.ok());
        QFile committed(CorpusFile(name));
        ASSERT_TRUE(committed.open(QIODevice::ReadOnly));
        EXPECT_EQ(committed.readAll(), bytes);
        if (target.isEmpty()) continue;
        QDir().mkpath(target);
        QFile file(QDir(target).filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
}

// Reading a committed project file and writing it again must give back its bytes:
// a value the reader drops or the writer spells differently shows here. A file
// without the trailing sections comes back as it was, followed by the sections
// of the settings it was read into. A fuzzed file, which holds values our writer
// never writes, is put right by the first writing and stays so.
TEST(ProjectFileRoundTrip, CorpusFilesWriteBackTheirBytes) {
    enum class Back { Same, SameThenTrailingSections, SameFromTheSecondWriting };
    const struct {
        const char* name;
        Back back;
    } files[] = {
        {"empty.qlr", Back::Same},
        {"full.qlr", Back::Same},
        {"huge-font.qlr", Back::SameFromTheSecondWriting},
        {"no-trailing-sections.qlr", Back::SameThenTrailingSections},
    };
    QStringList listed;
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        listed << QString::fromLatin1(f.name);
        QFile file(CorpusFile(f.name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const ProjectReadResult r = ReadProjectFile(bytes, LayoutSettings());
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        const QByteArray written = SerializeProject(*r.document, r.settings);
        switch (f.back) {
        case Back::Same:
            EXPECT_EQ(written, bytes);
            break;
        case Back::SameThenTrailingSections:
            EXPECT_GT(written.size(), bytes.size());
            EXPECT_EQ(written.left(bytes.size()), bytes);
            break;
        case Back::SameFromTheSecondWriting: {
            const ProjectReadResult again = ReadProjectFile(written, LayoutSettings());
            ASSERT_TRUE(again.ok()) << again.error.toStdString();
            EXPECT_EQ(SerializeProject(*again.document, again.settings), written);
            break;
        }
        }
    }
    // A project file added to the corpus gets a row here.
    const QStringList present =
        QDir(CorpusFile("")).entryList({QStringLiteral("*.qlr")}, QDir::Files);
    EXPECT_EQ(present, listed);
}

} // namespace
