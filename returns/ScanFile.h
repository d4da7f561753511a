#pragma once
// The pages of a scanned file, one image at a time: a PDF's pages rendered
// through Poppler, an image file's frames (PNG, JPEG, TIFF with any number of
// pages) through Qt's image readers, HEIF/HEIC photos through libheif
// (HeifImage.h). Only one page is held at a time, and
// pages and images beyond sane sizes are refused rather than read.

#include "ReturnedPdf.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>

// The resolution PDF pages of scans are rendered at.
inline constexpr int kScanRenderDpi = 300;
// The most pixels one page may have; larger pages of PDFs are rendered at a
// lower resolution, larger images refused.
inline constexpr qint64 kMaxScanPixels = 80'000'000;
inline constexpr int kMaxScanSide = 16'000;
// True when an image of size is within those limits; else false, with *why
// naming its size. Every decoder of scans asks before it decodes.
bool ScanSizeAllowed(QSize size, ReturnRejection* why);
// The most pages read of one file.
inline constexpr int kMaxScanPages = 2000;

class ScanFile {
  public:
    // A PDF file or an image file, by its content.
    explicit ScanFile(const QString& path);
    // The same on bytes in memory (the reader's fuzz target).
    explicit ScanFile(const QByteArray& bytes);
    ~ScanFile();
    ScanFile(const ScanFile&) = delete;
    ScanFile& operator=(const ScanFile&) = delete;

    // False with the reason when the file is neither a PDF nor an image.
    bool Open(ReturnRejection* why);
    int PageCount() const { return pages; }
    // The pages in order, from 0: call with 0, 1, 2, ... A null image with
    // the reason for a page that cannot be read.
    QImage Page(int index, ReturnRejection* why);

  private:
    struct Source;
    QString path;
    QByteArray bytes;
    std::unique_ptr<Source> source;
    int pages = 0;
};
