// Collecting the returned orders and writing the table.
#include "CollectCommand.h"

#include "AtomicFile.h"
#include "OptionsFile.h"
#include "OrderCollection.h"
#include "OrderWorkbook.h"
#include "PreparedPages.h"
#include "ProgramFiles.h"
#include "ProjectFile.h"
#include "TranslationFile.h"
#include "TranslationTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <vector>

namespace {

// The table's own texts in the language the window runs in: the language of
// "options.dat" looked up in "translate.dat" (the user's table, then the
// shipped one); the German text where neither has it. Read only: the command
// line never writes the table.
class ProgramLanguageTexts {
  public:
    explicit ProgramLanguageTexts(const QString& programFolder)
        : language(LoadOptions(programFolder)) {
        if (language <= 0 || language >= kTranslationColumns) return;
        const QString name = QStringLiteral("translate.dat");
        for (const QString& path :
             {ReadPath(programFolder, name), QDir(ProgramDataDir(programFolder)).filePath(name)}) {
            QFile file(path);
            if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) continue;
            tables.push_back(std::make_unique<TranslationTable>());
            ReadTranslationBytes(file.readAll(), *tables.back());
            tables.back()->BuildIndex();
        }
    }
    QString operator()(const QString& german) const {
        for (const auto& table : tables) {
            const int row = table->FindRow(german);
            const QString cell = row >= 0 ? table->Cell(row, language).trimmed() : QString();
            if (!cell.isEmpty()) return cell;
        }
        return german;
    }

  private:
    std::int32_t language;
    std::vector<std::unique_ptr<TranslationTable>> tables;
};

// The workbook's own texts in the program's language.
WorkbookTexts TextsInProgramLanguage(const ProgramLanguageTexts& text) {
    WorkbookTexts texts;
    for (QString* t : {&texts.ordersSheet, &texts.rejectedSheet, &texts.fileHead, &texts.sumHead,
                       &texts.reasonHead})
        *t = text(*t);
    return texts;
}

bool IsWorkbookName(const QString& path) {
    return path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive);
}

// The orders as a workbook, written as they are read (OrderWorkbook.h); false
// with error set when nothing was written.
bool CollectIntoWorkbook(const CommandOptions& o, const OrderForm& form, PaperForm& paper,
                         const ProgramLanguageTexts& text, OrderCollection& collection,
                         QString& error) {
    const WorkbookTexts texts = TextsInProgramLanguage(text);
    const CompletenessColumn completeness =
        CompletenessFor(paper, [&text](const QString& german) { return text(german); });
    OrderWorkbook book(form, texts, completeness);
    if (!book.Open()) {
        error = book.Failure().english;
        return false;
    }
    collection = CollectOrders(form, o.inputs, {},
                               [&](const QStringList& row) { book.AddOrder(row); },
                               {&paper, false, completeness});
    for (const RejectedInput& r : collection.rejected)
        book.AddRejected(r.path, text(r.rejection.reason));
    if (!book.Save(collection.table.Totals(texts.sumHead), o.output)) {
        error = book.Failure().english;
        return false;
    }
    return true;
}

// The orders as CSV, written as they are read; false with error set when
// nothing was written.
bool CollectIntoCsv(const CommandOptions& o, const OrderForm& form, PaperForm& paper,
                    const ProgramLanguageTexts& text, OrderCollection& collection, QString& error) {
    // Nothing replaces the target unless the whole table is written.
    AtomicFileWriter file(o.output);
    auto write = [&](const QStringList& cells) {
        const QByteArray line = CsvLine(cells, o.separator);
        file.Write(line.constData(), line.size());
    };
    if (!file.Open()) {
        error = file.Failure().english;
        return false;
    }
    OrderTable heads(form);
    heads.ShowCompleteness(
        CompletenessFor(paper, [&text](const QString& german) { return text(german); }));
    write(heads.Heads(text(QStringLiteral("Datei"))));
    collection =
        CollectOrders(form, o.inputs, {}, write, {&paper, false, heads.Completeness()});
    write(collection.table.Totals(text(QStringLiteral("Summe"))));
    if (!file.Commit()) {
        error = file.Failure().english;
        return false;
    }
    return true;
}

} // namespace

ExportResult RunCollectCommand(const CommandOptions& o, const QString& programDir) {
    ExportResult result;
    ProjectReadResult read = ReadProjectFileFromPath(o.project, LayoutSettings());
    if (read.status == ProjectReadStatus::CannotOpen) {
        result.status = 1;
        result.error = QStringLiteral("Cannot open the project file \"%1\".").arg(o.project);
        return result;
    }
    if (!read.ok() || !read.document) {
        result.status = 1;
        result.error =
            QStringLiteral("The project file \"%1\" is damaged: %2").arg(o.project, read.error);
        return result;
    }
    const OrderForm form = MakeOrderForm(*read.document, read.settings);
    QString programFolder =
        programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
    if (!programFolder.endsWith(QLatin1Char('/'))) programFolder += QLatin1Char('/');
    // Scans are read against the pages as they were printed: the project
    // laid out as the print run lays it out (no picture is read for that).
    PreparedPages prepared(*read.document, read.settings, ProgramDataDir(programFolder));
    PaperForm paper(form, prepared.LayoutInput());
    const ProgramLanguageTexts text(programFolder);
    // The orders are written as they are read: memory does not grow with the
    // number of files.
    OrderCollection collection(form);
    const bool written = IsWorkbookName(o.output)
                             ? CollectIntoWorkbook(o, form, paper, text, collection, result.error)
                             : CollectIntoCsv(o, form, paper, text, collection, result.error);
    if (!written) {
        result.status = 1;
        return result;
    }
    QStringList lines;
    for (const RejectedInput& r : collection.rejected)
        lines << QStringLiteral("%1: %2").arg(r.path, r.rejection.english);
    if (collection.leftForReview > 0)
        lines << QStringLiteral("%1 box(es) of scanned pages left for review (\"?\", or a text "
                                "box left empty)").arg(collection.leftForReview);
    result.error = lines.join(QLatin1Char('\n'));
    result.status = collection.rejected.empty() ? 0 : 3;
    result.output =
        QStringLiteral("%1 order(s) written to %2").arg(collection.table.RowCount()).arg(o.output);
    return result;
}
