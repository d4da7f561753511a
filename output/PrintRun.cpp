// The one print loop, and the print run into a PDF writer.
#include "PrintRun.h"

#include "AtomicFile.h"
#include "FieldMap.h"
#include "QPainterCanvas.h"

#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <algorithm>

namespace {

// Passes every field drawn on to the caller's observer and to the map of the
// page being drawn.
class FieldsToBoth : public FieldObserver {
  public:
    FieldsToBoth(FieldObserver* first, FieldObserver& second) : first(first), second(second) {}
    void FieldDrawn(const DrawnField& field) override {
        if (first) first->FieldDrawn(field);
        second.FieldDrawn(field);
    }

  private:
    FieldObserver* first;
    FieldObserver& second;
};

} // namespace

int NewFirstSheetNumber(int copies) {
    const int highest = kMostSheetNumber - std::clamp(copies, 1, kMostSheetNumber / 2);
    return static_cast<int>(QRandomGenerator::global()->bounded(1, highest + 1));
}

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
    // Pages printed for reading back: the marks go on each page once its
    // fields are drawn, clear of them, in the same pass.
    FieldMap pageFields;
    FieldsToBoth bothObservers(input.fields, pageFields);
    const bool marked = !pages.marks.isEmpty();
    if (marked) input.fields = &bothObservers;
    const MarkedSheet sheet = target.Sheet();
    {
        QPainterCanvas canvas(painter, dpi, DeviceTechnology::RasterPrinter);
        auto drawMarks = [&](int page, int copy) {
            if (!marked) return;
            const int sheetNumber = pages.firstSheet > 0 ? pages.firstSheet + copy : 0;
            std::vector<CanvasRect> boxes;
            for (const DrawnField* field : pageFields.OnPage(page))
                boxes.push_back(field->box);
            pageFields.Clear();
            DrawPageMarks(canvas, PlacePageMarks(sheet, boxes),
                          PageCodeText({pages.marks, page, sheet, sheetNumber}));
        };
        if (!progress && from == 1 && pages.to <= 0 && pages.copies <= 1) {
            // The whole document once: one layout pass draws every page in
            // turn, a new sheet starting at each break.
            int page = 1;
            sheets = PaintAllPages(canvas, input, dpi, width, height, [&] {
                drawMarks(page++, 0);
                target.NewPage();
            });
            drawMarks(page, 0);
        } else {
            for (int copy = 0; copy < std::max(1, pages.copies) && !stopped; ++copy) {
                for (int page = from; pages.to <= 0 || page <= pages.to; ++page) {
                    if (progress && !progress(sheets, page)) {
                        stopped = true;
                        break;
                    }
                    if (sheets > 0) target.NewPage();
                    ++sheets;
                    const bool more =
                        PaintToCanvas(canvas, input, dpi, width, height, page, 100, true);
                    drawMarks(page, copy);
                    if (!more) break;
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
