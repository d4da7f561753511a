#pragma once
// The canvas over a QPainter: screen images, PDF pages and printer pages.
// Fonts are given pixel sizes (points x dpi / 72, rounded), so the painter's
// device resolution does not matter; only the dpi passed here does. Fonts,
// metrics and measurements are kept across canvases (CanvasFonts.h).

#include "Canvas.h"
#include "CanvasFonts.h"
#include "QPainterDibDevice.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPoint>
#include <optional>

class QPainter;

// Keeps Qt's glyph cache at the size it can hold (64 pixels): with a larger
// QT_MAX_CACHED_GLYPH_SIZE in the environment, glyphs above 64 pixels vanish
// from images. Call once at process start, before the QGuiApplication is
// created. (The canvas draws larger text on images from glyph images of its
// own, see CanvasFonts.h, so it is drawn and fast whatever the setting.)
void ConfigureGlyphCache();

class QPainterCanvas : public Canvas {
  public:
    // technology: RasterDisplay for images shown on screen, RasterPrinter for
    // PDF and printer pages (pictures then go to the device in one piece).
    QPainterCanvas(QPainter& painter, int dpi,
                   DeviceTechnology technology = DeviceTechnology::RasterDisplay);

    int Dpi() const override { return dpi; }
    void SelectFont(const CanvasFont& font) override;
    CanvasFont CurrentFont() const override { return font; }
    void SetTransparentText() override { opaque = false; }
    void SetOpaqueText(ColourValue background) override;
    void TextOut(int x, int y, const QString& text) override;
    int TextWidth(const QString& text) override;
    int TextHeight(const QString& text) override;
    void MeasureWrappedText(CanvasRect& rect, const QString& text) override;
    void DrawWrappedText(const CanvasRect& rect, const QString& text) override;
    void SetPen(ColourValue colour, int width) override;
    void SetSolidBrush(ColourValue colour) override;
    void SetClearBrush() override { brushSolid = false; }
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void FillRectangles(const std::vector<FilledRect>& rects) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void MoveTo(int x, int y) override { position = QPoint(x, y); }
    void LineTo(int x, int y) override;
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    DibDevice& PictureDevice() override { return device; }

  private:
    void ApplyFont();
    void ApplyPen();
    const QFontMetrics& Metrics() { return built->metrics; }
    // Text of this size on an image is drawn from CanvasFonts' glyph images.
    bool LargeOnImage() const;

    QPainter& painter;
    int dpi;
    QPainterDibDevice device;
    CanvasFonts& fonts;
    CanvasFont font;
    CanvasFontKey key;
    std::optional<CanvasFonts::Built> built; // the font of key
    bool rasterDevice = false;
    bool opaque = false;
    QColor textBackground;
    QColor penColour{Qt::black};
    int penWidth = 1;
    bool brushSolid = true;
    QColor brushColour{Qt::white};
    QPoint position;
};
