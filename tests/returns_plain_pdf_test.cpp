// The quick reader of plain PDF files against qpdf: a returned file it reads
// must give the cells qpdf gives, updates appended to the file included; a
// file it does not read (object or cross-reference streams, encryption,
// damage) goes to qpdf and is read as before.
#include "DocumentEdits.h"
#include "FileBytes.h"
#include "OrderForm.h"
#include "PlainPdf.h"
#include "ReturnedOrders.h"
#include "ReturnedPdf.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <random>

namespace {

// The small order form, filled in.
class PlainPdfTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        AppendSmallOrderForm(doc);
        form = MakeOrderForm(doc, settings);
        const QString blank = Path("blank.pdf");
        ASSERT_TRUE(MakeFillablePdf(doc, settings, blank));
        FormFilling filling;
        filling.values = {{"Angaben - Name", "Müller (Haus \\B) 😀"},
                          {"Angaben - Anzahl", "12"},
                          {"Angaben - Bemerkung", "(Tür) \\ links\nHaus B"},
                          {"Getränke - Kaffee", "1"},
                          {"Getränke - Tee", "0"},
                          {"Essen", "Käsespätzle"}};
        ASSERT_TRUE(FillForm(blank, Path("filled.pdf"), filling));
        filled = ReadAll(Path("filled.pdf"));
        ASSERT_FALSE(filled.isEmpty());
    }
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    // The file rewritten by the qpdf program with these options.
    QByteArray Rewritten(const QStringList& options) {
        const QString in = Path("in.pdf"), out = Path("out.pdf");
        EXPECT_TRUE(WriteRaw(in, filled));
        QProcess qpdf;
        qpdf.start(QStringLiteral("qpdf"), options + QStringList{in, out});
        EXPECT_TRUE(qpdf.waitForFinished(60000) && qpdf.exitCode() == 0)
            << qpdf.readAllStandardError().toStdString();
        return ReadAll(out);
    }

    QTemporaryDir dir;
    FormDocument doc;
    LayoutSettings settings;
    OrderForm form;
    QByteArray filled;
};

std::string Cells(const ReturnedRead& read) {
    std::string cells = read.ok ? "ok" : "rejected: " + read.rejection.english.toStdString();
    if (read.formless) cells += " (formless)";
    for (const ReturnedCell& cell : read.cells)
        cells += cell.present ? "|" + cell.value.toStdString() : "|-";
    return cells;
}

