// The command-line PDF export of the generated order form (BenchDocuments.h)
// of about 12, 112 and 1,112 A4 pages, with the white to light grey gradient
// and with a plain background, at 600 and 150 dpi: time per page, the PDF's
// size and peak memory; then the gradient's cost against the plain
// background and the 600 dpi run against the 150 dpi run.
//
// Peak memory (peak_MiB) only grows within one process: compare the export
// of the 1,112-page form with loading it and drawing one page by running
// each case alone (--benchmark_filter).
//
// The preview: one repaint of page 1 and of the last page at zoom 100 (the
// whole page) and at zoom 1000 (an exposed part of 800 x 600 pixels) on a
// 96 dpi screen, as the preview draws it (with a page start index kept
// across repaints), against page 1 of the 12-page form; first_ms is the first
// drawing after the index was dropped.

#include "BenchDocuments.h"
#include "CategoryPictureCache.h"
#include "CommandLineExport.h"
#include "Dib.h"
#include "FormDocument.h"
#include "LayoutSettings.h"
#include "PageStartIndex.h"
#include "PaintToCanvas.h"
#include "PrintRun.h"
#include "ProjectFile.h"
#include "QPainterCanvas.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <tuple>
#include <vector>

namespace {

struct Fixture {
    QTemporaryDir dir;
    QString pictureFile, logoFile;
    PrinterPage a4;
    dib logo{};

    Fixture() {
        pictureFile = WritePatternPicture(QDir(dir.path()));
        logoFile = WritePatternPicture(QDir(dir.path()), QStringLiteral("logo.bmp"), 200, 200);
        QPrinter printer(QPrinter::HighResolution);
        SetUpPdfPrinter(printer, QString());
        a4 = PrinterPageOf(printer);
        newdib(&logo, 200, 200, 24);
        for (int i = 0; i < logo.bytew * 200; ++i)
            logo.poi[i] = static_cast<std::uint8_t>(i * 7);
    }
    ~Fixture() { FreeDib(logo); }

    // The order form of about `pages` A4 pages, in memory, and its page count.
    struct Form {
        std::unique_ptr<FormDocument> document;
        LayoutSettings settings;
        int pages = 0;
    };
    Form& FormOf(int pages, bool gradient) {
        Form& form = forms[{pages, gradient}];
        if (!form.document) {
            form.document = std::make_unique<FormDocument>();
            form.settings = OrderFormSettings(gradient, logoFile);
            PageInput in{*form.document, form.settings};
            in.printer = a4;
            form.pages = FillToAboutPages(*form.document, in, pages, pictureFile);
        }
        return form;
    }

    // Its project file.
    QString Project(int pages, bool gradient) {
        const QString path =
            dir.filePath(QStringLiteral("form%1%2.qlr").arg(pages).arg(gradient ? "g" : "p"));
        if (!QFileInfo::exists(path)) {
            const Form& form = FormOf(pages, gradient);
            WriteProjectFile(path, *form.document, form.settings);
        }
        return path;
    }

