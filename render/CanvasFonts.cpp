#include "CanvasFonts.h"

#include <QCoreApplication>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <QtMath>

namespace {

// Bounds of what is kept: measurements by count, glyph images by bytes.
constexpr std::size_t kMaxFonts = 512;
constexpr std::size_t kMaxMeasurements = 20000;
constexpr qint64 kMaxGlyphBytes = 64LL * 1024 * 1024;

CanvasFonts* shared = nullptr;

void ReleaseShared() {
    delete shared;
    shared = nullptr;
}

// The glyph's coverage as a premultiplied image in colour.
QImage Coloured(const QImage& coverage, QColor colour) {
    QImage alpha = coverage.convertToFormat(QImage::Format_Alpha8);
    QImage out(alpha.size(), QImage::Format_ARGB32_Premultiplied);
    const int r = colour.red(), g = colour.green(), b = colour.blue();
    for (int y = 0; y < alpha.height(); ++y) {
        const uchar* a = alpha.constScanLine(y);
        auto* d = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < alpha.width(); ++x)
            d[x] = qRgba(r * a[x] / 255, g * a[x] / 255, b * a[x] / 255, a[x]);
    }
    return out;
}

// Underline and strike-out of a line of large text (the glyph images carry none).
void DrawDecorations(QPainter& painter, const QFont& font, const QFontMetrics& metrics, qreal x,
                     qreal baseline, qreal width, QColor colour) {
    const int thickness = std::max(1, metrics.lineWidth());
    if (font.underline())
        painter.fillRect(QRectF(x, baseline + metrics.underlinePos(), width, thickness), colour);
    if (font.strikeOut())
        painter.fillRect(QRectF(x, baseline - metrics.strikeOutPos(), width, thickness), colour);
}

} // namespace

CanvasFonts& SharedCanvasFonts() {
    if (!shared) {
        shared = new CanvasFonts;
        // Fonts must go before the application object that owns the font database.
        if (QCoreApplication::instance()) qAddPostRoutine(ReleaseShared);
    }
    return *shared;
}

void CanvasFonts::Clear() {
    fonts.clear();
    widths.clear();
    wrapped.clear();
    glyphs.clear();
    glyphBytes = 0;
}

const CanvasFonts::Built& CanvasFonts::Font(const CanvasFontKey& key, const QPaintDevice* device) {
    const auto found = fonts.find(key);
    if (found != fonts.end()) return found->second;
    if (fonts.size() >= kMaxFonts) Clear();
    ++fontsBuilt;
    QFont font(key.name);
    font.setPixelSize(key.pixels);
    font.setBold(key.style & 1);
    font.setItalic(key.style & 2);
    font.setUnderline(key.style & 4);
    font.setStrikeOut(key.style & 8);
    QFontMetrics metrics = device ? QFontMetrics(font, device) : QFontMetrics(font);
    return fonts.emplace(key, Built{font, metrics}).first->second;
}

int CanvasFonts::TextWidth(const CanvasFontKey& key, const Built& font, const QString& text) {
    auto k = std::make_pair(key, text);
    const auto found = widths.find(k);
    if (found != widths.end()) return found->second;
    if (widths.size() >= kMaxMeasurements) widths.clear();
    ++textsMeasured;
    const int width = font.metrics.horizontalAdvance(text);
    widths.emplace(std::move(k), width);
    return width;
}

QRectF CanvasFonts::WrappedBounds(const CanvasFontKey& key, QPainter& painter, qreal width,
                                  int flags, const QString& text) {
    auto k = std::make_tuple(key, width, flags, text);
    const auto found = wrapped.find(k);
    if (found != wrapped.end()) return found->second;
    if (wrapped.size() >= kMaxMeasurements) wrapped.clear();
    ++textsMeasured;
    const QRectF bounds = painter.boundingRect(QRectF(0, 0, width, 1.0e7), flags, text);
    wrapped.emplace(std::move(k), bounds);
    return bounds;
}

void CanvasFonts::DrawLayoutGlyphs(QPainter& painter, const CanvasFontKey& key,
                                   const QTextLayout& layout, QPointF origin, QColor colour) {
    const QRgb rgb = colour.rgb();
    // Glyphs outside the painted part (zoomed previews) are not rendered.
    QRectF area = painter.worldTransform().inverted().mapRect(
        QRectF(0, 0, painter.device()->width(), painter.device()->height()));
    if (painter.hasClipping()) area &= painter.clipBoundingRect();
    area.adjust(-2, -2, 2, 2);
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype g = 0; g < indexes.size(); ++g) {
            const QPointF at = origin + positions[g];
            const QRectF bounds = raw.boundingRect(indexes[g]).translated(at);
            if (!bounds.intersects(area)) continue;
            auto k = std::make_tuple(key, indexes[g], rgb);
            auto found = glyphs.find(k);
            if (found == glyphs.end()) {
                if (glyphBytes > kMaxGlyphBytes) {
                    glyphs.clear();
                    glyphBytes = 0;
                }
                const QImage coverage =
                    raw.alphaMapForGlyph(indexes[g], QRawFont::PixelAntialiasing);
                const QRectF glyphBounds = raw.boundingRect(indexes[g]);
                GlyphImage image{Coloured(coverage, colour),
                                 QPoint(qFloor(glyphBounds.left()), qFloor(glyphBounds.top()))};
                glyphBytes += image.image.sizeInBytes();
                found = glyphs.emplace(std::move(k), std::move(image)).first;
            }
            if (found->second.image.isNull()) continue;
            painter.drawImage(QPoint(qRound(at.x()) + found->second.offset.x(),
                                     qRound(at.y()) + found->second.offset.y()),
                              found->second.image);
        }
    }
}

void CanvasFonts::DrawLine(QPainter& painter, const CanvasFontKey& key, const Built& font, qreal x,
                           qreal baseline, const QString& text, QColor colour) {
    QTextLayout layout(text, font.font, painter.device());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (!line.isValid()) {
        layout.endLayout();
        return;
    }
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
    DrawLayoutGlyphs(painter, key, layout, QPointF(x, baseline - line.ascent()), colour);
    DrawDecorations(painter, font.font, font.metrics, x, baseline, line.naturalTextWidth(), colour);
}

void CanvasFonts::DrawWrapped(QPainter& painter, const CanvasFontKey& key, const Built& font,
                              const QRectF& box, const QString& text, QColor colour) {
    // The lines as QPainter::drawText makes them: word wrap within the box's
    // width, a break at every '\n', the font's leading between lines, tabs
    // every 8 average characters.
    QString lines = text;
    lines.replace(QChar('\n'), QChar::LineSeparator);
    QTextLayout layout(lines, font.font, painter.device());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    option.setTabStopDistance(font.metrics.horizontalAdvance(QChar('x')) * 8);
    layout.setTextOption(option);
    const qreal leading = font.metrics.leading();
    qreal height = -leading;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(box.width());
        height += leading;
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    DrawLayoutGlyphs(painter, key, layout, box.topLeft(), colour);
    if (font.font.underline() || font.font.strikeOut())
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            DrawDecorations(painter, font.font, font.metrics, box.left() + line.x(),
                            box.top() + line.y() + line.ascent(), line.naturalTextWidth(), colour);
        }
}
