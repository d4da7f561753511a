#pragma once
// The canvas over a QPainter: screen images, PDF pages and printer pages.
// Fonts are given pixel sizes (points x dpi / 72, rounded), so the painter's
// device resolution does not matter; only the dpi passed here does.

#include "Canvas.h"
#include "QPainterDibDevice.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPoint>
#include <optional>

class QPainter;

// Lets text at large pixel sizes (printer pages at 600 dpi and more) be drawn
// from the glyph cache instead of as outlines, which is many times slower.
// Call once at process start, before the QGuiApplication is created; a value
// already set in the environment is kept.
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
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void MoveTo(int x, int y) override { position = QPoint(x, y); }
    void LineTo(int x, int y) override;
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    DibDevice& PictureDevice() override { return device; }

  private:
    void ApplyFont();
    void ApplyPen();
    const QFontMetrics& Metrics();

    QPainter& painter;
    int dpi;
    QPainterDibDevice device;
    CanvasFont font;
    QFont qfont;
    std::optional<QFontMetrics> metrics;
    bool opaque = false;
    QColor textBackground;
    QColor penColour{Qt::black};
    int penWidth = 1;
    bool brushSolid = true;
    QColor brushColour{Qt::white};
    QPoint position;
};
