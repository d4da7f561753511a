// Background and logo preparation: conversion to 24 bits, greying, lightening
// and the loading steps.
#include "DibConvert.h"
#include "GifBytes.h"
#include "PicturePreparation.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Record {
    dib rec{};
    ~Record() { FreeDib(rec); }
};

// Pixel (x, stored row y) of a 24-bit record as 0xRRGGBB.
std::uint32_t Rgb(const dib& rec, int x, int y) {
    const std::uint8_t* p = rec.poi + y * rec.bytew + 3 * x;
    return (p[2] << 16) | (p[1] << 8) | p[0];
}

void Fill24(dib& rec, int r, int g, int b) {
    for (int y = 0; y < DibHeight(rec); ++y)
        for (int x = 0; x < DibWidth(rec); ++x)
            setpixel(rec, x, y, std::uint32_t(r | (g << 8) | (b << 16)));
}

// A 1-bit BMP, 2 x 1: dark blue (index 0) then yellow (index 1).
QByteArray OneBitBmp() {
    QByteArray b(14 + 40 + 8 + 4, '\0');
    auto put32 = [&b](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<std::uint32_t>(b.size()));
    put32(10, 62);
    put32(14, 40);
    put32(18, 2);
    put32(22, 1);
    b[26] = 1;
    b[28] = 1;
    b[54] = char(0x80);                                // index 0: blue 0x80
    b[58] = 0, b[59] = char(0xFF), b[60] = char(0xFF); // index 1: yellow
    b[62] = 0x40;                                      // pixel 1 set
    return b;
}

} // namespace

// The lightening formula must give the documented channel values.
TEST(LightenDib, ChannelValues) {
    const struct {
        int c, L, S, expected;
    } cases[] = {
        {0, 50, 0, 127},      {128, 50, 0, 191},     {255, 50, 0, 255},    // defaults
        {0, 100, 0, 0},       {77, 100, 0, 77},      {255, 100, 0, 255},   // L 100 leaves it
        {127, 100, 50, 127},                                               // -1.5 truncates to -1
        {0, 100, -100, 128},  {255, 100, -100, 128},                       // S -100: mid grey
        {120, 100, 200, 104}, {0, 100, 200, 0},      {250, 100, 200, 255}, // S 200 triples, clamped
        {0, 1, 0, 252},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LightenChannel(c.c, c.L, c.S), c.expected) << c.c << " L" << c.L << " S" << c.S;
}

// Greying must use 30/59/11 weights; lightening must treat every channel alike.
TEST(LightenDib, GreyThenLightenStaysGrey) {
    Record r;
    newdib(&r.rec, 3, 2, 24);
    Fill24(r.rec, 100, 150, 200);
    GrayScaleDib(r.rec);
    EXPECT_EQ(Rgb(r.rec, 2, 1), 0x8C8C8Cu); // (3000 + 8850 + 2200) / 100 = 140
    LightenDib(r.rec, 50, 0);
    const int v = LightenChannel(140, 50, 0);
    EXPECT_EQ(Rgb(r.rec, 0, 0), std::uint32_t(v << 16 | v << 8 | v));
}

// Conversion must look colours up in pal, keep row order, and map 1-bit to black/white.
TEST(ConvertDibTo24Bit, ConvertsEachPaletteDepth) {
    for (int bits : {4, 8}) {
        Record r;
        newdib(&r.rec, 3, 2, bits);
        r.rec.pal.rgb0[5] = PALENTRY{10, 20, 30, 0};
        r.rec.pal.rgb0[9] = PALENTRY{40, 50, 60, 0};
        setpixel(r.rec, 1, 0, 5); // odd column: low nibble
        setpixel(r.rec, 2, 1, 9); // even column: high nibble
        ConvertDibTo24Bit(r.rec);
        ASSERT_EQ(DibBitCount(r.rec), 24) << bits;
        EXPECT_EQ(Rgb(r.rec, 1, 0), 0x0A141Eu) << bits;
        EXPECT_EQ(Rgb(r.rec, 2, 1), 0x28323Cu) << bits;
        EXPECT_EQ(Rgb(r.rec, 0, 0), 0u) << bits;
    }
    Record one;
    newdib(&one.rec, 9, 1, 1);
    one.rec.pal.rgb0[0] = PALENTRY{0, 0, 128, 0}; // the picture's own colours are ignored
    setpixel(one.rec, 8, 0, 1);
    ConvertDibTo24Bit(one.rec);
    EXPECT_EQ(Rgb(one.rec, 8, 0), 0xFFFFFFu);
    EXPECT_EQ(Rgb(one.rec, 0, 0), 0u);
    Record deep;
    newdib(&deep.rec, 2, 2, 24);
    const std::uint8_t* before = deep.rec.poi;
    ConvertDibTo24Bit(deep.rec);
    EXPECT_EQ(deep.rec.poi, before);
}

class LoadPicturesTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    dib background{}, logo{};
    void TearDown() override {
        FreeDib(background);
        FreeDib(logo);
    }
    QString SavePng(const QString& name, QRgb colour) {
        QImage image(4, 3, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }
};

// The background must be re-read from disk and processed from the original each time.
TEST_F(LoadPicturesTest, BackgroundIsReadAgainAndProcessedFromScratch) {
    const QString path = SavePng("bg.png", qRgb(0, 128, 255));
    LoadBackground(background, path, false, true, 50, 0);
    ASSERT_NE(background.poi, nullptr);
    EXPECT_EQ(Rgb(background, 0, 0), 0x7FBFFFu);
    LoadBackground(background, path, false, true, 50, 0); // not lightened twice
    EXPECT_EQ(Rgb(background, 0, 0), 0x7FBFFFu);
    SavePng("bg.png", qRgb(0, 0, 0));
    LoadBackground(background, path, false, true, 100, 0);
    EXPECT_EQ(Rgb(background, 3, 2), 0u);
    LoadBackground(background, path, true, true, 50, 0);
    EXPECT_EQ(Rgb(background, 3, 2), 0x7F7F7Fu);
}

// With both options off, a palette background must keep its depth and table.
TEST_F(LoadPicturesTest, UnprocessedBackgroundKeepsItsDepth) {
    QFile f(dir.filePath("one.bmp"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(OneBitBmp());
    f.close();
    LoadBackground(background, f.fileName(), false, false, 50, 0);
    EXPECT_EQ(DibBitCount(background), 1);
    // A 1-bit background in blue and yellow becomes black and white, then greyed.
    LoadBackground(background, f.fileName(), BackgroundProcessing{true, false, 50, 0});
    ASSERT_EQ(DibBitCount(background), 24);
    EXPECT_EQ(Rgb(background, 0, 0), 0u);
    EXPECT_EQ(Rgb(background, 1, 0), 0xFFFFFFu);
}

// A 1-bit picture must become black and white before it is processed whatever
// its file type, not be lightened in its own colours: dark blue and yellow
// 4 x 4, lightened with the defaults, give (127,127,127) and (255,255,255).
TEST_F(LoadPicturesTest, OneBitPicturesOfEveryTypeBecomeBlackAndWhite) {
    const QRgb darkBlue = qRgb(0, 0, 128), yellow = qRgb(255, 255, 0);
    // Yellow on the diagonal, dark blue elsewhere.
    std::vector<int> pixels;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            pixels.push_back(x == y ? 1 : 0);
    QImage mono(4, 4, QImage::Format_Mono);
    mono.setColorTable({darkBlue, yellow});
    for (int i = 0; i < 16; ++i)
        mono.setPixel(i % 4, i / 4, uint(pixels[std::size_t(i)]));
    ASSERT_TRUE(mono.save(dir.filePath("one.png"), "PNG"));
    ASSERT_TRUE(mono.save(dir.filePath("one.bmp"), "BMP"));
    const std::vector<std::uint8_t> gif = MakeGif(4, 4, {darkBlue, yellow}, pixels, 1);
    QFile f(dir.filePath("one.gif"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(gif.data()), qint64(gif.size()));
    f.close();
    for (const char* name : {"one.bmp", "one.png", "one.gif"}) {
        LoadBackground(background, dir.filePath(name), BackgroundProcessing{false, true, 50, 0});
        ASSERT_EQ(DibBitCount(background), 24) << name;
        for (int i = 0; i < 16; ++i) {
            const int x = i % 4, top = i / 4;
            EXPECT_EQ(Rgb(background, x, 3 - top), pixels[std::size_t(i)] ? 0xFFFFFFu : 0x7F7F7Fu)
                << name << " pixel " << x << "," << top;
        }
        LoadBackground(background, dir.filePath(name), false, false, 50, 0);
        EXPECT_EQ(DibBitCount(background), 1) << name;
    }
}

// A missing or empty file name must empty the record, releasing the old picture.
TEST_F(LoadPicturesTest, MissingFilesEmptyTheRecords) {
    LoadLogo(logo, SavePng("logo.png", qRgb(1, 2, 3)));
    ASSERT_NE(logo.poi, nullptr);
    EXPECT_EQ(DibBitCount(logo), 24);
    LoadLogo(logo, QString());
    EXPECT_EQ(logo.poi, nullptr);
    LoadBackground(background, SavePng("bg.png", qRgb(1, 2, 3)), true, true, 50, 0);
    ASSERT_NE(background.poi, nullptr);
    LoadBackground(background, dir.filePath("gone.png"), true, true, 50, 0);
    EXPECT_EQ(background.poi, nullptr);
}

// The default logo name must be found in the program's directory.
TEST_F(LoadPicturesTest, DefaultLogoFoundInProgramDirectory) {
    LoadLogo(logo, QStringLiteral("logo torvane200x200.gif"),
             QStringLiteral(QUILLORA_SOURCE_DIR "/images"));
    ASSERT_NE(logo.poi, nullptr);
    EXPECT_EQ(DibWidth(logo), 200);
}
