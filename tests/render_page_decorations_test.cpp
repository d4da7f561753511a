// Background, tiles, header, logo, footer and frame, on the recording canvas.

#include "Dib.h"
#include "LayoutTestSupport.h"

#include <set>

using namespace layout_test;

namespace {

// A blank 24-bit picture record, released with the fixture.
struct TestPicture {
    dib rec{};
    TestPicture(int w, int h) { newdib(&rec, w, h, 24); }
    ~TestPicture() { FreeDib(rec); }
};

class Decorations : public LayoutTest {
  protected:
    // Three pages: each 25 cm check box after the first moves to a page of its own.
    void ThreePages() {
        const int c = AddCategory("A");
        for (int i = 0; i < 3; ++i)
            AddField(c, fkCheckBox, "", 1, 25);
    }
    std::vector<DrawnText> FooterTexts(int page, int width = kPageW) {
        RecordingCanvas canvas(kDpi);
        PaintToCanvas(canvas, Input(), kDpi, width, kPageH, page, 100, true);
        return Texts(canvas);
    }
};

// Guards the gradient arithmetic: one row per pixel, each channel's two shares
// truncated separately.
TEST_F(Decorations, GradientRows) {
    settings.backgroundFill = true;
    settings.backgroundStartColour = MakeColour(255, 0, 0);
    settings.backgroundEndColour = MakeColour(0, 0, 255);
    RecordingCanvas canvas(kDpi);
    PaintToCanvas(canvas, Input(), kDpi, 50, 100, 1, 100, true);
    const auto rows = DrawnOps(canvas, "Rectangle");
    ASSERT_EQ(rows.size(), 100u);
    struct Row {
        int n;
        int r, g, b;
    };
    for (const Row& row : {Row{1, 252, 0, 2}, Row{50, 127, 0, 127}, Row{100, 0, 0, 255}}) {
        SCOPED_TRACE(row.n);
        const Drawn& d = rows[row.n - 1];
        EXPECT_EQ(d.op.args, (std::vector<long long>{0, row.n - 1, 50, row.n}));
        EXPECT_EQ(d.brush, MakeColour(row.r, row.g, row.b));
        EXPECT_EQ(d.penColour, d.brush);
        EXPECT_EQ(d.penWidth, 1);
    }
    // Equal colours give one rectangle over the whole canvas.
    settings.backgroundEndColour = settings.backgroundStartColour;
    canvas.ClearOps();
    PaintToCanvas(canvas, Input(), kDpi, 50, 100, 1, 100, true);
    EXPECT_EQ(canvas.OpsNamed("Rectangle").at(0).args, (std::vector<long long>{0, 0, 50, 100}));
    EXPECT_EQ(canvas.OpsNamed("Rectangle").size(), 1u);
}

// Guards the gradient drawn in runs: white to a light grey over an A4 page at
// 600 dpi has 32 colours; each run of rows of one colour is one rectangle, the
// runs cover every row once, each row in the colour the row formula gives it.
// (The two truncated shares make the colour step back and forth near each
// change, so there are more runs than colours, yet far fewer than rows.)
TEST_F(Decorations, GradientRunsOfOneColour) {
    settings.backgroundFill = true;
    settings.backgroundStartColour = 0xFFFFFF;
    settings.backgroundEndColour = 0xE0E0E0;
    RecordingCanvas canvas(kDpi);
    PaintToCanvas(canvas, Input(), kDpi, kPageW, kPageH, 1, 100, true);
    const auto runs = DrawnOps(canvas, "Rectangle");
    EXPECT_LT(runs.size(), 500u);
    std::set<long long> colours;
    long long next = 0;
    long long previous = -1;
    for (const Drawn& run : runs) {
        SCOPED_TRACE(run.y1());
        EXPECT_EQ(run.x1(), 0);
        EXPECT_EQ(run.x2(), kPageW);
        EXPECT_EQ(run.y1(), next);
        EXPECT_NE(run.brush, previous);
        EXPECT_EQ(run.penColour, run.brush);
        for (long long row = run.y1(); row < run.y2(); ++row) {
            const long long n = row + 1;
            const int grey = static_cast<int>((kPageH - n) * 255 / kPageH + 224 * n / kPageH);
            ASSERT_EQ(run.brush, MakeColour(grey, grey, grey)) << "row " << row;
        }
        next = run.y2();
        previous = run.brush;
        colours.insert(run.brush);
    }
    EXPECT_EQ(next, kPageH);
    EXPECT_EQ(colours.size(), 32u);
}

// Guards page numbering and the choice of footer: the position in the pass
// picks odd or even text, FirstPageNr shifts the number, any case of %PAGE%.
TEST_F(Decorations, PageNumbersAndOddEvenFooters) {
    ThreePages();
    settings.firstPageNumber = 5;
    settings.oddFooterText = QStringLiteral("Seite %PaGe%");
    settings.evenFooterText = QStringLiteral("%page% gerade");
    const int footerTop = kPageH - kB - 83; // 10-point footer font
    auto texts = FooterTexts(3);
    ASSERT_TRUE(FindText(texts, "Seite 7"));
    EXPECT_EQ(FindText(texts, "Seite 7")->x, 118); // left at 5 mm
    EXPECT_EQ(FindText(texts, "Seite 7")->y, footerTop);
    texts = FooterTexts(2);
    ASSERT_TRUE(FindText(texts, "6 gerade"));
    EXPECT_EQ(FindText(texts, "6 gerade")->x, kPageW - 8 * 42 - 118); // right-aligned
}

// Guards swapped and centred footers, and the number left out below 1.
TEST_F(Decorations, SwappedCentredAndMissingNumbers) {
    ThreePages();
    settings.oddFooterText = QStringLiteral("ungerade %PAGE%");
    settings.evenFooterText = QStringLiteral("gerade %PAGE%");
    settings.swapFooters = true;
    auto texts = FooterTexts(1);
    ASSERT_TRUE(FindText(texts, "gerade 1"));
    EXPECT_EQ(FindText(texts, "gerade 1")->x, kPageW - 8 * 42 - 118);
    texts = FooterTexts(2);
    ASSERT_TRUE(FindText(texts, "ungerade 2"));
    EXPECT_EQ(FindText(texts, "ungerade 2")->x, 118);

    settings.swapFooters = false;
    settings.footerCentred = true;
    texts = FooterTexts(1, 1001);
    ASSERT_TRUE(FindText(texts, "ungerade 1"));
    EXPECT_EQ(FindText(texts, "ungerade 1")->x, (1001 - 10 * 42) / 2);
    texts = FooterTexts(2, 1001);
    EXPECT_EQ(FindText(texts, "gerade 2")->x, (1001 - 8 * 42) / 2);

    settings.firstPageNumber = 0;
    EXPECT_TRUE(FindText(FooterTexts(1), "ungerade "));
}

// Guards the bands and the room header and footer take from the content.
TEST_F(Decorations, HeaderAndFooterBandsAndHeights) {
    settings.headerText = QStringLiteral("Kopf\tzeile");
    settings.oddFooterText = QStringLiteral("Fuß");
    settings.showLogo = false;
    const int c = AddCategory("A");
    AddField(c, fkText, "x", 4, 1);
    RecordingCanvas canvas(kDpi);
    Print(canvas, 1);
    const auto rects = DrawnOps(canvas, "Rectangle");
    ASSERT_GE(rects.size(), 2u);
    const int headerHeight = 200 + 118; // 24-point line + 5 mm
    EXPECT_EQ(rects[0].op.args, (std::vector<long long>{0, 0, kPageW, kT + headerHeight}));
    EXPECT_EQ(rects[0].brush, settings.headerColour);
    EXPECT_EQ(rects[1].op.args, (std::vector<long long>{0, kPageH - kB - 83 - 70, kPageW, kPageH}));
    EXPECT_EQ(rects[1].brush, settings.footerColour);
    const auto texts = Texts(canvas);
    EXPECT_EQ(FindText(texts, "Kopfzeile").value().x, 118);
    EXPECT_EQ(FindText(texts, "Kopfzeile").value().y, kT);
    EXPECT_EQ(FindText(texts, "A").value().y, kT + headerHeight + 50);
    // The content ends 5 mm above the footer band: footer height 83 + 70 + 118.
    // A box whose bottom reaches the limit exactly stays on page 1.
    const int limit = kPageH - kB - (83 + 70 + 118);
    const int fieldTop = kT + headerHeight + 400;
    for (int extra : {0, 1}) {
        doc.NewAll();
        AddField(AddCategory("B"), fkText, "y", 4, CmForPixels(limit - fieldTop + extra));
        RecordingCanvas c2(kDpi);
        EXPECT_EQ(Print(c2, 1), extra == 1);
    }
}

// Guards the logo: size from cm (height from the proportions), drawn at the
// header's left edge, the header text lw + G further right.
TEST_F(Decorations, LogoBeforeHeaderText) {
    TestPicture picture(200, 100);
    logo = &picture.rec;
    settings.headerText = QStringLiteral("Kopf");
    RecordingCanvas canvas(kDpi);
    Print(canvas, 1);
    const auto drawn = canvas.OpsNamed("StretchDIBits");
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(std::vector<long long>(drawn[0].args.begin(), drawn[0].args.begin() + 8),
              (std::vector<long long>{118, kT, 354, 177, 0, 0, 200, 100}));
    EXPECT_EQ(FindText(Texts(canvas), "Kopf").value().x, 118 + 354 + kG);

    settings.showLogo = false;
    canvas.ClearOps();
    Print(canvas, 1);
    EXPECT_TRUE(canvas.OpsNamed("StretchDIBits").empty());
    EXPECT_EQ(FindText(Texts(canvas), "Kopf").value().x, 118);
}

// Guards the header text's place after a shown logo that comes out 0 pixels
// high (a flat picture in proportion): nothing is drawn, the shift stays.
TEST_F(Decorations, FlatLogoKeepsTheHeaderTextShift) {
    settings.headerText = QStringLiteral("Kopf");
    const struct {
        int w, h;
        bool keepAspect;
        std::size_t drawn;
    } cases[] = {
        {400, 1, true, 0},  // 354 x (354 / 400 = 0) pixels
        {200, 1, true, 1},  // 354 x 1 pixels
        {400, 1, false, 1}, // 354 x 354 pixels, the proportions not kept
    };
    for (const auto& c : cases) {
        TestPicture picture(c.w, c.h);
        logo = &picture.rec;
        settings.logoKeepsAspect = c.keepAspect;
        RecordingCanvas canvas(kDpi);
        Print(canvas, 1);
        EXPECT_EQ(canvas.OpsNamed("StretchDIBits").size(), c.drawn) << c.w << "x" << c.h;
        EXPECT_EQ(FindText(Texts(canvas), "Kopf").value().x, 118 + 354 + kG) << c.w << "x" << c.h;
    }
}

// Guards the tiling: row by row from the corner, cut by the canvas edge, and
// no endless loop when a tile comes out 0 pixels.
TEST_F(Decorations, BackgroundTiles) {
    TestPicture picture(10, 5);
    background = &picture.rec;
    settings.backgroundFill = false;
    settings.tileWidthCm = 1; // 236 pixels, 118 high in proportion
    RecordingCanvas canvas(kDpi);
    PaintToCanvas(canvas, Input(), kDpi, 500, 300, 1, 100, true);
    std::vector<std::pair<long long, long long>> corners;
    for (const CanvasOp& op : canvas.OpsNamed("StretchDIBits")) {
        EXPECT_EQ(op.args[2], 236);
        EXPECT_EQ(op.args[3], 118);
        corners.emplace_back(op.args[0], op.args[1]);
    }
    const std::vector<std::pair<long long, long long>> expected{{0, 0},   {236, 0},   {472, 0},
                                                                {0, 118}, {236, 118}, {472, 118},
                                                                {0, 236}, {236, 236}, {472, 236}};
    EXPECT_EQ(corners, expected);

    // A zoom so small that a tile is 0 pixels wide, and a flat picture whose
    // proportional height is 0: nothing is tiled and the pass ends.
    canvas.ClearOps();
    EXPECT_FALSE(PaintToCanvas(canvas, Input(), kDpi, 500, 300, 1, 0.1, false));
    EXPECT_TRUE(canvas.OpsNamed("StretchDIBits").empty());
    TestPicture flat(1000, 1);
    background = &flat.rec;
    canvas.ClearOps();
    PaintToCanvas(canvas, Input(), kDpi, 500, 300, 1, 100, true);
    EXPECT_TRUE(canvas.OpsNamed("StretchDIBits").empty());
}

// Guards a logo and a pen that convert to 0 pixels at a tiny zoom: the page
// is still laid out and drawn to the end.
TEST_F(Decorations, TinyZoomDoesNotStopThePass) {
    TestPicture picture(200, 100);
    logo = &picture.rec;
    settings.headerText = QStringLiteral("Kopf");
    AddField(AddCategory("A"), fkText, "x", 4, 1);
    RecordingCanvas canvas(96);
    EXPECT_FALSE(PaintToCanvas(canvas, Input(), 96, 10, 14, 1, 1, false));
    EXPECT_TRUE(canvas.OpsNamed("StretchDIBits").empty());
    EXPECT_EQ(FindText(Texts(canvas), "Kopf").value().x, 0);
    const auto boxes = DrawnOps(canvas, "Rectangle");
    ASSERT_GE(boxes.size(), 3u);
    EXPECT_EQ(boxes[boxes.size() - 2].penWidth, 0); // the field box
}

// Guards the page frame with 20 mm margins: lines halfway into the margins and
// corner quarters of the ellipse in each margin corner, facing the page.
TEST_F(Decorations, FrameWithTwentyMillimetreMargins) {
    settings.pageFrame = true;
    settings.leftMarginMm = settings.topMarginMm = settings.rightMarginMm =
        settings.bottomMarginMm = 20;
    RecordingCanvas canvas(kDpi);
    Print(canvas, 1);
    const int m = 472, h = 236; // 20 mm and its half
    const int Wc = kPageW, Hc = kPageH;
    std::vector<std::string> frame;
    bool started = false;
    for (const CanvasOp& op : canvas.Ops()) {
        if (op.name == "Pen" && op.args[1] == 23) started = true; // 1 mm pen
        if (started && op.name != "Pen") frame.push_back(op.ToString());
    }
    auto s = [](auto... v) {
        std::string out;
        for (long long a : {static_cast<long long>(v)...})
            out += ' ' + std::to_string(a);
        return out;
    };
    const std::vector<std::string> expected{
        "MoveTo" + s(m, h),
        "LineTo" + s(Wc - m, h),
        "MoveTo" + s(Wc - h, m),
        "LineTo" + s(Wc - h, Hc - m),
        "MoveTo" + s(m, Hc - h),
        "LineTo" + s(Wc - m, Hc - h),
        "MoveTo" + s(h, m),
        "LineTo" + s(h, Hc - m),
        "Arc" + s(0, 0, m, m, h, m, m, h),
        "Arc" + s(Wc - m, 0, Wc, m, Wc - m, h, Wc - h, m),
        "Arc" + s(0, Hc - m, m, Hc, m, Hc - h, h, Hc - m),
        "Arc" + s(Wc - m, Hc - m, Wc, Hc, Wc - h, Hc - m, Wc - m, Hc - h)};
    EXPECT_EQ(frame, expected);
}

// Guards that decorations are drawn on the requested page only, while the
// header still takes its room on every page.
TEST_F(Decorations, OnlyTheRequestedPageIsDecorated) {
    ThreePages();
    settings.headerText = QStringLiteral("Kopf");
    settings.showLogo = false;
    for (int page : {1, 2, 3}) {
        const auto texts = FooterTexts(page);
        EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                                [](const DrawnText& t) { return t.text == "Kopf"; }),
                  1);
    }
}

} // namespace
