#pragma once
// The order table: one row per returned form, one column per form field in
// form order, and a last row with the totals; written as CSV (RFC 4180,
// UTF-8, CR LF) with the separator the user picks. A field that did not come
// back (a page missing or not taken) is an empty cell, never "0"; when asked,
// a last column says whether each order came back whole.

#include "OrderForm.h"
#include "ReturnedPdf.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// The running sum of a column of texts while every one is empty or a number
// (decimal comma or point, an optional sign); nothing otherwise, or when none
// is a number. The sum keeps the most decimals given and the comma when one was used.
class NumberColumnSum {
  public:
    void Add(const QString& text);
    QString Text() const;

  private:
    bool numeric = true, any = false, comma = false;
    int decimals = 0;
    __int128 sum = 0;
};

// The column that says whether an order came back whole: its head and its two values.
struct CompletenessColumn {
    QString head, yes, no;
    bool Shown() const { return !head.isEmpty(); }
};

class OrderTable {
  public:
    using RowSink = std::function<void(const QStringList& row)>;
    explicit OrderTable(const OrderForm& form);

    // Hands every order to sink as soon as it is complete instead of keeping
    // it: the totals are kept all the same, so a table written as it is read
    // takes the same memory for any number of files.
    void SetRowSink(RowSink sink) { rowSink = std::move(sink); }
    // Adds the completeness column after the fields' columns (before any order).
    void ShowCompleteness(const CompletenessColumn& column) { completeness = column; }
    const CompletenessColumn& Completeness() const { return completeness; }

    // Adds the values one file returned. A file that holds only some of the
    // form's fields is a part of a form: consecutive parts whose fields do
    // not overlap make one order, named by their files joined with " + ".
    void Add(const QString& fileName, const std::vector<ReturnedCell>& cells);
    // Closes a form still waiting for its other parts; Add calls after it start anew.
    void Finish();

    // The fields' columns (the completeness column is not one of them).
    int ColumnCount() const { return static_cast<int>(kinds.size()); }
    // Orders so far (handed to the sink or kept).
    int RowCount() const { return closedRows; }
    // True while an order waits for its other parts (it becomes row RowCount()).
    bool HasPending() const { return hasPending; }
    // The head row: fileHead, then the columns' heads.
    QStringList Heads(const QString& fileHead) const;
    // Changes the value of column (from 0) of kept order row (without a
    // sink), as the user decides a box the reader left undecided; the totals follow.
    void SetValue(int row, int column, const QString& value);
    // Kept order i (without a sink): its file name(s), then its values.
    const QStringList& Row(int i) const { return rows[static_cast<std::size_t>(i)]; }
    // The totals: sumHead, then per column the count of ticks, the sum of a
    // text column that holds only numbers, or nothing.
    QStringList Totals(const QString& sumHead) const;
    // The whole table kept, heads and totals included.
    QByteArray Csv(QChar separator, const QString& fileHead, const QString& sumHead) const;

  private:
    void Close();

    QStringList heads;
    std::vector<std::int32_t> kinds;
    std::vector<QStringList> rows;
    int closedRows = 0;
    RowSink rowSink;
    CompletenessColumn completeness;
    std::vector<qint64> ticks;           // by column: the count of "1"
    std::vector<NumberColumnSum> sums;   // by column
    // A form whose parts are still coming: its row and which columns it has.
    QStringList pending;
    std::vector<bool> pendingHas;
    bool hasPending = false;
};

// NumberColumnSum's text for a whole column.
QString SumOfNumbers(const QStringList& texts);

// One CSV line of cells, ended by CR LF; a cell holding the separator, a quote
// or a line break is quoted, its quotes doubled.
QByteArray CsvLine(const QStringList& cells, QChar separator);
