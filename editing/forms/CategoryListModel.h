#pragma once
// The category list as the list control shows it: a view of the document's
// categories that follows the document's signals. Renaming a category in place
// goes to the document through the rename function the owner gives, typed
// into an editor that takes a name of any length.

#include <QAbstractListModel>
#include <QStyledItemDelegate>
#include <functional>

class Document;

class CategoryListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    CategoryListModel(Document& document, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role) override;

    // How a name typed in place reaches the document (an undoable command);
    // without one the document's name is set directly.
    std::function<void(int row, const QString& name)> rename;

  private:
    Document& doc;
    QString heading;
};

// The in-place editor of a category name: a name of any length, none is cut.
class CategoryNameDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
};
