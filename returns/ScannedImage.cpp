// Making a scanned page ready for reading, and finding its page code.
#include "ScannedImage.h"

#include "PageMarks.h"
#include "ScanFile.h"

#include <ZXing/ReadBarcode.h>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

// The page code is looked for first in a copy about this many pixels across.
constexpr int kCodeSearchSide = 1600;

std::optional<FoundCode> ReadCode(const cv::Mat& grey, double scale) {
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode);
    hints.setTryHarder(true);
    hints.setTryRotate(false);
    const ZXing::ImageView view(grey.data, grey.cols, grey.rows, ZXing::ImageFormat::Lum,
                                static_cast<int>(grey.step));
    const ZXing::Results results = ZXing::ReadBarcodes(view, hints);
    for (const ZXing::Result& r : results) {
        if (!r.isValid()) continue;
        FoundCode code;
        const ZXing::ByteArray& bytes = r.bytes();
        code.text = QByteArray(reinterpret_cast<const char*>(bytes.data()),
                               static_cast<qsizetype>(bytes.size()));
        if (!ParsePageCode(code.text)) continue;
        const auto& p = r.position();
        for (int i = 0; i < 4; ++i)
            code.corners[static_cast<std::size_t>(i)] = {p[i].x / scale, p[i].y / scale};
        return code;
    }
    return std::nullopt;
}

} // namespace

std::optional<FoundCode> FindCode(const cv::Mat& grey) {
    const int side = std::min(grey.cols, grey.rows);
    if (side > kCodeSearchSide * 5 / 4) {
        const double scale = static_cast<double>(kCodeSearchSide) / side;
        cv::Mat small;
        cv::resize(grey, small, cv::Size(), scale, scale, cv::INTER_AREA);
        if (auto code = ReadCode(small, scale)) return code;
    }
    return ReadCode(grey, 1.0);
}

namespace {

// Pixels made square where the file says they are not (a fax's 204 x 98 dpi):
// the shorter side of each pixel is stretched to the longer's.
QImage SquarePixels(const QImage& image) {
    const int dx = image.dotsPerMeterX(), dy = image.dotsPerMeterY();
    if (dx <= 0 || dy <= 0) return image;
    const double ratio = static_cast<double>(dx) / dy;
    if ((ratio > 0.97 && ratio < 1.03) || ratio < 0.2 || ratio > 5) return image;
    const double w = image.width() * std::max(1.0, 1.0 / ratio);
    const double h = image.height() * std::max(1.0, ratio);
    if (w * h > static_cast<double>(kMaxScanPixels) || std::max(w, h) > kMaxScanSide) return image;
    // Stretched smoothly: a black-and-white fax becomes grey at its edges.
    const QImage source = image.depth() < 8 || image.colorCount() > 0
                              ? image.convertToFormat(image.allGray() ? QImage::Format_Grayscale8
                                                                      : QImage::Format_RGB32)
                              : image;
    QImage out = source.scaled(static_cast<int>(std::lround(w)), static_cast<int>(std::lround(h)),
                               Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const int dots = std::max(dx, dy);
    out.setDotsPerMeterX(dots);
    out.setDotsPerMeterY(dots);
    return out;
}

// The page as grey (to find the page code) and as one channel dark wherever
// any of its colours is dark (ink: a blue or red pen counts with its darkest
// colour, not with its brightness), in one pass over the pixels, rows in
// parallel. The grey is the luma of the usual video weights.
void GreyAndInk(const QImage& image, cv::Mat& grey, cv::Mat& ink) {
    const QImage rgb = image.format() == QImage::Format_RGB32 ||
                               image.format() == QImage::Format_ARGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    grey.create(rgb.height(), rgb.width(), CV_8UC1);
    ink.create(rgb.height(), rgb.width(), CV_8UC1);
    cv::parallel_for_(cv::Range(0, rgb.height()), [&](const cv::Range& rows) {
        for (int y = rows.start; y < rows.end; ++y) {
            const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            uchar* g = grey.ptr<uchar>(y);
            uchar* k = ink.ptr<uchar>(y);
            for (int x = 0; x < rgb.width(); ++x) {
                const int r = qRed(in[x]), gr = qGreen(in[x]), b = qBlue(in[x]);
                g[x] = static_cast<uchar>((77 * r + 150 * gr + 29 * b + 128) >> 8);
                k[x] = static_cast<uchar>(std::min({r, gr, b}));
            }
        }
    });
}

} // namespace

ScannedImage PrepareScannedImage(const QImage& scanned, ScanBuffers& buffers) {
    ScannedImage scan;
    const QImage image = SquarePixels(scanned);
    if (image.format() == QImage::Format_Grayscale8 ||
        (image.depth() < 8 && image.allGray())) {
        // A page stored as grey is its own ink (shared, not copied).
        scan.greyImage = image.convertToFormat(QImage::Format_Grayscale8);
        scan.grey = cv::Mat(scan.greyImage.height(), scan.greyImage.width(), CV_8UC1,
                            const_cast<uchar*>(scan.greyImage.constBits()),
                            static_cast<std::size_t>(scan.greyImage.bytesPerLine()));
        scan.ink = scan.grey;
        return scan;
    }
    GreyAndInk(image, buffers.grey, buffers.ink);
    scan.grey = buffers.grey;
    scan.ink = buffers.ink;
    return scan;
}
