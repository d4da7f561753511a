#include "MainWindow.h"

#include "AccessibleNames.h"
#include "MoveFieldsDialog.h"
#include "Dib.h"
#include "Document.h"
#include "EditCommand.h"
#include "FieldsTab.h"
#include "CategoryDialog.h"
#include "LayoutBinding.h"
#include "LayoutTabs.h"
#include "MessageTable.h"
#include "PreparedProject.h"
#include "PreviewTab.h"
#include "PrinterRun.h"
#include "ProgramFiles.h"
#include "ProgramMessages.h"
#include "ProgramSettings.h"
#include "ProgramTranslation.h"
#include "RecentFiles.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>

QString FileNamePart(const QString& path) {
    const qsizetype cut =
        std::max({path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')),
                  path.lastIndexOf(QLatin1Char(':'))});
    return path.mid(cut + 1);
}

MainWindow::MainWindow(const QString& programDir, const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), commandLine(arguments) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Torvane Quillora 1.0"));
    resize(764, 582);
    setAcceptDrops(true);

    progpath = programDir;
    if (!progpath.endsWith(QLatin1Char('/'))) progpath += QLatin1Char('/');
    InitProgramTranslation(progpath);

    doc = new Document(this);
    prepared = new PreparedProject(*doc, ProgramDataDir(progpath), this);
    layoutBinding = new LayoutBinding(*doc, this);
    connect(doc, &Document::changedStateChanged, this, &MainWindow::UpdateTitle);
    connect(doc, &Document::fileNameChanged, this, &MainWindow::UpdateTitle);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    setCentralWidget(central);
    BuildToolbarAndMenus();

    tabs = new QTabWidget(central);
    tabs->setObjectName(QStringLiteral("PageControl1"));
    tabs->setAccessibleName(QStringLiteral("Registerkarten"));
    column->addWidget(tabs);
    const QString pictureFilter = QString::fromUtf8(GetDIBOpenFilter());
    fieldsTab = new FieldsTab(*doc);
    presetsTab = new PresetsTab;
    previewTab = new PreviewTab(*prepared, [this] { return CurrentPrinterPage(); });
    tabs->addTab(fieldsTab, QStringLiteral("Felder"));
    tabs->addTab(presetsTab, QStringLiteral("Voreinstellungen"));
    tabs->addTab(previewTab, QStringLiteral("Formular erzeugen"));
    tabs->addTab(BuildLayoutTab(*layoutBinding), QStringLiteral("Layout"));
    tabs->addTab(BuildBackgroundTab(*layoutBinding, *prepared, pictureFilter),
                         QStringLiteral("Hintergrund"));
    tabs->addTab(BuildLogoTab(*layoutBinding, *prepared, pictureFilter),
                         QStringLiteral("Logo"));
    tabs->setCurrentIndex(0);
    connect(tabs, &QTabWidget::currentChanged, this, &MainWindow::tabChanged);

    sampleOfferTimer = new QTimer(this);
    sampleOfferTimer->setObjectName(QStringLiteral("Timer1"));
    sampleOfferTimer->setInterval(1000);
    sampleOfferTimer->setSingleShot(true);
    connect(sampleOfferTimer, &QTimer::timeout, this, &MainWindow::offerSampleProject);

    OpenDialog2();
    SaveDialog1();
    fieldsTab->ConnectPresets(presetsTab);
    fieldsTab->categoryDialog = [this] {
        return qobject_cast<CategoryDialog*>(categoryDialog);
    };
    fieldsTab->moveDialog = [this] { return qobject_cast<MoveFieldsDialog*>(moveDialog); };
    // Changes without an undo step; the edits on the undo stack, layout values
    // included, mark the document changed through the stack's saved state.
    connect(fieldsTab, &FieldsTab::markChanged, this, &MainWindow::SetChanged);
    LoadProgramOptions(*this);
}

MainWindow::~MainWindow() {
    hide();
    // The views go before the document they show, the document last.
    delete tabs;
    tabs = nullptr;
    delete layoutBinding;
    delete prepared;
    delete doc;
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FormShow();
}

