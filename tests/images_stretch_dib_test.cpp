// StretchDib: path choice, clipping, the row-by-row copy and the fallbacks.
#include "FakeDibDevice.h"
#include "StretchDib.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

// A picture whose pixel at (x, stored row y) is colour index / blue value
// 10 * (y + 1) + x, so every probe names its source pixel.
struct Picture {
    dib rec{};
    Picture(int w, int h, int bits) {
        newdib(&rec, w, h, bits);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                setpixel(rec, x, y,
                         bits == 24 ? std::uint32_t(10 * (y + 1) + x) << 16
                                    : std::uint32_t(10 * (y + 1) + x));
    }
    ~Picture() { FreeDib(rec); }
};

// The value a row-by-row call drew at destination column i.
int Drawn(const FakeDibCall& c, int i) {
    return c.bitCount == 24 ? c.bits[static_cast<std::size_t>(3 * i)]
                            : c.bits[static_cast<std::size_t>(i)];
}

std::vector<FakeDibCall> RowCalls(const FakeDibDevice& d) {
    std::vector<FakeDibCall> rows;
    for (const FakeDibCall& c : d.calls)
        if (c.op == "SetDIBitsToDevice") rows.push_back(c);
    return rows;
}

class MessageRecorder {
  public:
    QStringList texts;
    MessageRecorder() {
        previous = SetDibMessageHook([this](const QString& t) { texts << t; });
    }
    ~MessageRecorder() { SetDibMessageHook(previous); }

  private:
    DibMessageHook previous;
};

} // namespace

// Screens must get 8/24-bit pictures row by row; printers and other depths one direct stretch.
TEST(StretchDib, ChoosesPathByDeviceAndDepth) {
    struct Case {
        int bits;
        DeviceTechnology tech;
        bool rowByRow;
    };
    const Case cases[] = {
        {24, DeviceTechnology::RasterDisplay, true},  {8, DeviceTechnology::RasterDisplay, true},
        {24, DeviceTechnology::RasterPrinter, false}, {8, DeviceTechnology::RasterPrinter, false},
        {4, DeviceTechnology::RasterDisplay, false},  {1, DeviceTechnology::RasterDisplay, false},
        {16, DeviceTechnology::RasterDisplay, false}, {32, DeviceTechnology::Other, false},
    };
    for (const Case& c : cases) {
        Picture p(3, 2, c.bits);
        FakeDibDevice d;
        d.technology = c.tech;
        StretchDib(d, 5, 6, 30, 20, p.rec, 0, 0, 3, 2, SRCCOPY);
        EXPECT_EQ(d.stretchModeCalls, 1);
        if (c.rowByRow) {
            EXPECT_EQ(RowCalls(d).size(), 20u) << c.bits;
        } else {
            ASSERT_EQ(d.calls.size(), 1u) << c.bits;
            const FakeDibCall& s = d.calls[0];
            EXPECT_EQ(s.op, "StretchDIBits");
            EXPECT_EQ((std::vector<int>{s.x, s.y, s.w, s.h, s.sx, s.sy, s.sw, s.sh}),
                      (std::vector<int>{5, 6, 30, 20, 0, 0, 3, 2}))
                << c.bits;
        }
    }
}

// Enlarging 2x2 to 4x4: the top two device rows show the top picture row, each
// device row one call of one line at its own y.
TEST(StretchDib, EnlargingRepeatsRowsAndColumns) {
    for (int bits : {8, 24}) {
        Picture p(2, 2, bits);
        FakeDibDevice d;
        StretchDib(d, 3, 4, 4, 4, p.rec, 0, 0, 2, 2, SRCCOPY);
        const auto rows = RowCalls(d);
        ASSERT_EQ(rows.size(), 4u);
        const int expected[4][4] = {
            {20, 20, 21, 21}, {20, 20, 21, 21}, {10, 10, 11, 11}, {10, 10, 11, 11}};
        for (int r = 0; r < 4; ++r) {
            EXPECT_EQ(rows[r].x, 3);
            EXPECT_EQ(rows[r].y, 4 + r);
            EXPECT_EQ(rows[r].w, 4);
            EXPECT_EQ(rows[r].h, 1);
            EXPECT_EQ(rows[r].lines, 1);
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(Drawn(rows[r], i), expected[r][i])
                    << bits << " row " << r << " col " << i;
        }
    }
}

// Shrinking must take source column (sw * i) / dw, dropping the rightmost ones.
TEST(StretchDib, ShrinkingTakesTruncatedColumns) {
    Picture p(5, 1, 24);
    FakeDibDevice d;
    StretchDib(d, 0, 0, 2, 1, p.rec, 0, 0, 5, 1, SRCCOPY);
    const auto rows = RowCalls(d);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(Drawn(rows[0], 0), 10);
    EXPECT_EQ(Drawn(rows[0], 1), 12);
}

