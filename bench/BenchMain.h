#pragma once
// The main() of the timing programs that draw: an offscreen Qt application
// (QGuiApplication, or QApplication where widgets are timed) with the glyph
// cache set up as the program sets it up, then Google Benchmark, then the
// program's own summary printed from what the runs collected.

#include "QPainterCanvas.h"

#include <QtGlobal>
#include <benchmark/benchmark.h>

template <typename Application, typename Summary>
int RunDrawingBenchmarks(int argc, char** argv, Summary summary) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ConfigureGlyphCache();
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    summary();
    benchmark::Shutdown();
    return 0;
}
