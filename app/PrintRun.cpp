#include "PrintRun.h"

#include "AtomicFile.h"
#include "QPainterCanvas.h"

#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

bool HavePrinters() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

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
    if (paper.compare(QStringLiteral("A5"), Qt::CaseInsensitive) == 0)
        id = QPageSize::A5;
    else if (paper.compare(QStringLiteral("Letter"), Qt::CaseInsensitive) == 0)
        id = QPageSize::Letter;
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

namespace {
// A PDF writer that writes the pages as the PDF printer would: its resolution,
// page layout, creator and PDF version, with the job title as the title.
void SetUpPdfWriter(QPdfWriter& pdf, const QPrinter& printer, const QString& jobTitle) {
    pdf.setResolution(printer.resolution());
    pdf.setPageLayout(printer.pageLayout());
    pdf.setTitle(jobTitle);
    pdf.setCreator(printer.creator());
    pdf.setPdfVersion(printer.pdfVersion());
}

// Such a writer on a device, the page input for the printer's page, and a
// painter to begin on the writer.
struct PdfRun {
    QPdfWriter pdf;
    PageInput input;
    QPainter painter;

    PdfRun(QIODevice& device, QPrinter& printer, const PageInput& pageInput,
           const QString& jobTitle)
        : pdf(&device), input(pageInput) {
        SetUpPdfWriter(pdf, printer, jobTitle);
        input.printer = PrinterPageOf(printer);
    }
    bool Begin(FileFailure* failure) {
        if (painter.begin(&pdf)) return true;
        *failure = {QStringLiteral("The PDF printer could not be started."),
                    QStringLiteral("Der PDF-Drucker konnte nicht gestartet werden.")};
        return false;
    }
};
} // namespace

int PrintAllPages(QPrinter& printer, const PageInput& pageInput, const QString& jobTitle) {
    printer.setDocName(jobTitle);
    PageInput input = pageInput;
    input.printer = PrinterPageOf(printer);
    QPainter painter;
    if (!painter.begin(&printer)) return -1;
    QPainterCanvas canvas(painter, input.printer.dpi, DeviceTechnology::RasterPrinter);
    // One layout pass draws every page in turn; a new sheet starts at each break.
    const int pages = PaintAllPages(canvas, input, input.printer.dpi, input.printer.width,
                                    input.printer.height, [&printer] { printer.newPage(); });
    painter.end();
    return pages;
}

int PrintAllPagesToPdfDevice(QPrinter& printer, const PageInput& pageInput, const QString& jobTitle,
                             QIODevice& device, FileFailure* failure) {
    PdfRun run(device, printer, pageInput, jobTitle);
    if (!run.Begin(failure)) return -1;
    const PageInput& input = run.input;
    int pages = 0;
    {
        QPainterCanvas canvas(run.painter, input.printer.dpi, DeviceTechnology::RasterPrinter);
        pages = PaintAllPages(canvas, input, input.printer.dpi, input.printer.width,
                              input.printer.height, [&run] { run.pdf.newPage(); });
    }
    // end() writes the rest of the file; a failed write shows in the device.
    run.painter.end();
    return pages;
}

int PrintAllPagesToPdfFile(QPrinter& printer, const PageInput& pageInput, const QString& jobTitle,
                           const QString& path, FileFailure* failure) {
    FileFailure ignored;
    if (!failure) failure = &ignored;
    // The PDF goes straight into the checked writer in the target's folder: a
    // failed write anywhere fails the run, and the former file stays whole.
    AtomicFileDevice file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *failure = file.Failure();
        return -1;
    }
    const int pages = PrintAllPagesToPdfDevice(printer, pageInput, jobTitle, file, failure);
    if (pages < 0) return -1;
    if (!file.Commit()) {
        *failure = file.Failure();
        return -1;
    }
    return pages;
}

