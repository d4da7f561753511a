// The file dialog filter of the readable picture types.
#include "DibFile.h"

#include <QByteArray>
#include <QImageReader>
#include <QRegularExpression>
#include <QStringList>

namespace {

struct PictureType {
    const char* format; // QImageReader's name
    const char* description;
    const char* patterns;
};

// Readable types with their usual extensions; types Qt reads but that are not
// listed here appear under their own name.
constexpr PictureType kKnownTypes[] = {
    {"bmp", "Windows Bitmap", "*.bmp;*.dib"},
    {"gif", "GIF", "*.gif"},
    {"jpeg", "JPEG", "*.jpg;*.jpeg;*.jpe;*.jfif"},
    {"png", "Portable Network Graphics", "*.png"},
    {"tiff", "TIFF", "*.tif;*.tiff"},
    {"webp", "WebP", "*.webp"},
    {"ico", "Windows Icon", "*.ico"},
    {"cur", "Windows Cursor", "*.cur"},
    {"pbm", "Portable Bitmap", "*.pbm"},
    {"pgm", "Portable Graymap", "*.pgm"},
    {"ppm", "Portable Pixmap", "*.ppm"},
    {"xbm", "X Bitmap", "*.xbm"},
    {"xpm", "X Pixmap", "*.xpm"},
    {"tga", "Targa", "*.tga"},
    {"wbmp", "Wireless Bitmap", "*.wbmp"},
    {"icns", "Apple Icon", "*.icns"},
    {"jp2", "JPEG 2000", "*.jp2;*.j2k"},
    {"heic", "HEIF", "*.heic;*.heif"},
    {"svg", "Scalable Vector Graphics", "*.svg"},
};

// Formats that are only another name for one already listed.
bool IsAlias(const QByteArray& format) {
    return format == "jpg" || format == "tif" || format == "heif" || format == "svgz" ||
           format == "dib";
}

QString BuildFilter() {
    QList<QByteArray> formats = QImageReader::supportedImageFormats();
    formats.append("bmp"); // read by hand even without Qt's plugin
    QStringList pairs;
    QStringList allPatterns;
    QList<QByteArray> done;
    auto add = [&](const QString& description, const QString& patterns) {
        pairs << QStringLiteral("%1 (%2)").arg(description, QString(patterns).replace(';', ' '))
              << patterns;
        allPatterns << patterns;
    };
    for (const PictureType& type : kKnownTypes) {
        if (formats.contains(QByteArray(type.format)) && !done.contains(type.format)) {
            add(QString::fromLatin1(type.description), QString::fromLatin1(type.patterns));
            done.append(type.format);
        }
    }
    for (const QByteArray& format : formats) {
        if (done.contains(format) || IsAlias(format)) continue;
        done.append(format);
        add(QString::fromLatin1(format.toUpper()),
            QStringLiteral("*.") + QString::fromLatin1(format.toLower()));
    }
    const QString all = allPatterns.join(';');
    return (QStringList{QStringLiteral("All pictures (%1)").arg(QString(all).replace(';', ' ')),
                        all} +
            pairs)
        .join('|');
}

} // namespace

QString PictureOpenFilter() {
    static const QString filter = BuildFilter();
    return filter;
}

const char* GetDIBOpenFilter() {
    static const QByteArray text = PictureOpenFilter().toUtf8();
    return text.constData();
}

QString PipeFilterToQt(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split('|');
    QStringList filters;
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    for (int i = 0; i < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString patterns =
            i + 1 < parts.size() ? QString(parts[i + 1]).replace(';', ' ').simplified() : QString();
        if (description.isEmpty() && patterns.isEmpty()) continue;
        if (patterns.isEmpty()) {
            filters << description;
            continue;
        }
        description.remove(trailingPatterns);
        if (description.isEmpty()) description = patterns;
        filters << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return filters.join(QStringLiteral(";;"));
}
