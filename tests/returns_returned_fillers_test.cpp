// Returned fillable PDFs filled by independent programs as script authors
// fill them (pypdf, poppler, pdftk-java, qpdf's JSON; tests/returns/), then
// re-saved, with object streams, encrypted with an empty password or with
// their fields reordered: the order table must hold what was filled in, and
// is compared cell by cell with what poppler says each file holds.
#include "DocumentEdits.h"
#include "FileBytes.h"
#include "OrderCollection.h"
#include "PaperReturns.h"
#include "ReturnedOrders.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <iostream>
#include <set>

namespace {

const QString kPython = QStringLiteral("/usr/bin/python3"); // Debian's, with its packages
const QString kScripts = QStringLiteral(QUILLORA_SOURCE_DIR "/tests/returns/");

// Runs a helper script; its standard output, or a failure with its errors.
QByteArray RunScript(const char* script, const QStringList& args, bool* ok) {
    QProcess process;
    process.start(kPython, QStringList{kScripts + QString::fromLatin1(script)} + args);
    *ok = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
          process.exitCode() == 0;
    if (!*ok)
        ADD_FAILURE() << script << " " << args.join(u' ').toStdString() << ": "
                      << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

// One order as filled in, and the row the table must show for it.
struct Order {
    const char* name;
    const char* values; // VALUES.json of fill_form.py
    QStringList row;    // by column: Name, Anzahl, Bemerkung, Kaffee, Tee, Wasser, the three meals
    int over = -1;      // filled into the file of that order (a customer's correction), not the blank
};

const Order kOrders[] = {
    {"a",
     R"({"text": {"Angaben - Name": "Müller", "Angaben - Anzahl": "3",
                  "Angaben - Bemerkung": "Bitte klingeln\nHaus B"},
         "check": {"Getränke - Kaffee": true, "Getränke - Tee": false, "Getränke - Wasser": true},
         "radio": {"Essen": {"state": "Käsespätzle", "index": 1}}})",
     {"Müller", "3", "Bitte klingeln\nHaus B", "1", "0", "1", "0", "1", "0"}},
    {"b",
     R"({"text": {"Angaben - Name": "Jansen", "Angaben - Anzahl": "2,5"},
         "check": {"Getränke - Kaffee": false, "Getränke - Tee": true},
         "radio": {"Essen": {"state": "Bratwurst", "index": 0}}})",
     {"Jansen", "2,5", "", "0", "1", "0", "1", "0", "0"}},
    // Order a corrected: a name beyond Latin-1, the remark cleared, every box
    // changed, another meal.
    {"c",
     R"({"text": {"Angaben - Name": "Łukasz 😀", "Angaben - Bemerkung": ""},
         "check": {"Getränke - Kaffee": false, "Getränke - Tee": true, "Getränke - Wasser": false},
         "radio": {"Essen": {"state": "Salatteller", "index": 2}}})",
     {"Łukasz 😀", "3", "", "0", "1", "0", "0", "0", "1"},
     0},
    // Order c without a meal: the choice taken back.
    {"d", R"({"radio": {"Essen": null}})", {"Łukasz 😀", "3", "", "0", "1", "0", "0", "0", "0"}, 2},
};

// What a filler cannot express, and so is not asked of it.
struct CannotExpress {
    const char* filler;
    const char* order;
    const char* why;
};
const CannotExpress kCannotExpress[] = {
    {"poppler", "d", "a chosen radio button does not toggle off (the group says so)"},
};

bool CanExpress(const char* filler, const Order& order) {
    for (const CannotExpress& c : kCannotExpress)
        if (std::string(c.filler) == filler && std::string(c.order) == order.name) {
            std::cout << "[   NOTE   ] " << filler << " cannot express order " << order.name
                      << ": " << c.why << "\n";
            return false;
        }
    return true;
}

const char* const kChanges[] = {"", "resaved", "object-streams", "encrypted", "reordered"};

