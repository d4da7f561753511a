// Time of one PaintToCanvas call for the last page of generated documents of
// 1, 10 and 100 pages on a 600 dpi A4 page, and the share of it that is layout
// (the same pass asked for a page beyond the end draws nothing).
//
// Time of printing a whole 10 and 100 page document to a recording canvas both
// ways: page by page (PaintToCanvas for page 1, 2, 3, ..., each call a pass
// from page 1) and in one pass (PaintAllPages), with the growth
// time(100 pages) / time(10 pages) of each; 10 is linear.
//
// Each document is the generated order form of BenchDocuments.h (bands,
// introduction texts, rows of text boxes, check boxes, single-choice groups,
// a header with logo and band, footers, a white to light grey gradient).
// Pictures go through a cache kept across calls, as the program's print run
// keeps one.
//
// Time per glyph of large text on an image (a heading drawn with TextOut) at
// zoom 100, 200, 300, 1000 (an exposed part of the page) on a 96 dpi screen
// and at 600 dpi, against zoom 100.

#include "BenchDocuments.h"
#include "BenchMain.h"
#include "CategoryPictureCache.h"
#include "Dib.h"
#include "FormDocument.h"
#include "LayoutSettings.h"
#include "PaintToCanvas.h"
#include "QPainterCanvas.h"
#include "RecordingCanvas.h"
#include "Units.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
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
    dib logo{};
    LayoutSettings settings = OrderFormSettings(true);

    Fixture() {
        pictureFile = WritePatternPicture(QDir(dir.path()));
        newdib(&logo, 200, 200, 24);
        for (int i = 0; i < logo.bytew * 200; ++i)
            logo.poi[i] = static_cast<std::uint8_t>(i * 7);
    }
    ~Fixture() { FreeDib(logo); }

    PageInput Input(const FormDocument& doc, CategoryPictureCache* cache) const {
        PageInput in{doc, settings};
        in.logo = &logo;
        in.pictures = cache;
        return in;
    }
};

struct Generated {
    std::unique_ptr<FormDocument> document;
    int pages = 0;
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

// The order form of about `pages` pages, and its page count.
const Generated& DocumentOf(int pages) {
    static std::map<int, Generated> documents;
    Generated& g = documents[pages];
    if (!g.document) {
        g.document = std::make_unique<FormDocument>();
        g.pages = FillToAboutPages(*g.document, Shared().Input(*g.document, nullptr), pages,
                                   Shared().pictureFile);
    }
    return g;
}

void BM_PaintLastPage(benchmark::State& state) {
    const Generated& generated = DocumentOf(static_cast<int>(state.range(0)));
    const FormDocument& doc = *generated.document;
    const int pages = generated.pages;
    Fixture& f = Shared();
    CategoryPictureCache cache;
    QImage image(4960, 7016, QImage::Format_RGB32);
    QPainter painter(&image);
    QPainterCanvas canvas(painter, kDpi);
    const PageInput in = f.Input(doc, &cache);

    // Fonts, glyphs and pictures are made once, before anything is timed.
    PaintToCanvas(canvas, in, kDpi, 4960, 7016, pages, 100, true);
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
    state.counters["pages"] = pages;
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
    const FormDocument& doc = *DocumentOf(pages).document;
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

// Large text: a heading line of the category font (24 points, bold, 1.5 times
// for a heading) at a zoom and resolution, drawn with TextOut into an image of
// at most 1600 x 600 pixels (at zoom 1000 an exposed part, as the preview
// paints it). Time per glyph of the line once its glyphs were drawn before,
// and of the very first drawing, against zoom 100 on the screen.
std::map<std::pair<int, int>, double> glyphMicroseconds;

void BM_TextPerGlyph(benchmark::State& state) {
    const int dpi = static_cast<int>(state.range(0));
    const int zoom = static_cast<int>(state.range(1));
    const QString line = QStringLiteral("BESTELLUNG - IHRE ANGABEN");
    QImage probe(1, 1, QImage::Format_RGB32);
    QPainter probePainter(&probe);
    QPainterCanvas measure(probePainter, dpi);
    CanvasFont font;
    font.name = QStringLiteral("Arial");
    font.points = ScaledPoints(24, zoom, 1.5);
    font.style = 1;
    measure.SelectFont(font);
    const int width = std::min(1600, measure.TextWidth(line));
    const int height = std::min(600, measure.TextHeight(line));
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QPainterCanvas canvas(painter, dpi);
    canvas.SelectFont(font);
    canvas.SetTransparentText();

    SharedCanvasFonts().Clear();
    canvas.SelectFont(CanvasFont{});
    canvas.SelectFont(font);
    const auto first = std::chrono::steady_clock::now();
    canvas.TextOut(0, 0, line);
    const double firstSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - first).count();

    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        canvas.TextOut(0, 0, line);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    const double perGlyph = 1e6 * total / static_cast<double>(state.iterations()) / line.size();
    glyphMicroseconds[{dpi, zoom}] = perGlyph;
    state.counters["pixels"] = ScaledPoints(24, zoom, 1.5) * dpi / 72;
    state.counters["us_per_glyph"] = perGlyph;
    state.counters["first_us_per_glyph"] = 1e6 * firstSeconds / line.size();
    const auto base = glyphMicroseconds.find({96, 100});
    if (base != glyphMicroseconds.end()) state.counters["ratio_to_100"] = perGlyph / base->second;
}
BENCHMARK(BM_TextPerGlyph)
    ->Args({96, 100})
    ->Args({96, 200})
    ->Args({96, 300})
    ->Args({96, 1000})
    ->Args({600, 100})
    ->Unit(benchmark::kMicrosecond)
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
    return RunDrawingBenchmarks<QGuiApplication>(argc, argv, [] { ReportPrintGrowth(); });
}
