// The page beside the fields on the 112-page form: a keystroke in the name of
// a field near the end, from the edit to the page drawn in the view (only that
// page and the ones after the change are laid out again), and finding the
// field under the mouse as the pointer moves over the page (a look-up in the
// field map). It uses the window's file command and its controls found by name.

#include "BenchDocuments.h"
#include "BenchMain.h"
#include "Document.h"
#include "FieldPageView.h"
#include "FieldsTab.h"
#include "LayoutSettings.h"
#include "MainWindow.h"
#include "ProjectFile.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct Window {
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> form;
    QPlainTextEdit* name = nullptr;
    QWidget* sheet = nullptr;

    Window() {
        const QString picture = WritePatternPicture(QDir(dir.path()));
        const LayoutSettings settings = OrderFormSettings(true);
        FormDocument doc;
        PageInput input{doc, settings};
        FillToAboutPages(doc, input, 112, picture);
        const QString path = dir.filePath(QStringLiteral("form.qlr"));
        if (!WriteProjectFile(path, doc, settings)) qFatal("cannot write the form");
        form = std::make_unique<MainWindow>(dir.path(), QStringList{path});
        form->resize(1400, 900);
        form->show();
        form->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
        form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(0);
        QApplication::processEvents();
        // A field of the last category but one: its page is near the end.
        const int category = form->document().CategoryCount() - 2;
        form->Fields()->SelectCategory(category);
        form->Fields()->SelectFields({1});
        name = form->findChild<QPlainTextEdit*>(QStringLiteral("ProdNameEd"));
        sheet = form->findChild<QWidget*>(QStringLiteral("SeitenansichtPage"));
        name->moveCursor(QTextCursor::End);
        sheet->repaint();
    }
};

Window& Shared() {
    static Window window;
    return window;
}

// One keystroke: the name changes, the page is laid out and drawn, the view repainted.
void BM_KeystrokeToPageView(benchmark::State& state) {
    Window& w = Shared();
    bool typed = false;
    for (auto _ : state) {
        if (typed)
            w.name->textCursor().deletePreviousChar();
        else
            w.name->insertPlainText(QStringLiteral("x"));
        typed = !typed;
        w.sheet->repaint();
    }
    // The page the field lands on: near the end of the form.
    state.counters["page"] = w.form->Fields()->PageView()->ShownPage();
}
BENCHMARK(BM_KeystrokeToPageView)->Unit(benchmark::kMillisecond)->UseRealTime();

// The pointer moving across the page: each position looks the field under it up.
void BM_FieldUnderMouse(benchmark::State& state) {
    Window& w = Shared();
    int step = 0;
    for (auto _ : state) {
        const QPointF at(8 + (step * 37) % w.sheet->width(), 8 + (step * 53) % w.sheet->height());
        ++step;
        QMouseEvent move(QEvent::MouseMove, at, w.sheet->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w.sheet, &move);
    }
}
BENCHMARK(BM_FieldUnderMouse)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return RunDrawingBenchmarks<QApplication>(argc, argv, [] { Shared().form.reset(); });
}
