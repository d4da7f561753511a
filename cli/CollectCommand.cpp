// Reading the collection's options, collecting, writing the CSV file.
#include "CollectCommand.h"

#include "OptionName.h"

#include "AtomicFile.h"
#include "Document.h"
#include "OptionsFile.h"
#include "OrderCollection.h"
#include "OrderWorkbook.h"
#include "PreparedProject.h"
#include "ProgramFiles.h"
#include "ProjectFile.h"
#include "TranslationFile.h"
#include "TranslationTable.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <vector>

const char* const kCollectUsage =
    "  quillora --collect OUT.csv|OUT.xlsx [--separator C] FORM.qlr INPUT...\n"
    "      Collects the filled-in fillable PDFs of the form (files, or folders of\n"
    "      them) into one order table: a CSV file, or a workbook for spreadsheet\n"
    "      programs when OUT ends in .xlsx (numbers as numbers, totals as SUM\n"
    "      formulas, a second sheet with the files not taken). Scans of pages\n"
    "      printed with --marks (PDF files without form fields, PNG, JPEG, TIFF) are\n"
    "      read page by page; boxes neither clearly marked nor clearly empty read\n"
    "      \"?\". Status 3: some inputs or pages were not taken (named on standard\n"
    "      error); the table holds the others.\n"
    "      --separator C     the separator of the cells of a CSV file, one character\n"
    "                        or \"tab\" (default \",\"; German spreadsheets expect \";\")\n";

namespace {

struct CollectOptions {
    QString output, project;
    QStringList inputs;
    QChar separator = QLatin1Char(',');
};

// False with error set for wrong options.
bool ParseCollect(const QStringList& args, CollectOptions& o, QString& error) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption collect(QStringLiteral("collect"), QString(),
                                     QStringLiteral("OUT.csv"));
    const QCommandLineOption separator(QStringLiteral("separator"), QString(), QStringLiteral("C"));
    parser.addOptions({collect, separator});
    if (!parser.parse(QStringList{QStringLiteral("quillora")} + args)) {
        const QStringList unknown = parser.unknownOptionNames();
        error = unknown.isEmpty() ? parser.errorText()
                                  : QStringLiteral("Unknown option \"%1\" for --collect.")
                                        .arg(unknown.first().size() == 1
                                                 ? QLatin1Char('-') + unknown.first()
                                                 : QStringLiteral("--") + unknown.first());
        return false;
    }
    if (parser.values(collect).size() != 1 || parser.values(separator).size() > 1) {
        error = QStringLiteral("Give --collect and --separator once each.");
        return false;
    }
    o.output = parser.value(collect);
    if (parser.isSet(separator)) {
        const QString s = parser.value(separator);
        if (s.compare(QLatin1String("tab"), Qt::CaseInsensitive) == 0 || s == QLatin1String("\\t"))
            o.separator = QLatin1Char('\t');
        else if (s.size() == 1 && s[0] != QLatin1Char('"') && s[0] != QLatin1Char('\r') &&
                 s[0] != QLatin1Char('\n'))
            o.separator = s[0];
        else {
            error = QStringLiteral("--separator takes one character (not a quote or a line "
                                   "break) or \"tab\", not \"%1\".")
                        .arg(s);
            return false;
        }
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() < 2) {
        error = files.isEmpty() ? QStringLiteral("No project file and no input given.")
                                : QStringLiteral("No input given: name filled-in PDF files or "
                                                 "folders after the project file.");
        return false;
    }
    o.project = files.first();
    o.inputs = files.mid(1);
    // Writing the table over the project file or an input would lose it.
    const QFileInfo output(o.output);
    if (output.exists())
        for (const QString& file : files)
            if (QFileInfo(file).exists() &&
                QFileInfo(file).canonicalFilePath() == output.canonicalFilePath()) {
                error = QStringLiteral("The output file \"%1\" is one of the files read.")
                            .arg(o.output);
                return false;
            }
    return true;
}

// The table's own texts in the language the window runs in: the language of
// "options.dat" looked up in "translate.dat" (the user's table, then the
// shipped one); the German text where neither has it. Read only: the command
// line never writes the table.
class ProgramLanguageTexts {
  public:
    explicit ProgramLanguageTexts(const QString& programFolder) : language(LoadOptions(programFolder)) {
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
bool CollectIntoWorkbook(const CollectOptions& o, const OrderForm& form, PaperForm& paper,
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
bool CollectIntoCsv(const CollectOptions& o, const OrderForm& form, PaperForm& paper,
                    const ProgramLanguageTexts& text, OrderCollection& collection,
                    QString& error) {
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

bool IsCollectCommand(const QStringList& arguments) {
    bool collect = false;
    for (const QString& a : arguments) {
        if (IsOption(a, QLatin1String("help")) || IsOption(a, QLatin1String("h")) ||
            IsOption(a, QLatin1String("version")) || IsOption(a, QLatin1String("v")))
            return false;
        if (IsOption(a, QLatin1String("collect"))) collect = true;
    }
    return collect;
}

ExportResult RunCollectCommand(const QStringList& arguments, const QString& programDir) {
    ExportResult result;
    CollectOptions o;
    if (!ParseCollect(arguments, o, result.error)) {
        result.status = 2;
        result.error += QStringLiteral("\nSee quillora --help.");
        return result;
    }
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
    QString programFolder = programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
    if (!programFolder.endsWith(QLatin1Char('/'))) programFolder += QLatin1Char('/');
    // Scans are read against the pages as they were printed: the project
    // prepared for drawing as the print run prepares it.
    Document document;
    document.Reset(std::move(read.document), read.settings);
    PreparedProject prepared(document, ProgramDataDir(programFolder));
    PaperForm paper(form, prepared.Input());
    const ProgramLanguageTexts text(programFolder);
    // The orders are written as they are read: memory does not grow with the
    // number of files.
    OrderCollection collection(form);
    const bool written =
        IsWorkbookName(o.output)
            ? CollectIntoWorkbook(o, form, paper, text, collection, result.error)
            : CollectIntoCsv(o, form, paper, text, collection, result.error);
    if (!written) {
        result.status = 1;
        return result;
    }
    QStringList lines;
    for (const RejectedInput& r : collection.rejected)
        lines << QStringLiteral("%1: %2").arg(r.path, r.rejection.english);
    result.error = lines.join(QLatin1Char('\n'));
    result.status = collection.rejected.empty() ? 0 : 3;
    result.output =
        QStringLiteral("%1 order(s) written to %2").arg(collection.table.RowCount()).arg(o.output);
    return result;
}
