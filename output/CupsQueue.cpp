// Finding a CUPS queue and handing it a PDF with libcups.
#include "CupsQueue.h"

#include <cups/cups.h>

#include <memory>

namespace {

struct DestDeleter {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
using DestPointer = std::unique_ptr<cups_dest_t, DestDeleter>;

// The paper of a "media" value: a PWG self-describing name
// (iso_a4_210x297mm, na_letter_8.5x11in) or a plain one (A4, Letter).
QString PaperOfMedia(const char* media) {
    const QString name = QString::fromUtf8(media ? media : "").toLower();
    if (name.contains(QLatin1String("letter"))) return QStringLiteral("Letter");
    if (name == QLatin1String("a5") || name.startsWith(QLatin1String("iso_a5_")))
        return QStringLiteral("A5");
    return QStringLiteral("A4");
}

QString LastCupsError() {
    return QString::fromUtf8(cupsLastErrorString());
}

} // namespace

CupsQueue FindCupsQueue(const QString& name) {
    CupsQueue queue;
    const QByteArray wanted = name.toUtf8();
    DestPointer dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.isEmpty() ? nullptr : wanted.constData(),
                                      nullptr));
    if (!dest) return queue;
    queue.found = true;
    queue.name = QString::fromUtf8(dest->name);
    queue.paper = PaperOfMedia(cupsGetOption("media", dest->num_options, dest->options));
    return queue;
}

CupsJob SendPdfToCups(const QString& queue, const QByteArray& pdf, const QString& title,
                      int copies) {
    CupsJob job;
    const QByteArray name = queue.toUtf8(), jobTitle = title.toUtf8();
    const QByteArray copiesText = QByteArray::number(copies);
    cups_option_t* options = nullptr;
    int count = cupsAddOption("copies", copiesText.constData(), 0, &options);
    // Copies of a form come out as whole sets, as the window's print dialog asks.
    if (copies > 1)
        count = cupsAddOption("multiple-document-handling", "separate-documents-collated-copies",
                              count, &options);
    const int id = cupsCreateJob(CUPS_HTTP_DEFAULT, name.constData(), jobTitle.constData(), count,
                                 options);
    cupsFreeOptions(count, options);
    if (id == 0) {
        job.error = QStringLiteral("The queue \"%1\" did not take the job: %2")
                        .arg(queue, LastCupsError());
        return job;
    }
    bool sent = cupsStartDocument(CUPS_HTTP_DEFAULT, name.constData(), id, jobTitle.constData(),
                                  CUPS_FORMAT_PDF, 1) == HTTP_STATUS_CONTINUE;
    sent = sent && cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData(),
                                        static_cast<size_t>(pdf.size())) == HTTP_STATUS_CONTINUE;
    const bool finished = cupsFinishDocument(CUPS_HTTP_DEFAULT, name.constData()) == IPP_STATUS_OK;
    if (!sent || !finished) {
        job.error = QStringLiteral("The pages could not be sent to the queue \"%1\": %2")
                        .arg(queue, LastCupsError());
        cupsCancelJob2(CUPS_HTTP_DEFAULT, name.constData(), id, 0);
        return job;
    }
    job.id = id;
    return job;
}
