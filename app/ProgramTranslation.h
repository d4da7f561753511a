#pragma once
// The main window's side of the translation: the table at creation, the
// start-up translation at the first show, the options file and the language menu.

#include <QString>

class QMenu;
class MainWindow;

void InitProgramTranslation(const QString& programDir);
void RunStartupTranslation(MainWindow& form);
void LoadProgramOptions(MainWindow& form);
void SaveProgramOptions(MainWindow& form);
void BuildLanguageMenu(MainWindow& form, QMenu* menu);
