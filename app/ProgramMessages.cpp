#include "ProgramMessages.h"

#include "DynaArray.h"
#include "StretchDib.h"

#include <QMessageBox>

bool AskYesNo(QWidget* parent, const QString& title, const QString& text) {
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

Answer AskYesNoCancel(QWidget* parent, const QString& title, const QString& text) {
    switch (QMessageBox::question(parent, title, text,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                  QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void ShowInformation(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text);
}

void ShowError(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::critical(parent, title, text);
}

namespace {
void OutOfMemoryBox(const std::string& message) {
    QMessageBox::critical(nullptr, QString(), QString::fromStdString(message));
}
} // namespace

void InstallCoreMessageBoxes() {
    dyna::SetAllocFailureHandler(&OutOfMemoryBox);
    SetDibMessageHook(
        [](const QString& text) { QMessageBox::information(nullptr, QString(), text); });
}
