// Collecting returned orders: fillable PDFs made by the export, filled in as
// different viewers fill them, read back into the order table and its CSV.
#include "FileBytes.h"
#include "LayoutKeys.h"
#include "OrderCollection.h"
#include "ReturnedOrders.h"
#include "ScannedReturns.h"
#include "../fuzz/ReturnedOrderFuzzForm.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using OH = QPDFObjectHandle;

class OrderCollectTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const int drinks = AppendCategory(doc, QStringLiteral("Getränke"));
        AppendField(doc, drinks, fkText, QStringLiteral("Apfelsaft (Kisten)"), 4, 1);
        AppendField(doc, drinks, fkText, QStringLiteral("Bemerkung"), 8, 2);
        AppendField(doc, drinks, fkCheckBox, QStringLiteral("Lieferung"), 1, 1);
        AppendField(doc, drinks, fkText, QStringLiteral("Apfelsaft (Kisten)"), 4, 1);
        const int size = AppendCategory(doc, QStringLiteral("Größe"));
        for (const char* s : {"S", "M", "L"})
            AppendField(doc, size, fkSingleChoice, QString::fromLatin1(s), 1, 1);
        const int price = AppendCategory(doc, QStringLiteral("Preis z.B."));
        AppendField(doc, price, fkCheckBox, QStringLiteral("ja"), 1, 1);
        blank = Path("blank.pdf");
        ASSERT_TRUE(MakeFillablePdf(doc, settings, blank));
    }
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QString Filled(const char* name, const FormFilling& filling) {
        const QString out = Path(name);
        EXPECT_TRUE(FillForm(blank, out, filling)) << name;
        return out;
    }
    // The three orders of the exact table below.
    QStringList ThreeOrders() {
        FormFilling a;
        a.values = {{"Getränke - Apfelsaft (Kisten)", "3"},
                    {"Getränke - Bemerkung", "Bitte klingeln\nHaus \"B\", 2. Stock 😀"},
                    {"Getränke - Lieferung", "1"},
                    {"Getränke - Apfelsaft (Kisten) 2", "1,5"},
                    {"Größe", "M"},
                    {"Preis z_B_ - ja", "0"}};
        FormFilling b;
        b.style = FillStyle::ValueOnly;
        b.checkOnName = "Bestellt ja";
        b.values = {{"Getränke - Apfelsaft (Kisten)", "2"},
                    {"Getränke - Lieferung", "1"},
                    {"Getränke - Apfelsaft (Kisten) 2", "2"},
                    {"Größe", "L"}};
        FormFilling c;
        c.style = FillStyle::StateOnly;
        c.checkOnName = "On";
        c.values = {{"Getränke - Lieferung", "1"},
                    {"Getränke - Apfelsaft (Kisten) 2", "0.25"},
                    {"Größe", "S"}};
        return {Filled("a.pdf", a), Filled("b.pdf", b), Filled("c.pdf", c)};
    }
    QTemporaryDir dir;
    FormDocument doc;
    LayoutSettings settings;
    QString blank;
};

const QByteArray kHeads = "Datei,Getränke - Apfelsaft (Kisten),Getränke - Bemerkung,"
                          "Getränke - Lieferung,Getränke - Apfelsaft (Kisten) 2,Größe - S,"
                          "Größe - M,Größe - L,Preis z_B_ - ja\r\n";

// Values set with and without appearance states, renamed "on" states, radio
// groups, Unicode and line breaks must all reach the exact table.
TEST_F(OrderCollectTest, FilledFormsMakeTheExactTable) {
    const QStringList files = ThreeOrders();
    const OrderCollection got = CollectOrders(MakeOrderForm(doc, settings), files);
    EXPECT_TRUE(got.rejected.empty());
    const QByteArray expected = kHeads +
                                "a.pdf,3,\"Bitte klingeln\nHaus \"\"B\"\", 2. Stock 😀\",1,"
                                "\"1,5\",0,1,0,0\r\n"
                                "b.pdf,2,,1,2,0,0,1,0\r\n"
                                "c.pdf,,,1,0.25,1,0,0,0\r\n"
                                "Summe,5,,3,\"3,75\",1,1,1,0\r\n";
    EXPECT_EQ(got.table.Csv(QLatin1Char(','), QStringLiteral("Datei"), QStringLiteral("Summe")),
              expected);
    // Written as they are read (the command line's way): the same bytes.
    QByteArray streamed = CsvLine(got.table.Heads(QStringLiteral("Datei")), QLatin1Char(','));
    const OrderCollection sunk =
        CollectOrders(MakeOrderForm(doc, settings), files, {},
                      [&](const QStringList& row) { streamed += CsvLine(row, QLatin1Char(',')); });
    EXPECT_EQ(sunk.table.RowCount(), 3);
    streamed += CsvLine(sunk.table.Totals(QStringLiteral("Summe")), QLatin1Char(','));
    EXPECT_EQ(streamed, expected);
    // With ";" a decimal comma needs no quotes; the separator in a cell does.
    const QByteArray semicolon =
        got.table.Csv(QLatin1Char(';'), QStringLiteral("Datei"), QStringLiteral("Summe"));
    EXPECT_TRUE(semicolon.endsWith("Summe;5;;3;3,75;1;1;1;0\r\n")) << semicolon.constData();
}

