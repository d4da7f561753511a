#pragma once
// A box's surroundings in a scanned page taken square for reading: the patch
// of the image around the box, mapped so that the box is upright and of a
// known size, with the paper's own level estimated around it (light falling
// off and shadows cancel) and the part beyond the paper's edge (the table a
// photo shows) set apart, so that neither is taken for ink.

#include "Canvas.h"

#include <opencv2/core.hpp>

// The value below which a share of the values of m lie (m: one float
// channel); only where mask is 0 when a mask is given.
double Quantile(const cv::Mat& m, double share, const cv::Mat& mask = {});

struct Patch {
    cv::Mat values;      // the ink channel
    cv::Mat dark;        // how much darker than the paper around, float
    cv::Mat offPaper;    // 255 beyond the paper's edge (and just inside it), else 0
    cv::Matx33d toImage; // patch pixels to image pixels
    double q = 1;        // patch pixels per sheet pixel
    int side = 0, margin = 0;
    double offset = 0;   // the paper's own darkness (its median)
    double noise = 1;    // the paper's spread
};

// Takes the patch around box (sheet pixels) where h (sheet to image) puts
// it; paper: the paper's edges on the sheet. False when the box does not lie
// in the image (but for slack image pixels: a box printed on the paper's edge).
bool TakePatch(const cv::Mat& ink, const cv::Matx33d& h, const CanvasRect& box,
               const CanvasRect& paper, Patch& p, double slack = 0,
               int border = cv::BORDER_REPLICATE);
