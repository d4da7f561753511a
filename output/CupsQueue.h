#pragma once
// Printing through CUPS without the toolkit's printer support: finding a
// print queue (a named one or the default), the paper it prints on, and
// handing it a finished PDF as one job. The command line prints this way.

#include <QByteArray>
#include <QString>

// A queue as CUPS knows it.
struct CupsQueue {
    bool found = false;
    QString name;
    // "A4", "A5" or "Letter": the queue's default paper (A4 when it names another).
    QString paper = QStringLiteral("A4");
};

// The queue called name, or the default queue when name is empty. found is
// false when there is no such queue (or no default, or no CUPS server).
CupsQueue FindCupsQueue(const QString& name);

struct CupsJob {
    int id = 0;     // the job's number on the server, 0 when it was not taken
    QString error;  // in English, when id is 0
};

// Sends pdf to the queue as one job under title, with that many copies,
// which the queue makes itself, collated: each copy a whole set of pages.
CupsJob SendPdfToCups(const QString& queue, const QByteArray& pdf, const QString& title,
                      int copies);
