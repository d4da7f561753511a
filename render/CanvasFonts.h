#pragma once
// What the painter canvas keeps across canvases and layout passes: the fonts
// and metrics it has built, text widths and word-wrapped text extents it has
// measured, and glyph images for large text. Large text (more than 64 pixels)
// is drawn from these glyph images instead of through the painter: Qt's own
// glyph cache holds glyphs up to 64 pixels, drawing larger ones as outlines is
// slow, and raising its limit makes larger glyphs vanish.
//
// One instance serves the program (SharedCanvasFonts()); it is used on the
// user-interface thread only and released when the application object ends.

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <map>
#include <tuple>

class QPainter;
class QPaintDevice;
class QTextLayout;

// A font as the painter canvas builds it: family, pixel size, style bits and
// the resolution of the device it is measured on.
struct CanvasFontKey {
    QString name;
    int pixels = 1;
    std::uint8_t style = 0; // FontStyleBits
    int deviceDpi = 96;

    auto Tie() const { return std::tie(name, pixels, style, deviceDpi); }
    bool operator<(const CanvasFontKey& o) const { return Tie() < o.Tie(); }
    bool operator==(const CanvasFontKey& o) const { return Tie() == o.Tie(); }
};

// Pixel sizes up to this are drawn through the painter (Qt's glyph cache).
constexpr int kLargestPainterGlyph = 64;

class CanvasFonts {
  public:
    struct Built {
        QFont font;
        QFontMetrics metrics;
    };

    // The font and its metrics for key, built once.
    const Built& Font(const CanvasFontKey& key, const QPaintDevice* device);
    // Advance width of text in the font of key.
    int TextWidth(const CanvasFontKey& key, const Built& font, const QString& text);
    // The extent of text word-wrapped into width, as QPainter::boundingRect
    // gives it; measured with painter (whose font must be the font of key) once.
    QRectF WrappedBounds(const CanvasFontKey& key, QPainter& painter, qreal width, int flags,
                         const QString& text);

    // Large text: one line with its baseline at (x, baseline).
    void DrawLine(QPainter& painter, const CanvasFontKey& key, const Built& font, qreal x,
                  qreal baseline, const QString& text, QColor colour);
    // Large text word-wrapped into box as QPainter::drawText with
    // Qt::TextWordWrap breaks it; line breaks are '\n'.
    void DrawWrapped(QPainter& painter, const CanvasFontKey& key, const Built& font,
                     const QRectF& box, const QString& text, QColor colour);

    // Releases everything kept.
    void Clear();

    // How many fonts were built and texts measured so far (for tests and
    // measurements).
    int FontsBuilt() const { return fontsBuilt; }
    int TextsMeasured() const { return textsMeasured; }

  private:
    void DrawLayoutGlyphs(QPainter& painter, const CanvasFontKey& key, const QTextLayout& layout,
                          QPointF origin, QColor colour);

    std::map<CanvasFontKey, Built> fonts;
    std::map<std::pair<CanvasFontKey, QString>, int> widths;
    std::map<std::tuple<CanvasFontKey, qreal, int, QString>, QRectF> wrapped;
    struct GlyphImage {
        QImage image;
        QPoint offset; // of the image's top-left corner from the glyph's origin
    };
    std::map<std::tuple<CanvasFontKey, quint32, QRgb>, GlyphImage> glyphs;
    qint64 glyphBytes = 0;
    int fontsBuilt = 0, textsMeasured = 0;
};

// The instance the painter canvas uses.
CanvasFonts& SharedCanvasFonts();
