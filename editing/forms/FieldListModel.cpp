#include "FieldListModel.h"

#include "Document.h"

FieldListModel::FieldListModel(Document& document, QObject* parent)
    : QAbstractTableModel(parent), doc(document), heading(QStringLiteral("Bezeichnung")) {
    connect(&doc, &Document::aboutToBeReset, this, [this] {
        beginResetModel();
        category = -1;
    });
    connect(&doc, &Document::reset, this, [this] { endResetModel(); });
    // The shown category's place changes with inserts, removals and moves of categories.
    connect(&doc, &Document::categoryAboutToBeRemoved, this, [this](int i) {
        if (i == category) {
            beginResetModel();
            category = -1;
            endResetModel();
        } else if (i < category) {
            --category;
        }
    });
    connect(&doc, &Document::categoryInserted, this, [this](int i) {
        if (category >= 0 && i <= category) ++category;
    });
    connect(&doc, &Document::categoryMoved, this, [this](int from, int to) {
        if (category == from)
            category = to;
        else if (from < category && to >= category)
            --category;
        else if (from > category && to <= category)
            ++category;
    });
    connect(&doc, &Document::fieldAboutToBeInserted, this, [this](int c, int f) {
        if (c == category) beginInsertRows(QModelIndex(), f, f);
    });
    connect(&doc, &Document::fieldInserted, this, [this](int c) {
        if (c == category) endInsertRows();
    });
    connect(&doc, &Document::fieldAboutToBeRemoved, this, [this](int c, int f) {
        if (c == category) beginRemoveRows(QModelIndex(), f, f);
    });
    connect(&doc, &Document::fieldRemoved, this, [this](int c) {
        if (c == category) endRemoveRows();
    });
    connect(&doc, &Document::fieldAboutToBeMoved, this, [this](int c, int from, int to) {
        if (c == category)
            beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
    });
    connect(&doc, &Document::fieldMoved, this, [this](int c) {
        if (c == category) endMoveRows();
    });
    connect(&doc, &Document::fieldChanged, this, [this](int c, int f) {
        if (c == category) emit dataChanged(index(f, 0), index(f, 1));
    });
}

void FieldListModel::SetCategory(int c) {
    beginResetModel();
    category = c >= 0 && c < doc.CategoryCount() ? c : -1;
    endResetModel();
}

int FieldListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || category < 0 ? 0 : doc.FieldCount(category);
}

int FieldListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant FieldListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    const FieldRecord* field = doc.FieldAt(category, index.row());
    if (!field) return {};
    return ToQString(index.column() == 0 ? field->name : field->descr);
}

QVariant FieldListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == 0 ? QVariant(heading) : QVariant(QString());
}

bool FieldListModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                                   int role) {
    if (section != 0 || orientation != Qt::Horizontal || role != Qt::EditRole) return false;
    heading = value.toString();
    emit headerDataChanged(orientation, 0, 0);
    return true;
}
