// Editing the fields of a large category on the real main window: the button
// "Neues Feld" adding the n-th field to a category of n - 1 (list refill,
// selection, the field shown) followed by its undo; and the refill of the field
// list (ListFields) for n fields.
//
// Goals: each under one frame (16 ms), the first at 1,000 fields, the second at 5,000,
// and growing at most linearly with the number of fields.

#include "CategoryDialog.h"
#include "Document.h"
#include "FieldsTab.h"
#include "MainWindow.h"
#include "MoveFieldsDialog.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QUndoStack>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A shown main window whose one category, selected, holds `fields` fields.
struct Window {
    explicit Window(int fields) : form(dir.path(), {}) {
        form.show();
        Document& doc = form.document();
        doc.InsertCategory(0, TakenCategory::Make(QStringLiteral("Groß")));
        for (int i = 0; i < fields; ++i)
            doc.InsertField(0, i,
                            TakenField::Make(static_cast<FieldKind>(i % 3),
                                             QStringLiteral("Feld %1").arg(i), 6, 1.25));
        form.Fields()->SelectCategory(0);
        QApplication::processEvents();
    }
    ~Window() { form.document().MarkUnchanged(); }
    QTemporaryDir dir;
    MainWindow form;
};

void BM_NewFieldAndUndo(benchmark::State& state) {
    Window window(static_cast<int>(state.range(0)) - 1);
    FieldsTab& tab = *window.form.Fields();
    for (auto _ : state) {
        tab.newTextField();
        window.form.document().Undo();
    }
    if (window.form.document().FieldCount(0) != state.range(0) - 1)
        state.SkipWithError("the undo did not remove the field");
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_NewFieldAndUndo)
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(4000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_ListFields(benchmark::State& state) {
    Window window(static_cast<int>(state.range(0)));
    FieldsTab& tab = *window.form.Fields();
    for (auto _ : state)
        tab.ListFields();
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ListFields)
    ->Arg(1250)
    ->Arg(2500)
    ->Arg(5000)
    ->Arg(10000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
