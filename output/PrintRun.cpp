// The one print loop, and the print run into a PDF writer.
#include "PrintRun.h"

#include "AtomicFile.h"
#include "QPainterCanvas.h"

#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

int PrintPageList(PrintTarget& target, const PageInput& pageInput, const PrintPages& pages,
                  const PrintProgress& progress, bool* cancelled) {
    if (cancelled) *cancelled = false;
    PageInput input = pageInput;
    input.printer = target.Page();
    QPainter painter;
    if (!painter.begin(&target.Device())) return -1;
    const int dpi = input.printer.dpi;
    const int width = input.printer.width, height = input.printer.height;
    const int from = std::max(1, pages.from);
    int sheets = 0;
    bool stopped = false;
    {
        QPainterCanvas canvas(painter, dpi, DeviceTechnology::RasterPrinter);
        if (!progress && from == 1 && pages.to <= 0 && pages.copies <= 1) {
            // The whole document once: one layout pass draws every page in
            // turn, a new sheet starting at each break.
            sheets =
                PaintAllPages(canvas, input, dpi, width, height, [&target] { target.NewPage(); });
        } else {
            for (int copy = 0; copy < std::max(1, pages.copies) && !stopped; ++copy) {
                for (int page = from; pages.to <= 0 || page <= pages.to; ++page) {
                    if (progress && !progress(sheets, page)) {
                        stopped = true;
                        break;
                    }
                    if (sheets > 0) target.NewPage();
                    ++sheets;
                    if (!PaintToCanvas(canvas, input, dpi, width, height, page, 100, true)) break;
                }
            }
        }
    }
    if (stopped) target.Abort();
    // end() finishes the job; a PDF writer writes the rest of its file.
    painter.end();
    if (cancelled) *cancelled = stopped;
    return sheets;
}

int PrintToPdfDevice(const PdfPageSetup& setup, const PageInput& input, const QString& jobTitle,
                     QIODevice& device, const PrintPages& pages, const PrintProgress& progress,
                     bool* cancelled, FileFailure* failure) {
    QPdfWriter pdf(&device);
    pdf.setResolution(setup.dpi);
    pdf.setPageLayout(setup.layout);
    pdf.setTitle(jobTitle);
    pdf.setCreator(setup.creator);
    pdf.setPdfVersion(setup.version);
    PagedDeviceTarget target(pdf, setup.Page());
    const int sheets = PrintPageList(target, input, pages, progress, cancelled);
    if (sheets < 0)
        *failure = {QStringLiteral("The PDF printer could not be started."),
                    QStringLiteral("Der PDF-Drucker konnte nicht gestartet werden.")};
    return sheets;
}

int PrintToPdfFile(const PdfPageSetup& setup, const PageInput& input, const QString& jobTitle,
                   const QString& path, const PrintPages& pages, const PrintProgress& progress,
                   bool* cancelled, FileFailure* failure) {
    FileFailure ignored;
    if (!failure) failure = &ignored;
    bool stopped = false;
    // The PDF goes straight into the checked writer in the target's folder: a
    // failed write anywhere fails the run, and the former file stays whole.
    AtomicFileDevice file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *failure = file.Failure();
        if (cancelled) *cancelled = false;
        return -1;
    }
    const int sheets =
        PrintToPdfDevice(setup, input, jobTitle, file, pages, progress, &stopped, failure);
    if (cancelled) *cancelled = stopped;
    if (sheets < 0) return -1;
    // A cancelled run is never committed: the writer drops its temporary file.
    if (stopped) return sheets;
    if (!file.Commit()) {
        *failure = file.Failure();
        return -1;
    }
    return sheets;
}
