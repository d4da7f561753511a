#include "PrintController.h"

#include "Document.h"
#include "FileDialogs.h"
#include "FileFailure.h"
#include "FillablePdf.h"
#include "MessageTable.h"
#include "OrderForm.h"
#include "PreparedProject.h"
#include "PrinterRun.h"
#include "ProgramMessages.h"
#include "Translator.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>

namespace {
const QString kPdfFilter = QStringLiteral("PDF (*.pdf)|*.pdf");

// Asks for the PDF file to print into, offering the name the printer set-up
// chose, if any. Empty when the user cancels.
QString AskPdfFileName(QWidget* parent, const QString& offered) {
    return AskSaveFileName(parent, "PdfSaveDialog", QString(), kPdfFilter, QStringLiteral("pdf"),
                           offered);
}

// The toolkit's print dialog calls itself "Print" and its button "Print"; used
// to set the printer up, it prints nothing, so it says so.
void LabelAsPrinterSetup(QPrintDialog& dialog) {
    dialog.setWindowTitle(TranslateText(QStringLiteral("Drucker einrichten")));
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
}

void ReportPrintToFileFailure(QWidget* parent, const QString& path, const FileFailure& failure) {
    ReportFileFailure(parent, QStringLiteral("Konnte nicht in die folgende Datei drucken: "), path,
                      failure);
}

void ReportPrinterNotStarted(QWidget* parent) {
    ShowError(parent, QApplication::applicationName(),
              TranslateText(QStringLiteral("Der Drucker konnte nicht gestartet werden.")));
}

// A run of more than this many pages shows its progress and can be cancelled.
constexpr int kQuietPages = 3;

// The progress of a print run: a dialog that appears once the run goes beyond
// a few pages, with a button that cancels it.
class PrintProgressDialog {
  public:
    PrintProgressDialog(QWidget* parent, int expectedSheets)
        : parent(parent), expected(expectedSheets) {}

    bool operator()(int done, int page) {
        if (done < kQuietPages) return true;
        if (!dialog) {
            dialog = std::make_unique<QProgressDialog>(parent);
            dialog->setObjectName(QStringLiteral("PrintProgressDialog"));
            dialog->setWindowTitle(TranslateText(QStringLiteral("Drucken")));
            dialog->setCancelButtonText(TranslateText(QStringLiteral("Abbrechen")));
            dialog->setWindowModality(Qt::WindowModal);
            dialog->setMinimumDuration(0);
            dialog->setRange(0, expected > 0 ? expected : 0);
            dialog->setAutoClose(false);
            dialog->setAutoReset(false);
            dialog->show();
        }
        dialog->setLabelText(TranslateText(QStringLiteral("Seite wird gedruckt:")) +
                             QStringLiteral(" %1").arg(page));
        if (expected > 0) dialog->setValue(std::min(done, expected));
        QApplication::processEvents();
        return !dialog->wasCanceled();
    }

  private:
    QWidget* parent;
    int expected;
    std::unique_ptr<QProgressDialog> dialog;
};
} // namespace

PrintController::PrintController(Document& document, PreparedProject& project, QWidget* window)
    : QObject(window), doc(document), prepared(project), window(window) {}

PrintController::~PrintController() = default;

QPrinter& PrintController::CurrentPrinter() {
    if (!printer) printer = MakeCurrentPrinter();
    return *printer;
}

void PrintController::SetCurrentPrinter(std::unique_ptr<QPrinter> current) {
    printer = std::move(current);
    emit printerChanged();
}

PrinterPage PrintController::CurrentPrinterPage() {
    return PrinterPageOf(CurrentPrinter());
}

void PrintController::PrintPagesOn(QPrinter& current, const PageInput& input,
                                   const PrintPages& pages, const QString& chosenFile,
                                   const PrintProgress& progress) {
    const QString title = GetMessageText(Message::PrintTitle);
    if (!NeedsPdfFileName(current)) {
        if (PrintOnPrinter(current, input, title, pages, progress) < 0)
            ReportPrinterNotStarted(window);
        return;
    }
    // Printing into a file: the file chosen in the print dialog, else the user names it.
    const QString path =
        chosenFile.isEmpty() ? AskPdfFileName(window, current.outputFileName()) : chosenFile;
    if (path.isEmpty()) return;
    FileFailure failure;
    if (PrintToPdfFile(PdfSetupOf(current), input, title, path, pages, progress, nullptr,
                       &failure) < 0)
        ReportPrintToFileFailure(window, path, failure);
}

