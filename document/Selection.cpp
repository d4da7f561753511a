#include "Selection.h"

#include "Document.h"

#include <algorithm>

bool SameRows(const QList<int>& a, const QList<int>& b) {
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend());
}

int PlaceAfterMove(int i, int from, int to) {
    if (i == from) return to;
    if (from < i && i <= to) return i - 1;
    if (to <= i && i < from) return i + 1;
    return i;
}

Selection::Selection(Document& document) : QObject(&document), doc(document) {
    // Made by the document before any view: these run first for every change.
    connect(&document, &Document::reset, this, &Selection::FollowReset);
    connect(&document, &Document::categoryInserted, this, &Selection::FollowCategoryInserted);
    connect(&document, &Document::categoryRemoved, this, &Selection::FollowCategoryRemoved);
    connect(&document, &Document::categoryMoved, this, &Selection::FollowCategoryMoved);
    connect(&document, &Document::fieldInserted, this, &Selection::FollowFieldInserted);
    connect(&document, &Document::fieldRemoved, this, &Selection::FollowFieldRemoved);
    connect(&document, &Document::fieldMoved, this, &Selection::FollowFieldMoved);
    // The lists follow the same change after this; told once all have.
    connect(&document, &Document::contentChanged, this, [this] {
        if (!moved) return;
        moved = false;
        emit changed();
    });
}

bool Selection::Set(int c, QList<int> rows) {
    if (c < 0 || c >= doc.CategoryCount()) c = -1;
    const int count = c >= 0 ? doc.FieldCount(c) : 0;
    std::sort(rows.begin(), rows.end());
    QList<int> kept; // ascending, once each, only rows that exist
    for (int row : rows)
        if (row >= 0 && row < count && (kept.isEmpty() || kept.last() != row)) kept.append(row);
    if (c == category && SameRows(kept, fields)) return false;
    category = c;
    fields = std::move(kept);
    return true;
}

void Selection::Select(int c, const QList<int>& rows) {
    if (Set(c, rows)) emit changed();
}

void Selection::SelectFields(const QList<int>& rows) {
    Select(category, rows);
}

void Selection::FollowReset() {
    category = -1;
    fields.clear();
    Set(0, {});
    moved = true;
}

void Selection::FollowCategoryInserted(int index) {
    if (category >= index) moved |= Set(category + 1, fields);
}

void Selection::FollowCategoryRemoved(int index) {
    if (category == index)
        moved |= Set(-1, {});
    else if (category > index)
        moved |= Set(category - 1, fields);
}

void Selection::FollowCategoryMoved(int from, int to) {
    if (category >= 0) moved |= Set(PlaceAfterMove(category, from, to), fields);
}

void Selection::FollowFieldInserted(int c, int index) {
    if (c != category) return;
    QList<int> rows = fields;
    for (int& row : rows)
        if (row >= index) ++row;
    moved |= Set(category, rows);
}

void Selection::FollowFieldRemoved(int c, int index) {
    if (c != category) return;
    QList<int> rows;
    for (int row : fields)
        if (row != index) rows.append(row > index ? row - 1 : row);
    moved |= Set(category, rows);
}

void Selection::FollowFieldMoved(int c, int from, int to) {
    if (c != category) return;
    QList<int> rows = fields;
    for (int& row : rows)
        row = PlaceAfterMove(row, from, to);
    moved |= Set(category, rows);
}
