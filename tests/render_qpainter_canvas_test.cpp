// The QPainter canvas: a few probed pixels of small images.

#include "DocumentEdits.h"
#include "FormDocument.h"
#include "LayoutSettings.h"
#include "PaintToCanvas.h"
#include "QPainterCanvas.h"
#include "StretchDib.h"
#include "Units.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

class PainterCanvas : public ::testing::Test {
  protected:
    QImage image{120, 120, QImage::Format_RGB32};
    PainterCanvas() { image.fill(QColor(0, 255, 0)); }
    QRgb At(int x, int y) const { return image.pixel(x, y) & 0xFFFFFF; }
};

// Guards the exclusive right and bottom edges of Rectangle with a thin pen.
TEST_F(PainterCanvas, RectangleEdgesAreExclusive) {
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter, 96);
        canvas.SetPen(0x000000, 1);
        canvas.SetSolidBrush(0xFFFFFF);
        canvas.Rectangle(10, 10, 20, 20);
    }
    EXPECT_EQ(At(10, 10), 0x000000u);
    EXPECT_EQ(At(19, 19), 0x000000u);
    EXPECT_EQ(At(15, 15), 0xFFFFFFu);
    EXPECT_EQ(At(20, 20), 0x00FF00u);
    EXPECT_EQ(At(20, 15), 0x00FF00u);
}

// Guards Arc's direction: counter-clockwise as seen on the page, so the arc
// from the bottom point to the right point is the lower-right quarter.
TEST_F(PainterCanvas, ArcRunsCounterClockwiseOnThePage) {
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter, 96);
        canvas.SetPen(0x0000FF, 5); // red
        canvas.Arc(10, 10, 110, 110, 60, 110, 110, 60);
    }
    // Points at 45 degrees on the circle of radius 50 around (60, 60).
    EXPECT_NE(At(95, 95), 0x00FF00u); // lower right: drawn
    EXPECT_EQ(At(24, 24), 0x00FF00u); // upper left: not drawn
    EXPECT_EQ(At(95, 24), 0x00FF00u); // upper right: not drawn
    EXPECT_EQ(At(24, 95), 0x00FF00u); // lower left: not drawn
}

// Guards the font size: points at the canvas resolution, so 10 points are
// about 6.25 times taller at 600 dpi than at 96 dpi, whatever the image's own dpi.
TEST_F(PainterCanvas, FontPointsFollowTheCanvasResolution) {
    QPainter painter(&image);
    QPainterCanvas low(painter, 96), high(painter, 600);
    CanvasFont f{QStringLiteral("Liberation Sans"), 10, 0, 0, 0};
    low.SelectFont(f);
    high.SelectFont(f);
    EXPECT_EQ(high.CurrentFont().points, 10);
    const double ratio = static_cast<double>(high.TextHeight(" ")) / low.TextHeight(" ");
    EXPECT_NEAR(ratio, 6.25, 0.5);
    EXPECT_GE(high.TextHeight(" "), 83); // the em of 10 points at 600 dpi
    EXPECT_LT(high.TextHeight(" "), 83 * 14 / 10);
}

// Guards word-wrapped measuring: lines break between words and at CR LF, and a
// single word wider than the rectangle widens it.
TEST_F(PainterCanvas, WrappedTextMeasure) {
    QPainter painter(&image);
    QPainterCanvas canvas(painter, 96);
    canvas.SelectFont({QStringLiteral("Liberation Sans"), 10, 0, 0, 0});
    const int line = canvas.TextHeight(" ");
    CanvasRect one{0, 0, 1000, 0};
    canvas.MeasureWrappedText(one, "eins zwei");
    EXPECT_EQ(one.bottom, line);
    CanvasRect two{0, 0, 1000, 0};
    canvas.MeasureWrappedText(two, "eins\r\nzwei");
    EXPECT_GE(two.bottom, 2 * line);
    CanvasRect narrow{0, 0, 30, 0};
    canvas.MeasureWrappedText(narrow, "eins zwei drei");
    EXPECT_GE(narrow.bottom, 3 * line);
    CanvasRect wide{0, 0, 5, 0};
    canvas.MeasureWrappedText(wide, "Donaudampfschiff");
    EXPECT_GT(wide.right, 5);
}

// Guards opaque text: the character cells are filled with the background colour.
TEST_F(PainterCanvas, OpaqueTextFillsItsCells) {
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter, 96);
        canvas.SelectFont({QStringLiteral("Liberation Sans"), 10, 0, 0, 0xFFFFFF});
        canvas.SetOpaqueText(0x000000);
        canvas.TextOut(5, 5, "__");
    }
    EXPECT_EQ(At(6, 6), 0x000000u); // the cell's top corner, above any glyph
}

