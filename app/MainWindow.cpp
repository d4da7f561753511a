#include "MainWindow.h"

#include "AboutBox.h"
#include "AccessibleNames.h"
#include "CategoryDialog.h"
#include "Dib.h"
#include "Document.h"
#include "FieldPageView.h"
#include "FieldsTab.h"
#include "LayoutBinding.h"
#include "LayoutTabs.h"
#include "MessageTable.h"
#include "MoveFieldsDialog.h"
#include "PreparedProject.h"
#include "PresetsTab.h"
#include "PreviewTab.h"
#include "PrintController.h"
#include "PrinterRun.h"
#include "ProgramFiles.h"
#include "ProgramSettings.h"
#include "ProgramTranslation.h"
#include "ProjectFileController.h"
#include "RecoveryCopy.h"
#include "ProgramApplication.h"
#include "TranslationEditor.h"
#include "WindowCommands.h"
#include "WindowPlacement.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QSplitter>
#include <QTabWidget>
#include <QUndoStack>
#include <QVBoxLayout>

QString FileNamePart(const QString& path) {
    const qsizetype cut =
        std::max({path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')),
                  path.lastIndexOf(QLatin1Char(':'))});
    return path.mid(cut + 1);
}

MainWindow::MainWindow(const QString& directory, const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), commandLine(arguments) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Torvane Quillora 1.0"));
    resize(764, 582);
    setAcceptDrops(true);

    programDir = directory;
    if (!programDir.endsWith(QLatin1Char('/'))) programDir += QLatin1Char('/');
    InitProgramTranslation(programDir);

    doc = new Document(this);
    // Nothing before the first show is a change of the user's.
    doc->SetMarksIgnored(true);
    prepared = new PreparedProject(*doc, ProgramDataDir(programDir), this);
    layoutBinding = new LayoutBinding(*doc, this);
    fileController = new ProjectFileController(*doc, this, programDir);
    printController = new PrintController(*doc, *prepared, this);
    recovery = new RecoveryCopy(*doc, this);
    // An exception that would end the program puts the unsaved project into the copy first.
    SetRescueBeforeEnd([this] { return recovery->WriteNow(); });
    connect(doc, &Document::changedStateChanged, this, &MainWindow::UpdateTitle);
    connect(doc, &Document::fileNameChanged, this, &MainWindow::UpdateTitle);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    setCentralWidget(central);
    auto* toolBar = new QWidget(central);
    toolBar->setObjectName(QStringLiteral("Panel1"));
    auto* row = new QHBoxLayout(toolBar);
    row->setContentsMargins(4, 4, 4, 4);
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    BuildWindowCommands(Commands(), menuBar(), toolBar);
    row->addStretch(1);
    column->addWidget(toolBar);
    BuildViews();

    // The other windows, each once.
    about = new AboutBox(this);
    translationDialog = new TranslationEditor(this);
    LoadProgramOptions(*this);
}

void MainWindow::BuildViews() {
    tabs = new QTabWidget(centralWidget());
    tabs->setObjectName(QStringLiteral("PageControl1"));
    tabs->setAccessibleName(QStringLiteral("Registerkarten"));
    centralWidget()->layout()->addWidget(tabs);
    const QString pictureFilter = QString::fromUtf8(GetDIBOpenFilter());
    fieldsTab = new FieldsTab(*doc);
    presetsTab = new PresetsTab;
    previewTab =
        new PreviewTab(*prepared, [this] { return printController->CurrentPrinterPage(); });
    tabs->addTab(fieldsTab, QStringLiteral("Felder"));
    tabs->addTab(presetsTab, QStringLiteral("Voreinstellungen"));
    tabs->addTab(previewTab, QStringLiteral("Formular erzeugen"));
    tabs->addTab(BuildLayoutTab(*layoutBinding), QStringLiteral("Layout"));
    tabs->addTab(BuildBackgroundTab(*layoutBinding, *prepared, pictureFilter),
                 QStringLiteral("Hintergrund"));
    tabs->addTab(BuildLogoTab(*layoutBinding, *prepared, pictureFilter), QStringLiteral("Logo"));
    tabs->setCurrentIndex(0);
    connect(tabs, &QTabWidget::currentChanged, this, &MainWindow::tabChanged);
    fieldsTab->ConnectPresets(presetsTab);
    // The page beside the lists, and what is picked on either page selected in the lists.
    fieldsTab->AttachPageView(new FieldPageView(
        *prepared, [this] { return printController->CurrentPrinterPage(); }));
    fieldsTab->ShowPageView(!pageViewAction || pageViewAction->isChecked());
    auto toFields = [this] { tabs->setCurrentWidget(fieldsTab); };
    connect(previewTab, &PreviewTab::fieldPicked, fieldsTab, [this, toFields](int c, int f) {
        toFields();
        fieldsTab->PickField(c, f);
    });
    connect(previewTab, &PreviewTab::categoryPicked, fieldsTab, [this, toFields](int c) {
        toFields();
        fieldsTab->PickCategory(c);
    });
    connect(previewTab, &PreviewTab::categoryOpened, fieldsTab, [this, toFields](int c) {
        toFields();
        fieldsTab->OpenCategory(c);
    });
    // Other paper may give another number of pages.
    connect(printController, &PrintController::printerChanged, previewTab, &PreviewTab::Repaint);
}

