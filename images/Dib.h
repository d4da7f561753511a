#pragma once
// The bitmap record of every picture and the picture library operations on it.
// Pixel rows are stored bottom row first, each padded to a multiple of 4 bytes;
// 24-bit pixels as blue, green, red; 8- and 4-bit pictures carry their colour
// table both behind pmi and in pal.rgb0; 1-bit pixels are reached through
// getpixel/setpixel only.

#include <cstdint>

#pragma pack(push, 1)
struct BITMAPINFOHEADER {
    std::uint32_t biSize;
    std::int32_t biWidth;
    std::int32_t biHeight; // positive: rows bottom first
    std::uint16_t biPlanes;
    std::uint16_t biBitCount;
    std::uint32_t biCompression;
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};

struct RGBQUAD {
    std::uint8_t rgbBlue, rgbGreen, rgbRed, rgbReserved;
};

// Header followed by as many colour-table entries as the picture has.
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

struct PALENTRY {
    std::uint8_t red, green, blue, flags;
};

struct LPAL {
    std::uint16_t ver;
    std::uint16_t num;
    PALENTRY rgb0[256];
};
#pragma pack(pop)

// The record itself. A record with poi == nullptr holds no picture. Records are
// plain values: copying one copies the reference to the same picture memory,
// which is released once, with FreeDib.
struct dib {
    BITMAPINFO* pmi;
    std::uint32_t poih; // non-zero after a successful newdib
    std::uint32_t pmih;
    std::uint8_t* poi;  // first byte of the bottom row
    std::int32_t bytew; // bytes per stored row
    std::uint8_t ispal;
    LPAL pal;
    std::int32_t zoom, scx, scy, mx1, my1, mx2, my2;
};

// Reads a picture file into rec. On failure (missing, unreadable, damaged,
// empty name, too large) rec is left empty and nothing is shown.
void OpenDib(dib* rec, const char* path);
// A blank picture (all pixel bytes zero) with colours copied from info.
void newdib(dib* rec, int width, int height, int bitsPerPixel, const BITMAPINFO* info = nullptr,
            int colours = 0);
// Releases the record's picture memory; an empty record is accepted.
void deldib(dib rec);
// Colour index (1, 4, 8 bits) or 0x00BBGGRR colour (24 bits) at x (from the left)
// and y counted as the rows are stored (0 = bottom row); 0 outside the picture.
std::uint32_t getpixel(dib rec, int x, int y);
void setpixel(dib rec, int x, int y, std::uint32_t value);
// Description|pattern pairs of the readable picture types, for a file dialog.
const char* GetDIBOpenFilter();

// Releases the picture and leaves the record empty.
void FreeDib(dib& rec);
int DibWidth(const dib& rec);
int DibHeight(const dib& rec);
int DibBitCount(const dib& rec);
int DibColorCount(const dib& rec);

// Largest picture the library creates or reads, in pixels and per side; larger
// files are refused like unreadable ones.
constexpr std::int64_t kMaxDibPixels = std::int64_t{1} << 26;
constexpr int kMaxDibSide = 1 << 16;
// Bytes per stored row of a picture of that width and bit count.
int DibRowBytes(int width, int bitsPerPixel);