bool ReadsPlain(const QByteArray& bytes) {
    try {
        const PlainPdf pdf(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        return pdf.getRoot().getKey("/AcroForm").isDictionary();
    } catch (const NotPlainPdf&) {
        return false;
    }
}

// Appends an update to the file: the object `number` anew with `body`, in
// a cross-reference section of its own that points back to the file's last.
QByteArray WithUpdate(const QByteArray& pdf, int number, const QByteArray& body) {
    const qsizetype start = pdf.lastIndexOf("startxref");
    const QByteArray previous = pdf.mid(start + 9).trimmed().split('\n').value(0).trimmed();
    const QString trailer = QString::fromLatin1(pdf.mid(pdf.lastIndexOf("trailer")));
    const auto reference = [&](const char* key) {
        const QRegularExpression pattern(QStringLiteral("%1 \\d+ \\d+ R").arg(QLatin1String(key)));
        return pattern.match(trailer).captured().toLatin1();
    };
    QByteArray out = pdf;
    const qsizetype objectAt = out.size();
    out += QByteArray::number(number) + " 0 obj\n" + body + "\nendobj\n";
    const qsizetype tableAt = out.size();
    out += "xref\n" + QByteArray::number(number) + " 1\n" +
           QByteArray::number(objectAt).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<< " + reference("/Root") + " " + reference("/Info") + " /Size 9999 /Prev " +
           previous + " >>\nstartxref\n" + QByteArray::number(tableAt) + "\n%%EOF\n";
    return out;
}

// The object `number`'s dictionary as the file holds it.
QByteArray ObjectBody(const QByteArray& pdf, int number) {
    const QByteArray head = "\n" + QByteArray::number(number) + " 0 obj\n";
    const qsizetype at = pdf.indexOf(head) + head.size();
    return pdf.mid(at, pdf.indexOf("endobj", at) - at).trimmed();
}

// A cell read wrong from a plain file or one saved otherwise: each way of
// saving reads the order as filled in, and as qpdf alone reads it.
TEST_F(PlainPdfTest, EveryWayOfSavingReadsAsQpdfReadsIt) {
    const std::string expected = "ok|Müller (Haus \\B) 😀|12|(Tür) \\ links\nHaus B|1|0|0|0|1|0";
    struct Case {
        const char* what;
        QStringList options; // of the qpdf program; none: the file as filled in
        bool plain;
    };
    const Case cases[] = {
        {"as filled in", {}, true},
        {"resaved", {QStringLiteral("--object-streams=disable")}, true},
        {"object streams", {QStringLiteral("--object-streams=generate")}, false},
        {"compressed and resaved", {QStringLiteral("--compress-streams=y")}, true},
        {"encrypted with an empty password",
         {QStringLiteral("--encrypt"), QString(), QString(), QStringLiteral("256"),
          QStringLiteral("--")},
         false},
        {"linearized", {QStringLiteral("--linearize")}, true},
    };
    for (const Case& c : cases) {
        const QByteArray bytes = c.options.isEmpty() ? filled : Rewritten(c.options);
        ASSERT_FALSE(bytes.isEmpty()) << c.what;
        EXPECT_EQ(ReadsPlain(bytes), c.plain) << c.what;
        EXPECT_EQ(Cells(ReadReturnedPdfBytes(bytes, form)), expected) << c.what;
        EXPECT_EQ(Cells(ReadReturnedPdfBytesWithQpdf(bytes, form)), expected) << c.what;
    }
}

// An update appended to the file (as viewers save a filled form) ignored,
// or an older version of a field read: the newest version holds.
TEST_F(PlainPdfTest, UpdatesAppendedToTheFileHold) {
    const int number = [&] {
        QPDF pdf;
        pdf.processMemoryFile("filled", filled.constData(), static_cast<size_t>(filled.size()));
        return pdf.getRoot().getKey("/AcroForm").getKey("/Fields").getArrayItem(1).getObjectID();
    }();
    QByteArray body = ObjectBody(filled, number);
    ASSERT_TRUE(body.contains("/V (12)")) << body.toStdString();
    body.replace("/V (12)", "/V (7)");
    const QByteArray updated = WithUpdate(filled, number, body);
    EXPECT_TRUE(ReadsPlain(updated));
    const std::string expected = "ok|Müller (Haus \\B) 😀|7|(Tür) \\ links\nHaus B|1|0|0|0|1|0";
    EXPECT_EQ(Cells(ReadReturnedPdfBytes(updated, form)), expected);
    EXPECT_EQ(Cells(ReadReturnedPdfBytesWithQpdf(updated, form)), expected);
}

// A file read differently by the quick reader than by qpdf where readers
// differ or qpdf is strict: each reads the same through both.
TEST_F(PlainPdfTest, FilesOutOfTheOrdinaryReadAsQpdfReadsThem) {
    const QByteArray startxref = filled.mid(filled.lastIndexOf("startxref"));
    const QByteArray trailer = filled.mid(filled.lastIndexOf("trailer"));
    struct Case {
        const char* what;
        QByteArray from, to; // the first `from` in the file becomes `to`
    };
    const Case cases[] = {
        {"a trailer followed by a stream", startxref, "stream\nend" + startxref},
        {"a comment right after xref", "\nxref\n", "\nxref% note\n"},
        {"a trailer without /Size", trailer, QByteArray(trailer).replace("/Size", "/Sise")},
        {"a vertical tab in a key", "/Subtype /Widget", "/Sub\vtype /Widget"},
        {"a null byte between tokens", "/Subtype /Widget", QByteArray("/Subtype\0/Widget", 16)},
        {"a bare carriage return in a text", "/V (12)", "/V (1\r2)"},
        {"a name with #00", "/Subtype /Widget", "/Subtype /Wid#00et"},
        {"a key given twice", "/V (12)", "/V (12) /V (13)"},
        {"a value in an object that does not exist", "/V (12)", "/V 999 0 R"},
        {"a value in an object of another generation", "/V (12)", "/V 1 3 R"},
        {"a table line one byte short", " 00000 n \n", " 00000 n\n"},
        {"a table line with a carriage return", " 00000 n \n", " 00000 n\r\n"},
    };
    for (const Case& c : cases) {
        QByteArray bytes = filled;
        const qsizetype at = bytes.indexOf(c.from);
        ASSERT_GE(at, 0) << c.what;
        bytes.replace(at, c.from.size(), c.to);
        EXPECT_EQ(Cells(ReadReturnedPdfBytes(bytes, form)),
                  Cells(ReadReturnedPdfBytesWithQpdf(bytes, form)))
            << c.what;
    }
}

// A damaged file read differently by the quick reader than by qpdf (a value
// taken from a damaged object, a file accepted that qpdf refuses): seeded
// random damage to the filled file reads the same through both.
TEST_F(PlainPdfTest, DamagedFilesReadAsQpdfReadsThem) {
    std::mt19937 random(20261211);
    int plain = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = filled;
        const int damage = static_cast<int>(random() % 5);
        // Half of the damage where the readers look: the fields, the
        // cross-reference table and the trailer.
        const QByteArray near = round % 4 == 0 ? QByteArray("xref")
                                : round % 2    ? QByteArray("/T (")
                                               : QByteArray();
        qsizetype at = static_cast<qsizetype>(random() % bytes.size());
        if (!near.isEmpty()) {
            const qsizetype found = bytes.indexOf(near, at);
            const qsizetype from = found >= 0 ? found : bytes.indexOf(near);
            at = std::min<qsizetype>(bytes.size() - 1,
                                     from + static_cast<qsizetype>(random() % 300));
        }
        const qsizetype span = 1 + static_cast<qsizetype>(random() % 12);
        switch (damage) {
        case 0:
            bytes[at] = static_cast<char>(random());
            break;
        case 1:
            bytes.remove(at, span);
            break;
        case 2:
            bytes.insert(at, bytes.mid(random() % bytes.size(), span));
            break;
        case 3:
            bytes.insert(at, "() <>[]/#%\r\n\\ 0 R obj"[random() % 20]);
            break;
        default:
            bytes.truncate(at);
            break;
        }
        plain += ReadsPlain(bytes);
        ASSERT_EQ(Cells(ReadReturnedPdfBytes(bytes, form)),
                  Cells(ReadReturnedPdfBytesWithQpdf(bytes, form)))
            << "round " << round << ", damage " << damage << " at " << at << " of " << span;
    }
    // Much of the damage leaves a plain file, which the quick reader read.
    EXPECT_GT(plain, 600);
}

} // namespace
