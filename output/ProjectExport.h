#pragma once
// Exports of a project file without a window: all pages printed into a PDF
// file, the fillable PDF, and one page as the preview shows it in a PNG file.
// The command line (cli/) offers them; each reads the project itself.

#include <QByteArray>
#include <QString>

// Each returns false with *error set (in English) when the project file
// cannot be read or the output cannot be made. Pictures named relatively are
// also looked for in programDir (the program's directory when empty).
// With marks, every page also gets the marks for reading its scan back
// (PrintRun.h's PrintPages::marks). A PDF file is a master that may be
// printed or copied any number of times, so its pages carry no sheet
// number; the PDF for a printer queue is the paper itself, and each of its
// copies carries its own.
bool PrintProjectToPdf(const QString& project, const QString& pdf, const QString& paper,
                       int printerDpi, const QString& programDir, QString* error,
                       int* pages = nullptr, bool marks = false);
// The same PDF in memory, for a printer queue: nothing is written to disk.
// copies repeats the pages (with marks each copy needs its own sheet number,
// so a printer must not make the copies itself).
bool PrintProjectToPdfData(const QString& project, QByteArray& pdf, const QString& paper,
                           int printerDpi, const QString& programDir, QString* error,
                           int* pages = nullptr, bool marks = false, int copies = 1);
// The printed PDF with a form field over every field (FillablePdf.h).
bool ExportProjectFillablePdf(const QString& project, const QString& pdf, const QString& paper,
                              const QString& programDir, QString* error, int* pages = nullptr);
// Page `page` at zoom and screen resolution dpi, on an A4 page at 600 dpi.
bool RenderProjectPage(const QString& project, const QString& png, int page, double zoom, int dpi,
                       const QString& programDir, QString* error);
