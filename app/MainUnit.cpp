#include "MainUnit.h"

#include "AccessibleNames.h"
#include "AndereKategorieFUnit.h"
#include "Dib.h"
#include "Document.h"
#include "EditCommand.h"
#include "FieldsTab.h"
#include "KategorieBearbeitenFUnit.h"
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

TMainForm::TMainForm(const QString& programDir, const QStringList& arguments, QWidget* parent)
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
    connect(doc, &Document::changedStateChanged, this, &TMainForm::UpdateTitle);
    connect(doc, &Document::fileNameChanged, this, &TMainForm::UpdateTitle);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    setCentralWidget(central);
    BuildToolbarAndMenus();

    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setAccessibleName(QStringLiteral("Registerkarten"));
    column->addWidget(PageControl1);
    const QString pictureFilter = QString::fromUtf8(GetDIBOpenFilter());
    fieldsTab = new FieldsTab(*doc);
    presetsTab = new PresetsTab;
    previewTab = new PreviewTab(*prepared, [this] { return CurrentPrinterPage(); });
    PageControl1->addTab(fieldsTab, QStringLiteral("Felder"));
    PageControl1->addTab(presetsTab, QStringLiteral("Voreinstellungen"));
    PageControl1->addTab(previewTab, QStringLiteral("Formular erzeugen"));
    PageControl1->addTab(BuildLayoutTab(*layoutBinding), QStringLiteral("Layout"));
    PageControl1->addTab(BuildBackgroundTab(*layoutBinding, *prepared, pictureFilter),
                         QStringLiteral("Hintergrund"));
    PageControl1->addTab(BuildLogoTab(*layoutBinding, *prepared, pictureFilter),
                         QStringLiteral("Logo"));
    PageControl1->setCurrentIndex(0);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TMainForm::PageControl1Change);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);

    OpenDialog2();
    SaveDialog1();
    fieldsTab->ConnectPresets(presetsTab);
    fieldsTab->categoryDialog = [this] {
        return qobject_cast<TKategorieBearbeitenForm*>(categoryDialog);
    };
    fieldsTab->moveDialog = [this] { return qobject_cast<TAndereKategorieForm*>(moveDialog); };
    // Changes without an undo step; the edits on the undo stack, layout values
    // included, mark the document changed through the stack's saved state.
    connect(fieldsTab, &FieldsTab::markChanged, this, &TMainForm::SetChanged);
    LoadProgramOptions(*this);
}

TMainForm::~TMainForm() {
    hide();
    // The views go before the document they show, the document last.
    delete PageControl1;
    PageControl1 = nullptr;
    delete layoutBinding;
    delete prepared;
    delete doc;
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FormShow();
}

namespace {
// The project file named on the command line; one that cannot be read is named
// in a message, since the user asked for it.
void OpenCommandLineFile(TMainForm* form, const QString& name) {
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

void TMainForm::FormShow() {
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
        Timer1->start();
    else
        OpenCommandLineFile(this, commandLine.first());
}

void TMainForm::Timer1Timer() {
    Timer1->stop();
    if (AskYesNo(this, GetMessageText(25), GetMessageText(24)))
        OpenFileWithName(GetMessageText(29));
}

bool TMainForm::IsChanged() const {
    return doc->IsChanged();
}

void TMainForm::SetChanged() {
    if (started) doc->MarkChanged();
}

void TMainForm::SetUnChanged() {
    if (started) doc->MarkUnchanged();
}

void TMainForm::UpdateTitle() {
    if (!started) return;
    const QString mark = doc->IsChanged() ? QStringLiteral("*]") : QStringLiteral("]");
    const QString& name = doc->FileName();
    if (!name.isEmpty())
        setWindowTitle(maincap + QStringLiteral(" - [") + FileNamePart(name) + mark);
    else
        setWindowTitle(maincap + QStringLiteral(" - [") + GetMessageText(23) +
                       QStringLiteral(".qlr") + mark);
}

void TMainForm::NewAll() {
    doc->NewAll();
    doc->SetFileName(QString());
    SetUnChanged();
}

void TMainForm::Rueckgaengig1Click() {
    QUndoStack* stack = doc->undoStack();
    if (!stack->canUndo()) return;
    const QUndoCommand* command = stack->command(stack->index() - 1);
    stack->undo();
    if (const auto selection = SelectionAfter(command, true)) fieldsTab->ShowSelection(*selection);
}

void TMainForm::Wiederholen1Click() {
    QUndoStack* stack = doc->undoStack();
    if (!stack->canRedo()) return;
    const QUndoCommand* command = stack->command(stack->index());
    stack->redo();
    if (const auto selection = SelectionAfter(command, false)) fieldsTab->ShowSelection(*selection);
}

void TMainForm::Neu1Click() {
    if (QuerySaveChanges()) NewAll();
}

bool TMainForm::QuerySaveChanges() {
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

void TMainForm::EndeBtnClick() {
    close();
}

bool TMainForm::FormCloseQuery() {
    return QuerySaveChanges();
}

void TMainForm::FormClose() {
    SaveProgramOptions(*this);
    StorePlacement();
}

void TMainForm::RestorePlacement() {
    const QByteArray placement =
        ProgramSettings(progpath).Value(QStringLiteral("window/geometry")).toByteArray();
    // restoreGeometry keeps the window on a screen that is there now.
    if (placement.isEmpty() || !restoreGeometry(placement)) FitOnScreen(*this);
}

void TMainForm::StorePlacement() {
    ProgramSettings(progpath).SetValue(QStringLiteral("window/geometry"), saveGeometry());
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TMainForm::keyPressEvent(QKeyEvent* event) {
    // Esc presses "Beenden"; an in-place edit of a list entry takes its own Esc first.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        EndeBtn->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TMainForm::PageControl1Change(int index) {
    if (index == 2 && previewTab) previewTab->FocusKeys();
}
