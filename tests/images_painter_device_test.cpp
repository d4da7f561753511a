// Pictures drawn through QPainterDibDevice onto real images.
#include "DibImage.h"
#include "QPainterDibDevice.h"
#include "StretchDib.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// 2 x 2 picture: top row red, green; bottom row blue, white (in any depth).
struct Quad {
    dib rec{};
    explicit Quad(int bits) {
        newdib(&rec, 2, 2, bits);
        const QRgb colours[4] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
                                 qRgb(255, 255, 255)};
        if (bits <= 8) {
            for (int i = 0; i < 4 && i < (1 << bits); ++i) {
                rec.pmi->bmiColors[i] =
                    RGBQUAD{std::uint8_t(qBlue(colours[i])), std::uint8_t(qGreen(colours[i])),
                            std::uint8_t(qRed(colours[i])), 0};
            }
        }
        // index / colour of top-left, top-right, bottom-left, bottom-right
        for (int i = 0; i < 4; ++i) {
            const int x = i % 2, storedRow = 1 - i / 2;
            std::uint32_t value = static_cast<std::uint32_t>(i);
            if (bits == 1)
                value = i == 3 ? 1 : 0;
            else if (bits == 16) // 5-5-5
                value = std::uint32_t((qRed(colours[i]) >> 3) << 10 |
                                      (qGreen(colours[i]) >> 3) << 5 | qBlue(colours[i]) >> 3);
            else if (bits > 8)
                value = std::uint32_t(qRed(colours[i])) | (qGreen(colours[i]) << 8) |
                        (qBlue(colours[i]) << 16);
            setpixel(rec, x, storedRow, value);
        }
    }
    ~Quad() { FreeDib(rec); }
};

QImage Canvas() {
    QImage canvas(12, 12, QImage::Format_RGB32);
    canvas.fill(qRgb(9, 9, 9));
    return canvas;
}

} // namespace

