// Collecting returned orders on every core: the 1,000 filled-in PDFs of the
// 12-page form (FilledReturns.h) read into the order table and written as
// CSV, as the command line does,
//   - the way it was: one file after the other on one core, each read by qpdf;
//   - the quick reader of plain files (PlainPdf.h) on one core;
//   - the way it is: CollectOrders, the files read on every core, rows in input order;
//   - pypdf's get_fields() over the same files (/usr/bin/python3), for the ratio.
// The goal: every core in at most half the time the way it was takes (7.7 s
// for the 1,000 when this was written), and peak memory the same for 100 and
// 1,000 files.

#include "AtomicFile.h"
#include "BenchMain.h"
#include "FilledReturns.h"
#include "OrderCollection.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <sys/resource.h>
#include <thread>

namespace {

std::map<std::string, double> seconds; // by benchmark and file count: the last run

// CPU seconds of every thread of the process so far.
double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The table written as CSV, each order as it is complete.
struct CsvOut {
    AtomicFileWriter file;
    explicit CsvOut(const QString& path) : file(path) { file.Open(); }
    void operator()(const QStringList& cells) {
        const QByteArray line = CsvLine(cells, QLatin1Char(';'));
        file.Write(line.constData(), line.size());
    }
};

ReturnedRead ReadWithQpdfAlone(const QString& path, const OrderForm& form) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return ReadReturnedPdfBytesWithQpdf(file.readAll(), form);
}

// One file after the other on this thread, each read by readFile.
template <ReturnedRead (*readFile)(const QString&, const OrderForm&)>
int CollectOnOneCore(const OrderForm& form, const QStringList& files, CsvOut& out) {
    OrderCollection collection(form);
    collection.table.SetRowSink([&](const QStringList& cells) { out(cells); });
    for (const QString& path : files) {
        const ReturnedRead read = readFile(path, form);
        if (read.ok)
            collection.table.Add(QFileInfo(path).fileName(), read.cells);
        else
            collection.rejected.push_back({path, read.rejection});
    }
    collection.table.Finish();
    out(collection.table.Totals(QStringLiteral("Summe")));
    return collection.table.RowCount();
}

int CollectOnEveryCore(const OrderForm& form, const QStringList& files, CsvOut& out) {
    const OrderCollection collection =
        CollectOrders(form, files, {}, [&](const QStringList& cells) { out(cells); });
    out(collection.table.Totals(QStringLiteral("Summe")));
    return collection.table.RowCount();
}

template <int (*collect)(const OrderForm&, const QStringList&, CsvOut&)>
void BM_Collect(benchmark::State& state, const char* name) {
    FilledReturns& f = SharedFilledReturns();
    const int n = static_cast<int>(state.range(0));
    const OrderForm form = MakeOrderForm(f.doc, f.settings);
    const QStringList files = FilledReturnFiles(f, n);
    const QString csv = QDir(f.dir.path()).filePath(QStringLiteral("orders.csv"));
    int rows = 0;
    double cpu = 0;
    for (auto _ : state) {
        const double cpuBefore = ProcessCpuSeconds();
        QElapsedTimer timer;
        timer.start();
        CsvOut out(csv);
        out(OrderTable(form).Heads(QStringLiteral("Datei")));
        rows = collect(form, files, out);
        out.file.Commit();
        seconds[name + std::to_string(n)] = timer.nsecsElapsed() / 1e9;
        cpu = ProcessCpuSeconds() - cpuBefore;
    }
    state.counters["rows"] = rows;
    state.counters["cpu_s"] = cpu; // of every thread
    state.counters["peak_MB"] = static_cast<double>(PeakKilobytes()) / 1024.0;
}

void BM_CollectOneCoreQpdf(benchmark::State& state) {
    BM_Collect<CollectOnOneCore<ReadWithQpdfAlone>>(state, "qpdf one core ");
}
void BM_CollectOneCore(benchmark::State& state) {
    BM_Collect<CollectOnOneCore<ReadReturnedPdf>>(state, "one core ");
}
void BM_CollectEveryCore(benchmark::State& state) {
    BM_Collect<CollectOnEveryCore>(state, "every core ");
}

// pypdf reading the fields of the same files, one interpreter for all of them.
void BM_PypdfGetFields(benchmark::State& state) {
    FilledReturns& f = SharedFilledReturns();
    const int n = static_cast<int>(state.range(0));
    const QStringList files = FilledReturnFiles(f, n);
    const QString script =
        QStringLiteral("import sys, pypdf\n"
                       "count = 0\n"
                       "for path in sys.argv[1:]:\n"
                       "    count += len(pypdf.PdfReader(path).get_fields() or {})\n"
                       "print(count)\n");
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        QProcess python;
        python.start(QStringLiteral("/usr/bin/python3"), QStringList{"-c", script} + files);
        if (!python.waitForFinished(-1) || python.exitCode() != 0) {
            state.SkipWithError("pypdf did not run (python3-pypdf installed?)");
            return;
        }
        seconds["pypdf " + std::to_string(n)] = timer.nsecsElapsed() / 1e9;
        state.counters["fields"] = python.readAllStandardOutput().trimmed().toDouble() / n;
    }
}

BENCHMARK(BM_CollectOneCoreQpdf)->Arg(kMostFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CollectOneCore)
    ->Arg(100)
    ->Arg(kMostFiles)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_CollectEveryCore)
    ->Arg(100)
    ->Arg(kMostFiles)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_PypdfGetFields)
    ->Arg(kMostFiles)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

void Summary() {
    const std::string n = std::to_string(kMostFiles);
    const double was = seconds["qpdf one core " + n], one = seconds["one core " + n];
    const double every = seconds["every core " + n], pypdf = seconds["pypdf " + n];
    if (was <= 0 || one <= 0 || every <= 0) return;
    std::printf("\n%s files: the way it was (qpdf, one core) %.2f s; the quick reader on one "
                "core %.2f s, on every core (%u) %.2f s: %.2fx faster than the way it was, %s the "
                "goal (at most half of it)\n",
                n.c_str(), was, one, std::thread::hardware_concurrency(), every, was / every,
                every <= was / 2 ? "within" : "NOT within");
    if (pypdf > 0)
        std::printf("pypdf get_fields over the same files: %.2f s, %.1fx the time of every core\n",
                    pypdf, pypdf / every);
}

} // namespace

int main(int argc, char** argv) {
    return RunDrawingBenchmarks<QGuiApplication>(argc, argv, Summary);
}
