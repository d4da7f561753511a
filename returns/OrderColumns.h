#pragma once
// The columns of the order table as plain data: what the reader of returned
// PDFs needs to know of a form, without the document model (the reader builds
// on its own, in C++17, for the fuzz target). OrderForm.h makes them from a
// document.

#include <QString>
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

// The key under which a fillable PDF keeps the form's identity, in its
// document information and in its form dictionary.
inline constexpr const char* kFormIdentityKey = "/QuilloraForm";

// The kinds of column, numbered as FieldKind numbers the fields (Records.h;
// OrderForm.cpp checks that they agree).
inline constexpr std::int32_t kTextColumn = 0;
inline constexpr std::int32_t kCheckBoxColumn = 1;
inline constexpr std::int32_t kSingleChoiceColumn = 2;

struct OrderColumn {
    QString head;      // "Category - Label", unique among the columns
    std::int32_t kind; // kTextColumn, kCheckBoxColumn or kSingleChoiceColumn
    QString pdfField;  // the PDF field: the field itself, or its radio group
    QString state;     // a single choice: its button's "on" state in the group
    int group = -1;    // a single choice: its group, from 0 in form order
    int indexInGroup = 0;
    int category = -1; // where the field stands in the document: category index,
    int field = -1;    // and index in the category's field array
};

struct OrderForm {
    QString identity;                 // FormIdentity (OrderForm.h)
    std::vector<OrderColumn> columns; // in form order: by category, then field
    int groupCount = 0;

    // The column of field f of category c, or nullptr for a field of a kind
    // the form does not know (or no such field): the one answer to which
    // field has which column.
    const OrderColumn* ColumnAt(int c, int f) const {
        const auto at =
            std::lower_bound(columns.begin(), columns.end(), std::make_pair(c, f),
                             [](const OrderColumn& column, const std::pair<int, int>& place) {
                                 return std::make_pair(column.category, column.field) < place;
                             });
        return at != columns.end() && at->category == c && at->field == f ? &*at : nullptr;
    }
    // Its index among the columns, or -1.
    int ColumnIndex(int c, int f) const {
        const OrderColumn* column = ColumnAt(c, f);
        return column ? static_cast<int>(column - columns.data()) : -1;
    }
};
