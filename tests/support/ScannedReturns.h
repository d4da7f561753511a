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
#include <QLinearGradient>
#include <QTransform>
#include <cmath>
#include <map>
#include <random>

// A form printed with marks: the PDF and where each field landed (600 dpi A4).
struct MarkedPrint {
    QByteArray pdf;
    FieldMap fields;
    int pages = 0;
};

// With firstSheet, copies copies numbered from it (the fields then hold every copy's).
inline MarkedPrint PrintWithMarks(const FormDocument& doc, const LayoutSettings& settings,
                                  int firstSheet = 0, int copies = 1) {
    MarkedPrint print;
    PageInput input{doc, settings};
    input.fields = &print.fields;
    PrintPages pages;
    pages.marks = FormIdentity(doc, settings);
    pages.firstSheet = firstSheet;
    pages.copies = copies;
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

// What a hand leaves in a box: the usual marks, and the habits that trouble
// a reader (a light pencil tick, a hair-thin light-blue tick, a circled box,
// a stroke that runs through the box from far outside).
enum class PenMark { None, Tick, Cross, Fill, Scribble, Smudge, Pencil, ThinLightBlue, Circled,
                     StrayStroke, FillToTheEdge };

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
    case PenMark::FillToTheEdge: // filled up to the outline, which it joins
        p.setBrush(QColor(20, 20, 150));
        p.drawRect(QRectF(at(0.04, 0.04), at(0.96, 0.96)));
        break;
    case PenMark::Pencil:
        p.setPen(QPen(QColor(150, 150, 150), std::max(1.0, 0.35 / 25.4 * dpi), Qt::SolidLine,
                      Qt::RoundCap));
        p.drawPolyline(QPolygonF{at(0.2, 0.55), at(0.42, 0.8), at(0.85, 0.15)});
        break;
    case PenMark::ThinLightBlue:
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(QColor(90, 150, 235), 1.0));
        p.drawPolyline(QPolygonF{at(0.2, 0.55), at(0.42, 0.8), at(0.85, 0.15)});
        break;
    case PenMark::Circled:
        p.drawEllipse(r.center(), r.width() * 0.95, r.height() * 0.85);
        break;
    case PenMark::StrayStroke:
        p.drawLine(at(-2.0, 0.2), at(3.0, 0.75));
        break;
    case PenMark::None:
        break;
    }
}

// The page as a phone sees it: its plane turned by degrees about an axis
// across it, seen through a pinhole from above its middle, on a dark table,
// with the light falling off from full to `light` across the picture.
inline QImage Photograph(const QImage& page, double degrees, double light = 1.0) {
    const double w = page.width(), h = page.height(), f = 1.1 * std::max(w, h);
    const double t = degrees * M_PI / 180, ax = std::cos(M_PI / 6), ay = std::sin(M_PI / 6);
    QPolygonF seen;
    for (const QPointF corner : {QPointF(0, 0), QPointF(w, 0), QPointF(w, h), QPointF(0, h)}) {
        const double x = corner.x() - w / 2, y = corner.y() - h / 2;
        // Rodrigues' turn about the axis (ax, ay, 0).
        const double d = ax * x + ay * y, c = std::cos(t), s = std::sin(t);
        const double px = x * c + ax * d * (1 - c), py = y * c + ay * d * (1 - c);
        const double pz = (ax * y - ay * x) * s;
        seen << QPointF(f * px / (pz + f), f * py / (pz + f));
    }
    const QRectF bounds = seen.boundingRect();
    const double k = std::min(w * 0.9 / bounds.width(), h * 0.9 / bounds.height());
    for (QPointF& p : seen)
        p = QPointF((p.x() - bounds.center().x()) * k + w / 2, (p.y() - bounds.center().y()) * k + h / 2);
    QTransform camera;
    QTransform::quadToQuad(QPolygonF{QPointF(0, 0), QPointF(w, 0), QPointF(w, h), QPointF(0, h)},
                           seen, camera);
    QImage out(page.size(), QImage::Format_RGB32);
    out.fill(QColor(70, 62, 55));
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setTransform(camera);
    p.drawImage(0, 0, page);
    p.resetTransform();
    if (light < 1.0) {
        QLinearGradient fall(0, 0, w, 0);
        fall.setColorAt(0, QColor(255, 255, 255));
        const int v = static_cast<int>(255 * light);
        fall.setColorAt(1, QColor(v, v, v));
        p.setCompositionMode(QPainter::CompositionMode_Multiply);
        p.fillRect(out.rect(), fall);
    }
    return out;
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
    QColor beyond = Qt::white; // what shows beyond the paper: a scanner's lid, a table
};

inline QImage Distort(const QImage& page, const Distortion& d, unsigned seed = 7) {
    QImage out(page.size(), QImage::Format_RGB32);
    out.fill(d.beyond);
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
