// Reading picture files: BMP by hand, everything else through QImageReader.
#include "BmpReader.h"
#include "DibFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <cstring>

namespace {

// Colour table entries may be transparent (GIF); a record has no alpha, so
// they are shown as they would appear on white paper.
QRgb OverWhite(QRgb c) {
    const int a = qAlpha(c);
    if (a == 255) return c;
    auto blend = [a](int v) { return (v * a + 255 * (255 - a)) / 255; };
    return qRgb(blend(qRed(c)), blend(qGreen(c)), blend(qBlue(c)));
}

bool FromIndexedImage(dib& rec, const QImage& source) {
    const QImage image = source.format() == QImage::Format_Indexed8
                             ? source
                             : source.convertToFormat(QImage::Format_Indexed8);
    if (image.isNull()) return false;
    newdib(&rec, image.width(), image.height(), 8);
    if (!rec.poi) return false;
    const QList<QRgb> table = image.colorTable();
    const int colours = static_cast<int>(qMin<qsizetype>(table.size(), 256));
    for (int i = 0; i < colours; ++i) {
        const QRgb c = OverWhite(table[i]);
        rec.pmi->bmiColors[i] =
            RGBQUAD{static_cast<std::uint8_t>(qBlue(c)), static_cast<std::uint8_t>(qGreen(c)),
                    static_cast<std::uint8_t>(qRed(c)), 0};
        rec.pal.rgb0[i] =
            PALENTRY{static_cast<std::uint8_t>(qRed(c)), static_cast<std::uint8_t>(qGreen(c)),
                     static_cast<std::uint8_t>(qBlue(c)), 0};
    }
    rec.pal.num = static_cast<std::uint16_t>(colours);
    const int h = image.height();
    for (int row = 0; row < h; ++row)
        std::memcpy(rec.poi + static_cast<std::ptrdiff_t>(h - 1 - row) * rec.bytew,
                    image.constScanLine(row), static_cast<std::size_t>(image.width()));
    return true;
}

void SetTableEntry(dib& rec, int i, QRgb colour) {
    const QRgb c = OverWhite(colour);
    const auto r = static_cast<std::uint8_t>(qRed(c)), g = static_cast<std::uint8_t>(qGreen(c)),
               b = static_cast<std::uint8_t>(qBlue(c));
    rec.pmi->bmiColors[i] = RGBQUAD{b, g, r, 0};
    rec.pal.rgb0[i] = PALENTRY{r, g, b, 0};
}

// A two-colour picture becomes a 1-bit record, whatever its file type, so that
// it is treated as a 1-bit BMP is (made black and white before processing).
bool FromMonoImage(dib& rec, const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_Mono);
    if (image.isNull()) return false;
    newdib(&rec, image.width(), image.height(), 1);
    if (!rec.poi) return false;
    const QList<QRgb> table = image.colorTable();
    for (int i = 0; i < 2 && i < table.size(); ++i)
        SetTableEntry(rec, i, table[i]);
    rec.pal.num = 2;
    // Both keep 8 pixels to a byte, the leftmost in the highest bit.
    const int h = image.height();
    for (int row = 0; row < h; ++row)
        std::memcpy(rec.poi + static_cast<std::ptrdiff_t>(h - 1 - row) * rec.bytew,
                    image.constScanLine(row), static_cast<std::size_t>((image.width() + 7) / 8));
    return true;
}

// The two colours of a GIF whose global colour table has two entries (a 1-bit
// GIF); false for any other GIF.
bool TwoColourGifTable(QIODevice& file, QRgb& first, QRgb& second) {
    if (!file.seek(0)) return false;
    const QByteArray head = file.read(19);
    if (head.size() < 19 || !head.startsWith("GIF")) return false;
    const auto flags = static_cast<std::uint8_t>(head[10]);
    if (!(flags & 0x80) || (flags & 0x07) != 0) return false;
    auto at = [&head](int i) { return static_cast<std::uint8_t>(head[i]); };
    first = qRgb(at(13), at(14), at(15));
    second = qRgb(at(16), at(17), at(18));
    return true;
}