// Every depth and both device kinds must put each picture pixel at its place, unsmoothed.
TEST(QPainterDibDevice, DrawsEachDepthPixelExact) {
    for (int bits : {4, 8, 16, 24, 32}) {
        for (auto tech : {DeviceTechnology::RasterDisplay, DeviceTechnology::RasterPrinter}) {
            Quad q(bits);
            QImage canvas = Canvas();
            {
                QPainter painter(&canvas);
                painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
                QPainterDibDevice device(painter, tech);
                StretchDib(device, 2, 3, 8, 8, q.rec, 0, 0, 2, 2, SRCCOPY);
            }
            const auto where = [&](int x, int y) { return canvas.pixel(x, y) & 0xFFFFFF; };
            const std::string what =
                std::to_string(bits) +
                (tech == DeviceTechnology::RasterPrinter ? " printer" : " screen");
            const QRgb expected[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
            for (int i = 0; i < 4; ++i) {
                const int left = 2 + 4 * (i % 2), top = 3 + 4 * (i / 2);
                for (auto [dx, dy] : {std::pair{0, 0}, {3, 3}, {0, 3}, {3, 0}}) {
                    const QRgb mask = bits == 16 ? 0xF8F8F8u : 0xFFFFFFu; // 5 bits a channel
                    EXPECT_EQ(where(left + dx, top + dy) & mask, expected[i] & mask)
                        << what << " quad " << i << " +" << dx << "," << dy;
                }
            }
            EXPECT_EQ(where(1, 3), 0x090909u) << what;
            EXPECT_EQ(where(10, 3), 0x090909u) << what;
            EXPECT_EQ(where(2, 2), 0x090909u) << what;
            EXPECT_EQ(where(2, 11), 0x090909u) << what;
        }
    }
}

// 1-bit pictures must use their own two colours on the device.
TEST(QPainterDibDevice, OneBitPictureUsesItsColours) {
    Quad q(1);
    q.rec.pmi->bmiColors[0] = RGBQUAD{128, 0, 0, 0};   // dark blue
    q.rec.pmi->bmiColors[1] = RGBQUAD{0, 255, 255, 0}; // yellow
    QImage canvas = Canvas();
    {
        QPainter painter(&canvas);
        QPainterDibDevice device(painter, DeviceTechnology::RasterPrinter);
        StretchDib(device, 0, 0, 2, 2, q.rec, 0, 0, 2, 2, SRCCOPY);
    }
    EXPECT_EQ(canvas.pixel(0, 0) & 0xFFFFFF, 0x000080u);
    EXPECT_EQ(canvas.pixel(1, 1) & 0xFFFFFF, 0xFFFF00u);
}

// The device bitmap path (fallback B) must show the same picture as the direct one.
TEST(QPainterDibDevice, DeviceBitmapPathMatchesDirectStretch) {
    Quad q(24);
    QImage canvas = Canvas();
    {
        QPainter painter(&canvas);
        QPainterDibDevice device(painter, DeviceTechnology::RasterPrinter);
        const std::uintptr_t bitmap = device.CreateCompatibleBitmap(2, 2);
        ASSERT_NE(bitmap, 0u);
        ASSERT_NE(device.SetDIBits(bitmap, 0, 2, q.rec.poi, q.rec.pmi), 0);
        ASSERT_NE(device.StretchBlt(0, 0, 4, 4, bitmap, 0, 0, 2, 2, SRCCOPY), 0);
        device.DeleteBitmap(bitmap);
        EXPECT_EQ(device.StretchBlt(0, 0, 4, 4, bitmap, 0, 0, 2, 2, SRCCOPY), 0);
    }
    EXPECT_EQ(canvas.pixel(1, 1) & 0xFFFFFF, 0xFF0000u); // top-left red
    EXPECT_EQ(canvas.pixel(3, 3) & 0xFFFFFF, 0xFFFFFFu); // bottom-right white
    EXPECT_EQ(canvas.pixel(0, 3) & 0xFFFFFF, 0x0000FFu);
}

// Unscaled row output must honour the source rectangle and the scan lines passed.
TEST(QPainterDibDevice, SetDIBitsToDevicePlacesPartialScans) {
    Quad q(24);
    QImage canvas = Canvas();
    {
        QPainter painter(&canvas);
        QPainterDibDevice device(painter);
        // Only the bottom scan line passed, of a 2-line source rectangle at (5, 5).
        EXPECT_EQ(device.SetDIBitsToDevice(5, 5, 2, 2, 0, 0, 0, 1, q.rec.poi, q.rec.pmi), 1);
        // Only the right column of both lines at (0, 0).
        EXPECT_EQ(device.SetDIBitsToDevice(0, 0, 1, 2, 1, 0, 0, 2, q.rec.poi, q.rec.pmi), 2);
        EXPECT_EQ(device.SetDIBitsToDevice(0, 0, 2, 2, 0, 5, 0, 2, q.rec.poi, q.rec.pmi), 0);
    }
    EXPECT_EQ(canvas.pixel(5, 5) & 0xFFFFFF, 0x090909u); // top scan not passed
    EXPECT_EQ(canvas.pixel(5, 6) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(canvas.pixel(6, 6) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(canvas.pixel(0, 0) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(canvas.pixel(0, 1) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(canvas.pixel(1, 0) & 0xFFFFFF, 0x090909u);
}

// Unknown depths and compressed headers must be refused, not misread.
TEST(QPainterDibDevice, RefusesWhatItCannotDecode) {
    Quad q(24);
    QImage canvas = Canvas();
    QPainter painter(&canvas);
    QPainterDibDevice device(painter);
    q.rec.pmi->bmiHeader.biCompression = 1;
    EXPECT_EQ(device.StretchDIBits(0, 0, 2, 2, 0, 0, 2, 2, q.rec.poi, q.rec.pmi, SRCCOPY),
              kGdiError);
    q.rec.pmi->bmiHeader.biCompression = 0;
    q.rec.pmi->bmiHeader.biBitCount = 7;
    EXPECT_EQ(device.StretchDIBits(0, 0, 2, 2, 0, 0, 2, 2, q.rec.poi, q.rec.pmi, SRCCOPY),
              kGdiError);
    q.rec.pmi->bmiHeader.biBitCount = 24;
    EXPECT_TRUE(DibToImage(dib{}).isNull());
}
