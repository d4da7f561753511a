// Opening and saving project files, and the unsaved-changes question.
#include "MainWindow.h"

#include "Document.h"
#include "FieldsTab.h"
#include "MessageTable.h"
#include "ProgramMessages.h"
#include "ProjectFile.h"
#include "RecentFiles.h"
#include "Translator.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>

namespace {
const char* const kProjectFilter = "Quillora (*.qlr)|*.qlr";

// The project file among dragged data: one local file ending in ".qlr".
QString DraggedProjectFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().first();
    if (!url.isLocalFile()) return {};
    const QString path = url.toLocalFile();
    return path.endsWith(QStringLiteral(".qlr"), Qt::CaseInsensitive) ? path : QString();
}

QFileDialog* MakeProjectDialog(QWidget* parent, const char* name, QFileDialog::AcceptMode mode) {
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                        : QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setDefaultSuffix(QStringLiteral("qlr"));
    // The filter text is kept in its pipe form so that the translation can reach it.
    dialog->setProperty("quilloraFilter", QString::fromLatin1(kProjectFilter));
    dialog->setNameFilter(QStringLiteral("Quillora (*.qlr)"));
    return dialog;
}

// Runs a dialog and returns the chosen file, or an empty text when cancelled.
QString ChooseFile(QFileDialog* dialog) {
    const QString filter = dialog->property("quilloraFilter").toString();
    const QStringList parts = filter.split(QLatin1Char('|'));
    if (parts.size() >= 2) dialog->setNameFilter(parts.at(0));
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
    return dialog->selectedFiles().first();
}
} // namespace

QFileDialog* MainWindow::OpenDialog2() {
    if (!openDialog) openDialog = MakeProjectDialog(this, "OpenDialog2", QFileDialog::AcceptOpen);
    return openDialog;
}

QFileDialog* MainWindow::SaveDialog1() {
    if (!saveDialog) saveDialog = MakeProjectDialog(this, "SaveDialog1", QFileDialog::AcceptSave);
    return saveDialog;
}

bool MainWindow::OpenFileWithName(const QString& name) {
    ProjectReadResult result = ReadProjectFileFromPath(name, doc->layout());
    if (result.status == ProjectReadStatus::CannotOpen) return false;
    if (!result.ok()) {
        // A damaged file leaves the open document, its name and its changed mark alone.
        ShowError(this, QApplication::applicationName(), TranslateText(result.reason));
        return false;
    }
    fieldsTab->donotupdate = true;
    // All values arrive at once: the pictures are prepared once for them.
    doc->Reset(std::move(result.document), result.settings);
    doc->SetFileName(name);
    fieldsTab->SelectCategory(0);
    fieldsTab->donotupdate = false;
    fieldsTab->ListProds();
    SetUnChanged();
    if (recentFiles) recentFiles->Add(name);
    return true;
}

bool MainWindow::OpenFile() {
    const QString name = ChooseFile(OpenDialog2());
    return name.isEmpty() ? false : OpenFileWithName(name);
}

bool MainWindow::SaveTheFile() {
    FileFailure failure;
    if (WriteProjectFile(doc->FileName(), doc->form(), doc->layout(), &failure)) {
        if (recentFiles) recentFiles->Add(doc->FileName());
        return true;
    }
    ShowError(this, QApplication::applicationName(),
              FileFailureMessage(QStringLiteral("Konnte nicht in die folgende Datei speichern: "),
                                 doc->FileName(), failure));
    return false;
}

bool MainWindow::SaveFile() {
    bool result;
    if (!doc->FileName().isEmpty()) {
        result = SaveTheFile();
    } else {
        const QString name = ChooseFile(SaveDialog1());
        if (name.isEmpty()) return false;
        doc->SetFileName(name);
        result = SaveTheFile();
    }
    if (result) SetUnChanged();
    return result;
}

void MainWindow::openProject() {
    if (QuerySaveChanges()) OpenFile();
}

void MainWindow::saveProject() {
    SaveFile();
}

void MainWindow::saveProjectAs() {
    const QString name = ChooseFile(SaveDialog1());
    if (name.isEmpty()) return;
    doc->SetFileName(name);
    if (SaveTheFile()) SetUnChanged();
}

void MainWindow::OpenChosenFile(const QString& name) {
    if (!QuerySaveChanges()) return;
    const QFileInfo file(name);
    // The user asked for this file: one that cannot be read is named.
    if (!file.isFile() || !file.isReadable()) {
        ShowError(this, QApplication::applicationName(),
                  GetMessageText(1) + QDir::toNativeSeparators(name));
        return;
    }
    OpenFileWithName(name);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!DraggedProjectFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString name = DraggedProjectFile(event->mimeData());
    if (name.isEmpty()) return;
    event->acceptProposedAction();
    OpenChosenFile(name);
}