// The heads must be the names the fillable PDF gives its fields.
TEST_F(OrderCollectTest, HeadsAreTheFieldNamesOfThePdf) {
    const OrderForm form = MakeOrderForm(doc, settings);
    QPDF pdf;
    pdf.processFile(blank.toLocal8Bit().constData());
    for (const OrderColumn& column : form.columns) {
        OH field = FieldNamed(pdf, column.pdfField.toStdString());
        EXPECT_TRUE(field.isDictionary()) << column.pdfField.toStdString();
        if (column.kind != fkSingleChoice) EXPECT_EQ(column.head, column.pdfField);
    }
}

// Files of another form, of this form before a change, damaged files and
// missing ones are named and kept out of the table; the others are still read.
TEST_F(OrderCollectTest, ForeignAndDamagedFilesAreRejectedByName) {
    const QStringList orders = ThreeOrders();
    FormDocument other;
    AppendField(other, AppendCategory(other, QStringLiteral("Getränke")), fkText,
                QStringLiteral("Apfelsaft (Kisten)"), 4, 1);
    const QString foreign = Path("foreign.pdf");
    ASSERT_TRUE(MakeFillablePdf(other, settings, foreign));
    const QString damaged = Path("damaged.pdf");
    ASSERT_TRUE(WriteRaw(damaged, ReadAll(orders[0]).left(ReadAll(orders[0]).size() / 2)));
    const QString garbage = Path("garbage.pdf");
    ASSERT_TRUE(WriteRaw(garbage, QByteArray("%PDF-1.4\nnot really\n")));
    const QString missing = Path("missing.pdf");
    // Without the identity: a plain PDF with the same fields.
    QPDF strip;
    strip.processFile(orders[1].toLocal8Bit().constData());
    strip.getTrailer().getKey("/Info").removeKey(kFormIdentityKey);
    strip.getRoot().getKey("/AcroForm").removeKey(kFormIdentityKey);
    const QString plain = Path("plain.pdf");
    WritePdf(strip, plain);

    const QStringList inputs{orders[0], foreign, damaged, garbage, orders[1], missing, plain};
    const OrderCollection got = CollectOrders(MakeOrderForm(doc, settings), inputs);
    ASSERT_EQ(got.table.RowCount(), 2);
    EXPECT_EQ(got.table.Row(0).first(), QStringLiteral("a.pdf"));
    EXPECT_EQ(got.table.Row(1).first(), QStringLiteral("b.pdf"));
    QStringList rejected;
    for (const RejectedInput& r : got.rejected)
        rejected << QFileInfo(r.path).fileName();
    rejected.sort();
    EXPECT_EQ(rejected, (QStringList{"damaged.pdf", "foreign.pdf", "garbage.pdf", "missing.pdf",
                                     "plain.pdf"}));

    // This form changed after the PDFs were made: every one of them is rejected.
    AppendField(doc, 0, fkText, QStringLiteral("Neu"), 4, 1);
    const OrderCollection changed = CollectOrders(MakeOrderForm(doc, settings), orders);
    EXPECT_EQ(changed.table.RowCount(), 0);
    EXPECT_EQ(changed.rejected.size(), 3u);
}