namespace {
// Draws the chosen pages on painter's device, newPage() between two sheets.
// Each page starts where the prepared page index knows it to start, so the
// pages before the range are laid out once, not drawn.
int DrawPageRange(QPainter& painter, const PageInput& input, const PrintPages& pages,
                  const std::function<void()>& newPage, const PrintProgress& progress,
                  bool* cancelled) {
    QPainterCanvas canvas(painter, input.printer.dpi, DeviceTechnology::RasterPrinter);
    const int from = std::max(1, pages.from);
    int sheets = 0;
    for (int copy = 0; copy < std::max(1, pages.copies); ++copy) {
        for (int page = from; pages.to <= 0 || page <= pages.to; ++page) {
            if (progress && !progress(sheets, page)) {
                if (cancelled) *cancelled = true;
                return sheets;
            }
            if (sheets > 0) newPage();
            ++sheets;
            if (!PaintToCanvas(canvas, input, input.printer.dpi, input.printer.width,
                               input.printer.height, page, 100, true))
                break;
        }
    }
    return sheets;
}
} // namespace

int PrintPageRange(QPrinter& printer, const PageInput& pageInput, const QString& jobTitle,
                   const PrintPages& pages, const PrintProgress& progress, bool* cancelled) {
    if (cancelled) *cancelled = false;
    printer.setDocName(jobTitle);
    PageInput input = pageInput;
    input.printer = PrinterPageOf(printer);
    QPainter painter;
    if (!painter.begin(&printer)) return -1;
    bool stopped = false;
    const int sheets = DrawPageRange(
        painter, input, pages, [&printer] { printer.newPage(); }, progress, &stopped);
    if (stopped) printer.abort();
    painter.end();
    if (cancelled) *cancelled = stopped;
    return sheets;
}

int PrintPageRangeToPdfFile(QPrinter& printer, const PageInput& pageInput, const QString& jobTitle,
                            const QString& path, const PrintPages& pages,
                            const PrintProgress& progress, bool* cancelled, FileFailure* failure) {
    FileFailure ignored;
    if (!failure) failure = &ignored;
    if (cancelled) *cancelled = false;
    AtomicFileDevice file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *failure = file.Failure();
        return -1;
    }
    PdfRun run(file, printer, pageInput, jobTitle);
    if (!run.Begin(failure)) return -1;
    bool stopped = false;
    const int sheets = DrawPageRange(
        run.painter, run.input, pages, [&run] { run.pdf.newPage(); }, progress, &stopped);
    run.painter.end();
    // A cancelled run is never committed: the writer drops its temporary file.
    if (stopped) {
        if (cancelled) *cancelled = true;
        return sheets;
    }
    if (!file.Commit()) {
        *failure = file.Failure();
        return -1;
    }
    return sheets;
}

bool NeedsPdfFileName(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat || !printer.outputFileName().isEmpty();
}

void DrawPagePart(QImage& image, QPoint origin, const PageInput& input, int dpi, PageSize page,
                  int pageNumber, double zoom) {
    image.fill(Qt::white);
    QPainter painter(&image);
    // The same page, shifted so that the part lands at the image's origin.
    painter.translate(-origin);
    QPainterCanvas canvas(painter, dpi);
    PaintToCanvas(canvas, input, dpi, page.width, page.height, pageNumber, zoom, false);
}

bool PageExists(const PageInput& input, int dpi, double zoom, int pageNumber) {
    if (pageNumber < 1) return false;
    if (pageNumber == 1) return true;
    // Page n exists when the layout goes on beyond page n - 1. Fonts have pixel
    // sizes, so a one-pixel image measures text as the page image does.
    const PageSize page = LayoutPageSize(input.printer, dpi, zoom);
    QImage probe(1, 1, QImage::Format_RGB32);
    QPainter painter(&probe);
    QPainterCanvas canvas(painter, dpi);
    return PaintToCanvas(canvas, input, dpi, page.width, page.height, pageNumber - 1, zoom, false);
}