// Where poppler and this reader disagree about a file, each on purpose:
// the filler, the column kind, and what of poppler's disagrees.
struct KnownDisagreement {
    const char* filler;
    std::int32_t kind;
    const char* poppler; // "state" (its form interface) or "shown" (the page it draws)
    const char* why;
};
const KnownDisagreement kKnown[] = {
    // pypdf writes a check box's value as the string "/Yes": poppler's form
    // interface takes only a name, its page shows the tick (/AS /Yes).
    {"pypdf", kCheckBoxColumn, "state", "the value is a string, not a name"},
    // pypdf writes a radio group's value as the string "/Käsespätzle" and
    // leaves every button off: poppler neither reports nor shows a choice;
    // the value names one button's state, and that is the choice.
    {"pypdf", kSingleChoiceColumn, "state", "the value is a string, the buttons stay off"},
    {"pypdf", kSingleChoiceColumn, "shown", "the value is a string, the buttons stay off"},
    // pdftk writes "Käsespätzle" as a name in PDFDocEncoding (the states are
    // UTF-8) and leaves the buttons off; "Bratwurst" it sets as poppler does.
    {"pdftk", kSingleChoiceColumn, "state", "a name in PDFDocEncoding"},
    {"pdftk", kSingleChoiceColumn, "shown", "a name in PDFDocEncoding"},
};

// The form of every case: text fields, check boxes and a radio group with
// an umlaut in a state; its fillable PDF and its columns.
class FilledFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        AppendSmallOrderForm(doc);
        form = MakeOrderForm(doc, settings);
        ASSERT_EQ(form.columns.size(), 9u);
        blank = Path("blank.pdf");
        ASSERT_TRUE(MakeFillablePdf(doc, settings, blank));
    }
    QString Path(const QString& name) const { return dir.filePath(name); }

    // Fills order with filler into in; the filled file's path, empty on failure.
    QString Fill(const char* filler, const Order& order, const QString& in) {
        const QString values = Path(QStringLiteral("%1.json").arg(QLatin1String(order.name)));
        EXPECT_TRUE(WriteRaw(values, QByteArray(order.values)));
        const QString out = Path(QStringLiteral("%1-%2.pdf").arg(filler, order.name));
        bool ok = false;
        RunScript("fill_form.py", {QStringLiteral("fill"), QString::fromLatin1(filler), in, out,
                                   values},
                  &ok);
        return ok ? out : QString();
    }
    QString Change(const QString& in, const char* change) {
        const QString out = in.chopped(4) + QStringLiteral("-%1.pdf").arg(change);
        bool ok = false;
        RunScript("fill_form.py", {QStringLiteral("change"), QString::fromLatin1(change), in, out},
                  &ok);
        return ok ? out : QString();
    }

    // Compares the table's row with poppler's reading of the file, cell by
    // cell; disagreements go to *found as column kind and poppler's view.
    void CompareWithPoppler(const QString& file, const QStringList& row,
                            std::set<std::pair<std::int32_t, std::string>>* found,
                            const std::string& what) {
        bool ok = false;
        const QJsonObject poppler =
            QJsonDocument::fromJson(RunScript("read_poppler.py", {file}, &ok)).object();
        ASSERT_TRUE(ok && !poppler.isEmpty()) << what;
        for (std::size_t c = 0; c < form.columns.size(); ++c) {
            const OrderColumn& column = form.columns[c];
            const QString ours = row[static_cast<qsizetype>(c)];
            if (column.kind == kTextColumn) {
                EXPECT_EQ(poppler[QStringLiteral("text")][column.pdfField].toString(), ours)
                    << what << ": " << column.head.toStdString();
                continue;
            }
            for (const char* view : {"state", "shown"}) {
                const QString key = QString::fromLatin1(view);
                bool on = false;
                if (column.kind == kCheckBoxColumn) {
                    const QJsonValue box = poppler[QStringLiteral("check")][column.pdfField];
                    ASSERT_TRUE(box.isObject()) << what << ": " << column.head.toStdString();
                    on = box[key].toBool();
                } else {
                    const QJsonValue group = poppler[QStringLiteral("radio")][column.pdfField];
                    ASSERT_TRUE(group.isObject()) << what << ": " << column.head.toStdString();
                    on = group[key].toInt(-1) == column.indexInGroup;
                }
                if (on != (ours == QStringLiteral("1"))) found->insert({column.kind, view});
            }
        }
    }

    QTemporaryDir dir;
    FormDocument doc;
    LayoutSettings settings;
    OrderForm form;
    QString blank;
};