// A layout value that moves fields changes the identity; a colour does not.
TEST_F(OrderCollectTest, IdentityFollowsWhatMovesFields) {
    const QString before = FormIdentity(doc, settings);
    EXPECT_EQ(before.size(), 32);
    struct Case {
        const char* what;
        void (*change)(LayoutSettings&);
        bool moves;
    };
    const Case cases[] = {
        {"left margin", [](LayoutSettings& s) { s.leftMarginMm += 1; }, true},
        {"field font", [](LayoutSettings& s) { s.font(FontRole::FieldName).size += 1; }, true},
        {"header text", [](LayoutSettings& s) { s.headerText = QStringLiteral("Kopf"); }, true},
        {"line colour", [](LayoutSettings& s) { s.lineColour = 0x00FF00; }, false},
        {"field background", [](LayoutSettings& s) { s.fieldBackgroundColour = 0x1; }, false},
    };
    for (const Case& c : cases) {
        LayoutSettings changed = settings;
        c.change(changed);
        EXPECT_EQ(FormIdentity(doc, changed) != before, c.moves) << c.what;
    }
}

// A form sent back in several files (each with some of its fields) is one order.
TEST_F(OrderCollectTest, PartsOfOneFormMakeOneRow) {
    const QStringList orders = ThreeOrders();
    auto keepOnly = [&](const QString& out, bool drinks) {
        QPDF pdf;
        pdf.processFile(orders[0].toLocal8Bit().constData());
        OH fields = pdf.getRoot().getKey("/AcroForm").getKey("/Fields");
        std::vector<OH> kept;
        for (int i = 0; i < fields.getArrayNItems(); ++i) {
            OH f = fields.getArrayItem(i);
            const bool isDrink = f.getKey("/T").getUTF8Value().rfind("Getränke", 0) == 0;
            if (isDrink == drinks) kept.push_back(f);
        }
        pdf.getRoot().getKey("/AcroForm").replaceKey("/Fields", OH::newArray(kept));
        WritePdf(pdf, out);
    };
    keepOnly(Path("p1.pdf"), true);
    keepOnly(Path("p2.pdf"), false);
    const OrderCollection got =
        CollectOrders(MakeOrderForm(doc, settings), {Path("p1.pdf"), Path("p2.pdf"), orders[1]});
    ASSERT_EQ(got.table.RowCount(), 2);
    QStringList first = got.table.Row(0);
    EXPECT_EQ(first.takeFirst(), QStringLiteral("p1.pdf + p2.pdf"));
    QStringList whole = CollectOrders(MakeOrderForm(doc, settings), {orders[0]}).table.Row(0);
    whole.removeFirst();
    EXPECT_EQ(first, whole);
}

// Crafted files: two fields of one name, a huge value, a field tree that
// holds itself. None may crash, none may reach the table.
TEST_F(OrderCollectTest, CraftedFilesNeverMixOrCrash) {
    const QStringList orders = ThreeOrders();
    struct Case {
        const char* name;
        void (*craft)(QPDF&);
        bool taken;
    };
    const Case cases[] = {
        {"twice.pdf",
         [](QPDF& pdf) {
             OH fields = pdf.getRoot().getKey("/AcroForm").getKey("/Fields");
             OH copy = OH::newDictionary();
             copy.replaceKey("/T", OH::newUnicodeString("Getränke - Bemerkung"));
             copy.replaceKey("/FT", OH::newName("/Tx"));
             copy.replaceKey("/V", OH::newString("from another order"));
             fields.appendItem(pdf.makeIndirectObject(copy));
         },
         false},
        {"huge.pdf",
         [](QPDF& pdf) {
             FieldNamed(pdf, "Getränke - Bemerkung")
                 .replaceKey("/V", OH::newString(std::string(kMaxReturnedValueBytes + 1, 'x')));
         },
         false},
        {"loop.pdf",
         [](QPDF& pdf) {
             OH field = FieldNamed(pdf, "Preis z_B_ - ja");
             OH kid = OH::newDictionary();
             kid.replaceKey("/T", OH::newString("inner"));
             kid = pdf.makeIndirectObject(kid);
             kid.replaceKey("/Kids", OH::newArray(std::vector<OH>{field, kid}));
             field.replaceKey("/Kids", OH::newArray(std::vector<OH>{kid}));
             kid.replaceKey("/Parent", field);
         },
         true},
        {"nofields.pdf",
         [](QPDF& pdf) {
             pdf.getRoot().getKey("/AcroForm").replaceKey("/Fields", OH::newArray());
         },
         false},
    };
    const OrderForm form = MakeOrderForm(doc, settings);
    for (const Case& c : cases) {
        QPDF pdf;
        pdf.processFile(orders[0].toLocal8Bit().constData());
        c.craft(pdf);
        const QString path = Path(c.name);
        WritePdf(pdf, path);
        const OrderCollection got = CollectOrders(form, {path, orders[1]});
        EXPECT_EQ(got.table.RowCount(), c.taken ? 2 : 1) << c.name;
        EXPECT_EQ(got.rejected.size(), c.taken ? 0u : 1u) << c.name;
        if (!c.taken && !got.rejected.empty())
            EXPECT_FALSE(got.rejected[0].rejection.reason.isEmpty()) << c.name;
    }
}

