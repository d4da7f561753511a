#pragma once
// The program's modal message boxes: question and information boxes with the
// buttons the commands need, and the hooks that connect the core's messages
// (out of memory, picture drawing failures, read errors) to message boxes.

#include <QString>

class QWidget;

enum class Answer { Yes, No, Cancel };

bool AskYesNo(QWidget* parent, const QString& title, const QString& text);
Answer AskYesNoCancel(QWidget* parent, const QString& title, const QString& text);
void ShowInformation(QWidget* parent, const QString& title, const QString& text);
void ShowError(QWidget* parent, const QString& title, const QString& text);
// Routes the core's own messages to plain message boxes with no owner window.
void InstallCoreMessageBoxes();
