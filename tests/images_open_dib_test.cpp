// Reading picture files into records: BMP depths by hand, palette and colour
// pictures through Qt, and files that must leave the record empty.
#include "Dib.h"
#include "DibFile.h"
#include "GifBytes.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = (v >> (8 * i)) & 0xFF;
}

// A BMP file with a 40-byte header. rows are the stored rows in file order
// (already padded); colours are blue, green, red triples.
Bytes MakeBmp(int width, int height, int bits, const std::vector<RGBQUAD>& colours,
              const Bytes& rows, std::uint32_t clrUsed = 0) {
    const std::size_t offset = 14 + 40 + colours.size() * 4;
    Bytes b(offset);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(offset + rows.size()));
    Put32(b, 10, static_cast<std::uint32_t>(offset));
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, static_cast<std::uint32_t>(bits));
    Put32(b, 46, clrUsed);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        b[54 + 4 * i] = colours[i].rgbBlue;
        b[55 + 4 * i] = colours[i].rgbGreen;
        b[56 + 4 * i] = colours[i].rgbRed;
    }
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

class OpenDibTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    dib rec{};

    void TearDown() override { FreeDib(rec); }

    QString Write(const QString& name, const Bytes& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        return path;
    }
    bool Open(const QString& path) {
        FreeDib(rec);
        OpenDib(&rec, path.toUtf8().constData());
        return rec.poi != nullptr;
    }
    const std::uint8_t* Row(int stored) const { return rec.poi + stored * rec.bytew; }
};

} // namespace

// A 24-bit BMP must arrive bottom row first with blue, green, red bytes.
TEST_F(OpenDibTest, Bmp24KeepsStoredOrderAndBgr) {
    // bottom row: blue pixel, green pixel; top row: red pixel, white pixel
    const Bytes rows = {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0};
    ASSERT_TRUE(Open(Write("c.bmp", MakeBmp(2, 2, 24, {}, rows))));
    EXPECT_EQ(DibBitCount(rec), 24);
    EXPECT_EQ(rec.bytew, 8);
    EXPECT_EQ(Row(0)[0], 255); // bottom-left blue
    EXPECT_EQ(Row(1)[2], 255); // top-left red
    EXPECT_EQ(getpixel(rec, 0, 1), 0x0000FFu);
}

// A top-down BMP (negative height) must still be stored bottom row first.
TEST_F(OpenDibTest, TopDownBmpIsTurnedOver) {
    const Bytes rows = {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0}; // top row first: 1, 2, 3
    Bytes file = MakeBmp(1, 3, 8, {{0, 0, 0, 0}}, rows, 1);
    Put32(file, 22, static_cast<std::uint32_t>(-3));
    ASSERT_TRUE(Open(Write("t.bmp", file)));
    EXPECT_EQ(DibHeight(rec), 3);
    EXPECT_EQ(getpixel(rec, 0, 0), 3u);
    EXPECT_EQ(getpixel(rec, 0, 2), 1u);
}

// Palette BMPs must keep their depth and carry the colour table in pmi and pal.
TEST_F(OpenDibTest, PaletteBmpsKeepDepthAndTable) {
    const std::vector<RGBQUAD> two = {{0x80, 0, 0, 0}, {0, 0xFF, 0xFF, 0}}; // dark blue, yellow
    {
        const Bytes rows = {0x40, 0, 0, 0, 0x80, 0, 0, 0}; // bottom: x=1 set; top: x=0 set
        ASSERT_TRUE(Open(Write("1.bmp", MakeBmp(3, 2, 1, two, rows))));
        EXPECT_EQ(DibBitCount(rec), 1);
        EXPECT_EQ(getpixel(rec, 1, 0), 1u);
        EXPECT_EQ(getpixel(rec, 0, 0), 0u);
        EXPECT_EQ(getpixel(rec, 0, 1), 1u);
        EXPECT_EQ(rec.pmi->bmiColors[1].rgbRed, 0xFF);
    }
    {
        std::vector<RGBQUAD> sixteen(16, RGBQUAD{0, 0, 0, 0});
        sixteen[5] = {10, 20, 30, 0};
        sixteen[12] = {40, 50, 60, 0};
        const Bytes rows = {0x5C, 0x00, 0, 0}; // pixel 0 = 5, pixel 1 = 12
        ASSERT_TRUE(Open(Write("4.bmp", MakeBmp(2, 1, 4, sixteen, rows))));
        EXPECT_EQ(DibBitCount(rec), 4);
        EXPECT_EQ(Row(0)[0], 0x5C);
        EXPECT_EQ(rec.pal.rgb0[12].red, 60);
        EXPECT_EQ(rec.pal.rgb0[12].blue, 40);
        EXPECT_EQ(rec.pmi->bmiColors[5].rgbBlue, 10);
    }
    {
        // Only three colours stored (biClrUsed 3): the rest of the table is black.
        const std::vector<RGBQUAD> three = {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}};
        const Bytes rows = {2, 0, 1, 0};
        ASSERT_TRUE(Open(Write("8.bmp", MakeBmp(3, 1, 8, three, rows, 3))));
        EXPECT_EQ(DibBitCount(rec), 8);
        EXPECT_EQ(Row(0)[0], 2);
        EXPECT_EQ(rec.pal.rgb0[2].red, 9);
        EXPECT_EQ(rec.pal.rgb0[3].red, 0);
    }
}

