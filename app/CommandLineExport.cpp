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

const QString kPrintPdf = QStringLiteral("--print-pdf");
const QString kRenderPng = QStringLiteral("--render-png");
const QString kHelp = QStringLiteral("--help");
const QString kFillablePdf = QStringLiteral("--fillable-pdf");

// The biggest page image the export makes: 1 GiB of pixels, 32767 per side.
constexpr qint64 kMaxImagePixels = qint64{1} << 28;
constexpr int kMaxImageSide = 32767;

// An option of the export (a mode, the help, or one of the export's settings).
bool IsExportOption(const QString& a) {
    static const QStringList options = {kPrintPdf,
                                        kFillablePdf,
                                        kRenderPng,
                                        kHelp,
                                        QStringLiteral("-h"),
                                        QStringLiteral("--printer-dpi"),
                                        QStringLiteral("--paper"),
                                        QStringLiteral("--page"),
                                        QStringLiteral("--zoom"),
                                        QStringLiteral("--dpi")};
    return options.contains(a);
}

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

// The next argument as the value of option; false with error set when missing.
bool TakeValue(const QStringList& args, int& i, QString& value, QString& error) {
    if (i + 1 >= args.size()) {
        error = QStringLiteral("%1 needs a value.").arg(args[i]);
        return false;
    }
    value = args[++i];
    return true;
}

bool TakeInt(const QStringList& args, int& i, int low, int high, int& value, QString& error) {
    const QString option = args[i];
    QString text;
    if (!TakeValue(args, i, text, error)) return false;
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high) {
        error = QStringLiteral("%1 takes a whole number from %2 to %3, not \"%4\".")
                    .arg(option)
                    .arg(low)
                    .arg(high)
                    .arg(text);
        return false;
    }
    value = v;
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

bool IsCommandLineExport(const QStringList& arguments) {
    // Only an option in the first place selects the export: "quillora form.qlr -h"
    // opens form.qlr in the window.
    return !arguments.isEmpty() && IsExportOption(arguments.first());
}

bool IsCommandLineExport(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return IsCommandLineExport(arguments);
}

QString ExportUsage() {
    return QStringLiteral(
        "Usage:\n"
        "  quillora [FILE.qlr]\n"
        "      Opens the window, with the project file if one is given.\n"
        "  quillora --print-pdf OUT.pdf FILE.qlr [--printer-dpi N] [--paper A4|A5|Letter]\n"
        "      Prints all pages of the project into a PDF file, as \"Drucken\" does.\n"
        "      --printer-dpi N   printer resolution, 72 to 2400 (default 600)\n"
        "      --paper NAME      A4, A5 or Letter (default A4)\n"
        "  quillora --fillable-pdf OUT.pdf [--paper A4|A5|Letter] FILE.qlr\n"
        "      Prints all pages into a PDF file whose fields can be filled in on screen.\n"
        "  quillora --render-png OUT.png --page N [--zoom Z] [--dpi D] FILE.qlr\n"
        "      Draws page N as the preview shows it, on an A4 page at 600 dpi.\n"
        "      --page N          the page, from 1\n"
        "      --zoom Z          zoom in percent, 1 to 1000 (default 100)\n"
        "      --dpi D           screen resolution, 24 to 2400 (default 96)\n"
        "  quillora --help\n"
        "      Shows this text.\n"
        "A project file that cannot be read, a damaged one or a page beyond the end\n"
        "ends the program with a message and exit status 1; wrong options give status 2.\n");
}

