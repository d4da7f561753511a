#include "CategoryCommands.h"

AddCategory::AddCategory(Document& document, int at, const QString& name, QUndoCommand* parent)
    : EditCommand(document, parent), index(at), held(TakenCategory::Make(name)) {
    setText(QStringLiteral("Neue Kategorie"));
}

void AddCategory::undo() {
    held = doc.TakeCategory(index);
}

void AddCategory::redo() {
    doc.InsertCategory(index, std::move(held));
}

std::optional<EditSelection> AddCategory::SelectionAfterRedo() const {
    return EditSelection{index, {}};
}

RemoveCategory::RemoveCategory(Document& document, int at, QUndoCommand* parent)
    : EditCommand(document, parent), index(at) {
    setText(QStringLiteral("Kategorie löschen"));
}

void RemoveCategory::undo() {
    doc.InsertCategory(index, std::move(held));
}

void RemoveCategory::redo() {
    held = doc.TakeCategory(index);
}

std::optional<EditSelection> RemoveCategory::SelectionAfterUndo() const {
    return EditSelection{index, {}};
}

std::optional<EditSelection> RemoveCategory::SelectionAfterRedo() const {
    return EditSelection{-1, {}};
}

MoveCategory::MoveCategory(Document& document, int fromIndex, int toIndex, QUndoCommand* parent)
    : EditCommand(document, parent), from(fromIndex), to(toIndex) {
    setText(QStringLiteral("Kategorie verschieben"));
}

void MoveCategory::undo() {
    doc.MoveCategory(to, from);
}

void MoveCategory::redo() {
    doc.MoveCategory(from, to);
}

std::optional<EditSelection> MoveCategory::SelectionAfterUndo() const {
    return EditSelection{from, {}};
}

std::optional<EditSelection> MoveCategory::SelectionAfterRedo() const {
    return EditSelection{to, {}};
}

RenameCategory::RenameCategory(Document& document, int at, const QString& name,
                               QUndoCommand* parent)
    : EditCommand(document, parent), index(at), before(document.CategoryName(at)), after(name) {
    setText(QStringLiteral("Kategorie umbenennen"));
}

void RenameCategory::undo() {
    doc.SetCategoryName(index, before);
}

void RenameCategory::redo() {
    doc.SetCategoryName(index, after);
}

std::optional<EditSelection> RenameCategory::SelectionAfterUndo() const {
    return EditSelection{index, {}};
}

std::optional<EditSelection> RenameCategory::SelectionAfterRedo() const {
    return EditSelection{index, {}};
}

SetCategoryRecord::SetCategoryRecord(Document& document, int at,
                                     const std::optional<CategoryValues>& values,
                                     QUndoCommand* parent)
    : EditCommand(document, parent), index(at), before(document.CategoryRecordValues(at)),
      after(values) {
    setText(QStringLiteral("Kategorie bearbeiten"));
}

void SetCategoryRecord::undo() {
    doc.SetCategoryRecord(index, before);
}

void SetCategoryRecord::redo() {
    doc.SetCategoryRecord(index, after);
}

std::optional<EditSelection> SetCategoryRecord::SelectionAfterUndo() const {
    return EditSelection{index, {}};
}

std::optional<EditSelection> SetCategoryRecord::SelectionAfterRedo() const {
    return EditSelection{index, {}};
}
