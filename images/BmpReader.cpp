#include "BmpReader.h"

#include <QIODevice>

#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr int kFileHeaderSize = 14;

std::uint32_t U16(const std::uint8_t* p) {
    return p[0] | (p[1] << 8);
}
std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (p[1] << 8) | (p[2] << 16) |
           (static_cast<std::uint32_t>(p[3]) << 24);
}

bool ReadExactly(QIODevice& file, void* to, qint64 size) {
    auto* out = static_cast<char*>(to);
    while (size > 0) {
        const qint64 got = file.read(out, size);
        if (got <= 0) return false;
        out += got;
        size -= got;
    }
    return true;
}

struct BmpHeader {
    qint64 pixelOffset = 0;
    std::uint32_t infoSize = 0;
    std::int64_t width = 0, height = 0; // height negative: rows top first
    int bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
};

BmpReadResult ReadHeader(QIODevice& file, BmpHeader& h) {
    std::uint8_t head[kFileHeaderSize + 40] = {};
    const qint64 got = file.read(reinterpret_cast<char*>(head), sizeof head);
    if (got < 2 || head[0] != 'B' || head[1] != 'M') return BmpReadResult::NotHandled;
    if (got < kFileHeaderSize + 12) return BmpReadResult::Damaged;
    h.pixelOffset = U32(head + 10);
    h.infoSize = U32(head + 14);
    const std::uint8_t* info = head + kFileHeaderSize;
    if (h.infoSize == 12) { // the old core header: 16-bit sizes, 3-byte colours
        h.width = static_cast<std::int16_t>(U16(info + 4));
        h.height = static_cast<std::int16_t>(U16(info + 6));
        h.bitCount = static_cast<int>(U16(info + 10));
        return BmpReadResult::Read;
    }
    if (h.infoSize < 40 || h.infoSize > 4096 || got < kFileHeaderSize + 40)
        return BmpReadResult::Damaged;
    h.width = static_cast<std::int32_t>(U32(info + 4));
    h.height = static_cast<std::int32_t>(U32(info + 8));
    h.bitCount = static_cast<int>(U16(info + 14));
    h.compression = U32(info + 16);
    h.coloursUsed = U32(info + 32);
    return BmpReadResult::Read;
}

} // namespace

BmpReadResult ReadBmp(dib& rec, QIODevice& file) {
    std::memset(&rec, 0, sizeof rec);
    if (!file.seek(0)) return BmpReadResult::NotHandled;
    BmpHeader h;
    const BmpReadResult headerResult = ReadHeader(file, h);
    if (headerResult != BmpReadResult::Read) return headerResult;
    const int bits = h.bitCount;
    const bool ownDepth = bits == 1 || bits == 4 || bits == 8 || bits == 24;
    if (!ownDepth || h.compression != 0)
        return BmpReadResult::NotHandled; // compressed and 16/32-bit files go to Qt
    const std::int64_t height = h.height < 0 ? -h.height : h.height;
    if (h.width <= 0 || height <= 0 || h.width > kMaxDibSide || height > kMaxDibSide ||
        h.width * height > kMaxDibPixels)
        return BmpReadResult::Damaged;

    const bool core = h.infoSize == 12;
    const int entrySize = core ? 3 : 4;
    int colours = 0;
    if (bits <= 8) {
        colours = 1 << bits;
        if (!core && h.coloursUsed > 0 && h.coloursUsed < static_cast<std::uint32_t>(colours))
            colours = static_cast<int>(h.coloursUsed);
    }
    const qint64 tableOffset = kFileHeaderSize + static_cast<qint64>(h.infoSize);
    std::vector<std::uint8_t> table(static_cast<std::size_t>(colours) * entrySize);
    if (colours > 0 && (!file.seek(tableOffset) ||
                        !ReadExactly(file, table.data(), static_cast<qint64>(table.size()))))
        return BmpReadResult::Damaged;
    qint64 pixelOffset = h.pixelOffset;
    if (pixelOffset == 0) pixelOffset = tableOffset + static_cast<qint64>(table.size());
    const int w = static_cast<int>(h.width);
    const int hh = static_cast<int>(height);
    const qint64 rowBytes = DibRowBytes(w, bits);
    if (pixelOffset < kFileHeaderSize + 12 || pixelOffset + rowBytes * hh > file.size())
        return BmpReadResult::Damaged;

    dib out;
    newdib(&out, w, hh, bits);
    if (!out.poi) return BmpReadResult::Damaged;
    for (int i = 0; i < colours; ++i) {
        const std::uint8_t* e = table.data() + static_cast<std::size_t>(i) * entrySize;
        out.pmi->bmiColors[i] = RGBQUAD{e[0], e[1], e[2], 0};
        out.pal.rgb0[i] = PALENTRY{e[2], e[1], e[0], 0};
    }
    out.pal.num = static_cast<std::uint16_t>(colours);
    if (bits <= 8) out.pmi->bmiHeader.biClrUsed = static_cast<std::uint32_t>(1 << bits);
    // The file's rows are padded exactly like ours, so they are read in place.
    if (!file.seek(pixelOffset) || !ReadExactly(file, out.poi, rowBytes * hh)) {
        deldib(out);
        return BmpReadResult::Damaged;
    }
    if (h.height < 0) { // stored top row first: turn the rows over
        std::vector<std::uint8_t> swap(static_cast<std::size_t>(rowBytes));
        for (int top = 0, bottom = hh - 1; top < bottom; ++top, --bottom) {
            std::uint8_t* a = out.poi + top * rowBytes;
            std::uint8_t* b = out.poi + bottom * rowBytes;
            std::memcpy(swap.data(), a, rowBytes);
            std::memcpy(a, b, rowBytes);
            std::memcpy(b, swap.data(), rowBytes);
        }
    }
    rec = out;
    return BmpReadResult::Read;
}