// A 1-bit GIF as a 1-bit record with the GIF's own two colours in their order.
// False when a pixel has neither colour (a transparent one, or a frame with a
// colour table of its own): the picture is then read as an 8-bit one.
bool FromTwoColourGif(dib& rec, const QImage& decoded, QRgb first, QRgb second) {
    const QImage image = decoded.convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) return false;
    QImage mono(image.size(), QImage::Format_Mono);
    if (mono.isNull()) return false;
    mono.fill(0);
    mono.setColorTable({first, second});
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x] | 0xFF000000u;
            if (c == second && c != first)
                mono.setPixel(x, y, 1);
            else if (c == first)
                mono.setPixel(x, y, 0);
            else
                return false;
        }
    }
    return FromMonoImage(rec, mono);
}

// The picture as it would appear on white paper, without alpha.
QImage OverWhiteImage(const QImage& source) {
    if (!source.hasAlphaChannel()) return source;
    QImage image(source.size(), QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawImage(0, 0, source);
    painter.end();
    return image;
}

bool FromColourImage(dib& rec, const QImage& source) {
    const QImage image = OverWhiteImage(source).convertToFormat(QImage::Format_BGR888);
    if (image.isNull()) return false;
    newdib(&rec, image.width(), image.height(), 24);
    if (!rec.poi) return false;
    const int h = image.height();
    for (int row = 0; row < h; ++row)
        std::memcpy(rec.poi + static_cast<std::ptrdiff_t>(h - 1 - row) * rec.bytew,
                    image.constScanLine(row), static_cast<std::size_t>(image.width()) * 3);
    return true;
}

bool ReadWithQt(dib& rec, QIODevice& file) {
    QRgb gifFirst = 0, gifSecond = 0;
    const bool twoColourGif = TwoColourGifTable(file, gifFirst, gifSecond);
    if (!file.seek(0)) return false;
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxDibSide || size.height() > kMaxDibSide ||
                           static_cast<std::int64_t>(size.width()) * size.height() > kMaxDibPixels))
        return false;
    const bool gif = reader.format() == "gif";
    const QImage image = reader.read();
    if (image.isNull() || image.width() > kMaxDibSide || image.height() > kMaxDibSide ||
        static_cast<std::int64_t>(image.width()) * image.height() > kMaxDibPixels)
        return false;
    if (gif && twoColourGif && FromTwoColourGif(rec, image, gifFirst, gifSecond)) return true;
    if (gif) // Qt unpacks GIF frames to colour; their colours still fit a palette
        return FromIndexedImage(
            rec, OverWhiteImage(image).convertToFormat(QImage::Format_Indexed8, Qt::AvoidDither));
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return FromMonoImage(rec, image);
    case QImage::Format_Indexed8:
        return FromIndexedImage(rec, image);
    default:
        return FromColourImage(rec, image);
    }
}

} // namespace

QString ResolvePicturePath(const QString& name, const QString& programDir) {
    if (name.isEmpty() || QFileInfo(name).isAbsolute() || QFileInfo::exists(name)) return name;
    QString dir = programDir;
    if (dir.isEmpty() && QCoreApplication::instance()) dir = QCoreApplication::applicationDirPath();
    if (dir.isEmpty()) return name;
    const QString inProgramDir = QDir(dir).filePath(name);
    return QFileInfo::exists(inProgramDir) ? inProgramDir : name;
}

bool ReadDib(dib& rec, QIODevice& device) {
    std::memset(&rec, 0, sizeof rec);
    switch (ReadBmp(rec, device)) {
    case BmpReadResult::Read:
        return true;
    case BmpReadResult::Damaged:
        return false;
    case BmpReadResult::NotHandled:
        break;
    }
    if (ReadWithQt(rec, device)) return true;
    FreeDib(rec);
    std::memset(&rec, 0, sizeof rec);
    return false;
}

bool OpenDibFile(dib& rec, const QString& path, const QString& programDir) {
    std::memset(&rec, 0, sizeof rec);
    if (path.isEmpty()) return false;
    QFile file(ResolvePicturePath(path, programDir));
    if (!QFileInfo(file.fileName()).isFile() || !file.open(QIODevice::ReadOnly)) return false;
    return ReadDib(rec, file);
}

void OpenDib(dib* rec, const char* path) {
    if (!rec) return;
    OpenDibFile(*rec, path ? QString::fromUtf8(path) : QString());
}
