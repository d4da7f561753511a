#include "MainUnit.h"

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Torvane Quillora 1.0"));
}
