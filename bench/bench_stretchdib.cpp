// Speed of drawing pictures with StretchDib: the row-by-row copy alone (on a
// device that discards the rows), the whole road onto a QImage for screens (row
// by row) and printers (one direct stretch), enlarging and shrinking, and the
// row path against Qt's own drawImage.
#include "DibImage.h"
#include "QPainterDibDevice.h"
#include "StretchDib.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

class DiscardingDevice : public DibDeviceWithoutBitmaps {
  public:
    DeviceTechnology Technology() const override { return DeviceTechnology::RasterDisplay; }
    std::uint32_t RasterCaps() const override { return RC_DIBTODEV; }
    int StretchDIBits(int, int, int, int h, int, int, int, int, const std::uint8_t*,
                      const BITMAPINFO*, std::uint32_t) override {
        return h;
    }
    int SetDIBitsToDevice(int, int, int, int, int, int, int, int lines, const std::uint8_t* bits,
                          const BITMAPINFO*) override {
        benchmark::DoNotOptimize(bits[0]);
        return lines;
    }
};

struct Picture {
    dib rec{};
    Picture(int w, int h, int bits) {
        newdib(&rec, w, h, bits);
        for (int i = 0; i < rec.bytew * h; ++i)
            rec.poi[i] = static_cast<std::uint8_t>(i * 31);
        for (int i = 0; i < 256 && bits == 8; ++i)
            rec.pmi->bmiColors[i] = RGBQUAD{std::uint8_t(i), std::uint8_t(255 - i), 128, 0};
    }
    ~Picture() { FreeDib(rec); }
};

QGuiApplication* EnsureApp() {
    static int argc = 1;
    static char name[] = "bench_stretchdib";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    return app;
}

// args: bit count, picture side, destination side
void BM_RowCopyOnly(benchmark::State& state) {
    const int bits = static_cast<int>(state.range(0));
    const int side = static_cast<int>(state.range(1));
    const int dest = static_cast<int>(state.range(2));
    Picture p(side, side, bits);
    DiscardingDevice device;
    for (auto _ : state)
        StretchDib(device, 0, 0, dest, dest, p.rec, 0, 0, side, side, SRCCOPY);
    state.SetItemsProcessed(state.iterations() * dest * dest);
}
BENCHMARK(BM_RowCopyOnly)
    ->Args({24, 200, 800})
    ->Args({8, 200, 800})
    ->Args({24, 2000, 500})
    ->Args({24, 1000, 3000});

// args: bit count, picture side, destination side, 1 for a printer
void BM_OntoImage(benchmark::State& state) {
    EnsureApp();
    const int bits = static_cast<int>(state.range(0));
    const int side = static_cast<int>(state.range(1));
    const int dest = static_cast<int>(state.range(2));
    const auto tech =
        state.range(3) ? DeviceTechnology::RasterPrinter : DeviceTechnology::RasterDisplay;
    Picture p(side, side, bits);
    QImage canvas(dest, dest, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&canvas);
        QPainterDibDevice device(painter, tech);
        StretchDib(device, 0, 0, dest, dest, p.rec, 0, 0, side, side, SRCCOPY);
    }
    state.SetItemsProcessed(state.iterations() * dest * dest);
}
BENCHMARK(BM_OntoImage)
    ->Args({24, 200, 800, 0})
    ->Args({8, 200, 800, 0})
    ->Args({24, 2000, 500, 0})
    ->Args({24, 200, 800, 1})
    ->Args({4, 200, 800, 1})
    ->Unit(benchmark::kMicrosecond);

// A 2000 x 1500 24-bit picture on a screen image at 1:1 and enlarged 3 times:
// the row path against one QPainter::drawImage of the same destination size.
// Reports microseconds per destination megapixel for both and their ratio
// (row path / drawImage); the goal is a ratio of at most 3.
void BM_RowPathAgainstDrawImage(benchmark::State& state) {
    EnsureApp();
    const int scale = static_cast<int>(state.range(0));
    const int w = 2000, h = 1500, dw = w * scale, dh = h * scale;
    Picture p(w, h, 24);
    const QImage source = DibToImage(p.rec);
    QImage canvas(dw, dh, QImage::Format_RGB32);
    double rowSeconds = 0, drawSeconds = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        {
            QPainter painter(&canvas);
            QPainterDibDevice device(painter, DeviceTechnology::RasterDisplay);
            StretchDib(device, 0, 0, dw, dh, p.rec, 0, 0, w, h, SRCCOPY);
        }
        auto t1 = std::chrono::steady_clock::now();
        {
            QPainter painter(&canvas);
            painter.drawImage(QRect(0, 0, dw, dh), source);
        }
        auto t2 = std::chrono::steady_clock::now();
        rowSeconds += std::chrono::duration<double>(t1 - t0).count();
        drawSeconds += std::chrono::duration<double>(t2 - t1).count();
    }
    const double megapixels = double(dw) * dh / 1e6 * double(state.iterations());
    state.counters["row_us_per_MP"] = rowSeconds * 1e6 / megapixels;
    state.counters["drawImage_us_per_MP"] = drawSeconds * 1e6 / megapixels;
    state.counters["ratio"] = rowSeconds / drawSeconds;
}
BENCHMARK(BM_RowPathAgainstDrawImage)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
