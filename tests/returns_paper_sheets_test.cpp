// Paper returns of copies printed with sheet numbers: the pages of one copy
// make one order whatever their order or file; a page missing, not taken or
// returned twice never gives another copy's or a made-up value.
#include "DocumentEdits.h"
#include "OrderCollection.h"
#include "PageMarks.h"
#include "PaperReturns.h"
#include "ScannedReturns.h"

#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using M = PenMark;

class PaperSheetsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const int drinks = AppendCategory(doc, QStringLiteral("Getränke"));
        for (const char* name : {"Wasser", "Saft"})
            AppendField(doc, drinks, fkCheckBox, QString::fromUtf8(name), 4, 0.6);
        const int notes = AppendCategory(doc, QStringLiteral("Angaben"));
        AppendField(doc, notes, fkText, QStringLiteral("Bemerkung"), 17, 21);
        const int food = AppendCategory(doc, QStringLiteral("Essen"));
        for (const char* name : {"Wurst", "Käse"})
            AppendField(doc, food, fkCheckBox, QString::fromUtf8(name), 4, 0.6);
        form = MakeOrderForm(doc, settings);
        paper = std::make_unique<PaperForm>(form, PageInput{doc, settings});
        ASSERT_EQ(PrintWithMarks(doc, settings, 1).pages, 2);
        ASSERT_TRUE(paper->FieldsOnSeveralPages());
    }

    // Page (from 1) of the copy with sheetNumber, at 200 dpi, with marks
    // given to its check boxes in drawing order.
    QImage Marked(int sheetNumber, int page, const std::vector<M>& marks) {
        const MarkedPrint print = PrintWithMarks(doc, settings, sheetNumber);
        QImage image = RasterisePage(print.pdf, page, 200);
        std::size_t next = 0;
        for (const DrawnField* field : print.fields.OnPage(page))
            if (field->kind != fkText && next < marks.size())
                DrawPenMark(image, field->box, 200, marks[next++]);
        return image;
    }
    // The pages as one PDF of images named name in the test's folder.
    QString PdfOf(const QString& name, const std::vector<QImage>& pages) {
        const QString path = dir.filePath(name);
        QPdfWriter writer(path);
        writer.setResolution(200);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter p(&writer);
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (i > 0) writer.newPage();
            p.drawImage(QRect(0, 0, pages[i].width(), pages[i].height()), pages[i]);
        }
        return path;
    }
    QString PngOf(const QString& name, const QImage& page) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(page.save(path, "PNG"));
        return path;
    }
    OrderCollection Collect(const QStringList& files) {
        return CollectOrders(form, files, {}, {},
                             {paper.get(), false, {"Vollständig", "ja", "nein"}});
    }

    QTemporaryDir dir;
    FormDocument doc;
    LayoutSettings settings;
    OrderForm form;
    std::unique_ptr<PaperForm> paper;
};

// Customer A returned only page 1, customer B both pages, shuffled across
// files: B's page 2 must not land in A's row, A's missing boxes are empty
// (not "0") and A's order says it is incomplete.
TEST_F(PaperSheetsTest, ShuffledCopiesMakeOneOrderEachAndMissingPagesStayEmpty) {
    const QString b2 = PngOf(QStringLiteral("a.png"), Marked(502, 2, {M::Tick, M::None}));
    const QString mixed = PdfOf(QStringLiteral("b.pdf"), {Marked(502, 1, {M::None, M::Cross}),
                                                          Marked(501, 1, {M::Tick, M::None})});
    const OrderCollection got = Collect({b2, mixed});
    EXPECT_TRUE(got.rejected.empty());
    ASSERT_EQ(got.table.RowCount(), 2);
    // Wasser, Saft, Bemerkung, Wurst, Käse, Vollständig: by sheet number.
    EXPECT_EQ(got.table.Row(0), (QStringList{"b.pdf [2]", "1", "0", "", "", "", "nein"}));
    EXPECT_EQ(got.table.Row(1), (QStringList{"b.pdf [1] + a.png", "0", "1", "", "1", "0", "ja"}));
    EXPECT_EQ(got.table.Totals(QStringLiteral("Summe")),
              (QStringList{"Summe", "1", "1", "", "1", "0", ""}));
    EXPECT_EQ(got.table.Heads(QStringLiteral("Datei")).last(), QStringLiteral("Vollständig"));
}

// A page of a copy that is not taken (its top and bottom edges, and the
// code with them, torn off) leaves the copy's order incomplete with that
// page's boxes empty.
TEST_F(PaperSheetsTest, APageNotTakenLeavesItsOrderIncomplete) {
    QImage torn = Marked(77, 2, {M::Tick, M::Tick});
    {
        QPainter painter(&torn);
        painter.fillRect(QRect(0, 0, torn.width(), 240), Qt::white);
        painter.fillRect(QRect(0, torn.height() - 240, torn.width(), 240), Qt::white);
    }
    const OrderCollection got =
        Collect({PdfOf(QStringLiteral("c.pdf"), {Marked(77, 1, {M::Tick, M::Tick}), torn})});
    ASSERT_EQ(got.rejected.size(), 1u);
    EXPECT_TRUE(got.rejected[0].path.endsWith(QStringLiteral("c.pdf [2]")));
    ASSERT_EQ(got.table.RowCount(), 1);
    EXPECT_EQ(got.table.Row(0), (QStringList{"c.pdf [1]", "1", "1", "", "", "", "nein"}));
}

// The same page of a copy returned twice is not merged: the second is not
// taken, with a reason naming the first.
TEST_F(PaperSheetsTest, APageReturnedTwiceIsNotTaken) {
    const QString first = PngOf(QStringLiteral("1.png"), Marked(9, 1, {M::Tick, M::None}));
    const QString again = PngOf(QStringLiteral("2.png"), Marked(9, 1, {M::None, M::Tick}));
    const QString rest = PngOf(QStringLiteral("3.png"), Marked(9, 2, {M::None, M::None}));
    const OrderCollection got = Collect({first, again, rest});
    ASSERT_EQ(got.rejected.size(), 1u);
    EXPECT_TRUE(got.rejected[0].path.endsWith(QStringLiteral("2.png")));
    EXPECT_TRUE(got.rejected[0].rejection.english.contains(QStringLiteral("twice")));
    EXPECT_TRUE(got.rejected[0].rejection.english.contains(QStringLiteral("1.png")));
    ASSERT_EQ(got.table.RowCount(), 1);
    EXPECT_EQ(got.table.Row(0), (QStringList{"1.png + 3.png", "1", "0", "", "0", "0", "ja"}));
}

// Copies printed in one run carry one sheet number each, on all their pages.
TEST_F(PaperSheetsTest, EachPrintedCopyCarriesItsOwnSheetNumber) {
    const MarkedPrint print = PrintWithMarks(doc, settings, 40, 2);
    ASSERT_EQ(print.pages, 4);
    const std::pair<int, int> expected[] = {{40, 1}, {40, 2}, {41, 1}, {41, 2}};
    for (int i = 0; i < 4; ++i) {
        const ScannedPage read = ReadScannedPage(RasterisePage(print.pdf, i + 1, 150), *paper);
        ASSERT_TRUE(read.ok) << i << ": " << read.rejection.english.toStdString();
        EXPECT_EQ(std::make_pair(read.sheetNumber, read.page), expected[i]) << i;
    }
}

} // namespace
