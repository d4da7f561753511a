#pragma once
// The field list of one category as the list control shows it: the field's
// name in the one visible column, its description in a second, hidden one.
// A view of the document that follows its signals for the shown category.

#include <QAbstractTableModel>

class Document;

class FieldListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    FieldListModel(Document& document, QObject* parent = nullptr);

    // The category whose fields are listed; -1 for none. Always refills.
    void SetCategory(int category);
    int Category() const { return category; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role) override;

  private:
    Document& doc;
    int category = -1;
    QString heading;
};
