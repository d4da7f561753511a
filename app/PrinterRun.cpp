// The current printer, its PDF set-up, and the print run on it.
#include "PrinterRun.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

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
    // The sheet of a PDF file written without a printer (PrintTarget.h).
    const QPageLayout layout = PaperLayout(paper);
    printer.setPageSize(layout.pageSize());
    printer.setPageOrientation(layout.orientation());
    printer.setFullPage(true);
    printer.setPageMargins(layout.margins(), layout.units());
}

PrinterPage PrinterPageOf(const QPrinter& printer) {
    return PrinterPageOf(printer.pageLayout(), printer.resolution());
}

PdfPageSetup PdfSetupOf(const QPrinter& printer) {
    PdfPageSetup setup;
    setup.dpi = printer.resolution();
    setup.layout = printer.pageLayout();
    setup.creator = printer.creator();
    setup.version = printer.pdfVersion();
    return setup;
}

bool NeedsPdfFileName(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat || !printer.outputFileName().isEmpty();
}

namespace {
// The printer as print target: a cancelled run drops the job.
class PrinterTarget : public PagedDeviceTarget {
  public:
    explicit PrinterTarget(QPrinter& printer)
        : PagedDeviceTarget(printer, PrinterPageOf(printer)), printer(printer) {}
    void Abort() override { printer.abort(); }

  private:
    QPrinter& printer;
};
} // namespace

int PrintOnPrinter(QPrinter& printer, const PageInput& input, const QString& jobTitle,
                   const PrintPages& pages, const PrintProgress& progress, bool* cancelled) {
    printer.setDocName(jobTitle);
    PrinterTarget target(printer);
    return PrintPageList(target, input, pages, progress, cancelled);
}