void PrintController::print() {
    // Into a file, the user names the file every time.
    PrintPagesOn(CurrentPrinter(), prepared.Input(CurrentPrinterPage()), {}, QString());
}

void PrintController::printForReading() {
    const PageInput input = prepared.Input(CurrentPrinterPage());
    PrintPages pages;
    pages.marks = FormIdentity(input.document, input.settings);
    QPrinter& current = CurrentPrinter();
    // A PDF file may be printed or copied any number of times: its pages
    // carry no sheet number. Paper from the printer is the copy itself, so
    // each copy is drawn here with its own number and the printer makes one.
    const int printerCopies = current.copyCount();
    const auto restoreCopies = qScopeGuard([&] { current.setCopyCount(printerCopies); });
    if (!NeedsPdfFileName(current)) {
        pages.copies = std::max(1, printerCopies);
        pages.firstSheet = NewFirstSheetNumber(pages.copies);
        current.setCopyCount(1);
    }
    PrintPagesOn(current, input, pages, QString());
}

void PrintController::setUpPrinter() {
    // The printer, its paper and orientation; the preview follows at its next repaint.
    QPrintDialog dialog(&CurrentPrinter(), window);
    dialog.setObjectName(QStringLiteral("PrinterSetupDialog1"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    LabelAsPrinterSetup(dialog);
    // Other paper may give another number of pages.
    if (dialog.exec() == QDialog::Accepted) emit printerChanged();
}

void PrintController::printWithDialog() {
    QPrinter& current = CurrentPrinter();
    QPrintDialog dialog(&current, window);
    dialog.setObjectName(QStringLiteral("PrintDialog1"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setMinMax(1, 100000);
    if (dialog.exec() != QDialog::Accepted) return;
    PrintPages pages;
    if (current.printRange() == QPrinter::PageRange && current.fromPage() > 0) {
        pages.from = current.fromPage();
        pages.to = current.toPage();
    }
    // The printer makes its copies itself; a PDF file gets them as repeated pages.
    const bool toFile = NeedsPdfFileName(current);
    pages.copies = toFile ? current.copyCount() : 1;
    // "Drucken" in the tool bar prints all pages once, whatever was chosen here.
    const auto resetChoice = qScopeGuard([&current] {
        current.setPrintRange(QPrinter::AllPages);
        current.setCopyCount(1);
    });
    const int expected = pages.to > 0 ? (pages.to - pages.from + 1) * pages.copies : 0;
    PrintProgressDialog progress(window, expected);
    // Into a file: the one named in the dialog, else the user names one (none offered).
    QString path;
    if (toFile) path = current.outputFileName();
    if (toFile && path.isEmpty()) path = AskPdfFileName(window, QString());
    if (toFile && path.isEmpty()) return;
    PrintPagesOn(current, prepared.Input(CurrentPrinterPage()), pages, path, std::ref(progress));
}

void PrintController::exportFillablePdf() {
    // Offered: the project's name with ".pdf", in the project's folder.
    QString offered;
    if (!doc.FileName().isEmpty()) {
        const QFileInfo project(doc.FileName());
        offered = project.absolutePath() + QLatin1Char('/') + project.completeBaseName() +
                  QStringLiteral(".pdf");
    }
    const QString path =
        AskSaveFileName(window, "FillablePdfSaveDialog",
                        TranslateText(QStringLiteral("Als ausfüllbares PDF exportieren")),
                        kPdfFilter, QStringLiteral("pdf"), offered);
    if (path.isEmpty()) return;
    FileFailure failure;
    // The pages as the current printer prints them.
    if (PrintFillablePdf(PdfSetupOf(CurrentPrinter()), prepared.Input(CurrentPrinterPage()),
                         GetMessageText(Message::PrintTitle), path, &failure) < 0)
        ReportFileFailure(window,
                          QStringLiteral("Konnte nicht in die folgende Datei exportieren: "), path,
                          failure);
}
