#pragma once
// Scanned paper returns for the tests, made the way paper comes back: the
// form printed with marks into a PDF, the page rasterised as a scanner sees
// it, pen marks drawn into its boxes, then skewed, scaled, shifted, turned,
// speckled, JPEG-compressed or reduced to grey or black and white.

#include "FieldMap.h"
#include "OrderForm.h"
#include "PrintRun.h"

#include <poppler/qt6/poppler-qt6.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTransform>
#include <map>
#include <random>

// A form printed with marks: the PDF and where each field landed (600 dpi A4).
struct MarkedPrint {
    QByteArray pdf;
    FieldMap fields;
    int pages = 0;
};

inline MarkedPrint PrintWithMarks(const FormDocument& doc, const LayoutSettings& settings) {
    MarkedPrint print;
    PageInput input{doc, settings};
    input.fields = &print.fields;
    PrintPages pages;
    pages.marks = FormIdentity(doc, settings);
    QBuffer buffer(&print.pdf);
    buffer.open(QIODevice::WriteOnly);
    FileFailure failure;
    print.pages = PrintToPdfDevice(PaperPdfSetup(), input, QStringLiteral("Form"), buffer, pages,
                                   {}, nullptr, &failure);
    return print;
}

// Page (from 1) of a PDF as an RGB image at dpi.
inline QImage RasterisePage(const QByteArray& pdf, int page, int dpi) {
    const std::unique_ptr<Poppler::Document> doc = Poppler::Document::loadFromData(pdf);
    if (!doc || page < 1 || page > doc->numPages()) return {};
    doc->setRenderHint(Poppler::Document::Antialiasing);
    return doc->page(page - 1)->renderToImage(dpi, dpi).convertToFormat(QImage::Format_RGB32);
}

// What a hand leaves in a box.
enum class PenMark { None, Tick, Cross, Fill, Scribble, Smudge };

// Draws mark into box (600-dpi pixels of the print) on a page rasterised at dpi.
inline void DrawPenMark(QImage& page, const CanvasRect& box, int dpi, PenMark mark) {
    if (mark == PenMark::None) return;
    const double k = dpi / 600.0;
    const QRectF r(box.left * k, box.top * k, (box.right - box.left) * k,
                   (box.bottom - box.top) * k);
    QPainter p(&page);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(20, 20, 150), std::max(2.0, 0.5 / 25.4 * dpi)); // a ball pen, 0.5 mm
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    auto at = [&](double u, double v) { return QPointF(r.left() + u * r.width(), r.top() + v * r.height()); };
    switch (mark) {
    case PenMark::Tick:
        p.drawPolyline(QPolygonF{at(0.2, 0.55), at(0.42, 0.8), at(0.85, 0.15)});
        break;
    case PenMark::Cross:
        p.drawLine(at(0.2, 0.2), at(0.8, 0.8));
        p.drawLine(at(0.8, 0.2), at(0.2, 0.8));
        break;
    case PenMark::Fill:
        p.setBrush(QColor(20, 20, 150));
        p.drawRect(QRectF(at(0.2, 0.2), at(0.8, 0.8)));
        break;
    case PenMark::Scribble:
        p.drawPolyline(QPolygonF{at(0.25, 0.3), at(0.75, 0.35), at(0.3, 0.5), at(0.7, 0.55),
                                 at(0.3, 0.7), at(0.72, 0.72)});
        break;
    case PenMark::Smudge:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(215, 215, 215));
        p.drawEllipse(QRectF(at(0.25, 0.25), at(0.75, 0.75)));
        break;
    case PenMark::None:
        break;
    }
}

// How the scanner and the paper changed the page.
struct Distortion {
    const char* name;
    double degrees = 0;   // skew (180 more: upside down)
    double scale = 1;     // the scanner's scale
    QPointF shift;        // pixels
    int jpegQuality = 0;  // 0: no JPEG
    int speckles = 0;     // dark dots
    enum class Colours { Colour, Grey, BlackWhite } colours = Colours::Colour;
};

inline QImage Distort(const QImage& page, const Distortion& d, unsigned seed = 7) {
    QImage out(page.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    {
        QPainter p(&out);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const QPointF centre(page.width() / 2.0, page.height() / 2.0);
        QTransform t;
        t.translate(centre.x() + d.shift.x(), centre.y() + d.shift.y());
        t.rotate(d.degrees);
        t.scale(d.scale, d.scale);
        t.translate(-centre.x(), -centre.y());
        p.setTransform(t);
        p.drawImage(0, 0, page);
        p.resetTransform();
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> x(0, page.width() - 1), y(0, page.height() - 1),
            size(1, 3);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        for (int i = 0; i < d.speckles; ++i) {
            const int s = size(random);
            p.drawRect(x(random), y(random), s, s);
        }
    }
    if (d.jpegQuality > 0) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        out.save(&buffer, "JPG", d.jpegQuality);
        out = QImage::fromData(bytes, "JPG");
    }
    if (d.colours == Distortion::Colours::Grey)
        out = out.convertToFormat(QImage::Format_Grayscale8);
    else if (d.colours == Distortion::Colours::BlackWhite)
        out = out.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    return out;
}
