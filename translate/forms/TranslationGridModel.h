#pragma once
// The translation editor's grid as a model over the translation table: the
// heading row is the horizontal header, table row r is model row r (grid row
// r + 1). Cells are read from the table when shown, never copied, and every
// change goes straight back into the table and "translate.dat".

#include <QAbstractTableModel>
#include <QStringList>

class Translator;

class TranslationGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit TranslationGridModel(Translator& translator, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;

    // Shows the table as it is now and writes the headings afresh.
    void FillStringGrid();
    // One change of a cell's text, by grid row (0 the heading row): the table
    // takes it when the row is a table row, and the file is rewritten in every case.
    void StringGrid1SetEditText(int column, int gridRow, const QString& text);
    // Shows rows the table gained behind the model's back (a lookup appends one).
    void SyncRowCount();

    // The text of a grid cell, heading row included.
    QString GridCell(int gridRow, int column) const;
    int GridRowCount() const { return shownRows + 1; }

    // A heading found by the search is shown marked; -1 marks none.
    void MarkHeading(int column);
    int MarkedHeading() const { return markedHeading; }
    // While the first column is fixed its cells cannot be edited.
    void SetFirstColumnFixed(bool fixed) { firstColumnFixed = fixed; }

    Translator& Table() const { return translator; }

  private:
    Translator& translator;
    QStringList headings;
    int shownRows = 0;
    int markedHeading = -1;
    bool firstColumnFixed = false;
};
