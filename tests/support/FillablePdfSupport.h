#pragma once
// Reading a fillable PDF back with qpdf, and the field shapes a print run draws,
// for the fillable PDF tests.

#include "Canvas.h"
#include "FieldsTab.h"
#include "PaintToCanvas.h"
#include "PrinterRun.h"
#include "QPainterCanvas.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <map>
#include <string>
#include <vector>

// A shape the layout drew: page, device-pixel rectangle, and whether an ellipse.
struct DrawnShape {
    int page = 1;
    CanvasRect rect;
    bool ellipse = false;
};

// Passes every call on to a painter canvas and keeps the rectangles and
// ellipses drawn, by page.
class ShapeRecorder : public Canvas {
  public:
    explicit ShapeRecorder(Canvas& inner) : inner(inner) {}
    int page = 1;
    std::vector<DrawnShape> shapes;

    int Dpi() const override { return inner.Dpi(); }
    void SelectFont(const CanvasFont& f) override { inner.SelectFont(f); }
    CanvasFont CurrentFont() const override { return inner.CurrentFont(); }
    void SetTransparentText() override { inner.SetTransparentText(); }
    void SetOpaqueText(ColourValue c) override { inner.SetOpaqueText(c); }
    void TextOut(int x, int y, const QString& t) override { inner.TextOut(x, y, t); }
    int TextWidth(const QString& t) override { return inner.TextWidth(t); }
    int TextHeight(const QString& t) override { return inner.TextHeight(t); }
    void MeasureWrappedText(CanvasRect& r, const QString& t) override {
        inner.MeasureWrappedText(r, t);
    }
    void DrawWrappedText(const CanvasRect& r, const QString& t) override {
        inner.DrawWrappedText(r, t);
    }
    void SetPen(ColourValue c, int w) override { inner.SetPen(c, w); }
    void SetSolidBrush(ColourValue c) override { inner.SetSolidBrush(c); }
    void SetClearBrush() override { inner.SetClearBrush(); }
    void Rectangle(int x1, int y1, int x2, int y2) override {
        shapes.push_back({page, {x1, y1, x2, y2}, false});
        inner.Rectangle(x1, y1, x2, y2);
    }
    void Ellipse(int x1, int y1, int x2, int y2) override {
        shapes.push_back({page, {x1, y1, x2, y2}, true});
        inner.Ellipse(x1, y1, x2, y2);
    }
    void MoveTo(int x, int y) override { inner.MoveTo(x, y); }
    void LineTo(int x, int y) override { inner.LineTo(x, y); }
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override {
        inner.Arc(x1, y1, x2, y2, x3, y3, x4, y4);
    }
    DibDevice& PictureDevice() override { return inner.PictureDevice(); }

  private:
    Canvas& inner;
};

// Every rectangle and ellipse a print run on `printer` draws, by page.
inline std::vector<DrawnShape> ShapesOfPrintRun(QPrinter& printer, const PageInput& pageInput) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setResolution(printer.resolution());
    pdf.setPageLayout(printer.pageLayout());
    PageInput input = pageInput;
    input.printer = PrinterPageOf(printer);
    QPainter painter(&pdf);
    QPainterCanvas canvas(painter, input.printer.dpi, DeviceTechnology::RasterPrinter);
    ShapeRecorder recorder(canvas);
    PaintAllPages(recorder, input, input.printer.dpi, input.printer.width, input.printer.height,
                  [&] {
                      pdf.newPage();
                      ++recorder.page;
                  });
    painter.end();
    return recorder.shapes;
}

// A form field of the PDF as read back: kind, name, value, and its widgets.
struct ReadWidget {
    int page = 0; // from 1
    QPDFObjectHandle::Rectangle rect;
    std::string onState; // the appearance state that is not /Off (buttons)
};
struct ReadField {
    std::string kind; // "text", "check", "radio"
    std::string name;
    std::string value;
    int flags = 0;
    std::vector<ReadWidget> widgets;
};

inline std::vector<ReadField> ReadFormFields(QPDF& pdf) {
    QPDFAcroFormDocumentHelper form(pdf);
    std::map<QPDFObjGen, int> pageOf;
    int n = 0;
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        ++n;
        for (QPDFAnnotationObjectHelper& a : form.getWidgetAnnotationsForPage(page))
            pageOf[a.getObjectHandle().getObjGen()] = n;
    }
    // qpdf lists each button of a radio group as a field of its own: the
    // buttons are gathered under their group.
    std::vector<ReadField> fields;
    std::map<QPDFObjGen, std::size_t> indexOf;
    for (QPDFFormFieldObjectHelper& f : form.getFormFields()) {
        QPDFFormFieldObjectHelper top = f.getTopLevelField();
        const QPDFObjGen key = top.getObjectHandle().getObjGen();
        if (!indexOf.count(key)) {
            ReadField r;
            r.kind = f.isText()          ? "text"
                     : f.isCheckbox()    ? "check"
                     : f.isRadioButton() ? "radio"
                                         : "?";
            r.name = f.getFullyQualifiedName();
            r.value = f.isText() ? f.getValueAsString() : f.getInheritableFieldValueAsName("/V");
            r.flags = f.getFlags();
            indexOf[key] = fields.size();
            fields.push_back(r);
        }
        ReadField& r = fields[indexOf[key]];
        for (QPDFAnnotationObjectHelper& a : form.getAnnotationsForField(f)) {
            ReadWidget w;
            w.page = pageOf[a.getObjectHandle().getObjGen()];
            w.rect = a.getRect();
            QPDFObjectHandle normal = a.getAppearanceDictionary().getKey("/N");
            if (normal.isDictionary())
                for (const std::string& k : normal.getKeys())
                    if (k != "/Off") w.onState = k;
            r.widgets.push_back(w);
        }
    }
    return fields;
}

// Page `page` of a PDF file as poppler rasterises it, by default at 30 dpi
// (null on failure).
inline QImage RasterisedPage(const QString& pdf, int page, int dpi = 30) {
    const QString prefix = pdf + QStringLiteral("-raster");
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                       QString::number(page), QStringLiteral("-l"), QString::number(page),
                       QStringLiteral("-singlefile"), pdf, prefix});
    QImage image(prefix + QStringLiteral(".ppm"));
    QFile::remove(prefix + QStringLiteral(".ppm"));
    return image.convertToFormat(QImage::Format_RGB32);
}
