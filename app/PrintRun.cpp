#include "PrintRun.h"

#include "QPainterCanvas.h"

#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

bool HavePrinters() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

std::unique_ptr<QPrinter> MakeCurrentPrinter() {
    if (HavePrinters()) return std::make_unique<QPrinter>(QPrinter::HighResolution);
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    SetUpPdfPrinter(*printer, QString());
    return printer;
}

void SetUpPdfPrinter(QPrinter& printer, const QString& file, const QString& paper, int dpi) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setResolution(dpi);
    QPageSize::PageSizeId id = QPageSize::A4;
    if (paper.compare(QStringLiteral("A5"), Qt::CaseInsensitive) == 0) id = QPageSize::A5;
    else if (paper.compare(QStringLiteral("Letter"), Qt::CaseInsensitive) == 0) id = QPageSize::Letter;
    printer.setPageSize(QPageSize(id));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

PrinterPage PrinterPageOf(const QPrinter& printer) {
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    PrinterPage p;
    p.width = page.width();
    p.height = page.height();
    p.dpi = printer.resolution();
    return p;
}

int PrintAllPages(QPrinter& printer, const PageInput& pageInput, const QString& jobTitle) {
    printer.setDocName(jobTitle);
    PageInput input = pageInput;
    input.printer = PrinterPageOf(printer);
    QPainter painter;
    if (!painter.begin(&printer)) return -1;
    QPainterCanvas canvas(painter, input.printer.dpi, DeviceTechnology::RasterPrinter);
    int pages = 1;
    while (PaintToCanvas(canvas, input, input.printer.dpi, input.printer.width,
                         input.printer.height, pages, 100, true)) {
        printer.newPage();
        ++pages;
    }
    painter.end();
    return pages;
}