// Guards pictures on the canvas's picture device and a whole page on an image:
// white preview page, black outline, the category band where the layout puts it.
TEST_F(PainterCanvas, PageOnAnImage) {
    FormDocument doc;
    AppendField(doc, AppendCategory(doc, "A"), fkText, "x", 4, 1);
    LayoutSettings s;
    s.headerText.clear();
    s.oddFooterText.clear();
    s.backgroundFill = false;
    const int dpi = 60;
    const PageSize size = LayoutPageSize({}, dpi, 100);
    QImage page(size.width, size.height, QImage::Format_RGB32);
    page.fill(Qt::green);
    dib picture{};
    newdib(&picture, 2, 2, 24);
    std::fill(picture.poi, picture.poi + picture.bytew * 2, 0x80);
    {
        QPainter painter(&page);
        QPainterCanvas canvas(painter, dpi);
        EXPECT_FALSE(
            PaintToCanvas(canvas, PageInput{doc, s}, dpi, size.width, size.height, 1, 100, false));
        StretchDib(canvas.PictureDevice(), 100, 300, 10, 10, picture, 0, 0, 2, 2);
    }
    FreeDib(picture);
    EXPECT_EQ(page.pixel(0, 0) & 0xFFFFFF, 0x000000u);                            // outline
    EXPECT_EQ(page.pixel(size.width / 2, size.height - 5) & 0xFFFFFF, 0xFFFFFFu); // white page
    // The category band (grey, 0x808080) spans the page width below the top margin.
    const int bandY = MmToPixels(2, dpi, 100) + 3;
    EXPECT_EQ(page.pixel(size.width - 3, bandY) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(page.pixel(105, 305) & 0xFFFFFF, 0x808080u); // the picture
}

// Guards the gradient's pixels on images (the preview and the PNG export, and
// a page drawn for a printer): exactly the rows filled one by one.
TEST_F(PainterCanvas, GradientPixelsAreTheRowsFilledOneByOne) {
    FormDocument doc;
    LayoutSettings s;
    s.headerText.clear();
    s.oddFooterText.clear();
    s.backgroundStartColour = MakeColour(250, 10, 0);
    s.backgroundEndColour = MakeColour(200, 240, 40);
    constexpr int w = 30, h = 301;
    QImage rows(w, h, QImage::Format_RGB32);
    for (int n = 1; n <= h; ++n) {
        auto channel = [&](int a, int b) { return (h - n) * a / h + b * n / h; };
        for (int x = 0; x < w; ++x)
            rows.setPixel(x, n - 1, qRgb(channel(250, 200), channel(10, 240), channel(0, 40)));
    }
    for (DeviceTechnology technology :
         {DeviceTechnology::RasterDisplay, DeviceTechnology::RasterPrinter}) {
        QImage drawn(w, h, QImage::Format_RGB32);
        drawn.fill(Qt::black);
        {
            QPainter painter(&drawn);
            QPainterCanvas canvas(painter, 96, technology);
            PaintToCanvas(canvas, PageInput{doc, s}, 96, w, h, 1, 100, true);
        }
        EXPECT_TRUE(drawn == rows);
    }
}

// A page with a large red heading "BESTELLUNG" and a blue introduction text
// below it, with no bands, header, footer or background.
struct LargeTextPage {
    FormDocument doc;
    LayoutSettings s;
    LargeTextPage() {
        s.headerText.clear();
        s.oddFooterText.clear();
        s.backgroundFill = false;
        s.categoryAreaBand = false;
        s.categoryNameBand = false;
        FontRecord& name = s.font(FontRole::CategoryName);
        name.name = QStringLiteral("Arial");
        name.size = 24;
        name.style = 1; // bold
        name.color = MakeColour(255, 0, 0);
        FontRecord& intro = s.font(FontRole::Description);
        intro.name = QStringLiteral("Arial");
        intro.size = 12;
        intro.color = MakeColour(0, 0, 255);
        const int c = AppendCategory(doc, QStringLiteral("BESTELLUNG"));
        doc.SetRecord(c, NewCategoryRecord(QString(), 1,
                                           QStringLiteral("Einführung mit etwas Text\r\nzweite "
                                                          "Zeile der Einführung"),
                                           0, false));
    }

    // The part of the preview page at dpi and zoom with its top-left corner at
    // origin, as the preview draws an exposed part.
    QImage Part(int dpi, double zoom, QPoint origin, QSize size) {
        const PageSize page = LayoutPageSize({}, dpi, zoom);
        QImage part(size, QImage::Format_RGB32);
        part.fill(Qt::white);
        QPainter painter(&part);
        painter.translate(-origin);
        QPainterCanvas canvas(painter, dpi);
        PaintToCanvas(canvas, PageInput{doc, s}, dpi, page.width, page.height, 1, zoom, false);
        return part;
    }
};

// Pixels of an image close to a pure colour (anti-aliased edges excepted).
int PixelsOf(const QImage& image, QRect box, QRgb colour) {
    int n = 0;
    box &= image.rect();
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (std::abs(qRed(p) - qRed(colour)) + std::abs(qGreen(p) - qGreen(colour)) +
                    std::abs(qBlue(p) - qBlue(colour)) <
                60)
                ++n;
        }
    return n;
}

