#pragma once
// The order table as a workbook for spreadsheet programs (Office Open XML,
// written by libxlsxwriter). The sheet of orders has the heads and rows of the
// CSV file; numbers are stored as numbers and every other value as text (a text
// that looks like a formula stays text), "?" cells are filled in a colour that
// stands out, and the totals are SUM formulas with their values cached, so that
// they follow a corrected cell and still show in a viewer that does not
// calculate. A second sheet lists the files and pages not taken with their
// reasons. Orders are added as they are read; the workbook is put together in a
// private temporary folder, and its bytes reach the target only through the
// atomic writer.

#include "FileFailure.h"
#include "OrderColumns.h"
#include "OrderTable.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// The workbook's own texts, in the language of the program.
struct WorkbookTexts {
    QString ordersSheet = QStringLiteral("Bestellungen");
    QString rejectedSheet = QStringLiteral("Nicht übernommen");
    QString fileHead = QStringLiteral("Datei");
    QString sumHead = QStringLiteral("Summe");
    QString reasonHead = QStringLiteral("Grund");
};

// A cell's value as a workbook number: a plain decimal with a comma or a point
// ("12", "-3", "2,5", "0.25"; spaces around it are dropped), without leading zeros (an order number such as
// "007" or a post code stays text) and within the 15 digits a workbook number
// holds exactly. Nothing for anything else.
struct WorkbookNumber {
    double value = 0;
    int decimals = 0;
};
std::optional<WorkbookNumber> AsWorkbookNumber(const QString& text);

// Why a table does not fit a workbook, as FileFailure::reason.
extern const char* const kTableTooLargeForWorkbook;

class OrderWorkbook {
  public:
    // With a completeness column shown, the orders end with it as the table's rows do.
    OrderWorkbook(const OrderForm& form, const WorkbookTexts& texts,
                  const CompletenessColumn& completeness = {});
    ~OrderWorkbook();
    OrderWorkbook(const OrderWorkbook&) = delete;
    OrderWorkbook& operator=(const OrderWorkbook&) = delete;

    // Starts the workbook with the head row; false with Failure() set.
    bool Open();
    // One order as OrderTable hands it: its file name(s), then its values.
    // false (and every later call false) once anything failed.
    bool AddOrder(const QStringList& row);
    // A file or page not taken, and why.
    bool AddRejected(const QString& file, const QString& reason);
    // Ends the orders with the totals (OrderTable::Totals) and puts the
    // workbook in place of path; the former file stays unless all went well.
    bool Save(const QStringList& totals, const QString& path);

    FileFailure Failure() const { return failure; }

  private:
    struct Book;
    bool Fail(const QString& english, const QString& reason);
    bool TooLarge();
    bool Check(int error);
    bool WriteTotals(const QStringList& totals);
    void SetWidths();

    std::unique_ptr<Book> book;
    FileFailure failure;
};
