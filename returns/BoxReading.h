#pragma once
// One check box or circle of a scanned page, read on its own: found on its
// printed outline near where the page's fit puts it (that absorbs curl and a
// lens's bending), its ink judged against the paper right around it (light
// falling off and shadows cancel) and against the outline's own darkness (a
// pencil or a thin light pen counts, a speck of dust does not). A stroke that
// runs through the box from outside and a circled box are left for review.
// What lies beyond the paper's edge (the table under a photographed sheet)
// is neither ink nor paper to it.

#include "Canvas.h"

#include <QPolygonF>
#include <QString>
#include <opencv2/core.hpp>

#include <vector>

struct BoxOnSheet {
    CanvasRect box;     // sheet pixels, the outline included
    bool round = false; // a single choice's circle
    double line = 1;    // the outline's width, sheet pixels
    // What else is printed near the box (labels, other boxes, headings),
    // sheet pixels: ink there is print, not a pen's.
    std::vector<CanvasRect> printed;
    // The paper's edges, sheet pixels: beyond them a photo shows the table
    // (far away when not known).
    CanvasRect paper{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28};
};

struct BoxReading {
    QString value;      // "1", "0" or "?"
    bool found = false; // the printed outline was found near its place
    double shift = 0;   // how far from its place, in box sides
    double movedX = 0, movedY = 0; // the same in image pixels
    QPolygonF outline;  // the box's corners in the image, where it was found
};

// Reads box on ink (the page as one channel, dark for ink) where sheetToImage
// puts the sheet.
BoxReading ReadBox(const cv::Mat& ink, const cv::Matx33d& sheetToImage, const BoxOnSheet& box);

// Reads box where sheetToImage puts it without looking for its outline (a
// form printed without outlines, a box on the paper's edge): only for a fit
// the page's four marks confirm closely. printDarkness: how much darker than
// the paper the page's solid print is in ink (MarkDarkness).
BoxReading ReadBoxInPlace(const cv::Mat& ink, const cv::Matx33d& sheetToImage,
                          const BoxOnSheet& box, double printDarkness);

// The measures behind a decision: the share of the box's middle that is ink,
// and the longest stroke inside as a share of the box's inner side.
// Marked from kMarkedInk or kMarkedStroke, empty below kEmptyInk and kEmptyStroke.
inline constexpr double kMarkedInk = 0.06;
inline constexpr double kMarkedStroke = 0.45;
inline constexpr double kEmptyInk = 0.012;
inline constexpr double kEmptyStroke = 0.2;
