// The print run in one pass (PaintAllPages) against the pages drawn one by one
// with PaintToCanvas, on generated documents.

#include "GeneratedForms.h"
#include "QPainterCanvas.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <deque>

using namespace layout_test;

namespace {

class OnePassTest : public GeneratedFormTest {};

class OnePass : public OnePassTest, public ::testing::WithParamInterface<DocumentCase> {};

// Guards the one-pass print run against the page-by-page run: the same
// number of pages, a new sheet only between pages, and on every sheet exactly
// the drawings (with their fonts, pens and brushes) of that page drawn alone.
TEST_P(OnePass, EverySheetIsThePageDrawnAlone) {
    Build(GetParam());
    const std::vector<std::string> expected = PageByPage();
    const Run run = OnePassRun();
    EXPECT_EQ(run.pages, static_cast<int>(expected.size()));
    ASSERT_EQ(run.parts.size(), expected.size()); // newPage() pages - 1 times
    for (std::size_t k = 0; k < expected.size(); ++k) {
        SCOPED_TRACE(testing::Message() << "page " << k + 1);
        EXPECT_FALSE(run.parts[k].empty());
        EXPECT_EQ(run.parts[k], expected[k]);
    }
}

const DocumentCase kDocuments[] = {
    // name, seed, categories, decorations, pictures, gradient, cache
    {"PlainFields", 1, 40, false, false, false, false},
    {"PlainFieldsOtherMix", 7, 60, false, false, false, false},
    {"PicturesAndIntroductions", 2, 40, false, true, false, false},
    {"PicturesThroughCache", 3, 40, false, true, false, true},
    {"Decorated", 4, 40, true, true, false, true},
    {"DecoratedWithGradient", 5, 25, true, true, true, false},
    {"DecoratedShort", 6, 3, true, true, false, false},
};

INSTANTIATE_TEST_SUITE_P(GeneratedDocuments, OnePass, ::testing::ValuesIn(kDocuments),
                         [](const auto& info) { return std::string(info.param.name); });

class OnePassEdges : public OnePassTest {};

// Guards the empty document: one page with its decorations and no new sheet.
TEST_F(OnePassEdges, EmptyDocumentPrintsOnePage) {
    Decorate(false);
    int sheets = 0;
    RecordingCanvas canvas(kDpi);
    EXPECT_EQ(PaintAllPages(canvas, Input(), kDpi, kPageW, kPageH, [&] { ++sheets; }), 1);
    EXPECT_EQ(sheets, 0);
    PaperTrace trace;
    const std::string printed = PaperOf(canvas.Ops(), 0, canvas.Ops().size(), trace);
    EXPECT_NE(printed.find("Bestellformular"), std::string::npos);
    EXPECT_EQ(printed, PageByPage().at(0));
}

// Guards fields and pages that only a damaged file or odd settings make: an
// unknown field kind, a field taller than the page, an empty newPage function.
TEST_F(OnePassEdges, DamagedKindsTallFieldsAndNoCallback) {
    const int c = AddCategory("Kategorie");
    AddField(c, fkText, "Normal", 4, 1);
    TakenField damaged = TakenField::Bare();
    damaged.record().kind = 9;
    doc.InsertField(c, doc.FieldCount(c), std::move(damaged));
    AddField(c, fkText, "Riesig", 4, 40); // taller than the page
    AddField(c, fkCheckBox, "Danach", 1, 1);
    AddField(c, fkText, "Noch eins", 4, 1);
    const std::vector<std::string> expected = PageByPage();
    ASSERT_GE(expected.size(), 2u);
    const Run run = OnePassRun();
    EXPECT_EQ(run.parts, expected);

    RecordingCanvas canvas(kDpi);
    EXPECT_EQ(PaintAllPages(canvas, Input(), kDpi, kPageW, kPageH, {}),
              static_cast<int>(expected.size()));
}

// Guards the canvas handed back: the font in force before the run is in
// force after it, as after a page drawn with PaintToCanvas.
TEST_F(OnePassEdges, CanvasFontHandedBack) {
    Decorate(false);
    const int c = AddCategory("Kategorie");
    for (int f = 0; f < 60; ++f)
        AddField(c, fkText, "Feld", 8, 2);
    RecordingCanvas canvas(kDpi);
    CanvasFont entry;
    entry.name = QStringLiteral("Courier");
    entry.points = 7;
    canvas.SelectFont(entry);
    EXPECT_GT(PaintAllPages(canvas, Input(), kDpi, kPageW, kPageH, [] {}), 1);
    EXPECT_EQ(canvas.CurrentFont(), entry);
}

// Guards the real canvas: on a painter whose device changes at every new
// sheet (its state starts afresh, as a printer page may), each sheet of the
// one-pass run has the pixels of that page drawn alone.
TEST_F(OnePassEdges, PainterSheetsMatchPagesDrawnAlone) {
    Build({"Painter", 11, 30, true, true, false, true});
    constexpr int dpi = 75, w = 620, h = 877; // A4 at 75 pixels per inch
    PageInput in = Input();
    in.printer = {w, h, dpi};
    QImage blank(w, h, QImage::Format_RGB32);
    blank.fill(Qt::white);

    std::deque<QImage> sheets{blank};
    QPainter painter(&sheets.back());
    QPainterCanvas canvas(painter, dpi, DeviceTechnology::RasterPrinter);
    const int pages = PaintAllPages(canvas, in, dpi, w, h, [&] {
        painter.end();
        sheets.push_back(blank);
        painter.begin(&sheets.back());
    });
    painter.end();
    ASSERT_EQ(static_cast<int>(sheets.size()), pages);
    ASSERT_GE(pages, 3);

    for (int page = 1; page <= pages; ++page) {
        SCOPED_TRACE(page);
        QImage alone = blank;
        QPainter p(&alone);
        QPainterCanvas c(p, dpi, DeviceTechnology::RasterPrinter);
        EXPECT_EQ(PaintToCanvas(c, in, dpi, w, h, page, 100, true), page < pages);
        p.end();
        EXPECT_NE(alone, blank);
        EXPECT_TRUE(sheets[page - 1] == alone);
    }
}

} // namespace
