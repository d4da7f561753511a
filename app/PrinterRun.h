#pragma once
// The window's printer: the current printer, its page as the layout sees it,
// the PDF set-up that prints into a file as it would, and the print run on
// the printer itself (the one print loop of PrintRun.h on a QPrinter).

#include "PaintToCanvas.h"
#include "PrintRun.h"
#include "PrintTarget.h"

#include <QString>
#include <memory>

class QPrinter;

// True when the system has at least one printer installed.
bool HavePrinters();
// A printer for this run: the system's default printer, or, with none installed,
// a PDF printer with an A4 page at 600 pixels per inch and no unprintable margins.
std::unique_ptr<QPrinter> MakeCurrentPrinter();
// Makes printer a PDF printer writing to file, with the given paper and resolution.
void SetUpPdfPrinter(QPrinter& printer, const QString& file,
                     const QString& paper = QStringLiteral("A4"), int dpi = 600);
// Printable width and height in printer pixels and the horizontal resolution.
PrinterPage PrinterPageOf(const QPrinter& printer);
// A PDF file written as the printer would write it: its resolution, page
// layout, creator and PDF version. The printer itself is not changed.
PdfPageSetup PdfSetupOf(const QPrinter& printer);
// True for a printer that prints into a file (a PDF printer, or one the printer
// set-up gave an output file): each print run asks for the file's name.
bool NeedsPdfFileName(const QPrinter& printer);

// Prints the pages chosen on the printer, one sheet per page, under the job
// title. Returns the number of sheets, -1 when the printer could not be
// started; a cancelled run aborts the job and sets *cancelled.
int PrintOnPrinter(QPrinter& printer, const PageInput& input, const QString& jobTitle,
                   const PrintPages& pages = {}, const PrintProgress& progress = {},
                   bool* cancelled = nullptr);
