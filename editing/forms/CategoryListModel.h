#pragma once
// The category list as the list control shows it: a view of the document's
// categories. Every command that adds, removes, renames or moves a category goes
// through here, so the list rows and the document's categories change together.

#include <QAbstractListModel>

class FormDocument;

class CategoryListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    CategoryListModel(FormDocument* doc, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role) override;

    int AddCategory(const QString& name);
    void DeleteCategory(int i);
    void SwapCategories(int i, int j);
    // Call around changes made to the document directly (NewAll).
    void BeginReset() { beginResetModel(); }
    void EndReset() { endResetModel(); }
    // Shows another document (a loaded file) from now on.
    void SetDocument(FormDocument* document);

  private:
    FormDocument* docp;
    FormDocument& doc() const { return *docp; }
    QString heading;
};
