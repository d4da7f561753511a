#pragma once
// The one operation that produces a page, for the preview and the printer alike.
//
// Every call lays the document out from page 1 (or, with a page start index,
// from the start of the requested page) with the given settings, draws onto
// the canvas only what falls on the requested page, and stops once that page
// is complete.
// A print run draws all pages in one pass with PaintAllPages (below).
// Typical use:
//
//     PageInput in{doc, settings};
//     in.background = &background; in.logo = &logo;
//     in.printer = {printer.width, printer.height, printer.dpi};  // or leave A4 600 dpi
//     in.pictures = &pictureCache;                                 // optional
//     in.pageStarts = &pageStarts;                                 // optional
//     QPainterCanvas canvas(painter, dpi);
//     bool more = PaintToCanvas(canvas, in, dpi, w, h, page, zoom, printing);
//
// and for a print run, every page in one pass:
//
//     int pages = PaintAllPages(canvas, in, dpi, w, h, [&] { printer.newPage(); });

#include "Canvas.h"

#include <functional>

struct dib;
class FormDocument;
struct LayoutSettings;
class CategoryPictureCache;
class PageStartIndex;
class FieldObserver;

// The printer page the layout takes its proportions from: printable width and
// height in printer pixels and the printer's horizontal resolution. The default
// stands for "no printer": an A4 page at 600 pixels per inch.
struct PrinterPage {
    int width = 4960;
    int height = 7016;
    int dpi = 600;
};

struct PageInput {
    const FormDocument& document;
    const LayoutSettings& settings;
    const dib* background = nullptr; // the prepared background picture (may be empty)
    const dib* logo = nullptr;       // the prepared logo (may be empty)
    PrinterPage printer{};           // a page with a size or resolution <= 0 counts as none
    // Decoded category pictures kept across calls; without one, each call reads
    // the pictures it needs from their files and releases them again.
    CategoryPictureCache* pictures = nullptr;
    // Where the pages begin, kept across calls so that a page is drawn without
    // laying out the pages before it again; without one, every call lays the
    // document out from page 1. The owner invalidates it when the document changes.
    PageStartIndex* pageStarts = nullptr;
    // Told about every field drawn (DrawnField.h); placement never depends on it.
    FieldObserver* fields = nullptr;
};

// The page size in canvas pixels (W x H) for a resolution and zoom.
struct PageSize {
    int width = 0, height = 0;
};
PageSize LayoutPageSize(const PrinterPage& printer, int dpi, double zoom);

// Draws page `page` (from 1) of the document at resolution dpi and zoom (percent)
// on a canvas of width x height pixels. When not printing the canvas is first
// filled white and finally outlined in black. Returns true when the document
// goes on beyond the requested page.
bool PaintToCanvas(Canvas& canvas, const PageInput& input, int dpi, int width, int height, int page,
                   double zoom, bool printing);

// Prints the whole document in one layout pass: draws page 1, 2, 3, ... in turn
// at zoom 100 as printed pages and calls newPage() between two pages (before
// the first drawing of page 2, 3, ...; never before page 1 or after the last
// page). Page k comes out as PaintToCanvas(canvas, input, dpi, width, height,
// k, 100, true) draws it. Returns the number of pages, at least 1; a document
// without categories prints one page and never calls newPage. An empty
// newPage function is not called. The canvas font is handed back as found.
int PaintAllPages(Canvas& canvas, const PageInput& input, int dpi, int width, int height,
                  const std::function<void()>& newPage);
