#include "PaintToCanvas.h"

#include "FormDocument.h"
#include "LayoutSettings.h"
#include "PagePass.h"
#include "StretchDib.h"
#include "Units.h"

#include <typeinfo>

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
    if (in.pageStarts) {
        in.pageStarts->FollowPictureFiles(in.document);
        PageLayoutKey key;
        key.document = &in.document;
        key.categories = in.document.CategoryCount();
        key.settings = s;
        key.printerWidth = in.printer.width;
        key.printerHeight = in.printer.height;
        key.printerDpi = in.printer.dpi;
        key.dpi = dpi;
        key.zoom = zoom;
        key.canvas = typeid(canvas);
        layout = &in.pageStarts->LayoutFor(key);
    }
}

PagePass::PagePass(Canvas& canvas, const PageInput& input, int dpi, int width, int height,
                   double zoom, const std::function<void()>& newPage)
    : PagePass(canvas, input, dpi, width, height, 1, zoom) {
    everyPage = true;
    pageBreak = &newPage;
    layout = nullptr; // every page is laid out anyway
}

int PagePass::Run() {
    int first = 0;
    int startPage = 1;
    const PageStart* start = layout ? layout->NearestStart(requested, &startPage) : nullptr;
    // Beyond the end of the document nothing is drawn.
    if (layout && layout->LastPage() > 0 && requested > layout->LastPage())
        return layout->LastPage();
    if (start) {
        // A copy: resuming records further page starts, which may move the kept ones.
        const PageStart from = *start;
        Resume(from, startPage);
        first = from.category + 1;
    } else {
        pageCounter = 1;
        BeginPage();
        x = L;
        y = T + headerHeight;
    }
    const int categories = in.document.CategoryCount();
    for (int i = first; i < categories && !stopped; ++i) {
        CategoryBlock(i);
        if (stopped) break;
        LayOutFields(i);
        if (stopped) break;
        y += rowHeight;
    }
    if (layout && !stopped) layout->SetLastPage(pageCounter);
    return pageCounter;
}

void PagePass::Resume(const PageStart& start, int page) {
    pageCounter = page - 1;
    x = start.x;
    y = start.y;
    rowHeight = start.rowHeight;
    previousKind = start.previousKind;
    startX = start.startX;
    startY = start.startY;
    headerHeight = start.headerHeight;
    footerHeight = start.footerHeight;
    // At a page break the canvas holds the font the break happened in, with
    // transparent text; the decorations of the new page save and restore it.
    canvas.SelectFont(start.font);
    canvas.SetTransparentText();
    const int i = start.category;
    if (start.field < 0) {
        StartNextPage(0);
        CategoryBlockOnPage(i);
        if (!stopped) LayOutFields(i);
    } else {
        StartNextPage(G);
        FieldOnNewPage(i, static_cast<std::uint32_t>(start.field));
        if (!stopped) LayOutFields(i, static_cast<std::uint32_t>(start.field) + 1);
    }
    if (!stopped) y += rowHeight;
}

void PagePass::NewPage(std::int64_t top, int category, int field) {
    if (layout) {
        PageStart start;
        start.category = category;
        start.field = field;
        start.x = x;
        start.y = y;
        start.rowHeight = rowHeight;
        start.previousKind = previousKind;
        start.startX = startX;
        start.startY = startY;
        start.headerHeight = headerHeight;
        start.footerHeight = footerHeight;
        start.font = canvas.CurrentFont();
        layout->Record(pageCounter + 1, start);
    }
    // The requested page is complete and a page follows it.
    if (!everyPage && pageCounter == requested) {
        ++pageCounter;
        stopped = true;
        return;
    }
    StartNextPage(top);
}

void PagePass::StartNextPage(std::int64_t top) {
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
