// Opening and saving project files, and the unsaved-changes question.
#include "MainUnit.h"

#include "CategoryListModel.h"
#include "DibPaintBox.h"
#include "ProgramMessages.h"
#include "ProjectFile.h"

#include <QApplication>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QTreeView>

namespace {
const char* const kProjectFilter = "Quillora (*.qlr)|*.qlr";

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

QFileDialog* TMainForm::OpenDialog2() {
    if (!openDialog) openDialog = MakeProjectDialog(this, "OpenDialog2", QFileDialog::AcceptOpen);
    return openDialog;
}

QFileDialog* TMainForm::SaveDialog1() {
    if (!saveDialog) saveDialog = MakeProjectDialog(this, "SaveDialog1", QFileDialog::AcceptSave);
    return saveDialog;
}

bool TMainForm::OpenFileWithName(const QString& name) {
    ProjectReadResult result = ReadProjectFileFromPath(name, Settings());
    if (result.status == ProjectReadStatus::CannotOpen) return false;
    if (!result.ok()) {
        // A damaged file leaves the open document, its name and its changed mark alone.
        ShowError(this, QApplication::applicationName(), result.error);
        return false;
    }
    donotupdate = true;
    std::unique_ptr<FormDocument> former = std::move(doc);
    doc = std::move(result.document);
    categories->SetDocument(doc.get());
    former.reset();
    afilename = name;
    // The pictures are prepared once, after every value is in place, rather than
    // again for each background setting as it arrives.
    preparingPictures = false;
    layout.Apply(result.settings);
    preparingPictures = true;
    FilenameEdit2Change();
    FilenameEdit1Change();
    if (categories->rowCount() > 0)
        ListView2->selectionModel()->select(
            categories->index(0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    donotupdate = false;
    ListProds();
    pageStarts.Invalidate();
    if (PaintBox1) PaintBox1->update();
    SetUnChanged();
    return true;
}

bool TMainForm::OpenFile() {
    const QString name = ChooseFile(OpenDialog2());
    return name.isEmpty() ? false : OpenFileWithName(name);
}

bool TMainForm::SaveTheFile() {
    QString error;
    if (WriteProjectFile(afilename, *doc, Settings(), &error)) return true;
    ShowError(this, QApplication::applicationName(), error);
    return false;
}

bool TMainForm::SaveFile() {
    bool result;
    if (!afilename.isEmpty()) {
        result = SaveTheFile();
    } else {
        const QString name = ChooseFile(SaveDialog1());
        if (name.isEmpty()) return false;
        afilename = name;
        result = SaveTheFile();
    }
    if (result) SetUnChanged();
    return result;
}

void TMainForm::OpenBtnClick() {
    if (QuerySaveChanges()) OpenFile();
}

void TMainForm::SaveBtnClick() {
    SaveFile();
}

void TMainForm::SaveAsBtnClick() {
    const QString name = ChooseFile(SaveDialog1());
    if (name.isEmpty()) return;
    afilename = name;
    if (SaveTheFile()) SetUnChanged();
}
