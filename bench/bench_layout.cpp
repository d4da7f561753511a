// Time of one PaintToCanvas call for the last page of generated documents of
// 1, 10 and 100 pages on a 600 dpi A4 page, and the share of it that is layout
// (the same pass asked for a page beyond the end draws nothing).
//
// Time of printing a whole 10 and 100 page document to a recording canvas both
// ways: page by page (PaintToCanvas for page 1, 2, 3, ..., each call a pass
// from page 1) and in one pass (PaintAllPages), with the growth
// time(100 pages) / time(10 pages) of each; 10 is linear.
//
// Each document has text, check box and single-choice fields, heading
// categories, category pictures before and below the name, background tiles,
// a header with logo and a footer. Pictures go through a cache kept across
// calls, as the program's print run keeps one.

#include "BenchDocuments.h"
#include "CategoryPictureCache.h"
#include "Dib.h"
#include "FormDocument.h"
#include "LayoutSettings.h"
#include "PaintToCanvas.h"
#include "QPainterCanvas.h"
#include "RecordingCanvas.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kDpi = 600;

struct Fixture {
    QTemporaryDir dir;
    QString pictureFile;
    dib tile{}, logo{};
    LayoutSettings settings;

    Fixture() {
        pictureFile = WritePatternPicture(QDir(dir.path()));
        newdib(&tile, 64, 32, 24);
        newdib(&logo, 200, 200, 24);
        for (int i = 0; i < tile.bytew * 32; ++i)
            tile.poi[i] = static_cast<std::uint8_t>(i * 7);
        settings.logoFile.clear();
        settings.tileWidthCm = 4; // tiles 4 cm wide
    }
    ~Fixture() {
        FreeDib(tile);
        FreeDib(logo);
    }

    PageInput Input(const FormDocument& doc, CategoryPictureCache* cache) const {
        PageInput in{doc, settings};
        in.background = &tile;
        in.logo = &logo;
        in.pictures = cache;
        return in;
    }

    // A document of exactly `pages` pages.
    std::unique_ptr<FormDocument> Document(int pages) const {
        auto doc = std::make_unique<FormDocument>();
        FillToPages(*doc, Input(*doc, nullptr), pages, pictureFile);
        return doc;
    }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

const FormDocument& DocumentOf(int pages) {
    static std::map<int, std::unique_ptr<FormDocument>> documents;
    auto& doc = documents[pages];
    if (!doc) doc = Shared().Document(pages);
    return *doc;
}

void BM_PaintLastPage(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    const FormDocument& doc = DocumentOf(pages);
    Fixture& f = Shared();
    CategoryPictureCache cache;
    QImage image(4960, 7016, QImage::Format_RGB32);
    QPainter painter(&image);
    QPainterCanvas canvas(painter, kDpi);
    const PageInput in = f.Input(doc, &cache);

    // Layout alone: the same pass asked for a page that does not exist.
    const int layoutRuns = 3;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < layoutRuns; ++i)
        PaintToCanvas(canvas, in, kDpi, 4960, 7016, pages + 1, 100, true);
    const double layoutSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
        layoutRuns;

    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const bool more = PaintToCanvas(canvas, in, kDpi, 4960, 7016, pages, 100, true);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        benchmark::DoNotOptimize(more);
    }
    const double perCall = total / static_cast<double>(state.iterations());
    state.counters["layout_ms"] = layoutSeconds * 1000;
    state.counters["layout_share_%"] = perCall > 0 ? 100 * layoutSeconds / perCall : 0;
    state.counters["categories"] = doc.CategoryCount();
}
BENCHMARK(BM_PaintLastPage)
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

enum class PrintWay { PageByPage, OnePass };

// Prints every page to the recording canvas; the operations of each page are
// dropped once it is done, as a printer sends each sheet. Returns the pages.
int PrintAll(PrintWay way, RecordingCanvas& canvas, const PageInput& in) {
    if (way == PrintWay::OnePass)
        return PaintAllPages(canvas, in, kDpi, 4960, 7016, [&] { canvas.ClearOps(); });
    int page = 1;
    while (PaintToCanvas(canvas, in, kDpi, 4960, 7016, page, 100, true)) {
        canvas.ClearOps();
        ++page;
    }
    canvas.ClearOps();
    return page;
}

// Seconds of one whole print run, by way and page count.
std::map<std::pair<PrintWay, int>, double> printSeconds;

void BM_PrintAllPages(benchmark::State& state, PrintWay way) {
    const int pages = static_cast<int>(state.range(0));
    const FormDocument& doc = DocumentOf(pages);
    CategoryPictureCache cache;
    const PageInput in = Shared().Input(doc, &cache);
    RecordingCanvas canvas(kDpi);
    int printed = 0;
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        printed = PrintAll(way, canvas, in);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    const double perRun = total / static_cast<double>(state.iterations());
    printSeconds[{way, pages}] = perRun;
    state.counters["pages"] = printed;
    state.counters["ms_per_page"] = printed > 0 ? 1000 * perRun / printed : 0;
    const auto ten = printSeconds.find({way, 10});
    if (pages != 10 && ten != printSeconds.end())
        state.counters["time_ratio_to_10"] = perRun / ten->second;
}
BENCHMARK_CAPTURE(BM_PrintAllPages, page_by_page, PrintWay::PageByPage)
    ->Arg(10)
    ->Arg(100)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_PrintAllPages, one_pass, PrintWay::OnePass)
    ->Arg(10)
    ->Arg(100)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void ReportPrintGrowth() {
    const char* names[] = {"page by page", "one pass"};
    for (PrintWay way : {PrintWay::PageByPage, PrintWay::OnePass}) {
        const auto ten = printSeconds.find({way, 10}), hundred = printSeconds.find({way, 100});
        if (ten == printSeconds.end() || hundred == printSeconds.end()) continue;
        std::printf("print %s: 10 pages %.1f ms, 100 pages %.1f ms, time(100)/time(10) = %.2f\n",
                    names[static_cast<int>(way)], 1000 * ten->second, 1000 * hundred->second,
                    hundred->second / ten->second);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ConfigureGlyphCache();
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    ReportPrintGrowth();
    benchmark::Shutdown();
    return 0;
}
