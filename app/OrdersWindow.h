#pragma once
// The window of returned orders ("Bestellungen einsammeln..."): the user
// chooses filled-in fillable PDFs, scans of sheets printed with marks, or a
// folder of them; the window shows the order table with its totals pinned
// below it and the files not taken with their reasons, and saves the table as
// a workbook (OrderWorkbook.h) or as CSV with the separator chosen; the table
// saved opens in the desktop's program for it. Boxes of scans left undecided
// ("?") are marked; a click shows the scanned box and decides it.

#include "OrderCollection.h"

#include <QDialog>
#include <memory>

class Document;
class QComboBox;
class QListWidget;
class QPushButton;
class QTableWidget;

class OrdersWindow : public QDialog {
    Q_OBJECT
  public:
    OrdersWindow(const Document& doc, QWidget* parent);
    ~OrdersWindow() override;

    // Reads the inputs (files or folders) against the document's form and
    // shows the result; a progress dialog with cancel appears when it takes
    // longer than a second.
    void Collect(const QStringList& inputs);
    // The separator the CSV file gets.
    QChar Separator() const;

  private slots:
    void chooseFiles();
    void chooseFolder();
    void saveAs();
    void openSaved();
    void reviewCell(int row, int column);

  private:
    void ShowTable();
    // Teaches the digit reader what the user typed in for a text box's ink.
    void LearnFrom(UndecidedMark& mark, const QString& typed);
    // Writes the table to path, as a workbook or as CSV; false after telling the user why.
    bool Save(const QString& path, bool workbook);

    const Document& doc;
    OrderForm form; // the form the orders were read against
    std::unique_ptr<OrderCollection> collection;
    QString saved; // the table last saved
    QPushButton* chooseFilesButton;
    QPushButton* chooseFolderButton;
    QTableWidget* ordersTable;
    QTableWidget* totalsTable;
    QListWidget* rejectedList;
    QComboBox* separatorChoice;
    QPushButton* saveAsButton;
    QPushButton* openTableButton;
    QPushButton* closeButton;
};
