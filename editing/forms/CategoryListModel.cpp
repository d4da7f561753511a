#include "CategoryListModel.h"

#include "Document.h"

#include <QLineEdit>
#include <limits>

CategoryListModel::CategoryListModel(Document& document, QObject* parent)
    : QAbstractListModel(parent), doc(document), heading(QStringLiteral("Kategorie")) {
    connect(&doc, &Document::aboutToBeReset, this, [this] { beginResetModel(); });
    connect(&doc, &Document::reset, this, [this] { endResetModel(); });
    connect(&doc, &Document::categoryAboutToBeInserted, this,
            [this](int i) { beginInsertRows(QModelIndex(), i, i); });
    connect(&doc, &Document::categoryInserted, this, [this] { endInsertRows(); });
    connect(&doc, &Document::categoryAboutToBeRemoved, this,
            [this](int i) { beginRemoveRows(QModelIndex(), i, i); });
    connect(&doc, &Document::categoryRemoved, this, [this] { endRemoveRows(); });
    connect(&doc, &Document::categoryAboutToBeMoved, this, [this](int from, int to) {
        beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
    });
    connect(&doc, &Document::categoryMoved, this, [this] { endMoveRows(); });
    connect(&doc, &Document::categoryChanged, this,
            [this](int i) { emit dataChanged(index(i), index(i)); });
}

int CategoryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : doc.CategoryCount();
}

QVariant CategoryListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= doc.CategoryCount()) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) return doc.CategoryName(index.row());
    return {};
}

bool CategoryListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.row() >= doc.CategoryCount())
        return false;
    if (rename)
        rename(index.row(), value.toString());
    else
        doc.SetCategoryName(index.row(), value.toString());
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

QWidget* CategoryNameDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                            const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setMaxLength(std::numeric_limits<int>::max());
    return editor;
}
