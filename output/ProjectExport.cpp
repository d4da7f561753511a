// Reading a project for an export and writing its PDF or PNG file.
#include "ProjectExport.h"

#include "AtomicFile.h"
#include "FillablePdf.h"
#include "FormDocument.h"
#include "MessageTable.h"
#include "OrderForm.h"
#include "PageImage.h"
#include "PreparedPages.h"
#include "PrintRun.h"
#include "ProgramFiles.h"
#include "ProjectFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// The biggest page image the export makes: 1 GiB of pixels, 32767 per side.
constexpr qint64 kMaxImagePixels = qint64{1} << 28;
constexpr int kMaxImageSide = 32767;

// A project read for the export, prepared for drawing as the window prepares it.
struct ExportProject {
    std::unique_ptr<FormDocument> form;
    std::unique_ptr<PreparedPages> prepared;

    PageInput Input(const PrinterPage& printer = PrinterPage{}) { return prepared->Input(printer); }
};

bool LoadProject(ExportProject& project, const QString& path, const QString& programDir,
                 QString* error) {
    ProjectReadResult read = ReadProjectFileFromPath(path, LayoutSettings());
    if (read.status == ProjectReadStatus::CannotOpen) {
        *error = QStringLiteral("Cannot open the project file \"%1\".").arg(path);
        return false;
    }
    if (!read.ok() || !read.document) {
        *error = QStringLiteral("The project file \"%1\" is damaged: %2").arg(path, read.error);
        return false;
    }
    project.form = std::move(read.document);
    const QString dir =
        ProgramDataDir(programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir);
    project.prepared = std::make_unique<PreparedPages>(*project.form, read.settings, dir);
    return true;
}

// Every page, copies times, with the marks for reading back when asked;
// numbered, each copy gets its own sheet number.
PrintPages MarkedPages(const PageInput& input, bool marks, int copies = 1, bool numbered = false) {
    PrintPages pages;
    pages.copies = std::max(1, copies);
    if (marks) {
        pages.marks = FormIdentity(input.document, input.settings);
        if (numbered) pages.firstSheet = NewFirstSheetNumber(pages.copies);
    }
    return pages;
}

} // namespace

bool PrintProjectToPdf(const QString& project, const QString& pdf, const QString& paper,
                       int printerDpi, const QString& programDir, QString* error, int* pages,
                       bool marks) {
    QString message;
    if (!error) error = &message;
    ExportProject loaded;
    if (!LoadProject(loaded, project, programDir, error)) return false;
    FileFailure failure;
    const PageInput input = loaded.Input();
    const int printed =
        PrintToPdfFile(PaperPdfSetup(paper, printerDpi), input, MessageTable(Message::PrintTitle),
                       pdf, MarkedPages(input, marks), {}, nullptr, &failure);
    if (printed < 0) {
        *error = failure.english;
        return false;
    }
    if (pages) *pages = printed;
    return true;
}

bool PrintProjectToPdfData(const QString& project, QByteArray& pdf, const QString& paper,
                           int printerDpi, const QString& programDir, QString* error, int* pages,
                           bool marks, int copies) {
    QString message;
    if (!error) error = &message;
    ExportProject loaded;
    if (!LoadProject(loaded, project, programDir, error)) return false;
    pdf.clear();
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    FileFailure failure;
    const PageInput input = loaded.Input();
    const int printed =
        PrintToPdfDevice(PaperPdfSetup(paper, printerDpi), input, MessageTable(Message::PrintTitle),
                         buffer, MarkedPages(input, marks, copies, true), {}, nullptr, &failure);
    if (printed < 0) {
        *error = failure.english;
        return false;
    }
    if (pages) *pages = printed;
    return true;
}

bool ExportProjectFillablePdf(const QString& project, const QString& pdf, const QString& paper,
                              const QString& programDir, QString* error, int* pages) {
    QString message;
    if (!error) error = &message;
    ExportProject loaded;
    if (!LoadProject(loaded, project, programDir, error)) return false;
    FileFailure failure;
    const int printed = PrintFillablePdf(PaperPdfSetup(paper), loaded.Input(),
                                         MessageTable(Message::PrintTitle), pdf, &failure);
    if (printed < 0) {
        *error = failure.english;
        return false;
    }
    if (pages) *pages = printed;
    return true;
}

bool RenderProjectPage(const QString& project, const QString& png, int page, double zoom, int dpi,
                       const QString& programDir, QString* error) {
    QString message;
    if (!error) error = &message;
    ExportProject loaded;
    if (!LoadProject(loaded, project, programDir, error)) return false;
    // The page of the preview on a printer without unprintable margins: A4 at 600 dpi.
    const PageInput input = loaded.Input(PaperPdfSetup().Page());
    const PageSize size = LayoutPageSize(input.printer, dpi, zoom);
    if (size.width < 1 || size.height < 1 || size.width > kMaxImageSide ||
        size.height > kMaxImageSide || qint64{size.width} * size.height > kMaxImagePixels) {
        *error = QStringLiteral("A page of %1 x %2 pixels is too large for an image.")
                     .arg(size.width)
                     .arg(size.height);
        return false;
    }
    if (!PageExists(input, dpi, zoom, page)) {
        *error = QStringLiteral("The document has no page %1.").arg(page);
        return false;
    }
    QImage image(size.width, size.height, QImage::Format_RGB32);
    if (image.isNull()) {
        *error = QStringLiteral("Not enough memory for a page of %1 x %2 pixels.")
                     .arg(size.width)
                     .arg(size.height);
        return false;
    }
    DrawPagePart(image, QPoint(0, 0), input, dpi, size, page, zoom);
    // The image's resolution is the screen's, so viewers show it at its size.
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        *error = QStringLiteral("The page could not be encoded as PNG.");
        return false;
    }
    FileFailure failure;
    if (WriteFileAtomically(png, bytes, &failure)) return true;
    *error = failure.english;
    return false;
}
