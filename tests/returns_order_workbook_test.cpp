// The order table as a workbook, read back with openpyxl and compared with the
// CSV text of the same table.
#include "FileBytes.h"
#include "OrderTable.h"
#include "OrderWorkbook.h"
#include "WorkbookReader.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

OrderForm Form(const std::vector<std::pair<const char*, std::int32_t>>& columns) {
    OrderForm form;
    for (const auto& [head, kind] : columns)
        form.columns.push_back({QString::fromUtf8(head), kind, QString(), QString()});
    return form;
}

// The cells of one returned file, every column present.
std::vector<ReturnedCell> Cells(const QStringList& values) {
    std::vector<ReturnedCell> cells;
    for (const QString& v : values)
        cells.push_back({true, v});
    return cells;
}

// The workbook of table's kept rows and rejected files at path; a failure
// is reported unless the test expects it.
bool WriteBook(const OrderForm& form, const OrderTable& table,
               const std::vector<std::pair<QString, QString>>& rejected, const QString& path,
               FileFailure* failure = nullptr) {
    OrderWorkbook book(form, WorkbookTexts());
    bool ok = book.Open();
    for (int r = 0; ok && r < table.RowCount(); ++r)
        ok = book.AddOrder(table.Row(r));
    for (const auto& [file, reason] : rejected)
        ok = ok && book.AddRejected(file, reason);
    ok = ok && book.Save(table.Totals(QStringLiteral("Summe")), path);
    if (failure)
        *failure = book.Failure();
    else
        EXPECT_TRUE(ok) << book.Failure().english.toStdString();
    return ok;
}

// A value that is a number must become one (a decimal comma too); an order
// number with a leading zero, a formula look-alike or a number beyond what a
// workbook keeps exactly must stay text, so no value changes on the way.
TEST(OrderWorkbookTest, OnlyPlainNumbersBecomeNumbers) {
    const struct {
        const char* text;
        bool number;
        double value;
        int decimals;
    } cases[] = {
        {"12", true, 12, 0},          {"-3", true, -3, 0},
        {"2,5", true, 2.5, 1},        {"0.25", true, 0.25, 2},
        {"+4", true, 4, 0},           {"0", true, 0, 0},
        {"0,50", true, 0.5, 2},       {" 7 ", true, 7, 0},
        {"123456789012345", true, 123456789012345.0, 0},
        {"007", false, 0, 0},         {"01234", false, 0, 0},
        {"", false, 0, 0},            {"1,2,3", false, 0, 0},
        {"1.", false, 0, 0},          {".5", false, 0, 0},
        {"1e5", false, 0, 0},         {"=1+2", false, 0, 0},
        {"12 Stück", false, 0, 0},    {"1234567890123456", false, 0, 0},
        {"١٢", false, 0, 0},          {"-", false, 0, 0},
        {"0x1F", false, 0, 0},        {"inf", false, 0, 0},
    };
    for (const auto& c : cases) {
        const std::optional<WorkbookNumber> n = AsWorkbookNumber(QString::fromUtf8(c.text));
        EXPECT_EQ(n.has_value(), c.number) << c.text;
        if (n && c.number) {
            EXPECT_DOUBLE_EQ(n->value, c.value) << c.text;
            EXPECT_EQ(n->decimals, c.decimals) << c.text;
        }
    }
}

class OrderWorkbookFileTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir dir;
};

