#include "Program.h"

#include "CommandLineExport.h"
#include "MainWindow.h"
#include "ProgramApplication.h"
#include "ProgramMessages.h"
#include "QPainterCanvas.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>

void InstallApplicationIcon() {
    // The icon lives in the static UI library: naming its resource keeps it linked.
    Q_INIT_RESOURCE(ProgramIcons);
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/quillora-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
}

int RunProgram(int argc, char** argv) {
    ConfigureGlyphCache();
    // The export draws into files and needs neither a display nor a window.
    if (IsCommandLineExport(argc, argv)) return RunExportProgram(argc, argv);
    ProgramApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillora"));
    InstallCoreMessageBoxes();
    // The main window and every dialog show it.
    InstallApplicationIcon();

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    // The main window makes the other windows and owns them.
    MainWindow window(QApplication::applicationDirPath(), arguments);
    window.show();
    return QApplication::exec();
}
