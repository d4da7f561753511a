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
