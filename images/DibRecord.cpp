// Creating and releasing picture records, single pixels and the header queries.
#include "Dib.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kTableEntries = 256;

bool SupportedBitCount(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Byte position of pixel (x, y) for whole-byte depths; nullptr outside the picture.
std::uint8_t* PixelAddress(const dib& rec, int x, int y, int bytesPerPixel) {
    return rec.poi + static_cast<std::ptrdiff_t>(y) * rec.bytew +
           static_cast<std::ptrdiff_t>(x) * bytesPerPixel;
}

bool Inside(const dib& rec, int x, int y) {
    return rec.poi && rec.pmi && x >= 0 && y >= 0 && x < DibWidth(rec) && y < DibHeight(rec);
}

} // namespace

int DibRowBytes(int width, int bitsPerPixel) {
    const std::int64_t bits = static_cast<std::int64_t>(width) * bitsPerPixel;
    return static_cast<int>(((bits + 31) / 32) * 4);
}

void newdib(dib* rec, int width, int height, int bitsPerPixel, const BITMAPINFO* info,
            int colours) {
    if (!rec) return;
    std::memset(rec, 0, sizeof(dib));
    if (width <= 0 || height <= 0 || width > kMaxDibSide || height > kMaxDibSide ||
        static_cast<std::int64_t>(width) * height > kMaxDibPixels ||
        !SupportedBitCount(bitsPerPixel))
        return;
    const int rowBytes = DibRowBytes(width, bitsPerPixel);
    // The information block always has room for a full colour table, so readers
    // of up to 256 entries never run past it.
    auto* pmi = static_cast<BITMAPINFO*>(
        std::calloc(1, sizeof(BITMAPINFOHEADER) + kTableEntries * sizeof(RGBQUAD)));
    auto* poi = static_cast<std::uint8_t*>(
        std::calloc(static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(height), 1));
    if (!pmi || !poi) {
        std::free(pmi);
        std::free(poi);
        return;
    }
    BITMAPINFOHEADER& h = pmi->bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<std::uint16_t>(bitsPerPixel);
    h.biCompression = 0;
    h.biSizeImage = static_cast<std::uint32_t>(rowBytes) * static_cast<std::uint32_t>(height);
    h.biXPelsPerMeter = h.biYPelsPerMeter = 3780;
    int copied = 0;
    if (info && colours > 0) {
        copied = colours > kTableEntries ? kTableEntries : colours;
        std::memcpy(pmi->bmiColors, info->bmiColors, copied * sizeof(RGBQUAD));
    }
    if (bitsPerPixel <= 8) h.biClrUsed = static_cast<std::uint32_t>(1 << bitsPerPixel);
    rec->pmi = pmi;
    rec->poi = poi;
    rec->poih = 1;
    rec->pmih = 1;
    rec->bytew = rowBytes;
    rec->ispal = bitsPerPixel <= 8 ? 1 : 0;
    rec->pal.ver = 0x300;
    rec->pal.num = static_cast<std::uint16_t>(copied);
    for (int i = 0; i < copied; ++i) {
        const RGBQUAD& q = pmi->bmiColors[i];
        rec->pal.rgb0[i] = PALENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
    }
    rec->zoom = 100;
}

void deldib(dib rec) {
    std::free(rec.poi);
    std::free(rec.pmi);
}

void FreeDib(dib& rec) {
    deldib(rec);
    rec.poi = nullptr;
    rec.pmi = nullptr;
    rec.poih = 0;
    rec.pmih = 0;
    rec.bytew = 0;
}

std::uint32_t getpixel(dib rec, int x, int y) {
    if (!Inside(rec, x, y)) return 0;
    switch (DibBitCount(rec)) {
    case 1:
        return (PixelAddress(rec, x / 8, y, 1)[0] >> (7 - x % 8)) & 1u;
    case 4: {
        const std::uint8_t b = PixelAddress(rec, x / 2, y, 1)[0];
        return x % 2 == 0 ? b >> 4 : b & 0x0Fu;
    }
    case 8:
        return PixelAddress(rec, x, y, 1)[0];
    case 16: {
        const std::uint8_t* p = PixelAddress(rec, x, y, 2);
        return p[0] | (p[1] << 8);
    }
    case 24:
    case 32: {
        const std::uint8_t* p = PixelAddress(rec, x, y, DibBitCount(rec) / 8);
        return static_cast<std::uint32_t>(p[2]) | (p[1] << 8) | (p[0] << 16);
    }
    default:
        return 0;
    }
}

void setpixel(dib rec, int x, int y, std::uint32_t value) {
    if (!Inside(rec, x, y)) return;
    switch (DibBitCount(rec)) {
    case 1: {
        std::uint8_t& b = PixelAddress(rec, x / 8, y, 1)[0];
        const std::uint8_t mask = static_cast<std::uint8_t>(0x80u >> (x % 8));
        b = (value & 1u) ? (b | mask) : (b & ~mask);
        break;
    }
    case 4: {
        std::uint8_t& b = PixelAddress(rec, x / 2, y, 1)[0];
        const std::uint8_t v = value & 0x0Fu;
        b = x % 2 == 0 ? ((b & 0x0F) | (v << 4)) : ((b & 0xF0) | v);
        break;
    }
    case 8:
        PixelAddress(rec, x, y, 1)[0] = static_cast<std::uint8_t>(value);
        break;
    case 16: {
        std::uint8_t* p = PixelAddress(rec, x, y, 2);
        p[0] = value & 0xFFu;
        p[1] = (value >> 8) & 0xFFu;
        break;
    }
    case 24:
    case 32: {
        std::uint8_t* p = PixelAddress(rec, x, y, DibBitCount(rec) / 8);
        p[0] = (value >> 16) & 0xFFu; // blue
        p[1] = (value >> 8) & 0xFFu;  // green
        p[2] = value & 0xFFu;         // red
        break;
    }
    default:
        break;
    }
}

int DibWidth(const dib& rec) {
    return rec.pmi ? rec.pmi->bmiHeader.biWidth : 0;
}

int DibHeight(const dib& rec) {
    return rec.pmi ? rec.pmi->bmiHeader.biHeight : 0;
}

int DibBitCount(const dib& rec) {
    return rec.pmi ? rec.pmi->bmiHeader.biBitCount : 0;
}

int DibColorCount(const dib& rec) {
    const int bits = DibBitCount(rec);
    if (bits <= 0) return 1;
    if (bits >= 31) return 1 << 30; // beyond any colour table; callers only compare it with 256
    return 1 << bits;
}
