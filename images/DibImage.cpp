#include "DibImage.h"

#include <cstring>

namespace {

QList<QRgb> ColourTable(const BITMAPINFO* info, int bits) {
    const int count = 1 << bits;
    QList<QRgb> table(count);
    for (int i = 0; i < count; ++i) {
        const RGBQUAD& q = info->bmiColors[i];
        table[i] = qRgb(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    return table;
}

} // namespace

QImage DibRowsToImage(const BITMAPINFO* info, const std::uint8_t* bits, int lines) {
    if (!info || !bits || lines <= 0) return QImage();
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const int width = h.biWidth;
    const int bitCount = h.biBitCount;
    if (width <= 0 || width > kMaxDibSide || lines > kMaxDibSide || h.biCompression != 0)
        return QImage();
    QImage::Format format;
    switch (bitCount) {
    case 1:
        format = QImage::Format_Mono;
        break;
    case 4:
    case 8:
        format = QImage::Format_RGB32;
        break; // looked up here: cheaper to draw
    case 16:
        format = QImage::Format_RGB555;
        break;
    case 24:
        format = QImage::Format_BGR888;
        break;
    case 32:
        format = QImage::Format_RGB32;
        break;
    default:
        return QImage();
    }
    QImage image(width, lines, format);
    if (image.isNull()) return image;
    const int rowBytes = DibRowBytes(width, bitCount);
    QRgb lookup[256] = {};
    if (bitCount == 1)
        image.setColorTable(ColourTable(info, bitCount));
    else if (bitCount <= 8)
        for (int i = 0; i < (1 << bitCount); ++i) {
            const RGBQUAD& q = info->bmiColors[i];
            lookup[i] = qRgb(q.rgbRed, q.rgbGreen, q.rgbBlue);
        }
    for (int row = 0; row < lines; ++row) {
        const std::uint8_t* from = bits + static_cast<std::ptrdiff_t>(lines - 1 - row) * rowBytes;
        uchar* to = image.scanLine(row);
        if (bitCount == 4 || bitCount == 8) {
            auto* pixels = reinterpret_cast<QRgb*>(to);
            if (bitCount == 8)
                for (int x = 0; x < width; ++x)
                    pixels[x] = lookup[from[x]];
            else
                for (int x = 0; x < width; ++x)
                    pixels[x] = lookup[x % 2 == 0 ? from[x / 2] >> 4 : from[x / 2] & 0x0F];
        } else if (bitCount == 32) {
            std::memcpy(to, from, static_cast<std::size_t>(width) * 4);
            auto* pixels = reinterpret_cast<QRgb*>(to);
            for (int x = 0; x < width; ++x)
                pixels[x] |= 0xFF000000u; // the fourth byte is unused, never alpha
        } else {
            std::memcpy(to, from,
                        static_cast<std::size_t>(qMin<qsizetype>(rowBytes, image.bytesPerLine())));
        }
    }
    return image;
}

QImage DibToImage(const dib& rec) {
    if (!rec.poi || !rec.pmi) return QImage();
    return DibRowsToImage(rec.pmi, rec.poi, DibHeight(rec));
}
