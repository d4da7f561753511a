#pragma once
// Printing the window's document: the current printer (which the preview
// measures too), the print commands with and without the print dialog, the
// printer set-up, printing into a PDF file, the fillable-PDF export and the
// progress of long print runs.

#include "PrintRun.h"

#include <QObject>
#include <memory>

class QPrinter;
class QWidget;
class Document;
class PreparedProject;
struct PrinterPage;

class PrintController : public QObject {
    Q_OBJECT
  public:
    // window parents the dialogs and messages.
    PrintController(Document& document, PreparedProject& project, QWidget* window);
    ~PrintController() override;

    // The printer the preview measures and printing uses, made on first use.
    QPrinter& CurrentPrinter();
    PrinterPage CurrentPrinterPage();
    // Makes printer the current printer.
    void SetCurrentPrinter(std::unique_ptr<QPrinter> printer);

    // "Drucken": every page once, on the current printer or into a PDF file.
    void print();
    // "Drucken...": the print dialog (printer, copies, pages), then the print.
    void printWithDialog();
    // "Drucker einrichten": the printer, its paper and orientation.
    void setUpPrinter();
    // "Drucken für die Auswertung...": every page once, with the corner marks
    // and page codes the reader of scanned returns finds it by.
    void printForReading();
    // "Als ausfüllbares PDF exportieren...": the printed pages with form fields.
    void exportFillablePdf();

  signals:
    // Another printer or paper: the pages may fall otherwise.
    void printerChanged();

  private:
    // The pages on the current printer, or into a PDF file when it prints into
    // one: chosenFile, or the file the user names when it is empty. Reports failures.
    void PrintPagesOn(QPrinter& current, const PageInput& input, const PrintPages& pages,
                      const QString& chosenFile, const PrintProgress& progress = {});

    Document& doc;
    PreparedProject& prepared;
    QWidget* window;
    std::unique_ptr<QPrinter> printer;
};
