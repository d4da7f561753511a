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

// A form of six check boxes printed as c says, marked.
struct LinelessForm {
    explicit LinelessForm(const LinelessCase& c) {
        const int drinks = AppendCategory(doc, QStringLiteral("Getränke"));
        for (const char* name : {"Wasser", "Saft", "Kaffee", "Tee", "Kakao", "Bier"})
            AppendField(doc, drinks, fkCheckBox, QString::fromUtf8(name), 4, 0.6);
        settings.lineWidthMm = c.lineWidthMm;
        settings.leftMarginMm = c.leftMarginMm;
        print = PrintWithMarks(doc, settings);
        form = MakeOrderForm(doc, settings);
        paper = std::make_unique<PaperForm>(form, PageInput{doc, settings});
    }
    // Page 1 at dpi with marks in its boxes; columns: the boxes' columns.
    QImage Marked(int dpi, const std::vector<M>& marks, std::vector<int>& columns) {
        QImage page = RasterisePage(print.pdf, 1, dpi);
        std::size_t next = 0;
        for (const DrawnField* field : print.fields.OnPage(1)) {
            DrawPenMark(page, field->box, dpi, marks[next++]);
            columns.push_back(paper->ColumnOf(field->category, field->field));
        }
        return page;
    }

    FormDocument doc;
    LayoutSettings settings;
    MarkedPrint print;
    OrderForm form;
    std::unique_ptr<PaperForm> paper;
};

// Such forms were rejected ("boxes not where the marks put them") or read
// "?" in every box; the marks' own fit must read them, and never wrongly.
// On a dark table the table beyond the paper's edge was taken for ink or for
// paper, and boxes on the edge were "?".
TEST(PaperLinelessTest, BoxesWithoutAnOutlineAreReadByTheMarks) {
    const std::vector<M> marks = {M::Tick, M::None, M::Cross, M::None, M::Fill, M::None};
    const QStringList expected = {"1", "0", "1", "0", "1", "0"};
    for (const LinelessCase& c : kForms) {
        LinelessForm lineless(c);
        for (const Distortion& scan : kScans) {
            std::vector<int> columns;
            const QImage page = lineless.Marked(200, marks, columns);
            const ScannedPage read = ReadScannedPage(Distort(page, scan), *lineless.paper);
            ASSERT_TRUE(read.ok) << c.what << ", " << scan.name << ": "
                                 << read.rejection.english.toStdString();
            QStringList values;
            for (int column : columns)
                values << read.cells[static_cast<std::size_t>(column)].value;
            EXPECT_EQ(values, expected) << c.what << ", " << scan.name;
        }
    }
}

// A form without outlines photographed at 20 degrees was refused as "taken
// too steeply", though its four marks fit it closely; at 30 degrees it is
// still refused (read in place there, overshooting ticks read wrongly).
TEST(PaperLinelessTest, PhotosUpTo20DegreesAreReadSteeperOnesRefused) {
    const std::vector<M> marks = {M::Tick, M::None, M::Cross, M::None, M::Fill, M::None};
    const QStringList expected = {"1", "0", "1", "0", "1", "0"};
    LinelessForm lineless(kForms[0]);
    for (const double degrees : {10.0, 20.0, 30.0}) {
        std::vector<int> columns;
        const QImage photo = Photograph(lineless.Marked(300, marks, columns), degrees, 0.6);
        const ScannedPage read = ReadScannedPage(photo, *lineless.paper);
        if (degrees > 25) {
            EXPECT_FALSE(read.ok) << degrees;
            continue;
        }
        ASSERT_TRUE(read.ok) << degrees << ": " << read.rejection.english.toStdString();
        QStringList values;
        for (int column : columns)
            values << read.cells[static_cast<std::size_t>(column)].value;
        EXPECT_EQ(values, expected) << degrees << " degrees";
    }
}

} // namespace
