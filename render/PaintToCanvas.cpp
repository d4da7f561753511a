#include "PaintToCanvas.h"

#include "FormDocument.h"
#include "LayoutSettings.h"
#include "PagePass.h"
#include "StretchDib.h"
#include "Units.h"

PageSize LayoutPageSize(const PrinterPage& printer, int dpi, double zoom) {
    PrinterPage page = printer;
    if (page.width <= 0 || page.height <= 0 || page.dpi <= 0) page = PrinterPage{};
    return {PageExtent(page.width, dpi, page.dpi, zoom),
            PageExtent(page.height, dpi, page.dpi, zoom)};
}

PagePass::PagePass(Canvas& canvas, const PageInput& input, int dpi, int width, int height, int page,
                   double zoom)
    : canvas(canvas), in(input), s(input.settings), dpi(dpi), zoom(zoom), width(width),
      height(height), requested(page) {
    const PageSize size = LayoutPageSize(in.printer, dpi, zoom);
    W = size.width;
    H = size.height;
    L = MmToPixels(s.leftMarginMm, dpi, zoom);
    T = MmToPixels(s.topMarginMm, dpi, zoom);
    R = MmToPixels(s.rightMarginMm, dpi, zoom);
    B = MmToPixels(s.bottomMarginMm, dpi, zoom);
    G = MmToPixels(s.objectGapMm, dpi, zoom);
}

PagePass::PagePass(Canvas& canvas, const PageInput& input, int dpi, int width, int height,
                   double zoom, const std::function<void()>& newPage)
    : PagePass(canvas, input, dpi, width, height, 1, zoom) {
    everyPage = true;
    pageBreak = &newPage;
}

int PagePass::Run() {
    pageCounter = 1;
    BeginPage();
    x = L;
    y = T + headerHeight;
    const int categories = in.document.CategoryCount();
    for (int i = 0; i < categories; ++i) {
        CategoryBlock(i);
        LayOutFields(i);
        y += rowHeight;
    }
    return pageCounter;
}

void PagePass::NewPage(std::int64_t top) {
    ++pageCounter;
    // A page break only ever happens because something follows on the new
    // page, so the sheet is never started after the last page.
    if (everyPage && pageBreak && *pageBreak) (*pageBreak)();
    BeginPage();
    y = T + headerHeight + top;
}

void PagePass::SelectScaledFont(const FontRecord& font, double factor) {
    CanvasFont f;
    f.name = font.name;
    f.points = ScaledPoints(font.size, zoom, factor);
    f.style = font.style;
    f.charset = font.charset;
    f.colour = font.color;
    canvas.SelectFont(f);
    canvas.SetTransparentText();
}

int PagePass::LineHeight() {
    return canvas.TextHeight(QStringLiteral(" "));
}

void PagePass::SetFlatPen(ColourValue colour, int penWidth) {
    canvas.SetPen(colour, penWidth);
}

void PagePass::SolidRectangle(ColourValue colour, std::int64_t x1, std::int64_t y1, std::int64_t x2,
                              std::int64_t y2) {
    canvas.SetSolidBrush(colour);
    canvas.SetPen(colour, 1);
    canvas.Rectangle(ToCoord(x1), ToCoord(y1), ToCoord(x2), ToCoord(y2));
}

void PagePass::DrawPicture(const dib& picture, std::int64_t px, std::int64_t py, int w, int h) {
    // Nothing to draw into a rectangle without area.
    if (w <= 0 || h <= 0) return;
    StretchDib(canvas.PictureDevice(), ToCoord(px), ToCoord(py), w, h, picture, 0, 0,
               DibWidth(picture), DibHeight(picture), SRCCOPY);
}

bool PaintToCanvas(Canvas& canvas, const PageInput& input, int dpi, int width, int height, int page,
                   double zoom, bool printing) {
    // The canvas font is handed back as found, so that a print run on one
    // canvas starts every page from the same state as a page drawn alone.
    const CanvasFont entryFont = canvas.CurrentFont();
    if (!printing) {
        canvas.SetSolidBrush(0xFFFFFF);
        canvas.SetPen(0x000000, 1);
        canvas.Rectangle(0, 0, width, height);
    }
    PagePass pass(canvas, input, dpi, width, height, page, zoom);
    const int pages = pass.Run();
    if (!printing) {
        canvas.SetClearBrush();
        canvas.SetPen(0x000000, 1);
        canvas.Rectangle(0, 0, width, height);
    }
    if (!(canvas.CurrentFont() == entryFont)) canvas.SelectFont(entryFont);
    return pages > page;
}

int PaintAllPages(Canvas& canvas, const PageInput& input, int dpi, int width, int height,
                  const std::function<void()>& newPage) {
    // Every pen, brush and text mode a drawing depends on is set on its own
    // page before it is used, and the fonts follow the same sequence as in a
    // page drawn alone, so each page comes out as PaintToCanvas draws it.
    const CanvasFont entryFont = canvas.CurrentFont();
    PagePass pass(canvas, input, dpi, width, height, 100, newPage);
    const int pages = pass.Run();
    if (!(canvas.CurrentFont() == entryFont)) canvas.SelectFont(entryFont);
    return pages;
}
