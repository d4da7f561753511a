// Reading the returned files one by one into the order table.
#include "OrderCollection.h"

#include "ReadAhead.h"
#include "ReturnFileTypes.h"
#include "ScanFile.h"
#include "SheetOrders.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

QStringList ExpandOrderInputs(const QStringList& inputs, std::vector<RejectedInput>* rejected) {
    QStringList files;
    for (const QString& input : inputs) {
        const QFileInfo info(input);
        if (info.isDir()) {
            QStringList names =
                QDir(input).entryList(ReturnFilePatterns(),
                                      QDir::Files | QDir::Readable | QDir::Hidden, QDir::NoSort);
            // By name, character by character: the same order everywhere.
            std::sort(names.begin(), names.end());
            if (names.isEmpty())
                rejected->push_back({input,
                                     {QStringLiteral("a folder without PDF files"),
                                      QStringLiteral("Der Ordner enthält keine PDF-Dateien.")}});
            for (const QString& name : names)
                files << QDir(input).filePath(name);
        } else if (info.exists()) {
            files << input;
        } else {
            rejected->push_back({input,
                                 {QStringLiteral("no such file or folder"),
                                  QStringLiteral("Die Datei gibt es nicht.")}});
        }
    }
    return files;
}

namespace {
// A text box kept for typing in is at most this wide: the review stays small in memory.
constexpr int kMostTextScanWidth = 900;

// The undecided boxes of a page, each with the part of image around it, for
// the review of order row.
std::vector<UndecidedMark> UndecidedOf(const ScannedPage& read, const QImage& image, int row) {
    std::vector<UndecidedMark> marks;
    for (const UndecidedBox& box : read.undecided) {
        // A mark with twice its size around it on every side; a text box
        // with a narrow rim, made smaller when it is large.
        const QRectF bounds = box.outline.boundingRect();
        const QRectF around =
            box.text ? bounds.adjusted(-bounds.height() / 4, -bounds.height() / 4,
                                       bounds.height() / 4, bounds.height() / 4)
                     : bounds.adjusted(-2 * bounds.width(), -bounds.height(), 2 * bounds.width(),
                                       bounds.height());
        const QRect part = around.toAlignedRect() & image.rect();
        QImage scan = image.copy(part);
        QPolygonF outline = box.outline.translated(-part.topLeft());
        if (box.text && scan.width() > kMostTextScanWidth) {
            const double scale = double(kMostTextScanWidth) / scan.width();
            scan = scan.scaledToWidth(kMostTextScanWidth, Qt::SmoothTransformation);
            for (QPointF& p : outline)
                p *= scale;
        }
        const auto guess = read.guesses.find(box.column);
        const TextBoxGuess suggested = guess != read.guesses.end() ? guess->second : TextBoxGuess();
        marks.push_back(
            {row, box.column, scan, outline, box.text, suggested.suggestion, suggested.inside});
    }
    return marks;
}

// Reads the pages of a scanned file: pages of numbered copies go to sheets,
// the others into the table, page 1 starting an order.
void ReadScans(const QString& path, const PaperReading& paper, OrderCollection& collection,
               SheetOrders& sheets) {
    ScanFile file(path);
    ReturnRejection why;
    if (!file.Open(&why)) {
        collection.rejected.push_back({path, why});
        return;
    }
    const QString name = QFileInfo(path).fileName();
    const int pages = file.PageCount();
    for (int i = 0; i < pages; ++i) {
        // Pages are named by their place in the file when it has several.
        const QString pageName = pages > 1 ? QStringLiteral("%1 [%2]").arg(name).arg(i + 1) : name;
        const QString pagePath = pages > 1 ? QStringLiteral("%1 [%2]").arg(path).arg(i + 1) : path;
        const QImage image = file.Page(i, &why);
        if (image.isNull()) {
            collection.rejected.push_back({pagePath, why});
            continue;
        }
        ScannedPage read = ReadScannedPage(image, *paper.form);
        if (!read.ok) {
            collection.rejected.push_back({pagePath, read.rejection});
            continue;
        }
        if (std::none_of(read.cells.begin(), read.cells.end(),
                         [](const ReturnedCell& c) { return c.present; }))
            continue;
        if (read.sheetNumber > 0) {
            std::vector<UndecidedMark> marks;
            if (paper.keepUndecided) marks = UndecidedOf(read, image, -1);
            if (sheets.Add(read.sheetNumber, read.page, pageName, read.cells, std::move(marks),
                           &why))
                collection.leftForReview += static_cast<int>(read.undecided.size());
            else
                collection.rejected.push_back({pagePath, why});
            continue;
        }
        // Page 1 starts a returned form.
        if (read.page == 1) collection.table.Finish();
        collection.table.Add(pageName, read.cells);
        collection.leftForReview += static_cast<int>(read.undecided.size());
        if (!paper.keepUndecided) continue;
        const int row = collection.table.RowCount() + (collection.table.HasPending() ? 0 : -1);
        for (UndecidedMark& mark : UndecidedOf(read, image, row))
            collection.undecided.push_back(std::move(mark));
    }
}

} // namespace

CompletenessColumn CompletenessFor(PaperForm& paper,
                                   const std::function<QString(const QString&)>& translate) {
    if (!paper.FieldsOnSeveralPages()) return {};
    return {translate(QStringLiteral("Vollständig")), translate(QStringLiteral("ja")),
            translate(QStringLiteral("nein"))};
}

OrderCollection CollectOrders(const OrderForm& form, const QStringList& inputs,
                              const std::function<bool(int done, int total)>& progress,
                              const OrderTable::RowSink& rowSink, const PaperReading& paper) {
    OrderCollection collection(form);
    collection.table.SetRowSink(rowSink);
    collection.table.ShowCompleteness(paper.completeness);
    SheetOrders sheets;
    // The inputs that name no file come first, then the files that fail.
    std::vector<RejectedInput> expansion;
    const QStringList files = ExpandOrderInputs(inputs, &expansion);
    collection.rejected = expansion;
    const int total = static_cast<int>(files.size());
    // The PDFs are read on every core ahead of this loop, which takes them in input order.
    std::vector<bool> pdfs(files.size());
    for (int i = 0; i < total; ++i)
        pdfs[static_cast<std::size_t>(i)] = !(paper.form && HasScanImageSuffix(files[i]));
    ReturnedPdfReadAhead readAhead(files, form, pdfs);
    for (int i = 0; i < total; ++i) {
        if (progress && !progress(i, total)) {
            collection.cancelled = true;
            break;
        }
        const QString& path = files[i];
        if (!pdfs[static_cast<std::size_t>(i)]) {
            readAhead.Reached(i);
            ReadScans(path, paper, collection, sheets);
            continue;
        }
        const ReturnedRead read = readAhead.Take(i);
        if (!read.ok && read.formless && paper.form) {
            ReadScans(path, paper, collection, sheets);
            continue;
        }
        if (read.ok)
            collection.table.Add(QFileInfo(path).fileName(), read.cells);
        else
            collection.rejected.push_back({path, read.rejection});
    }
    collection.table.Finish();
    sheets.Flush(collection.table, collection.undecided);
    collection.table.SetRowSink({});
    if (progress && !collection.cancelled) progress(total, total);
    return collection;
}