MainWindow::~MainWindow() {
    hide();
    // The views go before the document they show, the document last.
    SetRescueBeforeEnd(nullptr);
    delete recovery;
    delete tabs;
    tabs = nullptr;
    delete layoutBinding;
    delete printController;
    delete prepared;
    delete fileController;
    delete doc;
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!started) FirstShow();
}

void MainWindow::FirstShow() {
    RestorePlacement();
    RunStartupTranslation(*this);
    // Every window exists now: each control is announced by its caption.
    const QList<QWidget*> windows = {this, about, &fieldsTab->moveDialog(), translationDialog,
                                     &fieldsTab->categoryDialog()};
    for (QWidget* window : windows)
        BuddyCaptionsToControls(window);
    // Texts translated at start are no edit of the user's.
    doc->undoStack()->clear();
    baseTitle = windowTitle();
    started = true;
    doc->SetMarksIgnored(false);
    doc->MarkUnchanged();
    UpdateTitle();
    // A project the last run could not save comes first; restored, it is what is shown.
    if (!RecoveryCopy::OfferLeftCopy(this, *doc)) fileController->StartUp(commandLine);
}

void MainWindow::UpdateTitle() {
    if (!started) return;
    const QString mark = doc->IsChanged() ? QStringLiteral("*]") : QStringLiteral("]");
    const QString& name = doc->FileName();
    if (!name.isEmpty())
        setWindowTitle(baseTitle + QStringLiteral(" - [") + FileNamePart(name) + mark);
    else
        setWindowTitle(baseTitle + QStringLiteral(" - [") + GetMessageText(Message::Untitled) +
                       QStringLiteral(".qlr") + mark);
}

namespace {
// The page beside the lists of "Felder" is at least this wide at the first start.
constexpr int kFirstPageViewWidth = 300;
const QString kGeometryKey = QStringLiteral("window/geometry");
const QString kFieldsSplitterKey = QStringLiteral("window/fieldsSplitter");

// What the window's controls need at its first start: their minimum, with
// the page view (while it is shown) widened to its first width.
QSize FirstSizeNeeded(const QWidget& window, const QWidget* pageView) {
    QSize needed = window.minimumSizeHint().expandedTo(window.minimumSize());
    if (pageView && !pageView->isHidden())
        needed.rwidth() += std::max(0, kFirstPageViewWidth - pageView->minimumSizeHint().width());
    return needed;
}
} // namespace

void MainWindow::RestorePlacement() {
    const ProgramSettings settings(programDir);
    const QByteArray placement = settings.Value(kGeometryKey).toByteArray();
    // restoreGeometry keeps the window on a screen that is there now.
    if (placement.isEmpty() || !restoreGeometry(placement)) {
        PlaceFirstWindow(*this, FirstSizeNeeded(*this, fieldsTab->PageView()));
        return;
    }
    // The lists and the page beside them as the user left them.
    auto* splitter = findChild<QSplitter*>(QStringLiteral("FelderSplitter"));
    const QByteArray split = settings.Value(kFieldsSplitterKey).toByteArray();
    if (splitter && !split.isEmpty()) splitter->restoreState(split);
}

void MainWindow::StorePlacement() {
    ProgramSettings settings(programDir);
    settings.SetValue(kGeometryKey, saveGeometry());
    if (auto* splitter = findChild<QSplitter*>(QStringLiteral("FelderSplitter")))
        settings.SetValue(kFieldsSplitterKey, splitter->saveState());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!fileController->QuerySaveChanges()) {
        event->ignore();
        return;
    }
    SaveProgramOptions(*this);
    StorePlacement();
    // Saved or thrown away on purpose: nothing to recover.
    recovery->Remove();
    event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Esc quits, as "Beenden" does; an in-place edit of a list entry takes its own Esc first.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!ProjectFileController::DraggedProjectFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString name = ProjectFileController::DraggedProjectFile(event->mimeData());
    if (name.isEmpty()) return;
    event->acceptProposedAction();
    fileController->SwitchToProject(name);
}

void MainWindow::tabChanged(int index) {
    if (index == 2 && previewTab) previewTab->FocusKeys();
}
