#include "DibConvert.h"

#include <algorithm>

namespace {

template <typename PixelOp> void ForEach24BitPixel(dib& rec, PixelOp op) {
    if (!rec.poi || DibBitCount(rec) != 24)
        return; // greying and lightening work on 3-byte pixels only
    const int width = DibWidth(rec);
    const int height = DibHeight(rec);
    for (int row = 0; row < height; ++row) {
        std::uint8_t* p = rec.poi + static_cast<std::ptrdiff_t>(row) * rec.bytew;
        for (int x = 0; x < width; ++x, p += 3)
            op(p);
    }
}

} // namespace

void ConvertDibTo24Bit(dib& rec) {
    if (!rec.poi) return;
    const int bits = DibBitCount(rec);
    if (bits != 1 && bits != 4 && bits != 8) return;
    const int width = DibWidth(rec);
    const int height = DibHeight(rec);
    dib out;
    newdib(&out, width, height, 24);
    if (out.poih == 0 || !out.poi) return;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = rec.poi + static_cast<std::ptrdiff_t>(y) * rec.bytew;
        std::uint8_t* to = out.poi + static_cast<std::ptrdiff_t>(y) * out.bytew;
        for (int x = 0; x < width; ++x) {
            if (bits == 1) {
                setpixel(out, x, y, getpixel(rec, x, y) == 0 ? 0u : 16777215u);
                continue;
            }
            const int index =
                bits == 8 ? from[x] : (x % 2 == 0 ? from[x / 2] >> 4 : from[x / 2] & 0x0F);
            const PALENTRY& c = rec.pal.rgb0[index];
            to[3 * x] = c.blue;
            to[3 * x + 1] = c.green;
            to[3 * x + 2] = c.red;
        }
    }
    FreeDib(rec);
    rec = out;
}

void GrayScaleDib(dib& rec) {
    ForEach24BitPixel(rec, [](std::uint8_t* p) {
        const int grey = (30 * p[2] + 59 * p[1] + 11 * p[0]) / 100;
        p[0] = p[1] = p[2] = static_cast<std::uint8_t>(grey);
    });
}

int LightenChannel(int c, int brightness, int saturation) {
    int c1 = (c - 128) * (saturation + 100) / 100 + 128;
    c1 = std::clamp(c1, 0, 255);
    const int c2 = (25500 - (255 - c1) * brightness) / 100;
    return std::clamp(c2, 0, 255);
}

void LightenDib(dib& rec, int brightness, int saturation) {
    std::uint8_t table[256];
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<std::uint8_t>(LightenChannel(c, brightness, saturation));
    ForEach24BitPixel(rec, [&table](std::uint8_t* p) {
        p[0] = table[p[0]];
        p[1] = table[p[1]];
        p[2] = table[p[2]];
    });
}
