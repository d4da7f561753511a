#pragma once
// The main window's side of the translation: the table at creation, the
// start-up translation at the first show, the options file and the language menu.

#include <QString>

class QMenu;
class TMainForm;

void InitProgramTranslation(const QString& progpath);
void RunStartupTranslation(TMainForm& form);
void LoadProgramOptions(TMainForm& form);
void SaveProgramOptions(TMainForm& form);
void BuildLanguageMenu(TMainForm& form, QMenu* menu);
