#pragma once
// Where a print run puts its pages: a paint device with a page layout and a
// resolution that starts a new sheet when asked. A PDF writer is one such
// target; the window's printer is another (app/PrinterRun.h). Also the page
// set-up of a PDF file written without a printer: paper, resolution, creator
// and PDF version.

#include "PageMarks.h"
#include "PaintToCanvas.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QString>

class QPaintDevice;

// The printable width and height in device pixels of a page layout at dpi,
// with that resolution: the page the layout takes its proportions from.
PrinterPage PrinterPageOf(const QPageLayout& layout, int dpi);
// The sheet of a page layout at dpi: its printable page and the unprintable
// margins around it, in those pixels.
MarkedSheet SheetOf(const QPageLayout& layout, int dpi);

// A device a print run draws on, one sheet after the other.
class PrintTarget {
  public:
    virtual ~PrintTarget() = default;
    // The device a painter begins on.
    virtual QPaintDevice& Device() = 0;
    // The printable part of a sheet and the resolution.
    virtual PrinterPage Page() const = 0;
    // The printable page with the margins to the paper's edges (where the
    // marks for reading back may go); without a paper, no margins.
    virtual MarkedSheet Sheet() const {
        const PrinterPage p = Page();
        return {p.width, p.height, p.dpi};
    }
    // Starts the next sheet.
    virtual void NewPage() = 0;
    // A cancelled run tells the target before its painter ends; a printer
    // drops the job.
    virtual void Abort() {}
};

// A paged paint device (a PDF writer, a printer) with its printable page.
class PagedDeviceTarget : public PrintTarget {
  public:
    PagedDeviceTarget(QPagedPaintDevice& device, PrinterPage page) : device(device), page(page) {}
    QPaintDevice& Device() override { return device; }
    PrinterPage Page() const override { return page; }
    MarkedSheet Sheet() const override {
        MarkedSheet sheet = SheetOf(device.pageLayout(), page.dpi);
        sheet.width = page.width;
        sheet.height = page.height;
        return sheet;
    }
    void NewPage() override { device.newPage(); }

  private:
    QPagedPaintDevice& device;
    PrinterPage page;
};

// An A4, A5 or Letter sheet (any other name: A4), upright, printable to the edges.
QPageLayout PaperLayout(const QString& paper);

// What a PDF file is written with: the resolution the pages are drawn at,
// the page layout, and the creator and PDF version the file names.
struct PdfPageSetup {
    int dpi = 600;
    QPageLayout layout = PaperLayout(QStringLiteral("A4"));
    QString creator;
    QPagedPaintDevice::PdfVersion version = QPagedPaintDevice::PdfVersion_1_4;

    PrinterPage Page() const { return PrinterPageOf(layout, dpi); }
};

// A PDF file on that paper at that resolution.
PdfPageSetup PaperPdfSetup(const QString& paper = QStringLiteral("A4"), int dpi = 600);
