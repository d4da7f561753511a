#pragma once
// The menu "Sprache": the four interface languages as one radio group, a
// separator and "Übersetzen...". Choosing a language takes effect on messages
// at once and on windows at the next start, which a message box says.

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;
class Translator;

class LanguageMenu : public QObject {
    Q_OBJECT
  public:
    // Fills menu; message boxes get dialogParent as their parent.
    LanguageMenu(QMenu* menu, QWidget* dialogParent, Translator& translator);
    LanguageMenu(QMenu* menu, QWidget* dialogParent);

    // The options loading of the main window: language 0, storedLanguage as
    // stored in "options.dat", and its entry checked ("Deutsch" for a number
    // that has no entry).
    void LoadOptions(const QString& programDir);
    // Stores the current language in "options.dat"; false when it could not be written.
    bool SaveOptions(const QString& programDir) const;

    // Checks the entry of language n (0..3; any other number checks "Deutsch")
    // without running the menu's handlers.
    void CheckLanguage(std::int32_t n);

    // The handlers of the four entries: n becomes the current language and the
    // restart message is shown in it. Ignored while dontchlang is set.
    void ChooseLanguage(std::int32_t n);

    QAction* german = nullptr;
    QAction* english = nullptr;
    QAction* french = nullptr;
    QAction* dutch = nullptr;
    QAction* translateItem = nullptr; // "Übersetzen...": the owner opens the editor
    QActionGroup* group = nullptr;
    bool dontchlang = false;

  private:
    QAction* Entry(std::int32_t n) const;

    QWidget* dialogParent;
    Translator& translator;
};
