// Test entry for windows and dialogs: a headless QApplication.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Headless always; a run may give the offscreen platform its options (a
    // configuration file with the screens to show on).
    if (!qgetenv("QT_QPA_PLATFORM").startsWith("offscreen")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
