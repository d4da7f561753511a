#pragma once
// The command line: one table of its commands, each with its options, one
// parser for them, the help text built from the table, and the run of the
// command asked for, without a window.
//
//     quillora --print-pdf OUT.pdf FILE.qlr [--printer-dpi N] [--paper A4|A5|Letter] [--marks]
//     quillora --fillable-pdf OUT.pdf [--paper A4|A5|Letter] FILE.qlr
//     quillora --render-png OUT.png --page N [--zoom Z] [--dpi D] FILE.qlr
//     quillora --print [--printer NAME] [--copies N] [--marks] FILE.qlr (CommandLinePrint.h)
//     quillora --collect OUT.csv [--separator C] FORM.qlr INPUT... (CollectCommand.h)
//     quillora --help | --version
//
// A new command is one row of CommandLineCommands() (CommandLineExport.cpp)
// with its run; a new option one row of the option table (CommandLineOptions.cpp)
// and its field here.

#include <QChar>
#include <QString>
#include <QStringList>
#include <span>

// The program's name and version as --version prints them.
inline constexpr const char* kProgramNameAndVersion = "Quillora 1.0";

// Everything the command line can be asked: the command and the values of its options.
struct CommandOptions {
    enum class Mode { Help, Version, PrintPdf, RenderPng, FillablePdf, Print, Collect };
    Mode mode = Mode::Help;
    QString output;     // the command's value: the file it writes
    QString project;    // the first file named
    QStringList inputs; // the files after it (--collect)
    int printerDpi = 600;
    QString paper = QStringLiteral("A4");
    int page = 1;
    double zoom = 100;
    int dpi = 96;
    bool marks = false; // --marks: pages printed for reading back
    QString printer;    // --print: the queue, empty for the default one
    int copies = 1;
    QChar separator = QLatin1Char(','); // --collect: between the cells of a CSV file
};
using ExportOptions = CommandOptions;

struct CommandLineParse {
    bool ok = false;
    CommandOptions options;
    QString error;
};
using ExportParse = CommandLineParse;

struct ExportResult {
    int status = 0; // the process's exit status: 0 on success
    QString output; // for standard output
    QString error;  // for standard error
};

// One command of the command line: its option (whose value, when it takes
// one, is the output file), the options that go with it, those it needs, how
// many files it reads, the lines --help shows for it and its run.
struct CommandLineCommand {
    CommandOptions::Mode mode;
    const char* name;      // without the dashes
    const char* valueName; // nullptr: the command takes no value
    const char* options;   // the options that go with it, separated by spaces
    const char* required;  // the options it needs, separated by spaces
    bool readsInputs;      // after the project file, one or more inputs
    const char* usage;
    ExportResult (*run)(const CommandOptions& options, const QString& programDir);
};
// Every command of the command line, one row each, in the order --help shows them.
std::span<const CommandLineCommand> CommandLineCommands();

// True when the arguments (without the program name) ask for the export or its
// help rather than for the windows: the first argument (after the toolkit's own
// options such as -platform, which belong to the window) is an option. An
// unknown option then ends as an error, never in a window. Otherwise the first
// argument is the project file for the window.
bool IsCommandLineExport(const QStringList& arguments);
// Same, on the raw arguments of main (argv[0] is the program).
bool IsCommandLineExport(int argc, char** argv);

// The commands and their options, as --help prints them.
QString ExportUsage();
// The one parser of the command line: the command, its options and files, or
// the error (status 2). options.mode names the command even when its options are wrong.
CommandLineParse ParseCommandLine(const QStringList& arguments);
inline CommandLineParse ParseExportArguments(const QStringList& arguments) {
    return ParseCommandLine(arguments);
}

// Runs the command the arguments ask for. Needs a QGuiApplication. Pictures
// named relatively are also looked for in programDir (the program's directory when empty).
ExportResult RunCommandLineExport(const QStringList& arguments,
                                  const QString& programDir = QString());

// Program entry for the command line: makes the application (headless when no
// platform is set), runs the command and writes its messages. Returns the exit status.
int RunExportProgram(int argc, char** argv);
