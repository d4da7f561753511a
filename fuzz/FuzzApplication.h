#pragma once
// A headless application for the fuzz targets that need Qt's picture readers
// (loaded as plug-ins) or fonts.

#include <QGuiApplication>

inline void StartFuzzApplication() {
    static int argc = 1;
    static char name[] = "fuzzer";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
}
