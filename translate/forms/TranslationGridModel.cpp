#include "TranslationGridModel.h"

#include "Translator.h"

#include <QFont>
#include <QPalette>

namespace {
QString Heading(int column) {
    switch (column) {
    case 0:
        return QStringLiteral("German");
    case 1:
        return QStringLiteral("English");
    case 2:
        return QStringLiteral("Français");
    case 3:
        return QStringLiteral("Nederlands");
    default:
        return QStringLiteral("language") + QString::number(column);
    }
}
} // namespace

TranslationGridModel::TranslationGridModel(Translator& translator, QObject* parent)
    : QAbstractTableModel(parent), translator(translator) {
    // Until the first filling the heading row is empty, like a fresh grid.
    for (int c = 0; c < kTranslationColumns; ++c)
        headings.append(QString());
}

int TranslationGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows;
}

int TranslationGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kTranslationColumns;
}

QVariant TranslationGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return translator.Cell(index.row(), index.column());
}

bool TranslationGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    StringGrid1SetEditText(index.column(), index.row() + 1, value.toString());
    return true;
}

Qt::ItemFlags TranslationGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!(firstColumnFixed && index.column() == 0)) f |= Qt::ItemIsEditable;
    return f;
}

QVariant TranslationGridModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    if (section < 0 || section >= headings.size()) return {};
    if (role == Qt::DisplayRole) return headings[section];
    if (role == Qt::FontRole && section == markedHeading) {
        QFont bold;
        bold.setBold(true);
        bold.setUnderline(true);
        return bold;
    }
    if (role == Qt::BackgroundRole && section == markedHeading)
        return QPalette().brush(QPalette::Highlight);
    if (role == Qt::ForegroundRole && section == markedHeading)
        return QPalette().brush(QPalette::HighlightedText);
    return {};
}

bool TranslationGridModel::setHeaderData(int section, Qt::Orientation orientation,
                                         const QVariant& value, int role) {
    if (orientation != Qt::Horizontal || role != Qt::EditRole || section < 0 ||
        section >= headings.size())
        return false;
    headings[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

void TranslationGridModel::FillStringGrid() {
    beginResetModel();
    shownRows = translator.RowCount();
    for (int c = 0; c < kTranslationColumns; ++c)
        headings[c] = Heading(c);
    markedHeading = -1;
    endResetModel();
}

void TranslationGridModel::StringGrid1SetEditText(int column, int gridRow, const QString& text) {
    const bool tableCell = gridRow >= 1 && gridRow <= translator.RowCount() && column >= 0 &&
                           column < kTranslationColumns;
    if (tableCell) translator.SetTranslationCell(gridRow - 1, column, text);
    translator.SaveTranslation();
    if (tableCell && gridRow - 1 < shownRows) {
        const QModelIndex changed = index(gridRow - 1, column);
        emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
    }
    // A failed save may have looked its note up, which appends a row.
    SyncRowCount();
}

void TranslationGridModel::SyncRowCount() {
    const int rows = translator.RowCount();
    if (rows == shownRows) return;
    if (rows < shownRows) {
        beginResetModel();
        shownRows = rows;
        endResetModel();
        return;
    }
    beginInsertRows({}, shownRows, rows - 1);
    shownRows = rows;
    endInsertRows();
}

QString TranslationGridModel::GridCell(int gridRow, int column) const {
    if (column < 0 || column >= kTranslationColumns) return {};
    if (gridRow == 0) return headings[column];
    return gridRow <= shownRows ? translator.Cell(gridRow - 1, column) : QString();
}

void TranslationGridModel::MarkHeading(int column) {
    if (column == markedHeading) return;
    const int former = markedHeading;
    markedHeading = column;
    if (former >= 0) emit headerDataChanged(Qt::Horizontal, former, former);
    if (column >= 0) emit headerDataChanged(Qt::Horizontal, column, column);
}
