// The current printer and the print commands.
#include "MainUnit.h"

#include "MessageTable.h"
#include "PreparedProject.h"
#include "PreviewTab.h"
#include "PrintRun.h"
#include "ProgramMessages.h"

#include <QApplication>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

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
        // No printer installed: the pages go into a PDF file of the user's choice.
        QFileDialog dialog(this);
        dialog.setObjectName(QStringLiteral("PdfSaveDialog"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        dialog.setNameFilter(QStringLiteral("PDF (*.pdf)"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
        if (PrintAllPagesToPdfFile(current, prepared->Input(CurrentPrinterPage()), title,
                                   dialog.selectedFiles().first(), &error) < 0)
            ShowError(this, QApplication::applicationName(), error);
        return;
    }
    if (PrintAllPages(current, prepared->Input(CurrentPrinterPage()), title) < 0)
        ShowError(this, QApplication::applicationName(),
                  QStringLiteral("The printer could not be started."));
}

void TMainForm::Druckereinrichten1Click() {
    // The printer, its paper and orientation; the preview follows at its next repaint.
    QPrintDialog dialog(&CurrentPrinter(), this);
    dialog.setObjectName(QStringLiteral("PrinterSetupDialog1"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.exec();
}
