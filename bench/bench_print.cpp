// The command-line PDF export of generated documents of 10 and 100 pages on A4
// at 600 dpi: seconds per page, peak memory, and how the time grows with the
// page count (time(100 pages) / time(10 pages); 10 would be linear).
//
// Each document has text, check box and single-choice fields, heading
// categories, category pictures before and below the name, a tiled background
// picture, a header with logo and a footer. The export reads the project file,
// prepares the pictures and prints through the same run as the print command.

#include "BenchDocuments.h"
#include "CommandLineExport.h"
#include "FormDocument.h"
#include "LayoutSettings.h"
#include "PaintToCanvas.h"
#include "PrintRun.h"
#include "ProjectFile.h"
#include "QPainterCanvas.h"
#include "RecordingCanvas.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <map>
#include <sys/resource.h>

namespace {

constexpr int kDpi = 600;

struct Fixture {
    QTemporaryDir dir;
    QString pictureFile;
    LayoutSettings settings;
    PrinterPage a4;

    Fixture() {
        pictureFile = WritePatternPicture(QDir(dir.path()));
        settings.backgroundFile = pictureFile; // background tiles
        settings.tileWidthCm = 4;
        QPrinter printer(QPrinter::HighResolution);
        SetUpPdfPrinter(printer, QString());
        a4 = PrinterPageOf(printer);
    }

    // The project file of a document of exactly `pages` A4 pages.
    QString Project(int pages) const {
        FormDocument doc;
        PageInput in{doc, settings};
        in.printer = a4;
        FillToPages(doc, in, pages, pictureFile);
        const QString path = dir.filePath(QStringLiteral("pages%1.qlr").arg(pages));
        WriteProjectFile(path, doc, settings);
        return path;
    }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

double PeakMemoryMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB
}

std::map<int, double> secondsPerRun;    // wall time, by page count
std::map<int, double> cpuSecondsPerRun; // processor time, by page count

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_ExportPdf(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    Fixture& f = Shared();
    const QString project = f.Project(pages);
    const QString out = f.dir.filePath(QStringLiteral("out%1.pdf").arg(pages));
    const QString programDir = QCoreApplication::applicationDirPath() + QStringLiteral("/..");
    double total = 0, cpu = 0;
    int printed = 0;
    for (auto _ : state) {
        QString error;
        const double c0 = CpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        const bool ok = PrintProjectToPdf(project, out, QStringLiteral("A4"), kDpi, programDir,
                                          &error, &printed);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        cpu += CpuSeconds() - c0;
        if (!ok) state.SkipWithError(error.toStdString().c_str());
    }
    const double perRun = total / static_cast<double>(state.iterations());
    const double cpuPerRun = cpu / static_cast<double>(state.iterations());
    secondsPerRun[pages] = perRun;
    cpuSecondsPerRun[pages] = cpuPerRun;
    state.counters["pages"] = printed;
    state.counters["s_per_page"] = printed > 0 ? perRun / printed : 0;
    state.counters["peak_MiB"] = PeakMemoryMiB();
    if (secondsPerRun.count(10) && pages != 10) {
        state.counters["time_ratio_to_10"] = perRun / secondsPerRun[10];
        state.counters["cpu_ratio_to_10"] = cpuPerRun / cpuSecondsPerRun[10];
    }
}
BENCHMARK(BM_ExportPdf)->Arg(10)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportPdf)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// One repaint of an 800 x 600 part of the preview at 1000 % on a 96 dpi screen:
// what scrolling the preview costs at its highest zoom.
void BM_PreviewPartAt1000(benchmark::State& state) {
    Fixture& f = Shared();
    const QString project = f.Project(10);
    auto read = ReadProjectFileFromPath(project, LayoutSettings());
    if (!read.ok()) {
        state.SkipWithError("project not readable");
        return;
    }
    PageInput in{*read.document, read.settings};
    in.printer = f.a4;
    const PageSize page = LayoutPageSize(f.a4, 96, 1000);
    QImage part(800, 600, QImage::Format_RGB32);
    const QPoint origin(page.width / 3, page.height / 3);
    for (auto _ : state)
        DrawPagePart(part, origin, in, 96, page, 1, 1000);
    state.counters["page_px"] = static_cast<double>(page.width) * page.height;
}
BENCHMARK(BM_PreviewPartAt1000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ConfigureGlyphCache();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