    std::map<std::pair<int, bool>, Form> forms;
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

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

QString ProgramDir() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/..");
}

// Seconds per page of the export (wall and processor time) of every run
// (repetitions included), by pages, dpi and gradient.
std::map<std::tuple<int, int, bool>, std::vector<std::pair<double, double>>> exportSecondsPerPage;

// The medians of wall and processor time of runs.
std::pair<double, double> Median(std::vector<std::pair<double, double>> runs) {
    auto middle = [&](auto part) {
        std::vector<double> v;
        for (const auto& r : runs)
            v.push_back(part(r));
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    return {middle([](const auto& r) { return r.first; }),
            middle([](const auto& r) { return r.second; })};
}

// Arguments: pages (about), printer dpi, gradient (1) or plain background (0).
void BM_ExportPdf(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    const int dpi = static_cast<int>(state.range(1));
    const bool gradient = state.range(2) != 0;
    Fixture& f = Shared();
    const QString project = f.Project(pages, gradient);
    const QString out = f.dir.filePath(QStringLiteral("out.pdf"));
    // Fonts and the PDF machinery are set up before the timing starts, so
    // that the first case measured pays nothing the others do not.
    PrintProjectToPdf(f.Project(12, gradient), out, QStringLiteral("A4"), dpi, ProgramDir(),
                      nullptr, nullptr);
    double total = 0, cpu = 0;
    int printed = 0;
    for (auto _ : state) {
        QString error;
        const double c0 = CpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        const bool ok = PrintProjectToPdf(project, out, QStringLiteral("A4"), dpi, ProgramDir(),
                                          &error, &printed);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        cpu += CpuSeconds() - c0;
        if (!ok) state.SkipWithError(error.toStdString().c_str());
    }
    const double perRun = total / static_cast<double>(state.iterations());
    const double perPage = printed > 0 ? perRun / printed : 0;
    exportSecondsPerPage[{pages, dpi, gradient}].push_back(
        {perPage, printed > 0 ? cpu / static_cast<double>(state.iterations()) / printed : 0});
    state.counters["pages"] = printed;
    state.counters["ms_per_page"] = 1000 * perPage;
    state.counters["cpu_ms_per_page"] =
        printed > 0 ? 1000 * cpu / static_cast<double>(state.iterations()) / printed : 0;
    state.counters["pdf_MB"] = static_cast<double>(QFileInfo(out).size()) / 1e6;
    state.counters["peak_MiB"] = PeakMemoryMiB();
}
BENCHMARK(BM_ExportPdf)
    ->ArgNames({"pages", "dpi", "gradient"})
    ->Args({12, 600, 1})
    ->Args({12, 600, 0})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ExportPdf)
    ->ArgNames({"pages", "dpi", "gradient"})
    ->Args({112, 600, 1})
    ->Args({112, 600, 0})
    ->Args({112, 150, 1})
    ->Args({112, 150, 0})
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ExportPdf)
    ->ArgNames({"pages", "dpi", "gradient"})
    ->Args({1112, 600, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// What the export adds to: reading the project file, preparing its pictures
// and drawing page 1 of it into an image at 150 dpi.
void BM_LoadAndDrawPage1(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    Fixture& f = Shared();
    const QString project = f.Project(pages, true);
    const QString png = f.dir.filePath(QStringLiteral("page1.png"));
    for (auto _ : state) {
        QString error;
        if (!RenderProjectPage(project, png, 1, 100, 150, ProgramDir(), &error))
            state.SkipWithError(error.toStdString().c_str());
    }
    state.counters["peak_MiB"] = PeakMemoryMiB();
}
BENCHMARK(BM_LoadAndDrawPage1)->Arg(1112)->Iterations(1)->Unit(benchmark::kMillisecond);

// Ratios of the medians of wall and processor time per page (the processor
// time is the steadier figure on a machine shared with other work; run with
// --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true to
// measure the cases side by side).
void ReportExport() {
    auto report = [](const char* what, std::pair<double, double> a, std::pair<double, double> b) {
        std::printf("%s: %.2f / %.2f ms/page = %.2f (processor time %.2f / %.2f = %.2f)\n", what,
                    1000 * a.first, 1000 * b.first, a.first / b.first, 1000 * a.second,
                    1000 * b.second, a.second / b.second);
    };
    auto find = [](int pages, int dpi, bool gradient) {
        const auto it = exportSecondsPerPage.find({pages, dpi, gradient});
        return it == exportSecondsPerPage.end() ? std::optional<std::pair<double, double>>()
                                                : std::optional(Median(it->second));
    };
    for (int pages : {12, 112})
        for (int dpi : {600, 150}) {
            const auto g = find(pages, dpi, true), p = find(pages, dpi, false);
            if (!g || !p) continue;
            const std::string what = "export " + std::to_string(pages) + " pages, " +
                                     std::to_string(dpi) + " dpi, gradient / plain";
            report(what.c_str(), *g, *p);
        }
    for (bool gradient : {true, false}) {
        const auto hi = find(112, 600, gradient), lo = find(112, 150, gradient);
        if (!hi || !lo) continue;
        report(gradient ? "export 112 pages, gradient, 600 dpi / 150 dpi"
                        : "export 112 pages, plain, 600 dpi / 150 dpi",
               *hi, *lo);
    }
}

// The last page as the preview lays the document out (its fonts differ from
// the recording canvas's that counted the pages): the first page after which
// none follows, found through the page start index.
int LastPreviewPage(const PageInput& in, int dpi, int zoom) {
    QImage probe(1, 1, QImage::Format_RGB32);
    QPainter painter(&probe);
    QPainterCanvas canvas(painter, dpi);
    const PageSize page = LayoutPageSize(in.printer, dpi, zoom);
    auto more = [&](int k) {
        return PaintToCanvas(canvas, in, dpi, page.width, page.height, k, zoom, false);
    };
    more(1000000); // lays out every page once
    int lo = 1, hi = 1000000;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (more(mid))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

// Milliseconds per repaint, by pages, page (0 first, 1 last) and zoom.
std::map<std::tuple<int, int, int>, double> previewMs;

// Arguments: pages (about), the page shown (0 the first, 1 the last), zoom.
void BM_Preview(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    const bool last = state.range(1) != 0;
    const int zoom = static_cast<int>(state.range(2));
    constexpr int dpi = 96;
    Fixture& f = Shared();
    Fixture::Form& form = f.FormOf(pages, true);
    CategoryPictureCache pictures;
    PageStartIndex starts;
    PageInput in{*form.document, form.settings};
    in.printer = f.a4;
    in.logo = &f.logo;
    in.pictures = &pictures;
    in.pageStarts = &starts;
    const PageSize page = LayoutPageSize(f.a4, dpi, zoom);
    const int shown = last ? LastPreviewPage(in, dpi, zoom) : 1;
    // Zoom 1000: the part of 800 x 600 pixels in the middle of the page.
    const bool whole = zoom <= 100;
    QImage part(whole ? page.width : 800, whole ? page.height : 600, QImage::Format_RGB32);
    const QPoint origin = whole ? QPoint() : QPoint(page.width / 2 - 400, page.height / 2 - 300);

    // The first drawing after a change lays out the pages up to the one shown.
    DrawPagePart(part, origin, in, dpi, page, 1, zoom); // fonts and pictures once
    starts.Invalidate();
    const auto first = std::chrono::steady_clock::now();
    DrawPagePart(part, origin, in, dpi, page, shown, zoom);
    const double firstMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - first).count();

    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        DrawPagePart(part, origin, in, dpi, page, shown, zoom);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    const double ms = 1000 * total / static_cast<double>(state.iterations());
    previewMs[{pages, last, zoom}] = ms;
    state.counters["page"] = shown;
    state.counters["first_ms"] = firstMs;
    state.counters["repaint_ms"] = ms;
    const auto base = previewMs.find({12, 0, zoom});
    if (base != previewMs.end()) state.counters["ratio_to_12_page1"] = ms / base->second;
}
BENCHMARK(BM_Preview)
    ->ArgNames({"pages", "last", "zoom"})
    ->Args({12, 0, 100})
    ->Args({1112, 0, 100})
    ->Args({1112, 1, 100})
    ->Args({12, 0, 1000})
    ->Args({1112, 0, 1000})
    ->Args({1112, 1, 1000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ConfigureGlyphCache();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    ReportExport();
    benchmark::Shutdown();
    return 0;
}
