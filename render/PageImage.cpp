// A page drawn into an image, and the page count on the page start index.
#include "PageImage.h"

#include "PagePass.h"
#include "QPainterCanvas.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

void DrawPagePart(QImage& image, QPoint origin, const PageInput& input, int dpi, PageSize page,
                  int pageNumber, double zoom) {
    image.fill(Qt::white);
    QPainter painter(&image);
    // The same page, shifted so that the part lands at the image's origin.
    painter.translate(-origin);
    QPainterCanvas canvas(painter, dpi);
    PaintToCanvas(canvas, input, dpi, page.width, page.height, pageNumber, zoom, false);
}

namespace {
// The layout of the index that passes at dpi and zoom on a page image use.
PageLayout* PreviewLayout(const PageInput& input, int dpi, double zoom) {
    const PageSize page = LayoutPageSize(input.printer, dpi, zoom);
    QImage probe(1, 1, QImage::Format_RGB32);
    QPainter painter(&probe);
    QPainterCanvas canvas(painter, dpi);
    return PagePass(canvas, input, dpi, page.width, page.height, 1, zoom).Layout();
}
} // namespace

int PageOfPlace(const PageInput& input, int dpi, double zoom, int category, int field) {
    if (!input.pageStarts) return 1;
    for (;;) {
        const PageLayout* layout = PreviewLayout(input, dpi, zoom);
        const int page = layout->PageOf(category, field);
        // Certain once a later page start is known or the end of the document.
        if (page < layout->KnownPages() || layout->LastPage() > 0) return page;
        // One page further: the pass records where the next page begins.
        const int known = layout->KnownPages();
        if (PageCountUpTo(input, dpi, zoom, known + 1) <= known) return page;
    }
}

int PageCountUpTo(const PageInput& input, int dpi, double zoom, int limit) {
    if (limit <= 1) return 1;
    // Fonts have pixel sizes, so a one-pixel image measures text as the page
    // image does, and the pages recorded are those the preview draws.
    const PageSize page = LayoutPageSize(input.printer, dpi, zoom);
    QImage probe(1, 1, QImage::Format_RGB32);
    QPainter painter(&probe);
    QPainterCanvas canvas(painter, dpi);
    // A pass asked for page `limit` ends there, with the page counter beyond
    // it when a page follows, or at the document's last page.
    PagePass pass(canvas, input, dpi, page.width, page.height, limit, zoom);
    return std::clamp(pass.Run(), 1, limit);
}
