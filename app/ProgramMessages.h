#pragma once
// The program's modal message boxes: question and information boxes with the
// buttons the commands need, and the hooks that connect the core's messages
// (out of memory, picture drawing failures, read errors) to message boxes.

#include <QString>

class QWidget;
class TMainForm;

enum class Answer { Yes, No, Cancel };

bool AskYesNo(QWidget* parent, const QString& title, const QString& text);
Answer AskYesNoCancel(QWidget* parent, const QString& title, const QString& text);
void ShowInformation(QWidget* parent, const QString& title, const QString& text);
void ShowError(QWidget* parent, const QString& title, const QString& text);
// Routes the core's own messages to plain message boxes with no owner window.
void InstallCoreMessageBoxes();

// Translation and options glue of the main window.
void InitProgramTranslation(const QString& progpath);
void RunStartupTranslation(TMainForm& form);
void LoadProgramOptions(TMainForm& form);
void SaveProgramOptions(TMainForm& form);
class QMenu;
void BuildLanguageMenu(TMainForm& form, QMenu* menu);
