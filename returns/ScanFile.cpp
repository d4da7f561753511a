// Scanned files page by page: PDF pages through Poppler, images through Qt.
#include "ScanFile.h"

#include "HeifImage.h"
#include "ReturnFileTypes.h"

#include <poppler/qt6/poppler-qt6.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cmath>

namespace {

// The largest HEIF file read.
constexpr qint64 kMostHeifBytes = 256 << 20;

ReturnRejection Unreadable() {
    return {QStringLiteral("neither a PDF file nor an image that can be read"),
            QStringLiteral("Die Datei ist weder eine PDF-Datei noch ein lesbares Bild.")};
}

ReturnRejection TooLarge() {
    return {QStringLiteral("a page too large to be read"),
            QStringLiteral("Die Seite ist zu groß, um gelesen zu werden.")};
}

ReturnRejection TooLarge(QSize size) {
    return {QStringLiteral("an image of %1 x %2 pixels, too large to be read (at most %3 pixels "
                           "a side and %4 million pixels)")
                .arg(size.width())
                .arg(size.height())
                .arg(kMaxScanSide)
                .arg(kMaxScanPixels / 1'000'000),
            TooLarge().reason};
}

bool StartsWithPdf(QIODevice& device) {
    return device.peek(1024).contains("%PDF-");
}

// Decodes the reader's current image within our own limits rather than Qt's:
// Qt's reader refuses an image beyond its allocation limit (128 MB unless
// set) reckoned at four bytes a pixel, whatever the file holds, and so
// refused a grey A4 page at 600 dpi. The limit is what kMaxScanPixels comes
// to at four bytes a pixel; a grey file is decoded as 8-bit grey, as the
// formats allow, and a colour file keeps its colours.
QImage DecodeScanImage(QImageReader& reader, ReturnRejection* why) {
    const QSize size = reader.size();
    if (size.isValid() && !ScanSizeAllowed(size, why)) return {};
    constexpr qint64 kMegabyte = 1 << 20;
    reader.setAllocationLimit(static_cast<int>((kMaxScanPixels * 4 + kMegabyte - 1) / kMegabyte));
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        *why = Unreadable();
        return {};
    }
    if (!ScanSizeAllowed(image.size(), why)) return {};
    return image;
}

} // namespace

bool ScanSizeAllowed(QSize size, ReturnRejection* why) {
    if (size.width() <= kMaxScanSide && size.height() <= kMaxScanSide &&
        qint64{size.width()} * size.height() <= kMaxScanPixels)
        return true;
    *why = TooLarge(size);
    return false;
}

struct ScanFile::Source {
    // The bytes in memory outlive the readers that read them: Poppler still
    // closes its stream as its document goes.
    QBuffer buffer;
    std::unique_ptr<Poppler::Document> pdf;
    std::unique_ptr<QImageReader> image;
    QByteArray heif; // a HEIF photo's whole file
};

ScanFile::ScanFile(const QString& path) : path(path) {}
ScanFile::ScanFile(const QByteArray& bytes) : bytes(bytes) {}
ScanFile::~ScanFile() = default;

bool ScanFile::Open(ReturnRejection* why) {
    source = std::make_unique<Source>();
    bool pdf = false;
    if (path.isEmpty()) {
        source->buffer.setData(bytes);
        source->buffer.open(QIODevice::ReadOnly);
        pdf = StartsWithPdf(source->buffer);
        if (IsHeif(bytes)) source->heif = bytes;
    } else {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *why = {QStringLiteral("cannot be opened: %1").arg(file.errorString()),
                    QStringLiteral("Die Datei kann nicht geöffnet werden.")};
            return false;
        }
        pdf = StartsWithPdf(file);
        // A photo's file is a few megabytes; a larger one is not a photo.
        if (IsHeif(file.peek(64)) && file.size() < kMostHeifBytes) source->heif = file.readAll();
    }
    if (!source->heif.isEmpty()) {
        pages = 1;
    } else if (pdf) {
        source->pdf = path.isEmpty() ? Poppler::Document::load(&source->buffer)
                                     : Poppler::Document::load(path);
        if (!source->pdf || source->pdf->isLocked()) {
            *why = {QStringLiteral("a damaged or locked PDF file"),
                    QStringLiteral("Die PDF-Datei ist beschädigt oder verschlossen.")};
            return false;
        }
        pages = std::min(source->pdf->numPages(), kMaxScanPages);
    } else {
        source->image = path.isEmpty() ? std::make_unique<QImageReader>(&source->buffer)
                                       : std::make_unique<QImageReader>(path);
        source->image->setAutoTransform(true);
        if (!source->image->canRead()) {
            *why = Unreadable();
            return false;
        }
        pages = std::clamp(source->image->imageCount(), 1, kMaxScanPages);
    }
    if (pages < 1) {
        *why = Unreadable();
        return false;
    }
    return true;
}

QImage ScanFile::Page(int index, ReturnRejection* why) {
    if (!source || index < 0 || index >= pages) {
        *why = Unreadable();
        return {};
    }
    if (source->pdf) {
        const std::unique_ptr<Poppler::Page> page = source->pdf->page(index);
        if (!page) {
            *why = Unreadable();
            return {};
        }
        const QSizeF points = page->pageSizeF();
        if (!(points.width() > 0 && points.height() > 0)) {
            *why = Unreadable();
            return {};
        }
        // The resolution that keeps the page within the pixels allowed.
        double dpi = kScanRenderDpi;
        const double pixelsAt = points.width() * points.height() / (72.0 * 72.0);
        dpi = std::min(dpi, std::sqrt(kMaxScanPixels / pixelsAt));
        dpi = std::min(dpi, kMaxScanSide * 72.0 / std::max(points.width(), points.height()));
        if (dpi < 50) {
            *why = TooLarge();
            return {};
        }
        QImage image = page->renderToImage(dpi, dpi);
        if (image.isNull()) *why = Unreadable();
        return image;
    }
    if (!source->heif.isEmpty()) return DecodeHeif(source->heif, why);
    QImageReader& reader = *source->image;
    if (index > 0 && !reader.jumpToImage(index)) {
        *why = Unreadable();
        return {};
    }
    return DecodeScanImage(reader, why);
}