// Guards the workbook against differing from the CSV of the same orders: every
// cell equal, numbers stored as numbers, text (formula look-alikes, post
// codes, line breaks) as text, "?" filled, the totals SUM formulas with the
// CSV's totals cached, the heads frozen and filtered, and the files not taken
// on their own sheet.
TEST_F(OrderWorkbookFileTest, CellsEqualTheCsvAndTotalsAreSums) {
    const OrderForm form = Form({{"Brot - Roggen (Stück)", kTextColumn},
                                 {"Brot - Bemerkung", kTextColumn},
                                 {"Brot - geschnitten", kCheckBoxColumn},
                                 {"Größe - M", kSingleChoiceColumn},
                                 {"Adresse - PLZ", kTextColumn}});
    OrderTable table(form);
    table.Add(QStringLiteral("=HYPERLINK(\"x\").pdf"),
              Cells({"2,5", "=SUM(A1:A9)", "1", "?", "01067"}));
    table.Add(QStringLiteral("2.pdf"), Cells({"3", "Bitte klingeln\nHaus \"B\"", "?", "1", "1234"}));
    table.Add(QStringLiteral("3.pdf"), Cells({"", "", "0", "0", "50667"}));
    table.Finish();
    const QString path = Path("orders.xlsx");
    ASSERT_TRUE(WriteBook(form, table,
                          {{QStringLiteral("/in/c.pdf"), QStringLiteral("Die Datei ist kaputt.")},
                           {QStringLiteral("/in/scan.pdf [2]"), QStringLiteral("Kein Seitencode.")}},
                          path));
    const std::vector<WorkbookSheet> sheets = ReadWorkbook(path);
    ASSERT_EQ(sheets.size(), 2u);
    const WorkbookSheet& orders = sheets[0];
    EXPECT_EQ(orders.name, QStringLiteral("Bestellungen"));
    ExpectSameAsCsv(orders, SplitCsv(table.Csv(u',', QStringLiteral("Datei"),
                                               QStringLiteral("Summe")), u','));

    EXPECT_EQ(orders.At(1, 0).type, QStringLiteral("s"));
    EXPECT_EQ(orders.At(1, 1).type, QStringLiteral("n"));
    EXPECT_EQ(orders.At(1, 1).format, QStringLiteral("0.0"));
    EXPECT_EQ(orders.At(1, 2).type, QStringLiteral("s")); // "=SUM(A1:A9)" stays text
    EXPECT_EQ(orders.At(1, 3).type, QStringLiteral("n"));
    EXPECT_EQ(orders.At(1, 5).type, QStringLiteral("s")); // "01067" keeps its zero
    for (const auto& [row, column] : {std::pair{1, 4}, std::pair{2, 3}}) {
        EXPECT_EQ(orders.At(row, column).value.toString(), QStringLiteral("?"));
        EXPECT_EQ(orders.At(row, column).fill.right(6), QStringLiteral("FFDC78"));
    }
    EXPECT_TRUE(orders.At(1, 3).fill.isEmpty());
    // The totals: sums where every value is a number or "?" of a box.
    const WorkbookCell amount = orders.At(4, 1), cut = orders.At(4, 3), choice = orders.At(4, 4);
    EXPECT_EQ(amount.value.toString(), QStringLiteral("=SUM(B2:B4)"));
    EXPECT_DOUBLE_EQ(amount.cached.toDouble(), 5.5);
    EXPECT_EQ(cut.value.toString(), QStringLiteral("=SUM(D2:D4)"));
    EXPECT_DOUBLE_EQ(cut.cached.toDouble(), 1);
    EXPECT_EQ(choice.value.toString(), QStringLiteral("=SUM(E2:E4)"));
    EXPECT_TRUE(orders.At(4, 0).bold);
    EXPECT_TRUE(orders.At(0, 2).bold);
    EXPECT_EQ(orders.freeze, QStringLiteral("B2"));
    EXPECT_EQ(orders.filter, QStringLiteral("A1:F4"));
    // Widths fit the heads.
    EXPECT_GE(orders.widths.value(QStringLiteral("B")).toDouble(), 21);
    EXPECT_LE(orders.widths.value(QStringLiteral("B")).toDouble(), 40);

    const WorkbookSheet& rejected = sheets[1];
    EXPECT_EQ(rejected.name, QStringLiteral("Nicht übernommen"));
    EXPECT_EQ(rejected.freeze, QStringLiteral("A2"));
    ASSERT_EQ(rejected.rows.size(), 3u);
    EXPECT_EQ(rejected.At(0, 1).value.toString(), QStringLiteral("Grund"));
    EXPECT_EQ(rejected.At(2, 0).value.toString(), QStringLiteral("/in/scan.pdf [2]"));
    EXPECT_EQ(rejected.At(2, 1).value.toString(), QStringLiteral("Kein Seitencode."));
}

// Without orders the workbook holds the heads and the totals as numbers (a sum
// over no rows would reach into the heads).
TEST_F(OrderWorkbookFileTest, NoOrdersGiveHeadsAndZeroTotals) {
    const OrderForm form = Form({{"A - x", kTextColumn}, {"A - y", kCheckBoxColumn}});
    OrderTable table(form);
    const QString path = Path("empty.xlsx");
    ASSERT_TRUE(WriteBook(form, table, {}, path));
    const std::vector<WorkbookSheet> sheets = ReadWorkbook(path);
    ASSERT_EQ(sheets.size(), 2u);
    ExpectSameAsCsv(sheets[0], SplitCsv(table.Csv(u',', QStringLiteral("Datei"),
                                                  QStringLiteral("Summe")), u','));
    EXPECT_EQ(sheets[0].At(1, 2).type, QStringLiteral("n"));
}

// A table a workbook cannot hold, or a folder that does not exist, must fail
// with its reason and leave the file there as it was.
TEST_F(OrderWorkbookFileTest, FailureLeavesTheFormerFile) {
    const OrderForm form = Form({{"A - x", kTextColumn}});
    const QString path = Path("kept.xlsx");
    ASSERT_TRUE(WriteRaw(path, "former"));
    OrderTable large(form);
    large.Add(QStringLiteral("1.pdf"), Cells({QString(40000, u'x')}));
    large.Finish();
    FileFailure failure;
    EXPECT_FALSE(WriteBook(form, large, {}, path, &failure));
    EXPECT_EQ(failure.reason, QString::fromUtf8(kTableTooLargeForWorkbook));
    EXPECT_FALSE(failure.english.isEmpty());
    EXPECT_EQ(ReadAll(path), QByteArray("former"));

    OrderTable small(form);
    EXPECT_FALSE(WriteBook(form, small, {}, Path("none/orders.xlsx"), &failure));
    EXPECT_EQ(failure.reason, QStringLiteral("Den Ordner gibt es nicht."));
    EXPECT_TRUE(failure.english.contains(QStringLiteral("none"))) << failure.english.toStdString();
}

} // namespace