// Files that are missing, empty-named, damaged or absurdly large must leave the
// record empty without crashing or allocating the claimed size.
TEST_F(OpenDibTest, UnreadableFilesGiveAnEmptyRecord) {
    Bytes truncated = MakeBmp(4, 4, 24, {}, Bytes(16 * 3, 7));
    truncated.resize(truncated.size() - 5);
    Bytes bomb = MakeBmp(60000, 60000, 24, {}, Bytes(12, 0));
    Bytes negativeWidth = MakeBmp(2, 2, 24, {}, Bytes(16, 0));
    Put32(negativeWidth, 18, static_cast<std::uint32_t>(-2));
    Bytes hugeHeader = MakeBmp(2, 2, 24, {}, Bytes(16, 0));
    Put32(hugeHeader, 14, 0x7FFFFFF0);
    Bytes badOffset = MakeBmp(2, 2, 24, {}, Bytes(16, 0));
    Put32(badOffset, 10, 0xFFFFFFF0);
    const QString cases[] = {
        QString(),
        dir.filePath("missing.bmp"),
        dir.path(),
        Write("empty.png", {}),
        Write("text.gif", Bytes{'h', 'e', 'l', 'l', 'o'}),
        Write("truncated.bmp", truncated),
        Write("bomb.bmp", bomb),
        Write("negative.bmp", negativeWidth),
        Write("header.bmp", hugeHeader),
        Write("offset.bmp", badOffset),
        Write("short.bmp", Bytes{'B', 'M', 0, 0}),
    };
    for (const QString& path : cases) {
        rec.poi = reinterpret_cast<std::uint8_t*>(1); // OpenDib must not trust old contents
        rec.pmi = nullptr;
        OpenDib(&rec, path.toUtf8().constData());
        EXPECT_EQ(rec.poi, nullptr) << path.toStdString();
        EXPECT_EQ(rec.pmi, nullptr) << path.toStdString();
        deldib(rec); // accepted after a failed OpenDib
    }
}

// Any single damaged header byte must give either an empty record or a
// picture within the size limits, never a crash or an out-of-bounds read.
TEST_F(OpenDibTest, DamagedBmpHeadersAreSafe) {
    const Bytes good =
        MakeBmp(3, 2, 4, std::vector<RGBQUAD>(16, RGBQUAD{1, 2, 3, 0}), Bytes(8, 0x12));
    const QString path = dir.filePath("d.bmp");
    for (std::size_t at = 0; at < 54 + 8; ++at) {
        for (std::uint8_t value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
            Bytes file = good;
            file[at] = value;
            Write("d.bmp", file);
            if (Open(path)) {
                EXPECT_GT(DibWidth(rec), 0);
                EXPECT_GT(DibHeight(rec), 0);
                EXPECT_LE(std::int64_t{DibWidth(rec)} * DibHeight(rec), kMaxDibPixels);
            }
        }
    }
}

