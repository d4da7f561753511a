#include "QPainterDibDevice.h"

#include "DibImage.h"

#include <QPainter>

namespace {

bool ValidHeader(const BITMAPINFO* info) {
    return info && info->bmiHeader.biWidth > 0 && info->bmiHeader.biHeight > 0;
}

} // namespace

QPainterDibDevice::QPainterDibDevice(QPainter& painter, DeviceTechnology technology)
    : painter(painter), technology(technology) {}

void QPainterDibDevice::SetStretchModeColorOnColor() {
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

int QPainterDibDevice::StretchDIBits(int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                                     const std::uint8_t* bits, const BITMAPINFO* info,
                                     std::uint32_t) {
    if (!ValidHeader(info) || !bits) return kGdiError;
    const int height = info->bmiHeader.biHeight;
    const QImage image = DibRowsToImage(info, bits, height);
    if (image.isNull()) return kGdiError;
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return 0;
    // Source y counts from the bottom row; the image's rows run from the top.
    const QRect source(sx, height - sy - sh, sw, sh);
    painter.drawImage(QRect(x, y, w, h), image, source);
    return h;
}

int QPainterDibDevice::SetDIBitsToDevice(int x, int y, int w, int h, int sx, int sy, int startScan,
                                         int lines, const std::uint8_t* bits,
                                         const BITMAPINFO* info) {
    if (!ValidHeader(info) || !bits || w <= 0 || h <= 0 || lines <= 0 || startScan < 0) return 0;
    // Scan lines, counted from the bottom, that are both in the source
    // rectangle and among those passed.
    const int low = qMax(sy, startScan);
    const int high = qMin(static_cast<qint64>(sy) + h, static_cast<qint64>(startScan) + lines);
    if (low >= high) return 0;
    const int rowBytes = DibRowBytes(info->bmiHeader.biWidth, info->bmiHeader.biBitCount);
    const QImage image = DibRowsToImage(
        info, bits + static_cast<std::ptrdiff_t>(low - startScan) * rowBytes, high - low);
    if (image.isNull()) return 0;
    const int left = qMax(sx, 0);
    const int right = qMin(static_cast<qint64>(sx) + w, static_cast<qint64>(image.width()));
    if (left >= right) return 0;
    // The topmost row passed (scan high - 1) lands h - 1 - (high - 1 - sy) rows below y.
    const int top = y + (sy + h - high);
    painter.drawImage(QPoint(x + (left - sx), top), image,
                      QRect(left, 0, right - left, high - low));
    return high - low;
}

std::uintptr_t QPainterDibDevice::CreateCompatibleBitmap(int w, int h) {
    if (w <= 0 || h <= 0 || w > kMaxDibSide || h > kMaxDibSide ||
        static_cast<std::int64_t>(w) * h > kMaxDibPixels)
        return 0;
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull()) return 0;
    image.fill(Qt::black);
    const std::uintptr_t id = nextBitmap++;
    bitmaps.emplace(id, std::move(image));
    return id;
}

int QPainterDibDevice::SetDIBits(std::uintptr_t bitmap, int startScan, int lines,
                                 const std::uint8_t* bits, const BITMAPINFO* info) {
    const auto found = bitmaps.find(bitmap);
    if (found == bitmaps.end() || !ValidHeader(info) || !bits || startScan < 0 || lines <= 0)
        return 0;
    QImage& target = found->second;
    const int count = qMin(lines, target.height() - startScan);
    if (count <= 0) return 0;
    const QImage rows = DibRowsToImage(info, bits, count);
    if (rows.isNull()) return 0;
    QPainter into(&target);
    into.setCompositionMode(QPainter::CompositionMode_Source);
    // Scan line startScan is the bitmap's row height - 1 - startScan.
    into.drawImage(QPoint(0, target.height() - startScan - count), rows);
    return count;
}

int QPainterDibDevice::StretchBlt(int x, int y, int w, int h, std::uintptr_t bitmap, int sx, int sy,
                                  int sw, int sh, std::uint32_t) {
    const auto found = bitmaps.find(bitmap);
    if (found == bitmaps.end() || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return 0;
    painter.drawImage(QRect(x, y, w, h), found->second, QRect(sx, sy, sw, sh));
    return 1;
}

void QPainterDibDevice::DeleteBitmap(std::uintptr_t bitmap) {
    bitmaps.erase(bitmap);
}
