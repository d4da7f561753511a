#include "FieldCommands.h"

#include <algorithm>

namespace {
QList<int> Ascending(QList<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}
} // namespace

AddField::AddField(Document& document, int c, int at, TakenField field, QUndoCommand* parent)
    : EditCommand(document, parent), category(c), index(at), held(std::move(field)) {
    setText(QStringLiteral("Neues Feld"));
}

void AddField::undo() {
    held = doc.TakeField(category, index);
}

void AddField::redo() {
    doc.InsertField(category, index, std::move(held));
}

std::optional<EditSelection> AddField::SelectionAfterUndo() const {
    return EditSelection{category, {}};
}

std::optional<EditSelection> AddField::SelectionAfterRedo() const {
    return EditSelection{category, {index}};
}

RemoveFields::RemoveFields(Document& document, int c, QList<int> fieldRows, QUndoCommand* parent)
    : EditCommand(document, parent), category(c), rows(Ascending(std::move(fieldRows))) {
    setText(QStringLiteral("Felder löschen"));
}

void RemoveFields::undo() {
    for (int i = 0; i < rows.size(); ++i)
        doc.InsertField(category, rows[i], std::move(held[static_cast<std::size_t>(i)]));
    held.clear();
}

void RemoveFields::redo() {
    held.resize(static_cast<std::size_t>(rows.size()));
    for (int i = static_cast<int>(rows.size()) - 1; i >= 0; --i)
        held[static_cast<std::size_t>(i)] = doc.TakeField(category, rows[i]);
}

std::optional<EditSelection> RemoveFields::SelectionAfterUndo() const {
    return EditSelection{category, rows};
}

std::optional<EditSelection> RemoveFields::SelectionAfterRedo() const {
    return EditSelection{category, {}};
}

MoveField::MoveField(Document& document, int c, int fromIndex, int toIndex, QUndoCommand* parent)
    : EditCommand(document, parent), category(c), from(fromIndex), to(toIndex) {
    setText(QStringLiteral("Feld verschieben"));
}

void MoveField::undo() {
    doc.MoveField(category, to, from);
}

void MoveField::redo() {
    doc.MoveField(category, from, to);
}

std::optional<EditSelection> MoveField::SelectionAfterUndo() const {
    return EditSelection{category, {from}};
}

std::optional<EditSelection> MoveField::SelectionAfterRedo() const {
    return EditSelection{category, {to}};
}

MoveFieldsToCategory::MoveFieldsToCategory(Document& document, int sourceCategory,
                                           QList<int> fieldRows, int targetCategory,
                                           QUndoCommand* parent)
    : EditCommand(document, parent), source(sourceCategory), target(targetCategory),
      rows(Ascending(std::move(fieldRows))) {
    setText(QStringLiteral("In andere Kategorie verschieben"));
}

void MoveFieldsToCategory::redo() {
    if (source == target) return;
    std::vector<TakenField> taken(static_cast<std::size_t>(rows.size()));
    for (int i = static_cast<int>(rows.size()) - 1; i >= 0; --i)
        taken[static_cast<std::size_t>(i)] = doc.TakeField(source, rows[i]);
    targetStart = doc.FieldCount(target);
    for (TakenField& field : taken)
        doc.InsertField(target, doc.FieldCount(target), std::move(field));
}

void MoveFieldsToCategory::undo() {
    if (source == target) return;
    std::vector<TakenField> taken(static_cast<std::size_t>(rows.size()));
    for (int i = static_cast<int>(rows.size()) - 1; i >= 0; --i)
        taken[static_cast<std::size_t>(i)] = doc.TakeField(target, targetStart + i);
    for (int i = 0; i < rows.size(); ++i)
        doc.InsertField(source, rows[i], std::move(taken[static_cast<std::size_t>(i)]));
}

std::optional<EditSelection> MoveFieldsToCategory::SelectionAfterUndo() const {
    return EditSelection{source, rows};
}

std::optional<EditSelection> MoveFieldsToCategory::SelectionAfterRedo() const {
    return EditSelection{source, {}};
}

ChangeFieldValues::ChangeFieldValues(Document& document, int c, int f, const FieldValues& values,
                                     FieldPart changed, QUndoCommand* parent)
    : EditCommand(document, parent), category(c), field(f), part(changed),
      before(document.FieldValuesAt(c, f)), after(values) {
    static const char* const names[] = {"Bezeichnung", "Art", "Breite", "Höhe"};
    setText(QString::fromUtf8(names[static_cast<int>(part)]));
}

void ChangeFieldValues::undo() {
    doc.SetFieldValues(category, field, before);
}

void ChangeFieldValues::redo() {
    doc.SetFieldValues(category, field, after);
}

bool ChangeFieldValues::mergeWith(const QUndoCommand* other) {
    const auto* next = static_cast<const ChangeFieldValues*>(other);
    if (&next->doc != &doc || next->category != category || next->field != field ||
        next->part != part || part == FieldPart::Kind)
        return false;
    after = next->after;
    return true;
}

std::optional<EditSelection> ChangeFieldValues::SelectionAfterUndo() const {
    return EditSelection{category, {field}};
}

std::optional<EditSelection> ChangeFieldValues::SelectionAfterRedo() const {
    return EditSelection{category, {field}};
}
