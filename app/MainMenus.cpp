// The tool bar and the menus of the main window.
#include "MainWindow.h"

#include "AboutBox.h"
#include "Document.h"
#include "ProgramMessages.h"
#include "ProgramTranslation.h"
#include "RecentFiles.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QMenuBar>
#include <QPushButton>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {
// The usual key of a standard command where the desktop names none for it.
QKeySequence UsualKey(QKeySequence::StandardKey key) {
    switch (key) {
    case QKeySequence::SaveAs:
        return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    case QKeySequence::Quit:
        return QKeySequence(Qt::CTRL | Qt::Key_Q);
    default:
        return QKeySequence();
    }
}

// A menu entry; with a standard key, the platform's keys for it, shown in the menu.
QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                 QKeySequence::StandardKey key = QKeySequence::UnknownKey) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (key == QKeySequence::UnknownKey) return action;
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    const QKeySequence usual = UsualKey(key);
    if (!usual.isEmpty() && !keys.contains(usual)) keys.append(usual);
    action->setShortcuts(keys);
    return action;
}

QAction* AddSeparator(QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

// "Als ausfüllbares PDF exportieren..." in the menu "Datei".
void AddFillablePdfItem(MainWindow* window, QMenu* file) {
    QObject::connect(
        AddItem(file, "AusfuellbaresPDF1", QStringLiteral("Als ausfüllbares PDF exportieren...")),
        &QAction::triggered, window, &MainWindow::exportFillablePdf);
}

QPushButton* AddButton(QWidget* panel, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, panel);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    panel->layout()->addWidget(button);
    return button;
}
} // namespace

void MainWindow::BuildToolbarAndMenus() {
    auto* panel = new QWidget(centralWidget());
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 4, 4, 4);
    QPushButton* open = AddButton(panel, "OpenBtn", QStringLiteral("Öffnen..."));
    QPushButton* save = AddButton(panel, "SaveBtn", QStringLiteral("Speichern"));
    QPushButton* saveAs = AddButton(panel, "SaveAsBtn", QStringLiteral("Speichern unter..."));
    QPushButton* print = AddButton(panel, "DruckenBtn", QStringLiteral("Drucken"));
    quitButton = AddButton(panel, "EndeBtn", QStringLiteral("Beenden"));
    row->addStretch(1);
    static_cast<QVBoxLayout*>(centralWidget()->layout())->addWidget(panel);
    connect(open, &QPushButton::clicked, this, &MainWindow::openProject);
    connect(save, &QPushButton::clicked, this, &MainWindow::saveProject);
    connect(saveAs, &QPushButton::clicked, this, &MainWindow::saveProjectAs);
    connect(print, &QPushButton::clicked, this, &MainWindow::print);
    connect(quitButton, &QPushButton::clicked, this, &MainWindow::quit);

    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* file = bar->addMenu(QStringLiteral("&Datei"));
    file->setObjectName(QStringLiteral("Datei1"));
    QAction* newItem = AddItem(file, "Neu1", QStringLiteral("Neu"), QKeySequence::New);
    connect(newItem, &QAction::triggered, this, &MainWindow::newProject);
    connect(AddItem(file, "ffnen1", QStringLiteral("Öffnen..."), QKeySequence::Open),
            &QAction::triggered, this, &MainWindow::openProject);
    QMenu* recent = file->addMenu(QStringLiteral("Zuletzt geöffnet"));
    recent->setObjectName(QStringLiteral("ZuletztGeoeffnet1"));
    BuildRecentFilesMenu(recent);
    connect(AddItem(file, "Speichern1", QStringLiteral("Speichern"), QKeySequence::Save),
            &QAction::triggered, this, &MainWindow::saveProject);
    connect(AddItem(file, "Speichernunter1", QStringLiteral("Speichern unter..."),
                    QKeySequence::SaveAs),
            &QAction::triggered, this, &MainWindow::saveProjectAs);
    AddSeparator(file, "N1");
    // "Drucken..." asks for printer, copies and pages; "Drucken" prints at once.
    connect(AddItem(file, "DruckenMitDialog1", QStringLiteral("Drucken..."), QKeySequence::Print),
            &QAction::triggered, this, &MainWindow::printWithDialog);
    connect(AddItem(file, "Drucken1", QStringLiteral("Drucken")), &QAction::triggered, this,
            &MainWindow::print);
    connect(AddItem(file, "Druckereinrichten1", QStringLiteral("Drucker einrichten")),
            &QAction::triggered, this, &MainWindow::setUpPrinter);
    AddFillablePdfItem(this, file);
    AddSeparator(file, "N2");
    connect(AddItem(file, "Beenden1", QStringLiteral("Beenden"), QKeySequence::Quit),
            &QAction::triggered, this, &MainWindow::quit);

    QMenu* edit = bar->addMenu(QStringLiteral("&Bearbeiten"));
    edit->setObjectName(QStringLiteral("Bearbeiten1"));
    QAction* undo = AddItem(edit, "Rueckgaengig1", QStringLiteral("Rückgängig"));
    undo->setShortcuts(QKeySequence::Undo);
    QAction* redo = AddItem(edit, "Wiederholen1", QStringLiteral("Wiederholen"));
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})
        if (!redoKeys.contains(keys)) redoKeys.append(keys);
    redo->setShortcuts(redoKeys);
    QUndoStack* stack = document().undoStack();
    undo->setEnabled(stack->canUndo());
    redo->setEnabled(stack->canRedo());
    connect(stack, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(stack, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(undo, &QAction::triggered, this, &MainWindow::undo);
    connect(redo, &QAction::triggered, this, &MainWindow::redo);

    QMenu* languageMenu = bar->addMenu(QStringLiteral("&Sprache"));
    languageMenu->setObjectName(QStringLiteral("Sprache1"));
    BuildLanguageMenu(*this, languageMenu);

    QMenu* help = bar->addMenu(QStringLiteral("&Hilfe"));
    help->setObjectName(QStringLiteral("Hilfe1"));
    QAction* about = AddItem(help, "ber1", QStringLiteral("Über..."), QKeySequence::HelpContents);
    // F1 opens the About box on every desktop.
    if (!about->shortcuts().contains(QKeySequence(Qt::Key_F1)))
        about->setShortcuts(about->shortcuts() << QKeySequence(Qt::Key_F1));
    connect(about, &QAction::triggered, this, [this] {
        if (aboutBox) aboutBox->exec();
    });
}

void MainWindow::BuildRecentFilesMenu(QMenu* menu) {
    recentFiles = new RecentFiles(
        menu, progpath, [this](const QString& name) { OpenChosenFile(name); }, this);
}
