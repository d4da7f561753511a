#pragma once
// The drawing surface the page layout draws on: screen images, PDF pages,
// printer pages (QPainterCanvas) and, in tests, a recorder with fixed font
// metrics (RecordingCanvas). All coordinates are device pixels.

#include "Colour.h"

#include <QString>
#include <cstdint>
#include <vector>

class DibDevice;

// A font as the canvas selects it. Points are whole points at the canvas
// resolution: the glyph height in pixels is points x dpi / 72.
struct CanvasFont {
    QString name;
    int points = 10;
    std::uint8_t style = 0;   // FontStyleBits
    std::uint8_t charset = 0; // kept for the caller; glyphs come from the font name
    ColourValue colour = 0;

    bool operator==(const CanvasFont&) const = default;
};

// A rectangle with exclusive right and bottom edges.
struct CanvasRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    bool operator==(const CanvasRect&) const = default;
};

// A rectangle filled in one colour.
struct FilledRect {
    CanvasRect rect;
    ColourValue colour = 0;
};

class Canvas {
  public:
    virtual ~Canvas() = default;

    // Resolution in pixels per inch that font points are converted with.
    virtual int Dpi() const = 0;

    // Selects a font; its point size is read back from CurrentFont().
    virtual void SelectFont(const CanvasFont& font) = 0;
    // The font selected last (use it to save and restore the canvas font).
    virtual CanvasFont CurrentFont() const = 0;
    // Text from now on is drawn without filling its background.
    virtual void SetTransparentText() = 0;
    // Text from now on is drawn with its character cells filled in background.
    virtual void SetOpaqueText(ColourValue background) = 0;

    // Draws one line of text with its top-left corner at (x, y).
    virtual void TextOut(int x, int y, const QString& text) = 0;
    // Advance width of text in the current font.
    virtual int TextWidth(const QString& text) = 0;
    // Height of text in the current font; TextHeight(" ") is the line height.
    virtual int TextHeight(const QString& text) = 0;

    // Measures text word-wrapped into rect's width: lines break between words so
    // that they fit, and at every line break (CR LF, CR or LF). Sets rect.bottom
    // below the last line and widens rect.right when a single word is wider.
    // An ampersand is an ordinary character.
    virtual void MeasureWrappedText(CanvasRect& rect, const QString& text) = 0;
    // Draws text inside rect with the same line breaking as MeasureWrappedText.
    virtual void DrawWrappedText(const CanvasRect& rect, const QString& text) = 0;

    // A solid pen with flat line ends and round joins, width in pixels. A width
    // below 1 draws one pixel wide.
    virtual void SetPen(ColourValue colour, int width) = 0;
    // Shapes from now on are filled with colour.
    virtual void SetSolidBrush(ColourValue colour) = 0;
    // Shapes from now on are not filled.
    virtual void SetClearBrush() = 0;

    // Rectangle outlined with the pen and filled with the brush; right and
    // bottom edges exclusive.
    virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
    // Fills rectangles that do not overlap, each as Rectangle draws it with a
    // solid brush and a one-pixel pen of its colour; pen and brush are then
    // those of the last rectangle. A canvas may fill them in any order.
    virtual void FillRectangles(const std::vector<FilledRect>& rects) {
        for (const FilledRect& r : rects) {
            SetSolidBrush(r.colour);
            SetPen(r.colour, 1);
            Rectangle(r.rect.left, r.rect.top, r.rect.right, r.rect.bottom);
        }
    }
    // Ellipse inscribed in the rectangle (x1, y1, x2, y2), outlined and filled likewise.
    virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
    // Sets the current position.
    virtual void MoveTo(int x, int y) = 0;
    // Straight line with the pen from the current position to (x, y), which
    // becomes the current position.
    virtual void LineTo(int x, int y) = 0;
    // The part of the ellipse inscribed in (x1, y1, x2, y2) that runs counter-
    // clockwise, as seen on the page, from the ray towards (x3, y3) to the ray
    // towards (x4, y4). Not filled.
    virtual void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;

    // The device pictures are drawn into with StretchDib.
    virtual DibDevice& PictureDevice() = 0;
};
