#pragma once
// The command-line export: prints a project file into a PDF file, or draws one
// page as the preview shows it into a PNG file, without showing a window.
//
//     quillora --print-pdf OUT.pdf FILE.qlr [--printer-dpi N] [--paper A4|A5|Letter]
//     quillora --fillable-pdf OUT.pdf [--paper A4|A5|Letter] FILE.qlr
//     quillora --render-png OUT.png --page N [--zoom Z] [--dpi D] FILE.qlr
//     quillora --help

#include <QString>
#include <QStringList>

struct ExportOptions {
    enum class Mode { Help, PrintPdf, RenderPng, FillablePdf };
    Mode mode = Mode::Help;
    QString output;
    QString project;
    int printerDpi = 600;
    QString paper = QStringLiteral("A4");
    int page = 1;
    double zoom = 100;
    int dpi = 96;
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

// True when the arguments (without the program name) ask for the export or its
// help rather than for the windows: the first argument is one of the export's
// options. Otherwise the first argument is the project file for the window.
bool IsCommandLineExport(const QStringList& arguments);
// Same, on the raw arguments of main (argv[0] is the program).
bool IsCommandLineExport(int argc, char** argv);

// The options and their meaning, as --help prints them.
QString ExportUsage();
ExportParse ParseExportArguments(const QStringList& arguments);

// Runs the export the arguments ask for. Needs a QGuiApplication. Pictures named
// relatively are also looked for in programDir (the program's directory when empty).
ExportResult RunCommandLineExport(const QStringList& arguments,
                                  const QString& programDir = QString());

// The two exports. Each returns false with *error set when the project file
// cannot be read or the output cannot be made.
bool PrintProjectToPdf(const QString& project, const QString& pdf, const QString& paper,
                       int printerDpi, const QString& programDir, QString* error,
                       int* pages = nullptr);
// The printed PDF with a form field over every field (FillablePdf.h).
bool ExportProjectFillablePdf(const QString& project, const QString& pdf, const QString& paper,
                              const QString& programDir, QString* error, int* pages = nullptr);
bool RenderProjectPage(const QString& project, const QString& png, int page, double zoom, int dpi,
                       const QString& programDir, QString* error);

// Program entry for the export: makes the application (headless when no
// platform is set), runs the export and writes its messages. Returns the exit status.
int RunExportProgram(int argc, char** argv);
