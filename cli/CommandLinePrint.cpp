// The print command of the command line: its options and its run.
#include "CommandLinePrint.h"

#include "OptionName.h"

#include "CupsQueue.h"
#include "MessageTable.h"
#include "ProjectExport.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace {

constexpr int kMaxCopies = 999;
} // namespace

bool IsPrintCommand(const QStringList& arguments) {
    bool print = false;
    for (const QString& a : arguments) {
        if (a == QLatin1String("--")) break;
        for (const char* wins : {"help", "h", "version", "v"})
            if (IsOption(a, QLatin1String(wins))) return false;
        print = print || IsOption(a, QLatin1String("print"));
    }
    return print;
}

QString PrintCommandUsage() {
    return QStringLiteral(
               "  quillora --print [--printer NAME] [--copies N] FILE.qlr [--marks]\n"
               "      Prints all pages of the project through CUPS, as \"Drucken\" does,\n"
               "      on the queue's paper, without a window.\n"
               "      --printer NAME    the print queue (default: the default queue)\n"
               "      --copies N        copies, 1 to %1 (default 1), each a whole set\n"
               "      --marks           corner marks and a page code on every page (--collect\n"
               "                        reads the scans of the filled-in sheets)\n"
               "      Status 0 once the queue took the job; 1 when there is no such queue.\n")
        .arg(kMaxCopies);
}

PrintCommandParse ParsePrintArguments(const QStringList& args) {
    PrintCommandParse result;
    PrintCommandOptions& o = result.options;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption print(QStringLiteral("print"));
    const QCommandLineOption printer(QStringLiteral("printer"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption copies(QStringLiteral("copies"), QString(), QStringLiteral("N"));
    const QCommandLineOption marks(QStringLiteral("marks"));
    parser.addOptions({print, printer, copies, marks});
    if (!parser.parse(QStringList{QStringLiteral("quillora")} + args)) {
        const QStringList unknown = parser.unknownOptionNames();
        result.error =
            unknown.isEmpty()
                ? parser.errorText()
                : QStringLiteral("Unknown option \"%1%2\" with --print.")
                      .arg(unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--"),
                           unknown.first());
        return result;
    }
    if (parser.values(printer).size() > 1 || parser.values(copies).size() > 1) {
        result.error = QStringLiteral("Give --printer and --copies once each.");
        return result;
    }
    if (parser.isSet(printer)) {
        o.printer = parser.value(printer);
        if (o.printer.trimmed().isEmpty()) {
            result.error = QStringLiteral("--printer needs the name of a print queue.");
            return result;
        }
    }
    if (parser.isSet(copies)) {
        bool number = false;
        const QString text = parser.value(copies);
        o.copies = text.toInt(&number);
        if (!number || o.copies < 1 || o.copies > kMaxCopies) {
            result.error = QStringLiteral("--copies takes a whole number from 1 to %1, not \"%2\".")
                               .arg(kMaxCopies)
                               .arg(text);
            return result;
        }
    }
    o.marks = parser.isSet(marks);
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        result.error = files.isEmpty() ? QStringLiteral("No project file given.")
                                       : QStringLiteral("Give exactly one project file.");
        return result;
    }
    o.project = files.first();
    result.ok = true;
    return result;
}

ExportResult RunPrintCommand(const QStringList& arguments, const QString& programDir) {
    ExportResult result;
    const PrintCommandParse parse = ParsePrintArguments(arguments);
    if (!parse.ok) {
        result.status = 2;
        result.error = parse.error + QStringLiteral("\nSee quillora --help.");
        return result;
    }
    const PrintCommandOptions& o = parse.options;
    result.status = 1;
    const CupsQueue queue = FindCupsQueue(o.printer);
    if (!queue.found) {
        result.error = o.printer.isEmpty()
                           ? QStringLiteral("There is no default print queue; name one with "
                                            "--printer.")
                           : QStringLiteral("There is no print queue \"%1\".").arg(o.printer);
        return result;
    }
    QByteArray pdf;
    int pages = 0;
    // Copies printed for reading back each carry their own sheet number, so
    // they are made here and sent as one copy.
    const int madeHere = o.marks ? o.copies : 1;
    if (!PrintProjectToPdfData(o.project, pdf, queue.paper, 600, programDir, &result.error, &pages,
                               o.marks, madeHere))
        return result;
    pages /= madeHere;
    const CupsJob job = SendPdfToCups(queue.name, pdf, MessageTable(20), o.copies / madeHere);
    if (job.id == 0) {
        result.error = job.error;
        return result;
    }
    result.status = 0;
    result.output = QStringLiteral("%1 page(s), %2 copy(ies), sent to the queue %3 as job %4")
                        .arg(pages)
                        .arg(o.copies)
                        .arg(queue.name)
                        .arg(job.id);
    return result;
}