struct LargeTextCase {
    const char* name;
    int dpi;
    double zoom;
};

void PrintTo(const LargeTextCase& c, std::ostream* os) {
    *os << c.name;
}

class LargeText : public ::testing::TestWithParam<LargeTextCase> {};

// Guards large text on images: a heading and an introduction text far beyond
// the 64 pixels of Qt's glyph cache (with any QT_MAX_CACHED_GLYPH_SIZE) are
// drawn, at zoom 100, 200, 300, in an exposed part at 1000 and at 600 dpi.
TEST_P(LargeText, HeadingAndIntroductionAreDrawn) {
    const LargeTextCase c = GetParam();
    LargeTextPage page;
    const double scale = c.dpi / 72.0 * c.zoom / 100;
    const int nameHeight = static_cast<int>(24 * 1.5 * scale * 1.2); // the heading's line
    const int left = MmToPixels(12, c.dpi, c.zoom), top = MmToPixels(2, c.dpi, c.zoom);
    // The heading's box: half a line below the top margin, a line high.
    const QRect heading(left, top + nameHeight / 2, static_cast<int>(24 * 1.5 * scale * 4),
                        nameHeight);
    // Below the heading (2.5 lines): the first line of the introduction.
    const QRect intro(left, top + nameHeight * 5 / 2, static_cast<int>(12 * scale * 6),
                      static_cast<int>(12 * scale * 1.2));
    const QRect wanted = heading | intro;
    const QSize size(std::min(wanted.width(), 1400), std::min(wanted.bottom() + 1 - top, 1400));
    const QPoint origin(left, top);
    const QImage part = page.Part(c.dpi, c.zoom, origin, size);
    const int red = PixelsOf(part, heading.translated(-origin), qRgb(255, 0, 0));
    EXPECT_GT(red, heading.width() * heading.height() / 50) << "heading";
    if (intro.top() - top < size.height()) {
        const int blue = PixelsOf(part, intro.translated(-origin), qRgb(0, 0, 255));
        EXPECT_GT(blue, 20) << "introduction";
    }
}

INSTANTIATE_TEST_SUITE_P(ZoomsAndResolutions, LargeText,
                         ::testing::Values(LargeTextCase{"Zoom100", 96, 100},
                                           LargeTextCase{"Zoom200", 96, 200},
                                           LargeTextCase{"Zoom300", 96, 300},
                                           LargeTextCase{"Zoom1000Part", 96, 1000},
                                           LargeTextCase{"Printer600Dpi", 600, 100}),
                         [](const auto& info) { return std::string(info.param.name); });

// Guards what the canvas keeps across passes: drawing a page again on a new
// canvas builds no font and measures no text again; another resolution builds
// its own fonts.
TEST_F(PainterCanvas, FontsAndMeasurementsKeptAcrossPasses) {
    LargeTextPage page;
    const int c = AppendCategory(page.doc, QStringLiteral("Auswahl"));
    AppendField(page.doc, c, fkSingleChoice, QStringLiteral("klein"), 1, 0.5);
    AppendField(page.doc, c, fkSingleChoice, QStringLiteral("groß"), 1, 0.5);
    AppendField(page.doc, c, fkText, QStringLiteral("Name"), 5, 1);
    const CanvasFonts& kept = SharedCanvasFonts();
    auto draw = [&](int dpi) {
        const PageSize size = LayoutPageSize({}, dpi, 100);
        QImage image(size.width, size.height, QImage::Format_RGB32);
        QPainter painter(&image);
        QPainterCanvas canvas(painter, dpi);
        PaintToCanvas(canvas, PageInput{page.doc, page.s}, dpi, size.width, size.height, 1, 100,
                      false);
    };
    draw(50);
    const int fonts = kept.FontsBuilt(), texts = kept.TextsMeasured();
    draw(50);
    EXPECT_EQ(kept.FontsBuilt(), fonts);
    EXPECT_EQ(kept.TextsMeasured(), texts);
    draw(51);
    EXPECT_GT(kept.FontsBuilt(), fonts);
    EXPECT_GT(kept.TextsMeasured(), texts);
}

} // namespace
