// The main window's table of commands.
#include "MainWindow.h"

#include "AboutBox.h"
#include "Document.h"
#include "OrdersWindow.h"
#include "PrintController.h"
#include "ProgramSettings.h"
#include "ProgramTranslation.h"
#include "FieldsTab.h"
#include "ProjectFileController.h"
#include "WindowCommands.h"

#include <QAction>
#include <QUndoStack>

namespace {
constexpr char kPageViewKey[] = "fields/pageView";
using Kind = WindowCommand::Kind;

// The entry follows whether the undo stack can undo (or redo).
void FollowUndoStack(QAction* action, QUndoStack* stack, bool redo) {
    action->setEnabled(redo ? stack->canRedo() : stack->canUndo());
    QObject::connect(stack, redo ? &QUndoStack::canRedoChanged : &QUndoStack::canUndoChanged,
                     action, &QAction::setEnabled);
}
} // namespace

std::vector<WindowCommand> MainWindow::Commands() {
    ProjectFileController* files = fileController;
    PrintController* print = printController;
    QUndoStack* stack = doc->undoStack();
    return {
        {Kind::Menu, "Datei1", "&Datei"},
        {Kind::Item, "Neu1", "Neu", QKeySequence::New, "", [files] { files->newProject(); }},
        {Kind::Item, "ffnen1", "Öffnen...", QKeySequence::Open, "",
         [files] { files->openProject(); }, "OpenBtn"},
        {.kind = Kind::Submenu,
         .name = "ZuletztGeoeffnet1",
         .caption = "Zuletzt geöffnet",
         .fill = [files](QMenu* menu) { files->BuildRecentFilesMenu(menu); }},
        {Kind::Item, "Speichern1", "Speichern", QKeySequence::Save, "",
         [files] { files->saveProject(); }, "SaveBtn"},
        {Kind::Item, "Speichernunter1", "Speichern unter...", QKeySequence::SaveAs, "Ctrl+Shift+S",
         [files] { files->saveProjectAs(); }, "SaveAsBtn"},
        {Kind::Separator, "N1"},
        // "Drucken..." asks for printer, copies and pages; "Drucken" prints at once.
        {Kind::Item, "DruckenMitDialog1", "Drucken...", QKeySequence::Print, "",
         [print] { print->printWithDialog(); }},
        {Kind::Item, "Drucken1", "Drucken", QKeySequence::UnknownKey, "",
         [print] { print->print(); }, "DruckenBtn"},
        {Kind::Item, "Druckereinrichten1", "Drucker einrichten", QKeySequence::UnknownKey, "",
         [print] { print->setUpPrinter(); }},
        {Kind::Item, "AusfuellbaresPDF1", "Als ausfüllbares PDF exportieren...",
         QKeySequence::UnknownKey, "", [print] { print->exportFillablePdf(); }},
        // Pages with corner marks and page codes, so that their scans can be read.
        {Kind::Item, "DruckenAuswertung1", "Drucken für die Auswertung...",
         QKeySequence::UnknownKey, "", [print] { print->printForReading(); }},
        {Kind::Item, "BestellungenEinsammeln1", "Bestellungen einsammeln...",
         QKeySequence::UnknownKey, "", [this] { showOrdersWindow(); }},
        {Kind::Separator, "N2"},
        {Kind::Item, "Beenden1", "Beenden", QKeySequence::Quit, "Ctrl+Q", [this] { close(); },
         "EndeBtn"},

        {Kind::Menu, "Bearbeiten1", "&Bearbeiten"},
        {Kind::Item, "Rueckgaengig1", "Rückgängig", QKeySequence::Undo, "", [this] { doc->Undo(); },
         nullptr, [stack](QAction* action) { FollowUndoStack(action, stack, false); }},
        {Kind::Item, "Wiederholen1", "Wiederholen", QKeySequence::Redo, "Ctrl+Shift+Z; Ctrl+Y",
         [this] { doc->Redo(); }, nullptr,
         [stack](QAction* action) { FollowUndoStack(action, stack, true); }},
        {Kind::Separator, "N3"},
        // The page beside the lists of "Felder"; shown unless hidden in an earlier run.
        {.kind = Kind::Item,
         .name = "Seitenansicht1",
         .caption = "Seitenansicht neben den Feldern",
         .setUp = [this](QAction* action) { SetUpPageViewEntry(action); }},

        {.kind = Kind::Menu,
         .name = "Sprache1",
         .caption = "&Sprache",
         .fill = [this](QMenu* menu) { BuildLanguageMenu(*this, menu); }},

        {Kind::Menu, "Hilfe1", "&Hilfe"},
        // F1 opens the About box on every desktop.
        {Kind::Item, "ber1", "Über...", QKeySequence::HelpContents, "F1",
         [this] { about->exec(); }},
    };
}

void MainWindow::SetUpPageViewEntry(QAction* action) {
    pageViewAction = action;
    action->setCheckable(true);
    const QVariant stored = ProgramSettings(programDir).Value(QString::fromLatin1(kPageViewKey));
    action->setChecked(!stored.isValid() || stored.toBool());
    connect(action, &QAction::toggled, this, [this](bool shown) {
        if (fieldsTab) fieldsTab->ShowPageView(shown);
        ProgramSettings(programDir).SetValue(QString::fromLatin1(kPageViewKey), shown);
    });
}

void MainWindow::showOrdersWindow() {
    // One window for the session's collecting; it reads the document when it collects.
    auto* window = findChild<OrdersWindow*>(QStringLiteral("OrdersWindow"));
    if (!window) window = new OrdersWindow(*doc, this);
    window->show();
    window->raise();
    window->activateWindow();
}