// A PNG whose header claims a huge size must be refused before decoding.
TEST_F(OpenDibTest, HugePngIsRefused) {
    QImage small(2, 2, QImage::Format_RGB32);
    small.fill(Qt::red);
    const QString path = dir.filePath("huge.png");
    ASSERT_TRUE(small.save(path));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray data = f.readAll();
    // IHDR width and height at bytes 16 and 20 (big-endian), then its CRC.
    const char big[4] = {0, 0, char(0xC0), 0};
    data.replace(16, 4, big, 4);
    data.replace(20, 4, big, 4);
    std::uint32_t crc = 0xFFFFFFFFu;
    for (int i = 12; i < 29; ++i) { // chunk type and data
        crc ^= static_cast<std::uint8_t>(data[i]);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    crc = ~crc;
    for (int i = 0; i < 4; ++i)
        data[29 + i] = static_cast<char>((crc >> (24 - 8 * i)) & 0xFF);
    f.seek(0);
    f.write(data);
    f.close();
    EXPECT_FALSE(Open(path));
}

// GIF and indexed PNG pictures must come in as 8-bit with their colour table.
TEST_F(OpenDibTest, PalettePicturesComeInAsEightBit) {
    const std::vector<QRgb> colours = {qRgb(0, 0, 0), qRgb(200, 100, 50), qRgb(1, 2, 3)};
    QImage image(3, 2, QImage::Format_Indexed8);
    image.setColorTable(QList<QRgb>(colours.begin(), colours.end()));
    image.fill(0);
    image.setPixel(2, 0, 1); // top-right
    const QString png = dir.filePath("p.png");
    ASSERT_TRUE(image.save(png, "png"));
    const QString gif = Write("p.gif", MakeGif(3, 2, colours, {0, 0, 1, 0, 2, 0}));
    for (const QString& path : {png, gif}) {
        ASSERT_TRUE(Open(path)) << path.toStdString();
        EXPECT_EQ(DibBitCount(rec), 8) << path.toStdString();
        const int index = Row(1)[2]; // stored row 1 is the top row
        EXPECT_EQ(rec.pal.rgb0[index].red, 200) << path.toStdString();
        EXPECT_EQ(rec.pal.rgb0[index].blue, 50) << path.toStdString();
        EXPECT_EQ(rec.pmi->bmiColors[index].rgbGreen, 100) << path.toStdString();
        EXPECT_EQ(rec.pal.rgb0[Row(0)[0]].red, 0) << path.toStdString();
    }
    // the GIF's third colour sits at bottom-middle
    EXPECT_EQ(rec.pal.rgb0[Row(0)[1]].blue, 3);
}

// Colour pictures of other types must come in as 24-bit, transparency over white.
TEST_F(OpenDibTest, ColourPicturesComeInAsTwentyFourBit) {
    QImage image(2, 2, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(0, 0, qRgb(10, 20, 30)); // top-left, opaque
    const QString path = dir.filePath("a.png");
    ASSERT_TRUE(image.save(path));
    ASSERT_TRUE(Open(path));
    EXPECT_EQ(DibBitCount(rec), 24);
    EXPECT_EQ(getpixel(rec, 0, 1), 0x001E140Au);
    EXPECT_EQ(getpixel(rec, 1, 0), 0x00FFFFFFu);
}

// The default logo must load as a 200 x 200 picture.
TEST_F(OpenDibTest, DefaultLogoLoads) {
    ASSERT_TRUE(Open(QStringLiteral(QUILLORA_SOURCE_DIR "/images/logo torvane200x200.gif")));
    EXPECT_EQ(DibWidth(rec), 200);
    EXPECT_EQ(DibHeight(rec), 200);
    EXPECT_EQ(DibBitCount(rec), 8);
}

// Non-ASCII paths must reach the file (paths are UTF-8).
TEST_F(OpenDibTest, Utf8PathsOpen) {
    ASSERT_TRUE(Open(Write(QStringLiteral("Grüße.bmp"), MakeBmp(1, 1, 24, {}, Bytes(4, 9)))));
}

// A relative name missing here must also be found in the program's directory.
TEST_F(OpenDibTest, RelativeNamesFallBackToProgramDirectory) {
    Write("logo.bmp", MakeBmp(1, 1, 24, {}, Bytes(4, 9)));
    EXPECT_EQ(ResolvePicturePath("logo.bmp", dir.path()), dir.filePath("logo.bmp"));
    EXPECT_EQ(ResolvePicturePath("nothere.bmp", dir.path()), QString("nothere.bmp"));
    EXPECT_EQ(ResolvePicturePath(QString(), dir.path()), QString());
    ASSERT_TRUE(OpenDibFile(rec, "logo.bmp", dir.path()));
    EXPECT_EQ(DibWidth(rec), 1);
}

// The filter must list the types Qt can read, in pairs, and convert to Qt's form.
TEST(PictureFilter, ListsReadableTypesInPairs) {
    const QString filter = QString::fromUtf8(GetDIBOpenFilter());
    const QStringList parts = filter.split('|');
    EXPECT_EQ(parts.size() % 2, 0);
    EXPECT_TRUE(parts.contains("*.bmp;*.dib"));
    EXPECT_TRUE(parts.contains("*.gif"));
    EXPECT_TRUE(parts.contains("*.png"));
    EXPECT_TRUE(parts[1].contains("*.jpg"));
}

// Pipe filters must become Qt filters without doubling the bracketed patterns.
TEST(PictureFilter, PipeFilterConvertsToQtForm) {
    const struct {
        const char* pipe;
        const char* qt;
    } cases[] = {
        {"Bitmap|*.bmp;*.dib|GIF|*.gif", "Bitmap (*.bmp *.dib);;GIF (*.gif)"},
        {"Bitmap (*.bmp *.dib)|*.bmp;*.dib", "Bitmap (*.bmp *.dib)"},
        {"All files|*.*|", "All files (*.*)"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PipeFilterToQt(c.pipe).toStdString(), c.qt) << c.pipe;
}
