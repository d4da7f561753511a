// Collecting returned orders: 1,000 filled-in fillable PDFs of a form of about
// 12 A4 pages (BenchDocuments.h) read into the order table and written as CSV
// as the command line writes it, each order as it is read. The goal is under
// 10 s for the 1,000 on one core; the peak memory must not grow with the
// number of files (compare the 100 and the 1,000 runs).
//
// The files are made by FilledReturns.h.

#include "AtomicFile.h"
#include "BenchDocuments.h"
#include "BenchMain.h"
#include "FilledReturns.h"
#include "OrderCollection.h"

#include <QDir>
#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Argument: how many of the files are collected.
void BM_CollectOrders(benchmark::State& state) {
    FilledReturns& f = SharedFilledReturns();
    const int n = static_cast<int>(state.range(0));
    const OrderForm form = MakeOrderForm(f.doc, f.settings);
    QStringList files;
    for (int i = 0; i < n; ++i)
        files << QDir(f.folder).filePath(QStringLiteral("%1.pdf").arg(i, 4, 10, QLatin1Char('0')));
    int rows = 0;
    const QString csv = QDir(f.dir.path()).filePath(QStringLiteral("orders.csv"));
    for (auto _ : state) {
        AtomicFileWriter file(csv);
        file.Open();
        auto write = [&](const QStringList& cells) {
            const QByteArray line = CsvLine(cells, QLatin1Char(';'));
            file.Write(line.constData(), line.size());
        };
        write(OrderTable(form).Heads(QStringLiteral("Datei")));
        const OrderCollection collection = CollectOrders(form, files, {}, write);
        write(collection.table.Totals(QStringLiteral("Summe")));
        file.Commit();
        rows = collection.table.RowCount();
    }
    state.counters["pages"] = f.pages;
    state.counters["columns"] = static_cast<double>(form.columns.size());
    state.counters["rows"] = rows;
    state.counters["peak_MB"] = static_cast<double>(PeakKilobytes()) / 1024.0;
}
BENCHMARK(BM_CollectOrders)
    ->Arg(100)
    ->Arg(kMostFiles)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return RunDrawingBenchmarks<QGuiApplication>(argc, argv, [] {});
}
