#pragma once
// Building a document in tests through its primitives, as the edit commands do.

#include "Document.h"

// Appends a category without record or fields; returns its index.
inline int AppendCategory(Document& doc, const QString& name) {
    const int index = doc.CategoryCount();
    doc.InsertCategory(index, TakenCategory::Make(name));
    return index;
}

// Appends a field as the new-field commands make it; returns its index.
inline int AppendField(Document& doc, int category, FieldKind kind, const QString& name,
                       double width, double height) {
    const int index = doc.FieldCount(category);
    doc.InsertField(category, index, TakenField::Make(kind, name, width, height));
    return index;
}
