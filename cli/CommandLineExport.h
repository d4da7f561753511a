#pragma once
// The command line: which exports it offers (one table), reading its options,
// and running the export they ask for without a window.
//
//     quillora --print-pdf OUT.pdf FILE.qlr [--printer-dpi N] [--paper A4|A5|Letter] [--marks]
//     quillora --fillable-pdf OUT.pdf [--paper A4|A5|Letter] FILE.qlr
//     quillora --render-png OUT.png --page N [--zoom Z] [--dpi D] FILE.qlr
//     quillora --print [--printer NAME] [--copies N] [--marks] FILE.qlr (CommandLinePrint.h)
//     quillora --collect OUT.csv [--separator C] FORM.qlr INPUT... (CollectCommand.h)
//     quillora --help | --version

#include <QString>
#include <QStringList>
#include <span>

// The program's name and version as --version prints them.
inline constexpr const char* kProgramNameAndVersion = "Quillora 1.0";

struct ExportOptions {
    enum class Mode { Help, Version, PrintPdf, RenderPng, FillablePdf };
    Mode mode = Mode::Help;
    QString output;
    QString project;
    int printerDpi = 600;
    QString paper = QStringLiteral("A4");
    int page = 1;
    double zoom = 100;
    int dpi = 96;
    bool marks = false; // --marks: pages printed for reading back
};

struct ExportParse {
    bool ok = false;
    ExportOptions options;
    QString error;
};

struct ExportResult {
    int status = 0; // the process's exit status: 0 on success
    QString output; // for standard output
    QString error;  // for standard error
};

// One export the command line offers: its option, whose value is the output
// file, the lines --help shows for it, and the run that makes the file. The run
// sets result.error (and returns false) when the project cannot be read or the
// output cannot be made, and may put a line for standard output in result.output.
struct ExportCommand {
    ExportOptions::Mode mode;
    const char* option; // without the dashes
    const char* valueName;
    const char* usage;
    bool (*run)(const ExportOptions& options, const QString& programDir, ExportResult& result);
};
// Every export of the command line, one row each.
std::span<const ExportCommand> ExportCommands();

// True when the arguments (without the program name) ask for the export or its
// help rather than for the windows: the first argument (after the toolkit's own
// options such as -platform, which belong to the window) is an option. An
// unknown option then ends as an error, never in a window. Otherwise the first
// argument is the project file for the window.
bool IsCommandLineExport(const QStringList& arguments);
// Same, on the raw arguments of main (argv[0] is the program).
bool IsCommandLineExport(int argc, char** argv);

// The options and their meaning, as --help prints them.
QString ExportUsage();
ExportParse ParseExportArguments(const QStringList& arguments);

// Runs the export the arguments ask for (ProjectExport.h). Needs a
// QGuiApplication. Pictures named relatively are also looked for in
// programDir (the program's directory when empty).
ExportResult RunCommandLineExport(const QStringList& arguments,
                                  const QString& programDir = QString());

// Program entry for the export: makes the application (headless when no
// platform is set), runs the export and writes its messages. Returns the exit status.
int RunExportProgram(int argc, char** argv);
