#include "CommandLineExport.h"

#include "AtomicFile.h"
#include "Document.h"
#include "FillablePdf.h"
#include "MessageTable.h"
#include "PreparedProject.h"
#include "PrintRun.h"
#include "ProgramFiles.h"
#include "ProjectFile.h"

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QPrinter>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

// The biggest page image the export makes: 1 GiB of pixels, 32767 per side.
constexpr qint64 kMaxImagePixels = qint64{1} << 28;
constexpr int kMaxImageSide = 32767;

// A project read for the export, prepared for drawing as the window prepares it.
struct ExportProject {
    Document document;
    std::unique_ptr<PreparedProject> prepared;

    PageInput Input() { return prepared->Input(); }
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
    project.document.Reset(std::move(read.document), read.settings);
    const QString dir =
        ProgramDataDir(programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir);
    project.prepared = std::make_unique<PreparedProject>(project.document, dir);
    return true;
}

void Print(std::FILE* stream, const QString& text) {
    if (text.isEmpty()) return;
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    if (!text.endsWith(QLatin1Char('\n'))) std::fputc('\n', stream);
    std::fflush(stream);
}

} // namespace

bool PrintProjectToPdf(const QString& project, const QString& pdf, const QString& paper,
                       int printerDpi, const QString& programDir, QString* error, int* pages) {
    QString message;
    if (!error) error = &message;
    ExportProject loaded;
    if (!LoadProject(loaded, project, programDir, error)) return false;
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, QString(), paper, printerDpi);
    FileFailure failure;
    const int printed =
        PrintAllPagesToPdfFile(printer, loaded.Input(), MessageTable(20), pdf, &failure);
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
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, QString(), paper);
    FileFailure failure;
    const int printed = PrintFillablePdf(printer, loaded.Input(), MessageTable(20), pdf, &failure);
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
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, QString());
    PageInput input = loaded.Input();
    input.printer = PrinterPageOf(printer);
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

namespace {
bool RunFillablePdfExport(const ExportOptions& o, const QString& programDir, ExportResult& result) {
    int pages = 0;
    if (!ExportProjectFillablePdf(o.project, o.output, o.paper, programDir, &result.error, &pages))
        return false;
    result.output =
        QStringLiteral("%1 page(s) with form fields written to %2").arg(pages).arg(o.output);
    return true;
}

bool RunPrintPdf(const ExportOptions& o, const QString& programDir, ExportResult& result) {
    int pages = 0;
    if (!PrintProjectToPdf(o.project, o.output, o.paper, o.printerDpi, programDir, &result.error,
                           &pages))
        return false;
    result.output = QStringLiteral("%1 page(s) printed into %2").arg(pages).arg(o.output);
    return true;
}

bool RunRenderPng(const ExportOptions& o, const QString& programDir, ExportResult& result) {
    return RenderProjectPage(o.project, o.output, o.page, o.zoom, o.dpi, programDir, &result.error);
}

const ExportCommand kExportCommands[] = {
    {ExportOptions::Mode::PrintPdf, "print-pdf", "OUT.pdf",
     "  quillora --print-pdf OUT.pdf FILE.qlr [--printer-dpi N] [--paper A4|A5|Letter]\n"
     "      Prints all pages of the project into a PDF file, as \"Drucken\" does.\n"
     "      --printer-dpi N   printer resolution, 72 to 2400 (default 600)\n"
     "      --paper NAME      A4, A5 or Letter (default A4)\n",
     RunPrintPdf},
    {ExportOptions::Mode::RenderPng, "render-png", "OUT.png",
     "  quillora --render-png OUT.png --page N [--zoom Z] [--dpi D] FILE.qlr\n"
     "      Draws page N as the preview shows it, on an A4 page at 600 dpi.\n"
     "      --page N          the page, from 1\n"
     "      --zoom Z          zoom in percent, 1 to 1000 (default 100)\n"
     "      --dpi D           screen resolution, 24 to 2400 (default 96)\n",
     RunRenderPng},
    {ExportOptions::Mode::FillablePdf, "fillable-pdf", "OUT.pdf",
     "  quillora --fillable-pdf OUT.pdf [--paper A4|A5|Letter] FILE.qlr\n"
     "      Writes the printed pages with form fields that can be filled in on screen.\n"
     "      --paper NAME      A4, A5 or Letter (default A4)\n",
     RunFillablePdfExport},
};

} // namespace

std::span<const ExportCommand> ExportCommands() {
    return kExportCommands;
}

ExportResult RunCommandLineExport(const QStringList& arguments, const QString& programDir) {
    ExportResult result;
    const ExportParse parse = ParseExportArguments(arguments);
    if (!parse.ok) {
        result.status = 2;
        result.error = parse.error + QStringLiteral("\nSee quillora --help.");
        return result;
    }
    const ExportOptions& o = parse.options;
    if (o.mode == ExportOptions::Mode::Help) {
        result.output = ExportUsage();
        return result;
    }
    if (o.mode == ExportOptions::Mode::Version) {
        result.output = QString::fromLatin1(kProgramNameAndVersion);
        return result;
    }
    for (const ExportCommand& command : kExportCommands)
        if (command.mode == o.mode && !command.run(o, programDir, result)) result.status = 1;
    return result;
}

int RunExportProgram(int argc, char** argv) {
    // No display is needed: the pages are drawn into images and PDF files.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillora"));
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const ExportResult result = RunCommandLineExport(arguments);
    Print(stdout, result.output);
    Print(stderr, result.error);
    return result.status;
}
