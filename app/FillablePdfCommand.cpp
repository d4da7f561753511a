// The command "Als ausfüllbares PDF exportieren..." of the menu "Datei".
#include "MainWindow.h"

#include "Document.h"
#include "FillablePdf.h"
#include "MessageTable.h"
#include "PreparedProject.h"
#include "PrinterRun.h"
#include "ProgramMessages.h"
#include "Translator.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace {
// Asks for the file to export into, offering the project's name with ".pdf".
// Empty when the user cancels.
QString AskFillablePdfName(QWidget* parent, const QString& project) {
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("FillablePdfSaveDialog"));
    dialog.setWindowTitle(TranslateText(QStringLiteral("Als ausfüllbares PDF exportieren")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setNameFilter(QStringLiteral("PDF (*.pdf)"));
    if (!project.isEmpty()) {
        const QFileInfo info(project);
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.completeBaseName() + QStringLiteral(".pdf"));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}
} // namespace

void MainWindow::exportFillablePdf() {
    const QString path = AskFillablePdfName(this, doc->FileName());
    if (path.isEmpty()) return;
    FileFailure failure;
    // The pages as the current printer prints them.
    if (PrintFillablePdf(PdfSetupOf(CurrentPrinter()), prepared->Input(CurrentPrinterPage()),
                         GetMessageText(20), path, &failure) < 0)
        ShowError(
            this, QApplication::applicationName(),
            FileFailureMessage(QStringLiteral("Konnte nicht in die folgende Datei exportieren: "),
                               path, failure));
}
