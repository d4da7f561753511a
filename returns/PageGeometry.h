#pragma once
// Where the printed sheet lies in a scanned or photographed page: the four
// corner marks are looked for anywhere in the image by their shape (solid
// squares in a white frame, about the size the page code's modules promise),
// and the four that a full perspective maps onto the page code's own corners
// are taken; when one mark is out of the picture, three of them fitted
// together with the code's corners, and with two, the turn, scale and
// shift they and the code agree on. When no marks agree with the code, only
// the code's own place is left: the page is then read only where nearly
// every box's outline lies where that puts it (a flat scan with its corners
// cut off), and otherwise rejected: never read on a guess.

#include "PageMarks.h"
#include "ReturnedPdf.h"

#include <opencv2/core.hpp>

#include <array>

struct PageFit {
    bool ok = false;
    // No marks agree: only the code's turn, scale and shift, to be trusted
    // only where the boxes' printed outlines confirm it (rejection says why).
    bool codeOnly = false;
    cv::Matx33d sheetToImage = cv::Matx33d::eye(); // sheet pixels to image pixels
    double residual = 0; // the code's corners from where the fit puts them, in modules
    int marks = 0;       // the corner marks the fit rests on
    ReturnRejection rejection;
};

// The code's corners where a perspective of the marks may put them, in modules.
inline constexpr double kMostCodeResidual = 2.5;

// What the page code says of its own place: the symbol's corners on the sheet
// (top left, top right, bottom right, bottom left), as found in the image.
struct CodePlace {
    CanvasRect symbol;                     // sheet pixels
    int modules = 21;                      // the symbol's side in modules
    std::array<cv::Point2d, 4> corners{};  // image pixels, in the symbol's order
};

// ink: the page as one channel, dark for ink (the darkest of each pixel's
// colours). corners: where the marks are printed on the sheet.
PageFit FitPage(const cv::Mat& ink, const CodePlace& code,
                const std::array<CanvasRect, 4>& corners);

// How much darker than the paper around them the fit's corner marks are in
// ink (solid print: the darkness a pen's ink is measured against where a box
// has no printed outline); 0 when they do not stand out.
double MarkDarkness(const cv::Mat& ink, const PageFit& fit,
                    const std::array<CanvasRect, 4>& corners);

// Where the perspective h puts the sheet point (x, y).
cv::Point2d ApplyFit(const cv::Matx33d& h, double x, double y);
