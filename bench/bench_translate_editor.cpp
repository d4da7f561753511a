// The translation editor on a table of 5,000 rows: opening the window (filling
// the grid, laying it out, painting it) and the save of one keystroke, which
// rewrites the whole "translate.dat" atomically. The baseline writes the same
// bytes with one write and one fsync, the least any safe save can cost.
//
// Goals: opening under 100 ms; one keystroke's save within 2 times the baseline.
// The files go to TMPDIR (or the current folder with QUILLORA_BENCH_DIR=.), so
// the figures depend on that file system's fsync.

#include "TranslationEditor.h"
#include "TranslationFile.h"
#include "TranslationGridModel.h"
#include "Translator.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <memory>

namespace {

constexpr int kRows = 5000;

struct Fixture {
    Fixture()
        : dir(qEnvironmentVariableIsSet("QUILLORA_BENCH_DIR")
                  ? QDir(qEnvironmentVariable("QUILLORA_BENCH_DIR"))
                        .filePath(QStringLiteral("bench-XXXXXX"))
                  : QDir::tempPath() + QStringLiteral("/bench-XXXXXX")) {
        // No user copy of the table may hide the one made here.
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
        TranslationTable table;
        for (int r = 0; r < kRows; ++r) {
            std::array<QString, kTranslationColumns> cells;
            cells[0] = QStringLiteral("Eintrag Nummer %1 mit etwas Text").arg(r);
            cells[1] = QStringLiteral("Entry number %1 with some text").arg(r);
            if (r % 3 == 0) cells[2] = QStringLiteral("Entrée numéro %1").arg(r);
            if (r % 5 == 0) cells[3] = QStringLiteral("Regel nummer %1").arg(r);
            table.AppendRow(cells);
        }
        bytes = TranslationBytes(table);
        QFile file(dir.filePath(QStringLiteral("translate.dat")));
        if (file.open(QIODevice::WriteOnly)) file.write(bytes);
        file.close();
        translator.InitTranslation(dir.path() + u'/');
        form = std::make_unique<TranslationEditor>(translator);
    }

    QTemporaryDir dir;
    QByteArray bytes;
    Translator translator;
    std::unique_ptr<TranslationEditor> form;
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void BM_OpenEditor(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        f.form->show(); // fills the grid
        QCoreApplication::processEvents();
        f.form->repaint();
        state.PauseTiming();
        f.form->hide();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["rows"] = f.translator.RowCount();
}
BENCHMARK(BM_OpenEditor)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_KeystrokeSave(benchmark::State& state) {
    Fixture& f = Shared();
    f.form->show();
    QCoreApplication::processEvents();
    int n = 0;
    for (auto _ : state) {
        // One more character in the middle row's English cell, as typed.
        f.form->grid->StringGrid1SetEditText(1, kRows / 2, QStringLiteral("Entry %1").arg(n++));
    }
    f.form->hide();
    state.counters["file_bytes"] = double(f.bytes.size());
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}
BENCHMARK(BM_KeystrokeSave)->Unit(benchmark::kMillisecond)->UseRealTime();

// The part of a save spent making the file's bytes from the table.
void BM_TableBytes(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state)
        benchmark::DoNotOptimize(TranslationBytes(f.translator.Table()));
}
BENCHMARK(BM_TableBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same bytes in one write and one fsync, into one file kept open anew each time.
void BM_BaselineWriteFsync(benchmark::State& state) {
    Fixture& f = Shared();
    const QByteArray path = f.dir.filePath(QStringLiteral("baseline.dat")).toLocal8Bit();
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, f.bytes.constData(), size_t(f.bytes.size())) != f.bytes.size() ||
            ::fsync(fd) != 0)
            state.SkipWithError("baseline write failed");
        if (fd >= 0) ::close(fd);
    }
    state.counters["file_bytes"] = double(f.bytes.size());
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}
BENCHMARK(BM_BaselineWriteFsync)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
