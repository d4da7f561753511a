// The preview as the window paints it: page 1 of a generated 100-page form,
// the whole page at zoom 100 and an exposed part at zoom 1000. It uses only the
// window's file command and its controls found by name, so that the same
// program measures any version of the window.

#include "BenchDocuments.h"
#include "BenchMain.h"
#include "LayoutSettings.h"
#include "MainWindow.h"
#include "ProjectFile.h"
#include "QPainterCanvas.h"

#include <QApplication>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct Window {
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> form;
    QWidget* box = nullptr;

    Window() {
        const QString picture = WritePatternPicture(QDir(dir.path()));
        const LayoutSettings settings = OrderFormSettings(true);
        FormDocument doc;
        PageInput input{doc, settings};
        FillToAboutPages(doc, input, 100, picture);
        const QString path = dir.filePath(QStringLiteral("form.qlr"));
        if (!WriteProjectFile(path, doc, settings)) qFatal("cannot write the form");
        form = std::make_unique<MainWindow>(dir.path(), QStringList{path});
        form->resize(1000, 800);
        form->show();
        form->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
        form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(2);
        box = form->findChild<QWidget*>(QStringLiteral("PaintBox1"));
    }
    void Zoom(int zoom) {
        form->findChild<QSpinBox*>(QStringLiteral("ZoomEd"))->setValue(zoom);
        box->repaint(); // the first paint only resizes the box
        QApplication::processEvents();
    }
};

Window& Shared() {
    static Window window;
    return window;
}

void BM_PreviewRepaint(benchmark::State& state) {
    Window& w = Shared();
    const int zoom = static_cast<int>(state.range(0));
    w.Zoom(zoom);
    // Zoom 1000 repaints the part a window shows, as scrolling exposes it.
    const QRect part = zoom == 100 ? w.box->rect() : QRect(200, 300, 900, 700);
    for (auto _ : state)
        w.box->repaint(part);
    state.counters["pixels"] = static_cast<double>(part.width()) * part.height();
}
BENCHMARK(BM_PreviewRepaint)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return RunDrawingBenchmarks<QApplication>(argc, argv, [] { Shared().form.reset(); });
}
