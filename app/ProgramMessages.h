#pragma once
// The program's modal message boxes: question and information boxes with the
// buttons the commands need, the message of a file that could not be written,
// and the hooks that connect the core's messages (out of memory, picture
// drawing failures) to message boxes. Every text shown passes through the
// translation table.

#include <QString>

struct FileFailure;
class QWidget;

enum class Answer { Yes, No, Cancel };

bool AskYesNo(QWidget* parent, const QString& title, const QString& text);
Answer AskYesNoCancel(QWidget* parent, const QString& title, const QString& text);
void ShowInformation(QWidget* parent, const QString& title, const QString& text);
void ShowError(QWidget* parent, const QString& title, const QString& text);
// lead (a German text such as "Konnte nicht in die folgende Datei drucken: "),
// the file, and below them the failure's reason, in the current language.
QString FileFailureMessage(const QString& lead, const QString& path, const FileFailure& failure);
// Routes the core's own messages to plain message boxes with no owner window.
void InstallCoreMessageBoxes();
// Shows the message of a file that could not be written (see FileFailureMessage).
void ReportFileFailure(QWidget* parent, const QString& lead, const QString& path,
                       const FileFailure& failure);
