// The fillable PDF export of the generated order form (BenchDocuments.h) of
// about 100 A4 pages at 600 dpi against the plain PDF export (--print-pdf) of
// the same project file: seconds per page of each and their ratio (the goal
// is at most 1.5), wall and processor time, and the files' sizes.
//
// Run with --benchmark_repetitions=3 --benchmark_enable_random_interleaving=true
// on a busy machine: the report takes the medians.

#include "BenchDocuments.h"
#include "BenchMain.h"
#include "PrinterRun.h"
#include "ProjectExport.h"
#include "ProjectFile.h"
#include "QPainterCanvas.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <vector>

namespace {

struct Fixture {
    QTemporaryDir dir;
    QString project;
    Fixture() {
        const QString picture = WritePatternPicture(QDir(dir.path()));
        const QString logo = WritePatternPicture(QDir(dir.path()), QStringLiteral("logo.bmp"));
        QPrinter printer(QPrinter::HighResolution);
        SetUpPdfPrinter(printer, QString());
        FormDocument doc;
        const LayoutSettings settings = OrderFormSettings(true, logo);
        PageInput in{doc, settings};
        in.printer = PrinterPageOf(printer);
        FillToAboutPages(doc, in, 100, picture);
        project = QDir(dir.path()).filePath(QStringLiteral("form100.qlr"));
        WriteProjectFile(project, doc, settings);
    }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

QString ProgramDir() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/..");
}

// Wall and processor seconds per page of every run, plain (0) and fillable (1).
std::map<int, std::vector<std::pair<double, double>>> secondsPerPage;

// Argument: 0 the plain PDF, 1 the fillable PDF.
void BM_ExportOrderForm(benchmark::State& state) {
    const bool fillable = state.range(0) != 0;
    Fixture& f = Shared();
    const QString out = QDir(f.dir.path()).filePath(fillable ? "fillable.pdf" : "plain.pdf");
    auto run = [&](QString* error, int* pages) {
        return fillable ? ExportProjectFillablePdf(f.project, out, QStringLiteral("A4"),
                                                   ProgramDir(), error, pages)
                        : PrintProjectToPdf(f.project, out, QStringLiteral("A4"), 600, ProgramDir(),
                                            error, pages);
    };
    int pages = 0;
    run(nullptr, nullptr); // fonts and the PDF machinery once, untimed
    double wall = 0, cpu = 0;
    for (auto _ : state) {
        QString error;
        const double c0 = CpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        if (!run(&error, &pages)) state.SkipWithError(error.toStdString().c_str());
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        cpu += CpuSeconds() - c0;
    }
    const double runs = static_cast<double>(state.iterations());
    const double perPage = pages > 0 ? wall / runs / pages : 0;
    const double cpuPerPage = pages > 0 ? cpu / runs / pages : 0;
    secondsPerPage[fillable].push_back({perPage, cpuPerPage});
    state.counters["pages"] = pages;
    state.counters["s_per_page"] = perPage;
    state.counters["cpu_s_per_page"] = cpuPerPage;
    state.counters["pdf_MB"] = static_cast<double>(QFileInfo(out).size()) / 1e6;
}
BENCHMARK(BM_ExportOrderForm)
    ->ArgName("fillable")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void Report() {
    if (secondsPerPage[0].empty() || secondsPerPage[1].empty()) return;
    auto medians = [](int fillable) {
        std::vector<double> wall, cpu;
        for (const auto& [w, c] : secondsPerPage[fillable]) {
            wall.push_back(w);
            cpu.push_back(c);
        }
        return std::pair(Median(wall), Median(cpu));
    };
    const auto [plainWall, plainCpu] = medians(0);
    const auto [fillWall, fillCpu] = medians(1);
    std::printf("100-page form: fillable %.4f s/page, plain %.4f s/page, ratio %.2f "
                "(processor time %.4f / %.4f = %.2f); goal at most 1.5\n",
                fillWall, plainWall, fillWall / plainWall, fillCpu, plainCpu, fillCpu / plainCpu);
}

} // namespace

int main(int argc, char** argv) {
    return RunDrawingBenchmarks<QApplication>(argc, argv, [] { Report(); });
}