// A file updated to hold one field in an object stream (a cross-reference
// stream appended as an incremental update), the stream padded to `padding`
// bytes when unpacked.
QByteArray WithFieldInObjectStream(const QString& path, const std::string& field,
                                   const QByteArray& value, qsizetype padding) {
    QByteArray bytes = ReadAll(path);
    QPDF pdf;
    pdf.processFile(path.toLocal8Bit().constData());
    const int f = FieldNamed(pdf, field).getObjectID();
    const int size = static_cast<int>(pdf.getTrailer().getKey("/Size").getIntValue());
    const int root = pdf.getRoot().getObjectID();
    const int info = pdf.getTrailer().getKey("/Info").getObjectID();
    const qsizetype at = bytes.lastIndexOf("startxref");
    const QByteArray previous = bytes.mid(at + 9).trimmed().split('\n').first().trimmed();
    const QByteArray object =
        "<< /T " + QByteArray::fromStdString(OH::newUnicodeString(field).unparse()) +
        " /FT /Tx /V (" + value + ") >>";
    const QByteArray header = QByteArray::number(f) + " 0 ";
    QByteArray content = header + object;
    content += QByteArray(std::max<qsizetype>(0, padding - content.size()), ' ');
    const QByteArray packed = qCompress(content, 9).mid(4); // without Qt's length prefix
    const int stream = size, xref = size + 1;
    const qsizetype streamAt = bytes.size() + 1;
    bytes += "\n" + QByteArray::number(stream) + " 0 obj\n<< /Type /ObjStm /N 1 /First " +
             QByteArray::number(header.size()) + " /Filter /FlateDecode /Length " +
             QByteArray::number(packed.size()) + " >>\nstream\n" + packed +
             "\nendstream\nendobj\n";
    const qsizetype xrefAt = bytes.size();
    auto entry = [](int type, qint64 a, int b) {
        QByteArray e(7, '\0');
        e[0] = char(type);
        for (int i = 0; i < 4; ++i)
            e[1 + i] = char((a >> (8 * (3 - i))) & 0xff);
        e[5] = char((b >> 8) & 0xff);
        e[6] = char(b & 0xff);
        return e;
    };
    const QByteArray entries = entry(2, stream, 0) + entry(1, streamAt, 0) + entry(1, xrefAt, 0);
    bytes += QByteArray::number(xref) + " 0 obj\n<< /Type /XRef /Size " +
             QByteArray::number(xref + 1) + " /W [1 4 2] /Index [" + QByteArray::number(f) +
             " 1 " + QByteArray::number(stream) + " 2] /Root " + QByteArray::number(root) +
             " 0 R /Info " + QByteArray::number(info) + " 0 R /Prev " + previous +
             " /Length 21 >>\nstream\n" + entries + "\nendstream\nendobj\nstartxref\n" +
             QByteArray::number(xrefAt) + "\n%%EOF\n";
    return bytes;
}

// A field in an object stream is read; an object stream that unpacks to more
// than the reader allows (a PDF bomb) is rejected and never unpacked whole.
TEST_F(OrderCollectTest, ObjectStreamBombIsRejected) {
    const QStringList orders = ThreeOrders();
    const OrderForm form = MakeOrderForm(doc, settings);
    const QByteArray small =
        WithFieldInObjectStream(orders[0], "Getränke - Bemerkung", "aus dem Strom", 1000);
    ReturnedRead read = ReadReturnedPdfBytes(small, form);
    ASSERT_TRUE(read.ok) << read.rejection.english.toStdString();
    EXPECT_EQ(read.cells[1].value, QStringLiteral("aus dem Strom"));
    const QByteArray bomb =
        WithFieldInObjectStream(orders[0], "Getränke - Bemerkung", "x", qsizetype{80} << 20);
    EXPECT_LT(bomb.size(), qsizetype{1} << 20);
    read = ReadReturnedPdfBytes(bomb, form);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.rejection.reason, QStringLiteral("Die Datei ist keine lesbare PDF-Datei."));
}

