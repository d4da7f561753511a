#pragma once
// The order table: one row per returned form, one column per form field in
// form order, and a last row with the totals; written as CSV (RFC 4180,
// UTF-8, CR LF) with the separator the user picks.

#include "OrderForm.h"
#include "ReturnedPdf.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <vector>

class OrderTable {
  public:
    explicit OrderTable(const OrderForm& form);

    // Adds the values one file returned. A file that holds only some of the
    // form's fields is a part of a form: consecutive parts whose fields do
    // not overlap make one order, named by their files joined with " + ".
    void Add(const QString& fileName, const std::vector<ReturnedCell>& cells);
    // Closes a form still waiting for its other parts; Add calls after it start anew.
    void Finish();

    int ColumnCount() const { return static_cast<int>(kinds.size()); }
    int RowCount() const { return static_cast<int>(rows.size()); }
    // The head row: fileHead, then the columns' heads.
    QStringList Heads(const QString& fileHead) const;
    // Order i: its file name(s), then its values.
    const QStringList& Row(int i) const { return rows[static_cast<std::size_t>(i)]; }
    // The totals: sumHead, then per column the count of ticks, the sum of a
    // text column that holds only numbers, or nothing.
    QStringList Totals(const QString& sumHead) const;
    // The whole table, heads and totals included.
    QByteArray Csv(QChar separator, const QString& fileHead, const QString& sumHead) const;

  private:
    void Close();

    QStringList heads;
    std::vector<std::int32_t> kinds;
    std::vector<QStringList> rows;
    // A form whose parts are still coming: its row and which columns it has.
    QStringList pending;
    std::vector<bool> pendingHas;
    bool hasPending = false;
};

// The sum of a column of texts when every one is empty or a number (decimal
// comma or point, an optional sign); an empty text otherwise, or when none is
// a number. The sum keeps the most decimals given and the comma when one was used.
QString SumOfNumbers(const QStringList& texts);

// One CSV line of cells, ended by CR LF; a cell holding the separator, a quote
// or a line break is quoted, its quotes doubled.
QByteArray CsvLine(const QStringList& cells, QChar separator);
