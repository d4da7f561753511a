// The current printer and the print commands.
#include "MainUnit.h"

#include "MessageTable.h"
#include "PreparedProject.h"
#include "PreviewTab.h"
#include "PrintRun.h"
#include "ProgramMessages.h"
#include "Translator.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace {
// Asks for the PDF file to print into, offering the name the printer set-up
// chose, if any. Empty when the user cancels.
QString AskPdfFileName(QWidget* parent, const QString& offered) {
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("PdfSaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setNameFilter(QStringLiteral("PDF (*.pdf)"));
    if (!offered.isEmpty()) dialog.selectFile(offered);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

// The toolkit's print dialog calls itself "Print" and its button "Print"; used
// to set the printer up, it prints nothing, so it says so.
void LabelAsPrinterSetup(QPrintDialog& dialog) {
    dialog.setWindowTitle(TranslateText(QStringLiteral("Drucker einrichten")));
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
}
} // namespace

QPrinter& TMainForm::CurrentPrinter() {
    if (!printer) printer = MakeCurrentPrinter();
    return *printer;
}

void TMainForm::SetCurrentPrinter(std::unique_ptr<QPrinter> current) {
    printer = std::move(current);
    previewTab->Repaint();
}

PrinterPage TMainForm::CurrentPrinterPage() {
    return PrinterPageOf(CurrentPrinter());
}

void TMainForm::DruckenBtnClick() {
    QPrinter& current = CurrentPrinter();
    const QString title = GetMessageText(20);
    QString error;
    if (NeedsPdfFileName(current)) {
        // Printing into a file: the user names the file every time.
        const QString path = AskPdfFileName(this, current.outputFileName());
        if (path.isEmpty()) return;
        if (PrintAllPagesToPdfFile(current, prepared->Input(CurrentPrinterPage()), title, path,
                                   &error) < 0)
            ShowError(
                this, QApplication::applicationName(),
                TranslateText(QStringLiteral("Konnte nicht in die folgende Datei drucken: ")) +
                    QDir::toNativeSeparators(path) + QStringLiteral("\n\n") + error);
        return;
    }
    if (PrintAllPages(current, prepared->Input(CurrentPrinterPage()), title) < 0)
        ShowError(this, QApplication::applicationName(),
                  TranslateText(QStringLiteral("Der Drucker konnte nicht gestartet werden.")));
}

void TMainForm::Druckereinrichten1Click() {
    // The printer, its paper and orientation; the preview follows at its next repaint.
    QPrintDialog dialog(&CurrentPrinter(), this);
    dialog.setObjectName(QStringLiteral("PrinterSetupDialog1"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    LabelAsPrinterSetup(dialog);
    dialog.exec();
}
