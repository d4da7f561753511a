#include "Program.h"

#include "MainUnit.h"

#include <QApplication>

int RunProgram(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillora"));
    TMainForm mainForm;
    mainForm.show();
    return QApplication::exec();
}