// A folder gives its PDF files sorted by name; other files stay out.
TEST_F(OrderCollectTest, FolderFilesComeSortedByName) {
    const QStringList orders = ThreeOrders();
    QDir(dir.path()).mkdir(QStringLiteral("in"));
    for (const char* name : {"z.pdf", "B.PDF", "a.pdf"})
        QFile::copy(orders[1], dir.filePath(QStringLiteral("in/") + QString::fromLatin1(name)));
    WriteRaw(dir.filePath(QStringLiteral("in/notes.txt")), "hello");
    std::vector<RejectedInput> rejected;
    const QStringList files = ExpandOrderInputs({dir.filePath(QStringLiteral("in"))}, &rejected);
    QStringList names;
    for (const QString& f : files)
        names << QFileInfo(f).fileName();
    EXPECT_EQ(names, (QStringList{"B.PDF", "a.pdf", "z.pdf"}));
    EXPECT_TRUE(rejected.empty());
}

// Cancelling keeps what was read and reads no further file.
TEST_F(OrderCollectTest, CancelKeepsWhatWasRead) {
    const QStringList orders = ThreeOrders();
    std::vector<int> told;
    const OrderCollection got =
        CollectOrders(MakeOrderForm(doc, settings), orders, [&](int done, int total) {
            told.push_back(done);
            EXPECT_EQ(total, 3);
            return done < 2;
        });
    EXPECT_TRUE(got.cancelled);
    EXPECT_EQ(got.table.RowCount(), 2);
    EXPECT_EQ(told, (std::vector<int>{0, 1, 2}));
}