namespace {
// The project file named on the command line; one that cannot be read is named
// in a message, since the user asked for it.
void OpenCommandLineFile(MainWindow* form, const QString& name) {
    QFile file(name);
    if (!QFileInfo(name).isFile() || !file.open(QIODevice::ReadOnly)) {
        ShowError(form, QApplication::applicationName(),
                  GetMessageText(1) + QDir::toNativeSeparators(name));
        return;
    }
    file.close();
    form->OpenFileWithName(name);
}
} // namespace

void MainWindow::FormShow() {
    if (infirst) return;
    infirst = true;
    RestorePlacement();
    RunStartupTranslation(*this);
    // Every window exists now: each control is announced by its caption.
    const QList<QWidget*> windows = {this, aboutBox, moveDialog, translateForm, categoryDialog};
    for (QWidget* window : windows)
        BuddyCaptionsToControls(window);
    // Texts translated at start are no edit of the user's.
    doc->undoStack()->clear();
    maincap = windowTitle();
    started = true;
    SetUnChanged();
    UpdateTitle();
    // The sample project is offered only to a start without a file of its own.
    if (commandLine.isEmpty())
        sampleOfferTimer->start();
    else
        OpenCommandLineFile(this, commandLine.first());
}

void MainWindow::offerSampleProject() {
    sampleOfferTimer->stop();
    if (AskYesNo(this, GetMessageText(25), GetMessageText(24)))
        OpenFileWithName(GetMessageText(29));
}

bool MainWindow::IsChanged() const {
    return doc->IsChanged();
}

void MainWindow::SetChanged() {
    if (started) doc->MarkChanged();
}

void MainWindow::SetUnChanged() {
    if (started) doc->MarkUnchanged();
}

void MainWindow::UpdateTitle() {
    if (!started) return;
    const QString mark = doc->IsChanged() ? QStringLiteral("*]") : QStringLiteral("]");
    const QString& name = doc->FileName();
    if (!name.isEmpty())
        setWindowTitle(maincap + QStringLiteral(" - [") + FileNamePart(name) + mark);
    else
        setWindowTitle(maincap + QStringLiteral(" - [") + GetMessageText(23) +
                       QStringLiteral(".qlr") + mark);
}

void MainWindow::NewAll() {
    doc->NewAll();
    doc->SetFileName(QString());
    SetUnChanged();
}

void MainWindow::undo() {
    QUndoStack* stack = doc->undoStack();
    if (!stack->canUndo()) return;
    const QUndoCommand* command = stack->command(stack->index() - 1);
    stack->undo();
    if (const auto selection = SelectionAfter(command, true)) fieldsTab->ShowSelection(*selection);
}

void MainWindow::redo() {
    QUndoStack* stack = doc->undoStack();
    if (!stack->canRedo()) return;
    const QUndoCommand* command = stack->command(stack->index());
    stack->redo();
    if (const auto selection = SelectionAfter(command, false)) fieldsTab->ShowSelection(*selection);
}

void MainWindow::newProject() {
    if (QuerySaveChanges()) NewAll();
}

bool MainWindow::QuerySaveChanges() {
    if (!doc->IsChanged()) return true;
    switch (AskYesNoCancel(this, GetMessageText(13), GetMessageText(12))) {
    case Answer::Yes:
        return SaveFile();
    case Answer::No:
        return true;
    case Answer::Cancel:
        return false;
    }
    return false;
}

void MainWindow::quit() {
    close();
}

bool MainWindow::FormCloseQuery() {
    return QuerySaveChanges();
}

void MainWindow::FormClose() {
    SaveProgramOptions(*this);
    StorePlacement();
}

void MainWindow::RestorePlacement() {
    const QByteArray placement =
        ProgramSettings(progpath).Value(QStringLiteral("window/geometry")).toByteArray();
    // restoreGeometry keeps the window on a screen that is there now.
    if (placement.isEmpty() || !restoreGeometry(placement)) FitOnScreen(*this);
}

void MainWindow::StorePlacement() {
    ProgramSettings(progpath).SetValue(QStringLiteral("window/geometry"), saveGeometry());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Esc presses "Beenden"; an in-place edit of a list entry takes its own Esc first.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        quitButton->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::tabChanged(int index) {
    if (index == 2 && previewTab) previewTab->FocusKeys();
}
