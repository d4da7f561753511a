// The table of exports and the program entry of the command line.
#include "CommandLineExport.h"

#include "CommandLinePrint.h"
#include "CollectCommand.h"
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

bool RunFillablePdfExport(const ExportOptions& o, const QString& programDir, ExportResult& result) {
    int pages = 0;
    if (!ExportProjectFillablePdf(o.project, o.output, o.paper, programDir, &result.error, &pages))
        return false;
    result.output =
        QStringLiteral("%1 page(s) with form fields written to %2").arg(pages).arg(o.output);
    return true;
}

bool RunPrintPdf(const ExportOptions& o, const QString& programDir, ExportResult& result) {
    int pages = 0;
    if (!PrintProjectToPdf(o.project, o.output, o.paper, o.printerDpi, programDir, &result.error,
                           &pages, o.marks))
        return false;
    result.output = QStringLiteral("%1 page(s) printed into %2").arg(pages).arg(o.output);
    return true;
}

bool RunRenderPng(const ExportOptions& o, const QString& programDir, ExportResult& result) {
    return RenderProjectPage(o.project, o.output, o.page, o.zoom, o.dpi, programDir, &result.error);
}

const ExportCommand kExportCommands[] = {
    {ExportOptions::Mode::PrintPdf, "print-pdf", "OUT.pdf",
     "  quillora --print-pdf OUT.pdf FILE.qlr [--printer-dpi N] [--paper A4|A5|Letter]\n"
     "                      [--marks]\n"
     "      Prints all pages of the project into a PDF file, as \"Drucken\" does.\n"
     "      --printer-dpi N   printer resolution, 72 to 2400 (default 600)\n"
     "      --paper NAME      A4, A5 or Letter (default A4)\n"
     "      --marks           corner marks and a page code on every page, so that\n"
     "                        scans of the filled-in sheets can be read (--collect)\n",
     RunPrintPdf},
    {ExportOptions::Mode::RenderPng, "render-png", "OUT.png",
     "  quillora --render-png OUT.png --page N [--zoom Z] [--dpi D] FILE.qlr\n"
     "      Draws page N as the preview shows it, on an A4 page at 600 dpi.\n"
     "      --page N          the page, from 1\n"
     "      --zoom Z          zoom in percent, 1 to 1000 (default 100)\n"
     "      --dpi D           screen resolution, 24 to 2400 (default 96)\n",
     RunRenderPng},
    {ExportOptions::Mode::FillablePdf, "fillable-pdf", "OUT.pdf",
     "  quillora --fillable-pdf OUT.pdf [--paper A4|A5|Letter] FILE.qlr\n"
     "      Writes the printed pages with form fields that can be filled in on screen.\n"
     "      --paper NAME      A4, A5 or Letter (default A4)\n",
     RunFillablePdfExport},
};

} // namespace

std::span<const ExportCommand> ExportCommands() {
    return kExportCommands;
}

ExportResult RunCommandLineExport(const QStringList& arguments, const QString& programDir) {
    // Printing through CUPS has options of its own (CommandLinePrint.h).
    if (IsPrintCommand(arguments)) return RunPrintCommand(arguments, programDir);
    // The collection of returned orders reads many inputs: its own options.
    if (IsCollectCommand(arguments)) return RunCollectCommand(arguments, programDir);
    ExportResult result;
    const ExportParse parse = ParseExportArguments(arguments);
    if (!parse.ok) {
        result.status = 2;
        result.error = parse.error + QStringLiteral("\nSee quillora --help.");
        return result;
    }
    const ExportOptions& o = parse.options;
    if (o.mode == ExportOptions::Mode::Help) {
        result.output = ExportUsage();
        return result;
    }
    if (o.mode == ExportOptions::Mode::Version) {
        result.output = QString::fromLatin1(kProgramNameAndVersion);
        return result;
    }
    for (const ExportCommand& command : kExportCommands)
        if (command.mode == o.mode && !command.run(o, programDir, result)) result.status = 1;
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