// Sums of quantity columns: only columns of numbers, decimals kept exactly.
TEST(OrderTableSums, OnlyNumberColumnsAreSummed) {
    const struct {
        QStringList texts;
        const char* sum;
    } cases[] = {
        {{"1", "2", "3"}, "6"},
        {{"1,5", "", "2"}, "3,5"},
        {{"0.1", "0.2"}, "0.3"},
        {{" 4 ", "-1"}, "3"},
        {{"2", "zwei"}, ""},
        {{"", ""}, ""},
        {{"1.2.3"}, ""},
        {{"1e3"}, ""},
        {{"999999999999999999", "1"}, "1000000000000000000"},
        {{"1234567890123456789"}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SumOfNumbers(c.texts), QString::fromLatin1(c.sum)) << c.texts.join('|').toStdString();
}

// A project whose file holds values outside their ranges (a right margin of
// -5 mm, a top margin of -2 mm) is printed with them clamped: its returns,
// fillable PDFs and scans alike, must not all be refused as another form,
// whether the reader is given the file's values or the printed ones.
TEST_F(OrderCollectTest, ValuesOutOfRangeAreReadAsPrinted) {
    LayoutSettings fromFile;
    fromFile.rightMarginMm = -5;
    fromFile.topMarginMm = -2;
    const LayoutSettings printed = WithinRanges(fromFile);
    ASSERT_EQ(printed.rightMarginMm, 0);
    const OrderForm form = MakeOrderForm(doc, fromFile);
    EXPECT_EQ(form.identity, MakeOrderForm(doc, printed).identity);
    EXPECT_NE(form.identity, MakeOrderForm(doc, LayoutSettings()).identity);
    EXPECT_EQ(FormIdentity(doc, fromFile), form.identity);
    // The fillable PDF as the program makes it, from the printed values.
    const QString made = Path("clamped.pdf");
    ASSERT_TRUE(MakeFillablePdf(doc, printed, made));
    FormFilling filling;
    filling.values = {{"Getränke - Lieferung", "1"}, {"Größe", "L"}};
    const QString filled = Path("clamped-filled.pdf");
    ASSERT_TRUE(FillForm(made, filled, filling));
    // A scan of the sheet printed with marks, as the program prints it.
    const MarkedPrint print = PrintWithMarks(doc, printed);
    const QString scan = Path("clamped-scan.png");
    ASSERT_TRUE(RasterisePage(print.pdf, 1, 200).save(scan));
    const LayoutSettings* const readers[] = {&fromFile, &printed};
    for (const LayoutSettings* given : readers) {
        const OrderForm reading = MakeOrderForm(doc, *given);
        PaperForm paper(reading, PageInput{doc, printed});
        const OrderCollection got = CollectOrders(reading, {made, filled, scan}, {}, {}, {&paper});
        for (const RejectedInput& r : got.rejected)
            ADD_FAILURE() << r.path.toStdString() << ": " << r.rejection.english.toStdString();
        ASSERT_EQ(got.table.RowCount(), 3);
        EXPECT_EQ(got.table.Row(1).join(u','),
                  QStringLiteral("clamped-filled.pdf,,,1,,0,0,1,0"));
    }
}

// The fuzz target's form: the columns and identity it holds must be those of
// the document it stands for, and its seeds (filled-in PDFs of that document)
// must be taken by the reader. A change of the identity's recipe shows here:
// put the new identity into fuzz/ReturnedOrderFuzzForm.h and write the seeds
// again with QUILLORA_FUZZ_SEEDS set to fuzz/corpus/returned.
TEST(ReturnedOrderSeeds, FuzzFormAndSeedsMatchTheirDocument) {
    QTemporaryDir dir;
    FormDocument doc;
    const int c = AppendCategory(doc, QStringLiteral("Getränke"));
    AppendField(doc, c, fkText, QStringLiteral("Menge"), 3, 1);
    AppendField(doc, c, fkCheckBox, QStringLiteral("Lieferung"), 1, 1);
    AppendField(doc, c, fkSingleChoice, QStringLiteral("S"), 1, 1);
    AppendField(doc, c, fkSingleChoice, QStringLiteral("M"), 1, 1);
    AppendField(doc, c, fkText, QStringLiteral("Menge"), 3, 1);
    const OrderForm form = MakeOrderForm(doc, LayoutSettings());
    const OrderForm fuzz = ReturnedOrderFuzzForm();
    EXPECT_EQ(fuzz.identity, form.identity);
    EXPECT_EQ(fuzz.groupCount, form.groupCount);
    ASSERT_EQ(fuzz.columns.size(), form.columns.size());
    for (std::size_t i = 0; i < form.columns.size(); ++i) {
        const OrderColumn &a = fuzz.columns[i], &b = form.columns[i];
        EXPECT_TRUE(a.head == b.head && a.kind == b.kind && a.pdfField == b.pdfField &&
                    a.state == b.state && a.group == b.group && a.indexInGroup == b.indexInGroup)
            << i;
    }
    const QString blank = dir.filePath(QStringLiteral("blank.pdf"));
    ASSERT_TRUE(MakeFillablePdf(doc, LayoutSettings(), blank));
    FormFilling full;
    full.values = {{"Getränke - Menge", "3"}, {"Getränke - Lieferung", "1"}, {"Getränke", "M"},
                   {"Getränke - Menge 2", "Zeile 1\nZeile 2 €"}};
    FormFilling bare = full;
    bare.style = FillStyle::ValueOnly;
    bare.checkOnName = "On";
    FormFilling states = full;
    states.style = FillStyle::StateOnly;
    const QString target = qEnvironmentVariable("QUILLORA_FUZZ_SEEDS");
    const struct {
        const char* name;
        const FormFilling& filling;
    } seeds[] = {{"filled.pdf", full}, {"values-only.pdf", bare}, {"states-only.pdf", states}};
    for (const auto& seed : seeds) {
        SCOPED_TRACE(seed.name);
        const QString made = dir.filePath(QString::fromLatin1(seed.name));
        ASSERT_TRUE(FillForm(blank, made, seed.filling));
        EXPECT_TRUE(ReadReturnedPdf(made, fuzz).ok);
        const QString committed = QStringLiteral(QUILLORA_SOURCE_DIR "/fuzz/corpus/returned/") +
                                  QString::fromLatin1(seed.name);
        const ReturnedRead read = ReadReturnedPdf(committed, fuzz);
        EXPECT_TRUE(read.ok) << read.rejection.english.toStdString();
        if (target.isEmpty()) continue;
        QDir().mkpath(target);
        QFile::remove(QDir(target).filePath(QString::fromLatin1(seed.name)));
        EXPECT_TRUE(QFile::copy(made, QDir(target).filePath(QString::fromLatin1(seed.name))));
    }
}

} // namespace
