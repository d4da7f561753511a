#pragma once
// Printing a project from the shell through CUPS, with no window and no display:
//
//     quillora --print [--printer NAME] [--copies N] [--marks] FILE.qlr
//
// The pages are printed into a PDF in memory, on the queue's paper, and the
// PDF goes to the queue (the default queue when no name is given) as one job.

#include "CommandLineExport.h"

#include <QString>
#include <QStringList>

struct PrintCommandOptions {
    QString printer; // empty: the default queue
    int copies = 1;
    bool marks = false; // corner marks and page codes for reading the scans back
    QString project;
};

struct PrintCommandParse {
    bool ok = false;
    PrintCommandOptions options;
    QString error;
};

// True when the arguments ask to print (--print), not for help or the version.
bool IsPrintCommand(const QStringList& arguments);
PrintCommandParse ParsePrintArguments(const QStringList& arguments);
// The lines --help shows for printing.
QString PrintCommandUsage();
// Status 0 when the queue took the job, 1 when there is no such queue or the
// project cannot be read or the job was refused, 2 for wrong options.
ExportResult RunPrintCommand(const QStringList& arguments, const QString& programDir);
