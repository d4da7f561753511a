#pragma once
// The window's commands as one table. A row is a menu, an entry of the menu
// above it (its objectName, caption, keys and what it does, and optionally a
// button in the tool bar), a separator or a submenu that fills itself. The
// window builds its menu bar and tool bar from the table; a new command is one
// row plus its handler.

#include <QKeySequence>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

struct WindowCommand {
    enum class Kind { Menu, Item, Separator, Submenu };
    Kind kind = Kind::Item;
    const char* name = "";    // the objectName of the menu, entry or separator
    const char* caption = ""; // UTF-8
    // The platform's keys for a standard command, and more keys (portable text,
    // "; " between them) added where the platform lacks them.
    QKeySequence::StandardKey key = QKeySequence::UnknownKey;
    const char* moreKeys = "";
    std::function<void()> run = {};           // an entry: what it does
    const char* button = nullptr;             // an entry: the tool bar button's objectName
    std::function<void(QAction*)> setUp = {}; // an entry: more set-up (e.g. when it is enabled)
    std::function<void(QMenu*)> fill = {};    // a menu or submenu: fills it
};

// Builds the menus of rows into bar, and their buttons into toolBar, a widget with a layout.
void BuildWindowCommands(const std::vector<WindowCommand>& rows, QMenuBar* bar, QWidget* toolBar);
