#pragma once
// Print runs: the one loop that puts a list of pages on a print target, and
// the run into a PDF file or device through a PDF writer.

#include "FileFailure.h"
#include "PaintToCanvas.h"
#include "PrintTarget.h"

#include <QString>
#include <functional>

class QIODevice;

// The pages a print run puts on paper, from 1; to 0 runs up to the last page.
// copies > 1 repeats the pages (for a device that cannot make copies itself).
// With marks (the form's identity, FormIdentity), every page also gets the
// corner marks and the page code that the reader of scans finds it by
// (PageMarks.h); empty: none, the pages as they are. With marks and a
// firstSheet, each copy's page codes carry its own sheet number, firstSheet
// for the first copy and one more for each further copy, so that the pages of
// one copy are put together however they come back; 0: no sheet numbers.
struct PrintPages {
    int from = 1;
    int to = 0;
    int copies = 1;
    QString marks;
    int firstSheet = 0;
};
// A first sheet number for a run of copies, drawn at random so that the
// copies of different runs are told apart too.
int NewFirstSheetNumber(int copies);
// Told before each page is drawn (the count of pages done so far and the page
// number); returning false cancels the run.
using PrintProgress = std::function<bool(int done, int page)>;

// Draws the pages chosen on target, at zoom 100 with the target's page and
// resolution, a new sheet only between two pages. Returns the number of
// sheets, or -1 when no painter could begin on the target. A cancelled run
// calls target.Abort() and sets *cancelled. Each page starts where the page
// start index knows it to start, so pages before the range are laid out
// once, not drawn; every page of one copy with nobody to tell is drawn in
// one layout pass.
int PrintPageList(PrintTarget& target, const PageInput& input, const PrintPages& pages = {},
                  const PrintProgress& progress = {}, bool* cancelled = nullptr);

// Prints the pages chosen into device, open for writing, as a PDF with the
// set-up's page layout and resolution and the job title as its title.
// Returns the number of sheets, or -1 with *failure set.
int PrintToPdfDevice(const PdfPageSetup& setup, const PageInput& input, const QString& jobTitle,
                     QIODevice& device, const PrintPages& pages, const PrintProgress& progress,
                     bool* cancelled, FileFailure* failure);
// The same into the PDF file path through the checked atomic writer: a failed
// or cancelled run leaves a former file as it was and no other file behind.
int PrintToPdfFile(const PdfPageSetup& setup, const PageInput& input, const QString& jobTitle,
                   const QString& path, const PrintPages& pages = {},
                   const PrintProgress& progress = {}, bool* cancelled = nullptr,
                   FileFailure* failure = nullptr);
