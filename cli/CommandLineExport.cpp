// The table of the command line's commands and its program entry.
#include "CommandLineExport.h"

#include "CollectCommand.h"
#include "CommandLinePrint.h"
#include "ProjectExport.h"

#include <QGuiApplication>
#include <cstdio>

namespace {

void Print(std::FILE* stream, const QString& text) {
    if (text.isEmpty()) return;
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    if (!text.endsWith(QLatin1Char('\n'))) std::fputc('\n', stream);
    std::fflush(stream);
}

// An export's run: status 1 and its error when the file could not be made.
ExportResult Exported(bool made, ExportResult result) {
    if (!made) result.status = 1;
    return result;
}

ExportResult RunFillablePdfExport(const CommandOptions& o, const QString& programDir) {
    ExportResult result;
    int pages = 0;
    if (!ExportProjectFillablePdf(o.project, o.output, o.paper, programDir, &result.error, &pages))
        return Exported(false, result);
    result.output =
        QStringLiteral("%1 page(s) with form fields written to %2").arg(pages).arg(o.output);
    return result;
}

ExportResult RunPrintPdf(const CommandOptions& o, const QString& programDir) {
    ExportResult result;
    int pages = 0;
    if (!PrintProjectToPdf(o.project, o.output, o.paper, o.printerDpi, programDir, &result.error,
                           &pages, o.marks))
        return Exported(false, result);
    result.output = QStringLiteral("%1 page(s) printed into %2").arg(pages).arg(o.output);
    return result;
}

ExportResult RunRenderPng(const CommandOptions& o, const QString& programDir) {
    ExportResult result;
    const bool made =
        RenderProjectPage(o.project, o.output, o.page, o.zoom, o.dpi, programDir, &result.error);
    return Exported(made, result);
}

using Mode = CommandOptions::Mode;

const CommandLineCommand kCommands[] = {
    {Mode::PrintPdf, "print-pdf", "OUT.pdf", "printer-dpi paper marks", "", false,
     "  quillora --print-pdf OUT.pdf FILE.qlr [--printer-dpi N] [--paper A4|A5|Letter]\n"
     "                      [--marks]\n"
     "      Prints all pages of the project into a PDF file, as \"Drucken\" does.\n"
     "      --printer-dpi N   printer resolution, 72 to 2400 (default 600)\n"
     "      --paper NAME      A4, A5 or Letter (default A4)\n"
     "      --marks           corner marks and a page code on every page, so that\n"
     "                        scans of the filled-in sheets can be read (--collect)\n",
     RunPrintPdf},
    {Mode::RenderPng, "render-png", "OUT.png", "page zoom dpi", "page", false,
     "  quillora --render-png OUT.png --page N [--zoom Z] [--dpi D] FILE.qlr\n"
     "      Draws page N as the preview shows it, on an A4 page at 600 dpi.\n"
     "      --page N          the page, from 1\n"
     "      --zoom Z          zoom in percent, 1 to 1000 (default 100)\n"
     "      --dpi D           screen resolution, 24 to 2400 (default 96)\n",
     RunRenderPng},
    {Mode::FillablePdf, "fillable-pdf", "OUT.pdf", "paper", "", false,
     "  quillora --fillable-pdf OUT.pdf [--paper A4|A5|Letter] FILE.qlr\n"
     "      Writes the printed pages with form fields that can be filled in on screen.\n"
     "      --paper NAME      A4, A5 or Letter (default A4)\n",
     RunFillablePdfExport},
    {Mode::Print, "print", nullptr, "printer copies marks", "", false,
     "  quillora --print [--printer NAME] [--copies N] FILE.qlr [--marks]\n"
     "      Prints all pages of the project through CUPS, as \"Drucken\" does,\n"
     "      on the queue's paper, without a window.\n"
     "      --printer NAME    the print queue (default: the default queue)\n"
     "      --copies N        copies, 1 to 999 (default 1), each a whole set\n"
     "      --marks           corner marks and a page code on every page (--collect\n"
     "                        reads the scans of the filled-in sheets); each copy\n"
     "                        carries its own sheet number, so that its pages are\n"
     "                        put together whatever their order\n"
     "      Status 0 once the queue took the job; 1 when there is no such queue.\n",
     RunPrintCommand},
    {Mode::Collect, "collect", "OUT.csv", "separator", "", true,
     "  quillora --collect OUT.csv|OUT.xlsx [--separator C] FORM.qlr INPUT...\n"
     "      Collects the filled-in fillable PDFs of the form (files, or folders of\n"
     "      them) into one order table: a CSV file, or a workbook for spreadsheet\n"
     "      programs when OUT ends in .xlsx (numbers as numbers, totals as SUM\n"
     "      formulas, a second sheet with the files not taken). Scans of pages\n"
     "      printed with --marks (PDF files without form fields, PNG, JPEG, TIFF,\n"
     "      HEIC) are read page by page; boxes neither clearly marked nor clearly\n"
     "      empty read \"?\"; numbers written by hand in text boxes are read when\n"
     "      every digit is sure, other writing is left empty, and standard error\n"
     "      says how many boxes are left for review. An order whose copy did not\n"
     "      come back whole is marked incomplete. Status 3: some inputs or pages\n"
     "      were not taken (named on standard error); the table holds the others.\n"
     "      --separator C     the separator of the cells of a CSV file, one character\n"
     "                        or \"tab\" (default \",\"; German spreadsheets expect \";\")\n",
     RunCollectCommand},
};

} // namespace

std::span<const CommandLineCommand> CommandLineCommands() {
    return kCommands;
}

ExportResult RunCommandLineExport(const QStringList& arguments, const QString& programDir) {
    ExportResult result;
    const CommandLineParse parse = ParseCommandLine(arguments);
    if (!parse.ok) {
        result.status = 2;
        result.error = parse.error + QStringLiteral("\nSee quillora --help.");
        return result;
    }
    const CommandOptions& o = parse.options;
    if (o.mode == Mode::Help) {
        result.output = ExportUsage();
        return result;
    }
    if (o.mode == Mode::Version) {
        result.output = QString::fromLatin1(kProgramNameAndVersion);
        return result;
    }
    for (const CommandLineCommand& command : kCommands)
        if (command.mode == o.mode) return command.run(o, programDir);
    return result;
}

int RunExportProgram(int argc, char** argv) {
    // No display is needed: the pages are drawn into images and PDF files.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Quillora"));
    QStringList arguments = QGuiApplication::arguments();
    arguments.removeFirst();
    const ExportResult result = RunCommandLineExport(arguments);
    Print(stdout, result.output);
    Print(stderr, result.error);
    return result.status;
}
