#pragma once
// Pages drawn as the preview shows them, at a screen resolution and zoom: a
// part of a page drawn into an image, and how many pages the document has
// there, counted on the page start index.

#include "PaintToCanvas.h"

#include <QPoint>

class QImage;

// Draws the part of the on-screen page (W x H pixels at dpi and zoom) whose
// top-left corner is origin into image, which holds that part. The pixels are
// the same as those of the whole page drawn at once at that place.
void DrawPagePart(QImage& image, QPoint origin, const PageInput& input, int dpi, PageSize page,
                  int pageNumber, double zoom);

// The number of pages of the document as the preview lays it out at dpi and
// zoom, counted no further than limit (at least 1). The pages are laid out in
// one pass, which starts at the nearest page the input's page start index
// knows and records the pages it finds there.
int PageCountUpTo(const PageInput& input, int dpi, double zoom, int limit);

// True when the document has a page pageNumber (from 1) at that dpi and zoom.
inline bool PageExists(const PageInput& input, int dpi, double zoom, int pageNumber) {
    return pageNumber >= 1 && PageCountUpTo(input, dpi, zoom, pageNumber) >= pageNumber;
}

// The page (from 1) on which field `field` of category lands (-1: the
// category's heading) as the preview lays the document out at dpi and zoom.
// Reads the input's page start index and lays out only the pages not known
// there yet, up to the place; 1 without an index.
int PageOfPlace(const PageInput& input, int dpi, double zoom, int category, int field);
