#include "RecordingCanvas.h"

#include <QStringList>
#include <cmath>
#include <sstream>

namespace {

// FNV-1a over the picture's stored rows, so that records show which picture was drawn.
long long PixelChecksum(const std::uint8_t* bits, const BITMAPINFO* info) {
    if (!bits || !info) return 0;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const long long rowBytes = ((static_cast<long long>(h.biWidth) * h.biBitCount + 31) / 32) * 4;
    const long long bytes = rowBytes * std::llabs(static_cast<long long>(h.biHeight));
    std::uint64_t hash = 1469598103934665603ULL;
    for (long long i = 0; i < bytes; ++i) {
        hash ^= bits[i];
        hash *= 1099511628211ULL;
    }
    return static_cast<long long>(hash & 0x7FFFFFFFFFFFULL);
}

} // namespace

std::string CanvasOp::ToString() const {
    std::ostringstream out;
    out << name;
    for (long long a : args)
        out << ' ' << a;
    if (!text.isNull()) out << " \"" << text.toStdString() << '"';
    return out.str();
}

int RecordingDibDevice::StretchDIBits(int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                                      const std::uint8_t* bits, const BITMAPINFO* info,
                                      std::uint32_t rop) {
    ops.push_back(
        {"StretchDIBits", {x, y, w, h, sx, sy, sw, sh, PixelChecksum(bits, info), rop}, {}});
    return h;
}

int RecordingDibDevice::SetDIBitsToDevice(int x, int y, int w, int h, int sx, int sy, int startScan,
                                          int lines, const std::uint8_t* bits,
                                          const BITMAPINFO* info) {
    ops.push_back({"SetDIBitsToDevice",
                   {x, y, w, h, sx, sy, startScan, lines, PixelChecksum(bits, info)},
                   {}});
    return lines;
}

RecordingCanvas::RecordingCanvas(int dpi) : dpi(dpi) {
    font.name = QStringLiteral("Arial");
}

int RecordingCanvas::LineHeightFor(int points, int dpi) {
    return static_cast<int>(std::lround(points * static_cast<double>(dpi) / 72.0));
}

int RecordingCanvas::CharWidthFor(int points, int dpi) {
    return static_cast<int>(std::lround(points * static_cast<double>(dpi) / 72.0 * 0.5));
}

void RecordingCanvas::Record(const char* name, std::vector<long long> args, const QString& text) {
    ops.push_back({name, std::move(args), text});
}

std::vector<CanvasOp> RecordingCanvas::OpsNamed(std::string_view name) const {
    std::vector<CanvasOp> result;
    for (const CanvasOp& op : ops)
        if (op.name == name) result.push_back(op);
    return result;
}

std::string RecordingCanvas::Dump() const {
    std::string out;
    for (const CanvasOp& op : ops)
        out += op.ToString() + '\n';
    return out;
}

void RecordingCanvas::SelectFont(const CanvasFont& f) {
    font = f;
    Record("Font", {f.points, f.style, f.charset, f.colour}, f.name);
}

void RecordingCanvas::SetTransparentText() {
    Record("TransparentText", {});
}

void RecordingCanvas::SetOpaqueText(ColourValue background) {
    Record("OpaqueText", {background});
}

void RecordingCanvas::TextOut(int x, int y, const QString& text) {
    Record("TextOut", {x, y}, text);
}

int RecordingCanvas::TextWidth(const QString& text) {
    return static_cast<int>(text.size()) * CharWidthFor(font.points, dpi);
}

int RecordingCanvas::TextHeight(const QString&) {
    return LineHeightFor(font.points, dpi);
}

std::vector<QString> RecordingCanvas::WrapLines(const QString& text, int width, int* widest) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QChar(13), QChar(10));
    std::vector<QString> lines;
    int wide = 0;
    for (const QString& paragraph : t.split(QChar(10))) {
        QString line;
        bool first = true;
        for (const QString& word : paragraph.split(QChar(' '))) {
            wide = std::max(wide, TextWidth(word));
            if (first) {
                line = word;
                first = false;
            } else if (TextWidth(line + ' ' + word) <= width) {
                line += ' ' + word;
            } else {
                lines.push_back(line);
                line = word;
            }
        }
        lines.push_back(line);
    }
    if (widest) *widest = wide;
    return lines;
}

void RecordingCanvas::MeasureWrappedText(CanvasRect& rect, const QString& text) {
    int widest = 0;
    const auto lines = WrapLines(text, rect.right - rect.left, &widest);
    rect.bottom = rect.top + static_cast<int>(lines.size()) * LineHeightFor(font.points, dpi);
    rect.right = std::max(rect.right, rect.left + widest);
}

void RecordingCanvas::DrawWrappedText(const CanvasRect& rect, const QString& text) {
    Record("DrawWrappedText", {rect.left, rect.top, rect.right, rect.bottom}, text);
}

void RecordingCanvas::SetPen(ColourValue colour, int width) {
    Record("Pen", {colour, width});
}

void RecordingCanvas::SetSolidBrush(ColourValue colour) {
    Record("SolidBrush", {colour});
}

void RecordingCanvas::SetClearBrush() {
    Record("ClearBrush", {});
}

void RecordingCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Record("Rectangle", {x1, y1, x2, y2});
}

void RecordingCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    Record("Ellipse", {x1, y1, x2, y2});
}

void RecordingCanvas::MoveTo(int x, int y) {
    Record("MoveTo", {x, y});
}

void RecordingCanvas::LineTo(int x, int y) {
    Record("LineTo", {x, y});
}

void RecordingCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    Record("Arc", {x1, y1, x2, y2, x3, y3, x4, y4});
}
