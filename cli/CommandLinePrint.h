#pragma once
// Printing a project from the shell through CUPS, with no window and no display:
//
//     quillora --print [--printer NAME] [--copies N] [--marks] FILE.qlr
//
// The pages are printed into a PDF in memory, on the queue's paper, and the
// PDF goes to the queue (the default queue when no name is given) as one job.
// Its options are read by the command line's one parser (CommandLineExport.h).

#include "CommandLineExport.h"

#include <QString>
#include <QStringList>

using PrintCommandOptions = CommandOptions;
using PrintCommandParse = CommandLineParse;

// True when the arguments ask to print (--print), not for help or the version.
bool IsPrintCommand(const QStringList& arguments);
inline PrintCommandParse ParsePrintArguments(const QStringList& arguments) {
    return ParseCommandLine(arguments);
}
// Status 0 when the queue took the job, 1 when there is no such queue or the
// project cannot be read or the job was refused.
ExportResult RunPrintCommand(const CommandOptions& options, const QString& programDir);
