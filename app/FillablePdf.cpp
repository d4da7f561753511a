#include "FillablePdf.h"

#include "DrawnField.h"
#include "PdfFormFields.h"
#include "PrintRun.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPrinter>
#include <future>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

namespace {
// Keeps every field the print run draws, in drawing order.
class FieldCollector : public FieldObserver {
  public:
    void FieldDrawn(const DrawnField& field) override { fields.push_back(field); }
    std::vector<DrawnField> fields;
};

// The thread that added the form fields of the last export; it may still be
// freeing that document's objects. The application object's end waits for
// it; the holder's own end is only a last resort.
struct FormThreadHolder {
    std::thread thread;
    ~FormThreadHolder() {
        if (thread.joinable()) thread.join();
    }
};

std::thread& FormThread() {
    static FormThreadHolder holder;
    return holder.thread;
}

void WaitForFormThread() {
    std::thread& thread = FormThread();
    if (thread.joinable()) thread.join();
}

struct FormOutcome {
    bool ok = false;
    QString error;
};

// Adds the form fields and writes the file on a thread of its own, and
// returns as soon as the file is committed (or has failed): the thread then
// frees the document, tens of thousands of small objects for a long form,
// while the program goes on. The next export and the end of the application
// wait for it. Without an application object, or when no thread can be
// started, all of it happens on the calling thread.
FormOutcome AddFormFields(const QByteArray& printed, std::vector<DrawnField> fields,
                          const PdfPageGeometry& geometry, const QString& path) {
    WaitForFormThread();
    FormOutcome outcome;
    if (!QCoreApplication::instance()) {
        outcome.ok = AddFormFieldsAndWrite(printed, fields, geometry, path, &outcome.error);
        return outcome;
    }
    std::promise<FormOutcome> promise;
    std::future<FormOutcome> written = promise.get_future();
    auto work = [printed, fields = std::move(fields), geometry, path,
                 promise = std::move(promise)]() mutable {
        QString error;
        bool told = false;
        auto tell = [&](bool ok) {
            if (told) return;
            told = true;
            promise.set_value(FormOutcome{ok, error});
        };
        try {
            AddFormFieldsAndWrite(printed, fields, geometry, path, &error, tell);
        } catch (...) {
            // Only running out of memory gets here; the caller must not wait forever.
            if (error.isEmpty()) error = QStringLiteral("The form fields could not be added.");
            tell(false);
        }
    };
    const auto task = std::make_shared<decltype(work)>(std::move(work));
    try {
        FormThread() = std::thread([task] { (*task)(); });
    } catch (const std::system_error&) {
        (*task)(); // no thread to be had: the work is done here
    }
    qRemovePostRoutine(WaitForFormThread);
    qAddPostRoutine(WaitForFormThread);
    return written.get();
}
} // namespace

int PrintFillablePdf(QPrinter& printer, const PageInput& pageInput, const QString& jobTitle,
                     const QString& path, QString* error) {
    QString message;
    if (!error) error = &message;
    // The printed PDF goes into memory; the file is written once, with the form.
    QByteArray printed;
    QBuffer buffer(&printed);
    buffer.open(QIODevice::WriteOnly);
    FieldCollector collector;
    PageInput input = pageInput;
    input.fields = &collector;
    const int pages = PrintAllPagesToPdfDevice(printer, input, jobTitle, buffer, error);
    if (pages < 0) return -1;
    buffer.close();
    PdfPageGeometry geometry;
    geometry.dpi = printer.resolution();
    // The drawing starts at the printable area's corner.
    geometry.origin = printer.pageLayout().paintRect(QPageLayout::Point).topLeft();
    const FormOutcome outcome = AddFormFields(printed, std::move(collector.fields), geometry, path);
    if (!outcome.ok) {
        *error = outcome.error;
        return -1;
    }
    return pages;
}
