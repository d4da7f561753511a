// Random walks of user actions through the main window, seed after seed, for
// as long as it is given (seconds as the first argument, 60 by default):
// reports the steps and seeds run and, for every failing seed, the shortest
// run of its steps that still fails. The tests run a few seeds; this runs many.
#include "DocumentEdits.h"
#include "WindowMonkey.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {
void WriteForm(const QString& path, int categories, int fields) {
    FormDocument form;
    for (int c = 0; c < categories; ++c) {
        AppendCategory(form, QStringLiteral("Kategorie %1").arg(c));
        for (int f = 0; f < fields; ++f)
            AppendField(form, c, static_cast<FieldKind>(f % 3), QStringLiteral("Feld %1").arg(f), 3, 1);
    }
    WriteProjectFile(path, form, LayoutSettings{});
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config, prog, files;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 60;
    const int steps = argc > 2 ? std::max(1, atoi(argv[2])) : 400;
    const int first = argc > 3 ? atoi(argv[3]) : 1000;
    QFile::copy(QStringLiteral(QUILLORA_SOURCE_DIR "/samples/test.qlr"), files.filePath(QStringLiteral("a-sample.qlr")));
    WriteForm(files.filePath(QStringLiteral("b-one.qlr")), 1, 2);
    WriteForm(files.filePath(QStringLiteral("c-empty.qlr")), 0, 0);
    WriteForm(files.filePath(QStringLiteral("d-three.qlr")), 3, 4);

    WindowMonkey monkey(prog.path(), files.path());
    QElapsedTimer clock;
    clock.start();
    long long run = 0;
    int seeds = 0, failures = 0;
    for (int seed = first; clock.elapsed() < seconds * 1000LL; ++seed, ++seeds) {
        const auto walk = WindowMonkey::Walk(static_cast<quint32>(seed), steps);
        const WindowMonkey::Outcome outcome = monkey.Run(walk);
        run += outcome.stepsRun;
        if (!outcome.failed()) continue;
        ++failures;
        std::printf("seed %d fails at step %d: %s\nshortest failing steps:\n", seed,
                    outcome.failedAt + 1, qPrintable(outcome.reason));
        for (const MonkeyStep& s : monkey.Shrink(walk))
            std::printf("  %s\n", qPrintable(WindowMonkey::Describe(s)));
    }
    std::printf("monkey: %lld steps, %d seeds from %d, %d failing, %.1f s\n", run, seeds, first,
                failures, clock.elapsed() / 1000.0);
    return failures ? 1 : 0;
}
