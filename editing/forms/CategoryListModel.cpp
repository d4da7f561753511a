#include "CategoryListModel.h"

#include "FormDocument.h"

CategoryListModel::CategoryListModel(FormDocument* document, QObject* parent)
    : QAbstractListModel(parent), docp(document), heading(QStringLiteral("Kategorie")) {}

int CategoryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : doc().CategoryCount();
}

QVariant CategoryListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= doc().CategoryCount()) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) return doc().CategoryName(index.row());
    return {};
}

bool CategoryListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.row() >= doc().CategoryCount())
        return false;
    doc().SetCategoryName(index.row(), value.toString());
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags CategoryListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

QVariant CategoryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole) return heading;
    return {};
}

bool CategoryListModel::setHeaderData(int section, Qt::Orientation orientation,
                                      const QVariant& value, int role) {
    if (section != 0 || orientation != Qt::Horizontal || role != Qt::EditRole) return false;
    heading = value.toString();
    emit headerDataChanged(orientation, 0, 0);
    return true;
}

int CategoryListModel::AddCategory(const QString& name) {
    const int row = doc().CategoryCount();
    beginInsertRows(QModelIndex(), row, row);
    doc().AddCategory(name);
    endInsertRows();
    return row;
}

void CategoryListModel::DeleteCategory(int i) {
    if (i < 0 || i >= doc().CategoryCount()) return;
    beginRemoveRows(QModelIndex(), i, i);
    doc().DeleteCategory(i);
    endRemoveRows();
}

void CategoryListModel::SwapCategories(int i, int j) {
    if (i < 0 || j < 0 || i >= doc().CategoryCount() || j >= doc().CategoryCount() || i == j)
        return;
    doc().SwapCategories(i, j);
    emit dataChanged(index(std::min(i, j)), index(std::max(i, j)));
}

void CategoryListModel::SetDocument(FormDocument* document) {
    beginResetModel();
    docp = document;
    endResetModel();
}
