#pragma once
// Building a document in tests through its primitives, as the edit commands
// and the project-file reader do.

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

// The same for the form content alone (the renderer's and the files' tests).
inline int AppendCategory(FormDocument& doc, const QString& name) {
    const int index = doc.CategoryCount();
    doc.InsertCategory(index, TakenCategory::Make(name));
    return index;
}

// Appends a field as the new-field commands make it; returns the field in place.
inline FieldRecord* AppendField(FormDocument& doc, int category, FieldKind kind,
                                const QString& name, double width, double height) {
    const int index = doc.FieldCount(category);
    doc.InsertField(category, index, TakenField::Make(kind, name, width, height));
    return doc.FieldAt(category, index);
}
