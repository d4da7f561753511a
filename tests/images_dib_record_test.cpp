// Picture records: creation, pixel layout, single pixels and release.
#include "Dib.h"

#include <gtest/gtest.h>

namespace {

struct RecordGuard {
    dib rec{};
    ~RecordGuard() { FreeDib(rec); }
};

} // namespace

// Rows must be padded to 4 bytes and every pixel byte must start at zero.
TEST(DibRecord, NewDibPadsRowsAndClearsPixels) {
    struct Case {
        int width, bits, rowBytes;
    };
    const Case cases[] = {{1, 1, 4}, {33, 1, 8}, {3, 4, 4},   {9, 4, 8},
                          {5, 8, 8}, {1, 24, 4}, {5, 24, 16}, {3, 32, 12}};
    for (const Case& c : cases) {
        RecordGuard g;
        newdib(&g.rec, c.width, 3, c.bits);
        ASSERT_NE(g.rec.poi, nullptr) << c.width << "x" << c.bits;
        EXPECT_NE(g.rec.poih, 0u);
        EXPECT_EQ(g.rec.bytew, c.rowBytes) << c.width << "x" << c.bits;
        EXPECT_EQ(DibWidth(g.rec), c.width);
        EXPECT_EQ(DibHeight(g.rec), 3);
        EXPECT_EQ(DibBitCount(g.rec), c.bits);
        for (int i = 0; i < g.rec.bytew * 3; ++i)
            ASSERT_EQ(g.rec.poi[i], 0) << "byte " << i;
    }
}

// A copied colour table must land both behind pmi and in pal (red first there).
TEST(DibRecord, NewDibCopiesColourTableIntoBothPlaces) {
    alignas(BITMAPINFO) unsigned char block[sizeof(BITMAPINFOHEADER) + 4 * sizeof(RGBQUAD)] = {};
    auto* info = reinterpret_cast<BITMAPINFO*>(block);
    for (int i = 0; i < 4; ++i)
        info->bmiColors[i] =
            RGBQUAD{std::uint8_t(10 + i), std::uint8_t(20 + i), std::uint8_t(30 + i), 0};
    RecordGuard g;
    newdib(&g.rec, 2, 2, 8, info, 4);
    ASSERT_NE(g.rec.poi, nullptr);
    EXPECT_EQ(g.rec.pmi->bmiColors[3].rgbBlue, 13);
    EXPECT_EQ(g.rec.pmi->bmiColors[3].rgbRed, 33);
    EXPECT_EQ(g.rec.pal.rgb0[3].red, 33);
    EXPECT_EQ(g.rec.pal.rgb0[3].blue, 13);
    // The rest of a full table is there and black, so 256-entry readers stay inside.
    EXPECT_EQ(g.rec.pmi->bmiColors[255].rgbRed, 0);
}

// Pixel bits must sit where the stored layout puts them (MSB first, high nibble first, BGR).
TEST(DibRecord, SetPixelWritesTheDocumentedBytes) {
    {
        RecordGuard g;
        newdib(&g.rec, 10, 2, 1);
        setpixel(g.rec, 0, 1, 1);
        setpixel(g.rec, 9, 1, 1);
        EXPECT_EQ(g.rec.poi[g.rec.bytew], 0x80);
        EXPECT_EQ(g.rec.poi[g.rec.bytew + 1], 0x40);
        EXPECT_EQ(getpixel(g.rec, 9, 1), 1u);
        EXPECT_EQ(getpixel(g.rec, 8, 1), 0u);
        setpixel(g.rec, 0, 1, 0);
        EXPECT_EQ(g.rec.poi[g.rec.bytew], 0x00);
    }
    {
        RecordGuard g;
        newdib(&g.rec, 3, 1, 4);
        setpixel(g.rec, 0, 0, 0xA);
        setpixel(g.rec, 1, 0, 0x5);
        setpixel(g.rec, 2, 0, 0xF);
        EXPECT_EQ(g.rec.poi[0], 0xA5);
        EXPECT_EQ(g.rec.poi[1], 0xF0);
        EXPECT_EQ(getpixel(g.rec, 1, 0), 5u);
    }
    {
        RecordGuard g;
        newdib(&g.rec, 2, 2, 24);
        setpixel(g.rec, 1, 1, 0x00332211); // red 0x11, green 0x22, blue 0x33
        const std::uint8_t* p = g.rec.poi + g.rec.bytew + 3;
        EXPECT_EQ(p[0], 0x33);
        EXPECT_EQ(p[1], 0x22);
        EXPECT_EQ(p[2], 0x11);
        EXPECT_EQ(getpixel(g.rec, 1, 1), 0x00332211u);
        setpixel(g.rec, 0, 0, 16777215);
        EXPECT_EQ(g.rec.poi[0], 255);
    }
}

// Reads and writes outside the picture must neither crash nor touch memory.
TEST(DibRecord, PixelsOutsideThePictureAreIgnored) {
    RecordGuard g;
    newdib(&g.rec, 2, 2, 8);
    for (auto [x, y] : {std::pair{-1, 0}, {2, 0}, {0, -1}, {0, 2}}) {
        setpixel(g.rec, x, y, 9);
        EXPECT_EQ(getpixel(g.rec, x, y), 0u);
    }
    dib empty{};
    setpixel(empty, 0, 0, 1);
    EXPECT_EQ(getpixel(empty, 0, 0), 0u);
}

// Impossible sizes and depths must give an empty record, not a huge or broken one.
TEST(DibRecord, NewDibRefusesBadSizes) {
    const int cases[][3] = {{0, 5, 24}, {5, -1, 8}, {5, 5, 3}, {70000, 1, 8}, {20000, 20000, 24}};
    for (const auto& c : cases) {
        dib rec;
        newdib(&rec, c[0], c[1], c[2]);
        EXPECT_EQ(rec.poi, nullptr) << c[0] << "x" << c[1] << "x" << c[2];
        EXPECT_EQ(rec.poih, 0u);
        FreeDib(rec);
    }
}

// FreeDib must leave the record empty and accept an empty one.
TEST(DibRecord, FreeDibEmptiesTheRecord) {
    dib rec;
    newdib(&rec, 4, 4, 24);
    FreeDib(rec);
    EXPECT_EQ(rec.poi, nullptr);
    EXPECT_EQ(DibWidth(rec), 0);
    FreeDib(rec);
    dib never{};
    deldib(never);
}

// Colour count is 2 to the bit count, 1 for no bit count.
TEST(DibRecord, ColourCountFollowsBitCount) {
    dib empty{};
    EXPECT_EQ(DibColorCount(empty), 1);
    RecordGuard g;
    newdib(&g.rec, 1, 1, 4);
    EXPECT_EQ(DibColorCount(g.rec), 16);
}
