#pragma once
// The CUPS daemon that tests/cups/with_cupsd.sh runs for the printing tests:
// its queues, the jobs they took, and the PDF files cups-pdf wrote for them,
// read back with poppler's tools.

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QThread>
#include <cups/cups.h>

#include <algorithm>
#include <cstdlib>

struct CupsTestQueues {
    QString queue;   // the default queue, A4
    QString a5Queue; // another queue, A5
    QString output;  // where cups-pdf writes

    // Empty names when the tests do not run next to the daemon.
    static CupsTestQueues FromEnvironment() {
        return {qEnvironmentVariable("QUILLORA_CUPS_QUEUE"),
                qEnvironmentVariable("QUILLORA_CUPS_A5_QUEUE"),
                qEnvironmentVariable("QUILLORA_CUPS_OUTPUT")};
    }
    bool Running() const { return !queue.isEmpty() && !output.isEmpty(); }
};

// The newest job of the queue, whatever its state; 0 when it has none.
inline int NewestCupsJob(const QString& queue) {
    cups_job_t* jobs = nullptr;
    const QByteArray name = queue.toUtf8();
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, name.constData(), 0, CUPS_WHICHJOBS_ALL);
    int newest = 0;
    for (int i = 0; i < count; ++i)
        newest = std::max(newest, jobs[i].id);
    cupsFreeJobs(count, jobs);
    return newest;
}

// One attribute of a job as a whole number, -1 when the job or attribute is unknown.
inline int CupsJobInteger(int job, const char* attribute) {
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    char uri[256];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                     "/jobs/%d", job);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 attribute);
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    int value = -1;
    if (ipp_attribute_t* found = ippFindAttribute(response, attribute, IPP_TAG_ZERO))
        value = ippGetInteger(found, 0);
    ippDelete(response);
    return value;
}

// The copies the job asks the printer for; a job that names none asks for one.
inline int CupsJobCopies(int job) {
    const int copies = CupsJobInteger(job, "copies");
    return copies < 0 ? 1 : copies;
}

// Waits until the job has ended (the daemon runs it in its own processes)
// and tells whether it completed. Gives up after two minutes.
inline bool CupsJobCompleted(int job) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 120000) {
        const int state = CupsJobInteger(job, "job-state");
        if (state >= IPP_JSTATE_STOPPED) return state == IPP_JSTATE_COMPLETED;
        QThread::msleep(100);
    }
    return false;
}

// The PDF cups-pdf wrote for the job: its name starts with job_N-.
inline QString CupsJobPdf(const CupsTestQueues& queues, int job) {
    const QStringList files =
        QDir(queues.output).entryList({QStringLiteral("job_%1-*.pdf").arg(job)}, QDir::Files);
    return files.size() == 1 ? QDir(queues.output).filePath(files.first()) : QString();
}

// Page count and page size in points of a PDF, as pdfinfo tells them.
struct PdfInfo {
    int pages = -1;
    double width = 0, height = 0;
};
inline PdfInfo ReadPdfInfo(const QString& pdf) {
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished(60000);
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    PdfInfo result;
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                          QRegularExpression::MultilineOption);
    static const QRegularExpression size(QStringLiteral("^Page size:\\s+([\\d.]+) x ([\\d.]+)"),
                                         QRegularExpression::MultilineOption);
    if (const auto m = pages.match(text); m.hasMatch()) result.pages = m.captured(1).toInt();
    if (const auto m = size.match(text); m.hasMatch()) {
        result.width = m.captured(1).toDouble();
        result.height = m.captured(2).toDouble();
    }
    return result;
}

// A page of a PDF (page 1 unless told) rasterised in grey at a low resolution.
inline QImage FirstPageRaster(const QString& pdf, const QString& folder, const QString& name,
                              int page = 1) {
    const QString base = QDir(folder).filePath(name);
    const QString number = QString::number(page);
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-r"), QStringLiteral("24"), QStringLiteral("-gray"),
                       QStringLiteral("-png"), QStringLiteral("-f"), number, QStringLiteral("-l"),
                       number, QStringLiteral("-singlefile"), pdf, base});
    return QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_Grayscale8);
}

// The mean difference of two grey images of one size, 0 to 255; 255 when the sizes differ.
inline double MeanGreyDifference(const QImage& a, const QImage& b) {
    if (a.isNull() || a.size() != b.size()) return 255;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uchar* p = a.constScanLine(y);
        const uchar* q = b.constScanLine(y);
        for (int x = 0; x < a.width(); ++x)
            sum += std::abs(int{p[x]} - int{q[x]});
    }
    return sum / (double(a.width()) * a.height());
}
