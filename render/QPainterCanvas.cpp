#include "QPainterCanvas.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <map>

namespace {

QColor ToQColor(ColourValue c) {
    const ColourValue rgb = ResolveColour(c);
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

// Line breaks of stored texts (CR LF, CR alone, LF alone) as Qt's layout wants them.
QString WithNewlines(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QChar(13), QChar(10));
    return t;
}

constexpr int kWrapFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;

} // namespace

void ConfigureGlyphCache() {
    if (qEnvironmentVariableIntValue("QT_MAX_CACHED_GLYPH_SIZE") > kLargestPainterGlyph)
        qputenv("QT_MAX_CACHED_GLYPH_SIZE", QByteArray::number(kLargestPainterGlyph));
}

QPainterCanvas::QPainterCanvas(QPainter& painter, int dpi, DeviceTechnology technology)
    : painter(painter), dpi(dpi), device(painter, technology), fonts(SharedCanvasFonts()) {
    // Only the raster engine draws text from the glyph cache; printers and PDF
    // files take text as text.
    rasterDevice = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster;
    CanvasFont initial;
    initial.name = QStringLiteral("Arial");
    SelectFont(initial);
}

void QPainterCanvas::SelectFont(const CanvasFont& f) {
    if (built && f == font) return;
    font = f;
    const double pixels = static_cast<double>(f.points) * dpi / 72.0;
    CanvasFontKey k;
    k.name = f.name;
    k.pixels = std::max(1, static_cast<int>(std::lround(std::clamp(pixels, 1.0, 1.0e6))));
    k.style = f.style & 15;
    k.deviceDpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    if (built && k == key) return; // another colour only
    key = k;
    built = fonts.Font(key, painter.device());
}

bool QPainterCanvas::LargeOnImage() const {
    return rasterDevice && key.pixels > kLargestPainterGlyph;
}

void QPainterCanvas::ApplyFont() {
    painter.setFont(built->font);
    painter.setPen(ToQColor(font.colour));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void QPainterCanvas::SetOpaqueText(ColourValue background) {
    opaque = true;
    textBackground = ToQColor(background);
}

void QPainterCanvas::TextOut(int x, int y, const QString& text) {
    if (text.isEmpty()) return;
    if (opaque) painter.fillRect(QRect(x, y, TextWidth(text), TextHeight(text)), textBackground);
    ApplyFont();
    if (LargeOnImage())
        fonts.DrawLine(painter, key, *built, x, y + Metrics().ascent(), text,
                       ToQColor(font.colour));
    else
        painter.drawText(QPointF(x, y + Metrics().ascent()), text);
}

int QPainterCanvas::TextWidth(const QString& text) {
    return fonts.TextWidth(key, *built, text);
}

int QPainterCanvas::TextHeight(const QString&) {
    return Metrics().height();
}

void QPainterCanvas::MeasureWrappedText(CanvasRect& rect, const QString& text) {
    ApplyFont();
    const int w = std::max(1, rect.right - rect.left);
    const QRectF bounds = fonts.WrappedBounds(key, painter, w, kWrapFlags, WithNewlines(text));
    rect.bottom = rect.top + static_cast<int>(std::ceil(bounds.height()));
    rect.right = std::max(rect.right, rect.left + static_cast<int>(std::ceil(bounds.width())));
}

void QPainterCanvas::DrawWrappedText(const CanvasRect& rect, const QString& text) {
    ApplyFont();
    const QRectF box(rect.left, rect.top, std::max(1, rect.right - rect.left),
                     std::max(1, rect.bottom - rect.top));
    if (opaque) painter.fillRect(box, textBackground);
    if (LargeOnImage())
        fonts.DrawWrapped(painter, key, *built, box, WithNewlines(text), ToQColor(font.colour));
    else
        painter.drawText(box, kWrapFlags, WithNewlines(text));
}

void QPainterCanvas::SetPen(ColourValue colour, int width) {
    penColour = ToQColor(colour);
    penWidth = std::max(1, width);
}

void QPainterCanvas::SetSolidBrush(ColourValue colour) {
    brushSolid = true;
    brushColour = ToQColor(colour);
}

void QPainterCanvas::ApplyPen() {
    painter.setPen(QPen(penColour, penWidth, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
}

void QPainterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 == x1 || y2 == y1) return;
    const QRect inside(x1, y1, x2 - x1, y2 - y1);
    if (brushSolid) painter.fillRect(inside, brushColour);
    if (penWidth <= 1) {
        // A one-pixel outline is exactly the first and last row and column.
        if (brushSolid && brushColour == penColour) return;
        painter.fillRect(QRect(x1, y1, x2 - x1, 1), penColour);
        painter.fillRect(QRect(x1, y2 - 1, x2 - x1, 1), penColour);
        painter.fillRect(QRect(x1, y1, 1, y2 - y1), penColour);
        painter.fillRect(QRect(x2 - 1, y1, 1, y2 - y1), penColour);
        return;
    }
    // A wide outline is centred on the first and last row and column.
    painter.setRenderHint(QPainter::Antialiasing, true);
    ApplyPen();
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(x1 + 0.5, y1 + 0.5, x2 - x1 - 1, y2 - y1 - 1));
}