ExportParse ParseExportArguments(const QStringList& args) {
    ExportParse result;
    ExportOptions& o = result.options;
    bool haveMode = false, havePage = false;
    QStringList files;
    auto setMode = [&](ExportOptions::Mode mode, int& i) {
        if (haveMode) {
            result.error = QStringLiteral(
                "Give only one of --print-pdf, --fillable-pdf, --render-png and --help.");
            return false;
        }
        haveMode = true;
        o.mode = mode;
        return mode == ExportOptions::Mode::Help || TakeValue(args, i, o.output, result.error);
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        bool ok = true;
        if (a == kHelp || a == QStringLiteral("-h")) {
            o.mode = ExportOptions::Mode::Help;
            result.ok = true;
            return result; // help wins over everything else
        } else if (a == kPrintPdf) {
            ok = setMode(ExportOptions::Mode::PrintPdf, i);
        } else if (a == kRenderPng) {
            ok = setMode(ExportOptions::Mode::RenderPng, i);
        } else if (a == kFillablePdf) {
            ok = setMode(ExportOptions::Mode::FillablePdf, i);
        } else if (a == QStringLiteral("--printer-dpi")) {
            ok = TakeInt(args, i, 72, 2400, o.printerDpi, result.error);
        } else if (a == QStringLiteral("--paper")) {
            ok = TakeValue(args, i, o.paper, result.error);
            if (ok && o.paper.compare(QStringLiteral("A4"), Qt::CaseInsensitive) != 0 &&
                o.paper.compare(QStringLiteral("A5"), Qt::CaseInsensitive) != 0 &&
                o.paper.compare(QStringLiteral("Letter"), Qt::CaseInsensitive) != 0) {
                result.error =
                    QStringLiteral("--paper is A4, A5 or Letter, not \"%1\".").arg(o.paper);
                ok = false;
            }
        } else if (a == QStringLiteral("--page")) {
            ok = TakeInt(args, i, 1, 100000, o.page, result.error);
            havePage = ok;
        } else if (a == QStringLiteral("--zoom")) {
            QString text;
            ok = TakeValue(args, i, text, result.error);
            bool number = false;
            const double z = text.toDouble(&number);
            if (ok && (!number || !std::isfinite(z) || z < 1 || z > 1000)) {
                result.error =
                    QStringLiteral("--zoom takes a number from 1 to 1000, not \"%1\".").arg(text);
                ok = false;
            }
            if (ok) o.zoom = z;
        } else if (a == QStringLiteral("--dpi")) {
            ok = TakeInt(args, i, 24, 2400, o.dpi, result.error);
        } else if (a.startsWith(QLatin1String("--"))) {
            result.error = QStringLiteral("Unknown option \"%1\".").arg(a);
            ok = false;
        } else {
            files << a;
        }
        if (!ok) return result;
    }
    if (!haveMode) {
        result.error = QStringLiteral("Give --print-pdf, --fillable-pdf or --render-png.");
        return result;
    }
    if (files.size() != 1) {
        result.error = files.isEmpty() ? QStringLiteral("No project file given.")
                                       : QStringLiteral("Give exactly one project file.");
        return result;
    }
    o.project = files.first();
    // Writing the output over the project file would lose the document.
    const QFileInfo project(o.project), output(o.output);
    if (project.exists() && output.exists() &&
        project.canonicalFilePath() == output.canonicalFilePath()) {
        result.error = QStringLiteral("The output file \"%1\" is the project file.").arg(o.output);
        return result;
    }
    if (o.mode == ExportOptions::Mode::RenderPng && !havePage) {
        result.error = QStringLiteral("--render-png needs --page N.");
        return result;
    }
    result.ok = true;
    return result;
}

bool PrintProjectToPdf(const QString& project, const QString& pdf, const QString& paper,
                       int printerDpi, const QString& programDir, QString* error, int* pages) {
    QString message;
    if (!error) error = &message;
    ExportProject loaded;
    if (!LoadProject(loaded, project, programDir, error)) return false;
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, QString(), paper, printerDpi);
    const int printed =
        PrintAllPagesToPdfFile(printer, loaded.Input(), MessageTable(20), pdf, error);
    if (printed < 0) return false;
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
    const int printed = PrintFillablePdf(printer, loaded.Input(), MessageTable(20), pdf, error);
    if (printed < 0) return false;
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
    return WriteFileAtomically(png, bytes, error);
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
} // namespace

ExportResult RunCommandLineExport(const QStringList& arguments, const QString& programDir) {
    ExportResult result;
    const ExportParse parse = ParseExportArguments(arguments);
    if (!parse.ok) {
        result.status = 2;
        result.error = parse.error + QStringLiteral("\nSee quillora --help.");
        return result;
    }
    const ExportOptions& o = parse.options;
    bool ok = true;
    switch (o.mode) {
    case ExportOptions::Mode::Help:
        result.output = ExportUsage();
        return result;
    case ExportOptions::Mode::PrintPdf: {
        int pages = 0;
        ok = PrintProjectToPdf(o.project, o.output, o.paper, o.printerDpi, programDir,
                               &result.error, &pages);
        if (ok)
            result.output = QStringLiteral("%1 page(s) printed into %2").arg(pages).arg(o.output);
        break;
    }
    case ExportOptions::Mode::FillablePdf:
        ok = RunFillablePdfExport(o, programDir, result);
        break;
    case ExportOptions::Mode::RenderPng:
        ok = RenderProjectPage(o.project, o.output, o.page, o.zoom, o.dpi, programDir,
                               &result.error);
        break;
    }
    if (!ok) result.status = 1;
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
