#pragma once
// Printing: the current printer's page as the layout sees it, and the print run
// that puts every page of the document on it.

#include "PaintToCanvas.h"

#include <QString>
#include <memory>

class QPrinter;

// True when the system has at least one printer installed.
bool HavePrinters();
// A printer for this run: the system's default printer, or, with none installed,
// a PDF printer with an A4 page at 600 pixels per inch and no unprintable margins.
std::unique_ptr<QPrinter> MakeCurrentPrinter();
// Makes printer a PDF printer writing to file, with the given paper and resolution.
void SetUpPdfPrinter(QPrinter& printer, const QString& file, const QString& paper = QStringLiteral("A4"),
                     int dpi = 600);
// Printable width and height in printer pixels and the horizontal resolution.
PrinterPage PrinterPageOf(const QPrinter& printer);

// Prints every page at zoom 100, a new sheet only between pages. Returns the
// number of pages printed, or -1 when the printer could not be started.
int PrintAllPages(QPrinter& printer, const PageInput& input, const QString& jobTitle);
