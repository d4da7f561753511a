#pragma once
// Tells the user in a main window's status bar when "translate.dat" cannot be
// written: once when saving starts to fail, not at every keystroke, and gone
// again after a save that works.

class QMainWindow;
class Translator;

// The note is a label named "TranslationSaveNote" in window's status bar.
void ShowFailedTranslationSaves(QMainWindow* window, Translator& translator);