// 8-bit rows must be drawn with the picture's colour table.
TEST(StretchDib, EightBitRowsCarryTheColourTable) {
    Picture p(2, 1, 8);
    p.rec.pmi->bmiColors[11] = RGBQUAD{1, 2, 3, 0};
    struct TableDevice : FakeDibDevice {
        int red = -1;
        int SetDIBitsToDevice(int x, int y, int w, int h, int sx, int sy, int s, int l,
                              const std::uint8_t* bits, const BITMAPINFO* info) override {
            red = info->bmiColors[11].rgbRed;
            return FakeDibDevice::SetDIBitsToDevice(x, y, w, h, sx, sy, s, l, bits, info);
        }
    } d;
    StretchDib(d, 0, 0, 2, 1, p.rec, 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(d.red, 3);
}

// The source rectangle must be clipped to the picture and the destination shrunk to match.
TEST(StretchDib, ClipsSourceAndShrinksDestination) {
    struct Case {
        const char* what;
        int x, y, dw, dh, sx, sy, sw, sh;
        int ex, ey, edw, edh, esx, esy, esw, esh;
    };
    // Picture 20 x 10; printer so the direct stretch shows the final rectangles.
    const Case cases[] = {
        {"whole", 0, 0, 20, 10, 0, 0, 20, 10, 0, 0, 20, 10, 0, 0, 20, 10},
        {"10 beyond right at 1:1", 0, 0, 30, 10, 0, 0, 30, 10, 0, 0, 20, 10, 0, 0, 20, 10},
        {"below bottom keeps top", 0, 0, 20, 12, 0, -2, 20, 12, 0, 0, 20, 10, 0, 0, 20, 10},
        {"above top moves down", 0, 0, 20, 12, 0, 0, 20, 12, 0, 2, 20, 10, 0, 0, 20, 10},
        {"left of picture moves right", 0, 0, 25, 10, -5, 0, 25, 10, 5, 0, 20, 10, 0, 0, 20, 10},
        {"rounding halves to even", 0, 0, 5, 10, 0, 0, 40, 10, 0, 0, 2, 10, 0, 0, 20, 10},
        {"rounding halves to even up", 0, 0, 7, 10, 0, 0, 40, 10, 0, 0, 4, 10, 0, 0, 20, 10},
        {"scaled top clip", 0, 0, 40, 30, 0, 5, 20, 15, 0, 20, 40, 10, 0, 5, 20, 5},
    };
    for (const Case& c : cases) {
        Picture p(20, 10, 24);
        FakeDibDevice d;
        d.technology = DeviceTechnology::RasterPrinter;
        StretchDib(d, c.x, c.y, c.dw, c.dh, p.rec, c.sx, c.sy, c.sw, c.sh, SRCCOPY);
        ASSERT_EQ(d.calls.size(), 1u) << c.what;
        const FakeDibCall& s = d.calls[0];
        EXPECT_EQ((std::vector<int>{s.x, s.y, s.w, s.h, s.sx, s.sy, s.sw, s.sh}),
                  (std::vector<int>{c.ex, c.ey, c.edw, c.edh, c.esx, c.esy, c.esw, c.esh}))
            << c.what;
    }
}

// Rectangles with nothing of the picture left must draw nothing (and not divide by zero).
TEST(StretchDib, EmptyRectanglesDrawNothing) {
    const int cases[][8] = {
        {0, 0, 10, 10, 0, 0, 0, 10},  {0, 0, 10, 10, 0, 0, 10, 0}, {0, 0, 10, 10, 20, 0, 5, 5},
        {0, 0, 10, 10, 0, -20, 5, 5}, {0, 0, 0, 10, 0, 0, 5, 5},   {0, 0, 10, 10, -9, 0, 5, 5},
    };
    for (const auto& c : cases) {
        Picture p(10, 10, 24);
        FakeDibDevice d;
        StretchDib(d, c[0], c[1], c[2], c[3], p.rec, c[4], c[5], c[6], c[7], SRCCOPY);
        EXPECT_TRUE(RowCalls(d).empty()) << c[4] << "," << c[5] << "," << c[6] << "," << c[7];
    }
    dib empty{};
    FakeDibDevice d;
    StretchDib(d, 0, 0, 5, 5, empty, 0, 0, 5, 5, SRCCOPY);
    EXPECT_TRUE(d.calls.empty());
}

// Rows outside the picture (row path called directly) must be black and
// must not stop the following rows from being copied.
TEST(StretchDib, RowsOutsideThePictureAreBlack) {
    Picture p(2, 2, 24);
    FakeDibDevice d;
    StretchDibRows24(d, 0, 0, 2, 4, p.rec, 0, -1, 2, 4); // rows -1, 0, 1, 2 from the top
    const auto rows = RowCalls(d);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(Drawn(rows[0], 0), 0);
    EXPECT_EQ(Drawn(rows[1], 0), 20);
    EXPECT_EQ(Drawn(rows[2], 1), 11);
    EXPECT_EQ(Drawn(rows[3], 1), 0);
}

// A refused direct stretch must fall back to a scaled copy when the device takes DIBs.
TEST(StretchDib, FallbackACopiesScaledPixels) {
    for (int bits : {1, 4, 8, 24}) {
        Picture p(3, 2, bits);
        if (bits <= 4) { // a recognisable pattern within the depth
            for (int x = 0; x < 3; ++x) {
                setpixel(p.rec, x, 0, x % 2);
                setpixel(p.rec, x, 1, bits == 1 ? 1 : x + 4);
            }
        }
        FakeDibDevice d;
        d.technology = DeviceTechnology::RasterPrinter;
        d.stretchResult = kGdiError;
        StretchDib(d, 1, 2, 5, 3, p.rec, 0, 0, 3, 2, SRCCOPY);
        ASSERT_EQ(d.Ops(), (std::vector<std::string>{"StretchDIBits", "SetDIBitsToDevice"}))
            << bits;
        const FakeDibCall& c = d.calls[1];
        EXPECT_EQ((std::vector<int>{c.x, c.y, c.w, c.h, c.lines}),
                  (std::vector<int>{1, 2, 5, 3, 3}));
        // Wrap the copy in a record to read it back: ends meet ends.
        dib copy;
        newdib(&copy, 5, 3, bits);
        std::copy(c.bits.begin(), c.bits.end(), copy.poi);
        for (int r = 0; r < 3; ++r)
            for (int col = 0; col < 5; ++col)
                EXPECT_EQ(getpixel(copy, col, r), getpixel(p.rec, 2 * col / 4, r / 2))
                    << bits << " at " << col << "," << r;
        FreeDib(copy);
    }
}

// Fallback B must run when fallback A is unavailable or fails, with the
// source counted from the bitmap's top, and report each device failure once.
TEST(StretchDib, FallbackBAndItsMessages) {
    struct Case {
        const char* what;
        std::uint32_t caps;
        int toDevice;
        std::uintptr_t bitmap;
        int setBits, blt;
        std::vector<std::string> ops;
        const char* message;
    };
    const Case cases[] = {
        {"no DIB caps",
         0,
         -1,
         7,
         1,
         1,
         {"StretchDIBits", "CreateCompatibleBitmap", "SetDIBits", "StretchBlt", "DeleteBitmap"},
         nullptr},
        {"A fails",
         RC_DIBTODEV,
         0,
         7,
         1,
         1,
         {"StretchDIBits", "SetDIBitsToDevice", "CreateCompatibleBitmap", "SetDIBits", "StretchBlt",
          "DeleteBitmap"},
         nullptr},
        {"no bitmap",
         0,
         -1,
         0,
         1,
         1,
         {"StretchDIBits", "CreateCompatibleBitmap"},
         "Could not create bitmap."},
        {"no setdibits",
         0,
         -1,
         7,
         0,
         1,
         {"StretchDIBits", "CreateCompatibleBitmap", "SetDIBits", "DeleteBitmap"},
         "The device does not support the Funtkion setdibits!"},
        {"no stretchblt",
         0,
         -1,
         7,
         1,
         0,
         {"StretchDIBits", "CreateCompatibleBitmap", "SetDIBits", "StretchBlt", "DeleteBitmap"},
         "The device does not support the function StretchBlt!"},
    };
    for (const Case& c : cases) {
        Picture p(4, 6, 24);
        FakeDibDevice d;
        d.technology = DeviceTechnology::RasterPrinter;
        d.stretchResult = kGdiError;
        d.rasterCaps = c.caps;
        d.setToDeviceResult = c.toDevice;
        d.bitmapResult = c.bitmap;
        d.setDIBitsResult = c.setBits;
        d.stretchBltResult = c.blt;
        MessageRecorder messages;
        StretchDib(d, 0, 0, 8, 4, p.rec, 1, 1, 2, 2, SRCCOPY);
        EXPECT_EQ(d.Ops(), c.ops) << c.what;
        if (c.message)
            EXPECT_EQ(messages.texts, QStringList{c.message}) << c.what;
        else
            EXPECT_TRUE(messages.texts.isEmpty()) << c.what;
        for (const FakeDibCall& call : d.calls) {
            if (call.op == "CreateCompatibleBitmap") {
                EXPECT_EQ((std::pair{call.w, call.h}), (std::pair{4, 6}));
            } else if (call.op == "SetDIBits") {
                EXPECT_EQ((std::pair{call.startScan, call.lines}), (std::pair{0, 6}));
            } else if (call.op == "StretchBlt") {
                EXPECT_EQ((std::vector<int>{call.sx, call.sy, call.sw, call.sh}),
                          (std::vector<int>{1, 3, 2, 2}));
            }
        }
    }
}

// Halves must round to the even neighbour, for negative values too.
TEST(StretchDib, RoundDivEvenRoundsHalvesToEven) {
    const std::int64_t cases[][3] = {{5, 2, 2},  {7, 2, 4},  {-5, 2, -2}, {-7, 2, -4},
                                     {10, 4, 2}, {11, 4, 3}, {9, 4, 2},   {1, -2, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundDivEven(c[0], c[1]), c[2]) << c[0] << "/" << c[1];
}
