// The print command of the command line: its run.
#include "CommandLinePrint.h"

#include "CupsQueue.h"
#include "MessageTable.h"
#include "ProjectExport.h"

bool IsPrintCommand(const QStringList& arguments) {
    return ParseCommandLine(arguments).options.mode == CommandOptions::Mode::Print;
}

ExportResult RunPrintCommand(const CommandOptions& o, const QString& programDir) {
    ExportResult result;
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
    const CupsJob job =
        SendPdfToCups(queue.name, pdf, MessageTable(Message::PrintTitle), o.copies / madeHere);
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
