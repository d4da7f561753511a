#pragma once
// A scanned or photographed page made ready for reading: pixels made square
// where the file says they are not (a fax's 204 x 98 dpi), the page as grey,
// the page as ink (dark wherever any colour is dark, so a blue or red pen
// counts with its darkest colour), and the page code found in it with the
// corners of its symbol.

#include <QByteArray>
#include <QImage>
#include <opencv2/core.hpp>

#include <array>
#include <optional>

// Pixels kept from one page to the next: a page of the same size is made
// ready in them without fresh memory, which costs more than the pass that
// fills it (a 12-Mpx photo's grey and ink are 24 MB).
struct ScanBuffers {
    cv::Mat grey, ink;
};

struct ScannedImage {
    QImage greyImage; // owns grey's pixels for a page stored as grey
    cv::Mat grey;
    cv::Mat ink; // grey itself for a page stored as grey
};

// The image made square, as grey and as ink, in one pass over its pixels;
// a colour page's are written into buffers (valid until they are next used).
ScannedImage PrepareScannedImage(const QImage& scanned, ScanBuffers& buffers);

struct FoundCode {
    QByteArray text; // a page code this program wrote (ParsePageCode reads it)
    std::array<cv::Point2d, 4> corners; // top left, top right, bottom right, bottom left
};
// The page code in grey (looked for first in a smaller copy of a large page).
std::optional<FoundCode> FindCode(const cv::Mat& grey);