void QPainterCanvas::FillRectangles(const std::vector<FilledRect>& rects) {
    if (rects.empty()) return;
    // One fill per colour: a PDF or printer page gets a few fills with many
    // rectangles each rather than a fill and a colour change per rectangle.
    std::map<ColourValue, QList<QRect>> byColour;
    for (const FilledRect& r : rects) {
        const int x1 = std::min(r.rect.left, r.rect.right),
                  x2 = std::max(r.rect.left, r.rect.right);
        const int y1 = std::min(r.rect.top, r.rect.bottom),
                  y2 = std::max(r.rect.top, r.rect.bottom);
        if (x2 > x1 && y2 > y1) byColour[r.colour].append(QRect(x1, y1, x2 - x1, y2 - y1));
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    for (const auto& [colour, list] : byColour) {
        painter.setBrush(ToQColor(colour));
        painter.drawRects(list.constData(), static_cast<int>(list.size()));
    }
    painter.setBrush(Qt::NoBrush);
    SetSolidBrush(rects.back().colour);
    SetPen(rects.back().colour, 1);
}

void QPainterCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 == x1 || y2 == y1) return;
    painter.setRenderHint(QPainter::Antialiasing, true);
    ApplyPen();
    painter.setBrush(brushSolid ? QBrush(brushColour) : QBrush(Qt::NoBrush));
    painter.drawEllipse(QRectF(x1 + 0.5, y1 + 0.5, x2 - x1 - 1, y2 - y1 - 1));
}

void QPainterCanvas::LineTo(int x, int y) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    ApplyPen();
    painter.drawLine(QPointF(position.x() + 0.5, position.y() + 0.5), QPointF(x + 0.5, y + 0.5));
    position = QPoint(x, y);
}

void QPainterCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    const double rx = (x2 - x1) / 2.0, ry = (y2 - y1) / 2.0;
    if (rx == 0 || ry == 0) return;
    const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    // Angles counter-clockwise from three o'clock, as seen on the page, of the
    // points where the two rays meet the ellipse (in the ellipse's own terms).
    auto angle = [&](int px, int py) {
        return qRadiansToDegrees(std::atan2((cy - py) / ry, (px - cx) / rx));
    };
    const double start = angle(x3, y3);
    double sweep = std::fmod(angle(x4, y4) - start, 360.0);
    if (sweep <= 0) sweep += 360.0;
    const QRectF box(x1 + 0.5, y1 + 0.5, x2 - x1 - 1, y2 - y1 - 1);
    QPainterPath path;
    path.arcMoveTo(box, start);
    path.arcTo(box, start, sweep);
    painter.setRenderHint(QPainter::Antialiasing, true);
    ApplyPen();
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}
