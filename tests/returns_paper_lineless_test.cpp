// Paper returns of forms whose boxes the reader cannot register on a printed
// outline: a line width of 0 prints none, and a left margin of 0 puts the
// boxes on the paper's edge, half their outline off the paper.
#include "DocumentEdits.h"
#include "PaperReturns.h"
#include "ScannedReturns.h"

#include <gtest/gtest.h>

namespace {

using M = PenMark;
using Colours = Distortion::Colours;

struct LinelessCase {
    const char* what;
    double lineWidthMm, leftMarginMm;
};

const LinelessCase kForms[] = {
    {"no outlines", 0, 12},
    {"boxes on the paper's edge", 0.6, 0},
    {"no outlines, on the edge", 0, 0},
};

const Distortion kScans[] = {
    {"as printed", 0, 1, {0, 0}},
    {"skewed, smaller, JPEG 75, grey", 2, 0.97, {12, 6}, 75, 0, Colours::Grey},
    {"upside down, smaller, JPEG 80", 181, 0.98, {-10, 4}, 80},
    {"on a dark table, smaller, JPEG 85", 1.5, 0.9, {8, 0}, 85, 0, Colours::Colour,
     QColor(70, 62, 55)},
};

// Such forms were rejected ("boxes not where the marks put them") or read
// "?" in every box; the marks' own fit must read them, and never wrongly.
// On a dark table the table beyond the paper's edge was taken for ink or for
// paper, and boxes on the edge were "?".
TEST(PaperLinelessTest, BoxesWithoutAnOutlineAreReadByTheMarks) {
    const std::vector<M> marks = {M::Tick, M::None, M::Cross, M::None, M::Fill, M::None};
    const QStringList expected = {"1", "0", "1", "0", "1", "0"};
    for (const LinelessCase& c : kForms) {
        FormDocument doc;
        const int drinks = AppendCategory(doc, QStringLiteral("Getränke"));
        for (const char* name : {"Wasser", "Saft", "Kaffee", "Tee", "Kakao", "Bier"})
            AppendField(doc, drinks, fkCheckBox, QString::fromUtf8(name), 4, 0.6);
        LayoutSettings settings;
        settings.lineWidthMm = c.lineWidthMm;
        settings.leftMarginMm = c.leftMarginMm;
        const MarkedPrint print = PrintWithMarks(doc, settings);
        const OrderForm form = MakeOrderForm(doc, settings);
        PaperForm paper(form, PageInput{doc, settings});
        for (const Distortion& scan : kScans) {
            QImage page = RasterisePage(print.pdf, 1, 200);
            std::vector<int> columns;
            std::size_t next = 0;
            for (const DrawnField* field : print.fields.OnPage(1)) {
                DrawPenMark(page, field->box, 200, marks[next++]);
                columns.push_back(paper.ColumnOf(field->category, field->field));
            }
            const ScannedPage read = ReadScannedPage(Distort(page, scan), paper);
            ASSERT_TRUE(read.ok) << c.what << ", " << scan.name << ": "
                                 << read.rejection.english.toStdString();
            QStringList values;
            for (int column : columns)
                values << read.cells[static_cast<std::size_t>(column)].value;
            EXPECT_EQ(values, expected) << c.what << ", " << scan.name;
        }
    }
}

} // namespace
