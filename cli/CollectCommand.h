#pragma once
// The command line's collection of returned orders:
//
//     quillora --collect OUT.csv|OUT.xlsx [--separator C] FORM.qlr INPUT...
//
// reads every filled-in fillable PDF of the inputs (files, or folders of
// them), and every scan of pages printed with marks (PaperReturns.h), into
// one order table and writes it as CSV, or as a workbook (OrderWorkbook.h)
// when the output's name ends in ".xlsx". Exit status 0 when every
// input was read, 3 when the table was written without the inputs named on
// standard error, 1 when nothing could be written, 2 for a wrong option.

#include "CommandLineExport.h"

#include <QStringList>

// Runs it (its options are read by the command line's one parser,
// CommandLineExport.h). The table's own texts ("Datei", "Summe", the workbook's sheet
// names and the reasons of the files not taken) are in the language the window runs
// in (the options file and the translation table of programDir, the
// program's directory when empty).
ExportResult RunCollectCommand(const CommandOptions& options, const QString& programDir);
