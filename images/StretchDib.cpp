#include "StretchDib.h"

#include <QString>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Row-by-row drawing through a one-row buffer: the column map is built once,
// each distinct source row is copied once, and destination rows that show the
// same source row draw the buffer again unchanged.
void StretchRows(DibDevice& device, int x, int y, int dw, int dh, const dib& rec, int sx,
                 int sourceTop, int sw, int sh, int bytesPerPixel) {
    if (!rec.poi || !rec.pmi || dw <= 0 || dh <= 0) return;
    const int width = DibWidth(rec);
    const int height = DibHeight(rec);
    dib line;
    if (bytesPerPixel == 3)
        newdib(&line, dw, 1, 24);
    else
        newdib(&line, dw, 1, 8, rec.pmi, 256);
    if (!line.poi) return; // too wide to draw row by row; nothing is drawn

    std::vector<int> columns(static_cast<std::size_t>(dw));
    int first = -1, last = -1;
    for (int i = 0; i < dw; ++i) {
        const std::int64_t column = sx + static_cast<std::int64_t>(sw) * i / dw;
        columns[static_cast<std::size_t>(i)] = static_cast<int>(column);
        if (column >= 0 && column < width) {
            if (first < 0) first = i;
            last = i;
        }
    }

    std::int64_t previous = -1; // stored row now in the buffer, none yet
    for (int r = 0; r < dh; ++r) {
        const std::int64_t fromTop = sourceTop + static_cast<std::int64_t>(sh) * r / dh;
        const std::int64_t stored = height - 1 - fromTop;
        if (stored < 0 || stored > height - 1) {
            std::memset(line.poi, 0, static_cast<std::size_t>(line.bytew));
            previous = -1; // the buffer no longer holds any source row
        } else if (stored != previous) {
            const std::uint8_t* source = rec.poi + stored * rec.bytew;
            std::uint8_t* to = line.poi;
            if (first >= 0) {
                for (int i = first; i <= last; ++i) {
                    const std::uint8_t* from =
                        source + static_cast<std::ptrdiff_t>(columns[static_cast<std::size_t>(i)]) *
                                     bytesPerPixel;
                    std::uint8_t* into = to + static_cast<std::ptrdiff_t>(i) * bytesPerPixel;
                    if (bytesPerPixel == 3) {
                        into[0] = from[0];
                        into[1] = from[1];
                        into[2] = from[2];
                    } else {
                        into[0] = from[0];
                    }
                }
            }
            previous = stored;
        }
        device.SetDIBitsToDevice(x, y + r, dw, 1, 0, 0, 0, 1, line.poi, line.pmi);
    }
    deldib(line);
}

// The source index for destination index i when both ends of the ranges meet
// (first to first, last to last); a single destination pixel shows the first.
int MapEnds(int sourceStart, int sourceCount, int destCount, int i) {
    if (destCount <= 1) return sourceStart;
    return static_cast<int>(static_cast<std::int64_t>(sourceCount - 1) * i / (destCount - 1)) +
           sourceStart;
}

// Fallback A: a scaled copy of the picture at destination size, drawn unscaled.
bool DrawScaledCopy(DibDevice& device, int x, int y, int dw, int dh, const dib& rec, int sx, int sy,
                    int sw, int sh) {
    const int bits = DibBitCount(rec);
    const int colours = DibColorCount(rec);
    dib copy;
    newdib(&copy, dw, dh, bits, rec.pmi, colours <= 256 ? colours : 0);
    if (!copy.poi) return false;
    std::vector<int> columns(static_cast<std::size_t>(dw));
    for (int c = 0; c < dw; ++c)
        columns[static_cast<std::size_t>(c)] = MapEnds(sx, sw, dw, c);
    const int bytesPerPixel = bits >= 8 ? bits / 8 : 0;
    for (int r = 0; r < dh; ++r) {
        const int sourceRow = MapEnds(sy, sh, dh, r);
        const std::uint8_t* from = rec.poi + static_cast<std::ptrdiff_t>(sourceRow) * rec.bytew;
        std::uint8_t* to = copy.poi + static_cast<std::ptrdiff_t>(r) * copy.bytew;
        for (int c = 0; c < dw; ++c) {
            const int sc = columns[static_cast<std::size_t>(c)];
            if (bits == 1) {
                setpixel(copy, c, r, getpixel(rec, sc, sourceRow));
            } else if (bits == 4) {
                const std::uint8_t b = from[sc / 2];
                const std::uint8_t nibble = sc % 2 == 0 ? b >> 4 : b & 0x0F;
                to[c / 2] |= c % 2 == 0 ? nibble << 4 : nibble;
            } else if (bytesPerPixel > 0) {
                std::memcpy(to + static_cast<std::ptrdiff_t>(c) * bytesPerPixel,
                            from + static_cast<std::ptrdiff_t>(sc) * bytesPerPixel,
                            static_cast<std::size_t>(bytesPerPixel));
            }
        }
    }
    const int drawn = device.SetDIBitsToDevice(x, y, dw, dh, 0, 0, 0, dh, copy.poi, copy.pmi);
    deldib(copy);
    return drawn != 0;
}

