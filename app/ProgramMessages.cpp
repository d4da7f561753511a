#include "ProgramMessages.h"

#include "FileFailure.h"
#include "RecordArray.h"
#include "StretchDib.h"
#include "Translator.h"

#include <QApplication>
#include <QDir>
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

QString FileFailureMessage(const QString& lead, const QString& path, const FileFailure& failure) {
    return TranslateText(lead) + QDir::toNativeSeparators(path) + QStringLiteral("\n\n") +
           TranslateText(failure.reason);
}

void ReportFileFailure(QWidget* parent, const QString& lead, const QString& path,
                       const FileFailure& failure) {
    ShowError(parent, QApplication::applicationName(), FileFailureMessage(lead, path, failure));
}

namespace {
void OutOfMemoryBox(int errorNumber, std::uint64_t needed) {
    // A lookup may append a row and so need memory itself: a failure while the
    // message is being translated shows its own message untranslated.
    static bool translating = false;
    QString text;
    if (translating) {
        text = QString::fromStdString(record_array::AllocFailureMessage(errorNumber, needed));
    } else {
        translating = true;
        text = TranslateText(QString::fromStdString(record_array::AllocFailureLead(errorNumber))) +
               QString::number(needed) +
               TranslateText(QString::fromLatin1(record_array::kAllocFailureTail));
        translating = false;
    }
    QMessageBox::critical(nullptr, QString(), text);
}
} // namespace

void InstallCoreMessageBoxes() {
    record_array::SetAllocFailureHandler(&OutOfMemoryBox);
    SetDibMessageHook([](const QString& text) {
        QMessageBox::information(nullptr, QString(), TranslateText(text));
    });
}
