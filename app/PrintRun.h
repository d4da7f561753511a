#pragma once
// Printing: the current printer's page as the layout sees it, and the print run
// that puts every page of the document on it.

#include "FileFailure.h"
#include "PaintToCanvas.h"

#include <QPoint>
#include <QString>
#include <functional>
#include <memory>

class QImage;
class QIODevice;
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

// Draws the part of the on-screen page (W x H pixels at dpi and zoom) whose
// top-left corner is origin into image, which holds that part. The pixels are
// the same as those of the whole page drawn at once at that place.
void DrawPagePart(QImage& image, QPoint origin, const PageInput& input, int dpi, PageSize page,
                  int pageNumber, double zoom);
// True when the document has a page pageNumber (from 1) at that dpi and zoom.
bool PageExists(const PageInput& input, int dpi, double zoom, int pageNumber);

// Prints every page at zoom 100, a new sheet only between pages. Returns the
// number of pages printed, or -1 when the printer could not be started.
int PrintAllPages(QPrinter& printer, const PageInput& input, const QString& jobTitle);
// Prints every page, with the printer's page layout and resolution, into the
// PDF file path through the checked atomic writer: a failed run leaves a former
// file as it was and no other file behind. The printer itself is not changed.
// Returns the number of pages printed, or -1 with *failure set.
int PrintAllPagesToPdfFile(QPrinter& printer, const PageInput& input, const QString& jobTitle,
                           const QString& path, FileFailure* failure = nullptr);
// Prints every page as PrintAllPagesToPdfFile does into device, which is open
// for writing. Returns the number of pages, or -1 with *failure set.
int PrintAllPagesToPdfDevice(QPrinter& printer, const PageInput& input, const QString& jobTitle,
                             QIODevice& device, FileFailure* failure);
// The pages a print run puts on paper, from 1; to 0 runs up to the last page.
// copies > 1 repeats the pages (for a device that cannot make copies itself).
struct PrintPages {
    int from = 1;
    int to = 0;
    int copies = 1;
};
// Told before each page is drawn (the count of pages done so far and the page
// number); returning false cancels the run.
using PrintProgress = std::function<bool(int done, int page)>;

// Prints the pages chosen, one sheet per page. Returns the number of sheets,
// -1 when the printer could not be started; a cancelled run aborts the job
// and sets *cancelled.
int PrintPageRange(QPrinter& printer, const PageInput& input, const QString& jobTitle,
                   const PrintPages& pages, const PrintProgress& progress,
                   bool* cancelled = nullptr);
// The same into the PDF file path through the checked atomic writer; a
// cancelled or failed run leaves nothing behind and a former file as it was.
int PrintPageRangeToPdfFile(QPrinter& printer, const PageInput& input, const QString& jobTitle,
                            const QString& path, const PrintPages& pages,
                            const PrintProgress& progress, bool* cancelled,
                            FileFailure* failure = nullptr);

// True for a printer that prints into a file (a PDF printer, or one the printer
// set-up gave an output file): each print run asks for the file's name.
bool NeedsPdfFileName(const QPrinter& printer);