// Fallback B: the whole picture into a device bitmap, then the device's blit.
void DrawThroughBitmap(DibDevice& device, int x, int y, int dw, int dh, const dib& rec, int sx,
                       int sy, int sw, int sh, std::uint32_t rop) {
    const int width = DibWidth(rec);
    const int height = DibHeight(rec);
    const std::uintptr_t bitmap = device.CreateCompatibleBitmap(width, height);
    if (!bitmap) {
        ShowDibMessage(QStringLiteral("Could not create bitmap."));
        return;
    }
    if (device.SetDIBits(bitmap, 0, height, rec.poi, rec.pmi) == 0) {
        ShowDibMessage(QStringLiteral("The device does not support the Funtkion setdibits!"));
    } else {
        // The device bitmap counts its rows from the top.
        const int top = height - sy - sh;
        if (device.StretchBlt(x, y, dw, dh, bitmap, sx, top, sw, sh, rop) == 0)
            ShowDibMessage(QStringLiteral("The device does not support the function StretchBlt!"));
    }
    device.DeleteBitmap(bitmap);
}

DibMessageHook& MessageHook() {
    static DibMessageHook hook;
    return hook;
}

} // namespace

std::int64_t RoundDivEven(std::int64_t n, std::int64_t d) {
    if (d < 0) {
        n = -n;
        d = -d;
    }
    std::int64_t q = n / d;
    std::int64_t r = n % d;
    if (r < 0) { // floor division
        --q;
        r += d;
    }
    if (2 * r > d || (2 * r == d && (q & 1) != 0)) ++q;
    return q;
}

DibMessageHook SetDibMessageHook(DibMessageHook hook) {
    DibMessageHook previous = std::move(MessageHook());
    MessageHook() = std::move(hook);
    return previous;
}

void ShowDibMessage(const QString& text) {
    if (MessageHook()) {
        MessageHook()(text);
        return;
    }
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

void StretchDibRows24(DibDevice& device, int x, int y, int dw, int dh, const dib& rec, int sx,
                      int sourceTop, int sw, int sh) {
    StretchRows(device, x, y, dw, dh, rec, sx, sourceTop, sw, sh, 3);
}

void StretchDibRows8(DibDevice& device, int x, int y, int dw, int dh, const dib& rec, int sx,
                     int sourceTop, int sw, int sh) {
    StretchRows(device, x, y, dw, dh, rec, sx, sourceTop, sw, sh, 1);
}

void StretchDib(DibDevice& device, int x, int y, int dw, int dh, const dib& rec, int sx, int sy,
                int sw, int sh, std::uint32_t rop) {
    if (!rec.poi || !rec.pmi || sw <= 0 || sh <= 0)
        return; // nothing to take from; also keeps the proportions below defined
    const bool printer = device.Technology() == DeviceTechnology::RasterPrinter;
    device.SetStretchModeColorOnColor();
    const int width = DibWidth(rec);
    const int height = DibHeight(rec);

    if (static_cast<std::int64_t>(sx) + sw > width) { // right
        const int newWidth = width - sx;
        dw = static_cast<int>(RoundDivEven(static_cast<std::int64_t>(dw) * newWidth, sw));
        sw = newWidth;
    }
    if (sy < 0 && sh > 0) { // bottom: the destination keeps its top
        dh = static_cast<int>(RoundDivEven((static_cast<std::int64_t>(sh) + sy) * dh, sh));
        sh += sy;
        sy = 0;
    }
    if (sh > 0 && static_cast<std::int64_t>(sy) + sh > height) { // top
        const int newHeight = height - sy;
        const int f = static_cast<int>(RoundDivEven(static_cast<std::int64_t>(dh) * newHeight, sh));
        y += dh - f;
        dh = f;
        sh = newHeight;
    }
    if (sx < 0 && sw > 0) { // left
        const int t = static_cast<int>(RoundDivEven((static_cast<std::int64_t>(sx) + sw) * dw, sw));
        x += dw - t;
        dw = t;
        sw += sx;
        sx = 0;
    }
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return; // nothing of the picture is left to show

    const int bits = DibBitCount(rec);
    if (bits == 24 && !printer) {
        StretchDibRows24(device, x, y, dw, dh, rec, sx, height - sy - sh, sw, sh);
        return;
    }
    if (bits == 8 && !printer) {
        StretchDibRows8(device, x, y, dw, dh, rec, sx, height - sy - sh, sw, sh);
        return;
    }
    if (device.StretchDIBits(x, y, dw, dh, sx, sy, sw, sh, rec.poi, rec.pmi, rop) != kGdiError)
        return;
    if ((device.RasterCaps() & RC_DIBTODEV) != 0 &&
        DrawScaledCopy(device, x, y, dw, dh, rec, sx, sy, sw, sh))
        return;
    DrawThroughBitmap(device, x, y, dw, dh, rec, sx, sy, sw, sh, rop);
}