class ReturnedFillersTest : public FilledFormTest,
                            public ::testing::WithParamInterface<const char*> {};

// A value miscounted or lost for one filler or one way of saving: every
// order, as filled and after each change, reads as filled in; poppler reads
// the same but where a disagreement is known and explained above.
TEST_P(ReturnedFillersTest, TableHoldsWhatWasFilledInAndPopplerAgrees) {
    const char* filler = GetParam();
    std::set<std::pair<std::int32_t, std::string>> found;
    std::vector<QString> files;
    for (const Order& order : kOrders) {
        if (!CanExpress(filler, order)) {
            files.emplace_back();
            continue;
        }
        const QString filled =
            Fill(filler, order, order.over < 0 ? blank : files[std::size_t(order.over)]);
        files.push_back(filled);
        ASSERT_FALSE(filled.isEmpty()) << order.name;
        for (const char* change : kChanges) {
            const QString file = *change ? Change(filled, change) : filled;
            ASSERT_FALSE(file.isEmpty()) << change;
            const std::string what = std::string(filler) + " " + order.name + " " + change;
            const OrderCollection got = CollectOrders(form, {file});
            for (const RejectedInput& r : got.rejected)
                ADD_FAILURE() << what << ": " << r.rejection.english.toStdString();
            ASSERT_EQ(got.table.RowCount(), 1) << what;
            const QStringList row = got.table.Row(0).mid(1);
            EXPECT_EQ(row.join(u'|').toStdString(), order.row.join(u'|').toStdString()) << what;
            CompareWithPoppler(file, row, &found, what);
        }
    }
    std::set<std::pair<std::int32_t, std::string>> known;
    for (const KnownDisagreement& k : kKnown)
        if (std::string(k.filler) == filler) known.insert({k.kind, k.poppler});
    EXPECT_EQ(found, known) << filler << ": poppler disagrees elsewhere than known";
}

// A copy printed into a PDF or flattened (the identity kept, the fields
// gone) is named as such, not read as a scan nor as an empty order; a PDF
// with neither fields nor identity still goes to the scan reader.
TEST_F(FilledFormTest, PrintedOrFlattenedCopiesAreNamed) {
    const QString filled = Fill("qpdf_json", kOrders[0], blank);
    ASSERT_FALSE(filled.isEmpty());
    QStringList copies{Change(filled, "flattened"), Change(filled, "flattened-pdftk")};
    {
        // Printed to PDF by a program that keeps the document information:
        // no form and no widgets.
        QPDF pdf;
        pdf.processFile(filled.toLocal8Bit().constData());
        pdf.getRoot().removeKey("/AcroForm");
        for (QPDFObjectHandle page : pdf.getAllPages())
            page.removeKey("/Annots");
        copies << Path(QStringLiteral("printed.pdf"));
        WritePdf(pdf, copies.last());
        pdf.getTrailer().getKey("/Info").removeKey(kFormIdentityKey);
        WritePdf(pdf, Path(QStringLiteral("anonymous.pdf")));
    }
    const QString gone = QStringLiteral("the form fields are gone (printed or flattened): ask "
                                        "for the saved file, or print it and scan it");
    for (const QString& copy : copies) {
        ASSERT_FALSE(copy.isEmpty());
        const ReturnedRead read = ReadReturnedPdf(copy, form);
        EXPECT_FALSE(read.ok) << copy.toStdString();
        EXPECT_FALSE(read.formless) << copy.toStdString();
        EXPECT_EQ(read.rejection.english, gone) << copy.toStdString();
    }
    PaperForm paper(form, PageInput{doc, settings});
    const OrderCollection got =
        CollectOrders(form, copies + QStringList{Path(QStringLiteral("anonymous.pdf"))}, {}, {},
                      {&paper});
    EXPECT_EQ(got.table.RowCount(), 0);
    ASSERT_EQ(got.rejected.size(), 4u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(got.rejected[std::size_t(i)].rejection.english, gone) << i;
    EXPECT_TRUE(got.rejected[3].rejection.english.contains(QStringLiteral("page code")))
        << got.rejected[3].rejection.english.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Fillers, ReturnedFillersTest,
                         ::testing::Values("pypdf", "poppler", "pdftk", "qpdf_json"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
