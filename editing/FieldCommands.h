#pragma once
// The undoable edits of a category's fields: adding, removing several at once,
// moving one within its category, moving several into another category, and
// changing a field's name, kind, width or height.

#include "Document.h"
#include "EditCommand.h"

#include <vector>

// Inserts a field (as the new-field commands make it) at index.
class AddField : public EditCommand {
  public:
    AddField(Document& document, int category, int index, TakenField field,
             QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;
    std::optional<EditSelection> SelectionAfterUndo() const override;
    std::optional<EditSelection> SelectionAfterRedo() const override;

  private:
    int category, index;
    TakenField held; // the field while it is not in the document
};

// Takes the fields at rows (any order) out of the category, in one step.
class RemoveFields : public EditCommand {
  public:
    RemoveFields(Document& document, int category, QList<int> rows, QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;
    std::optional<EditSelection> SelectionAfterUndo() const override;
    std::optional<EditSelection> SelectionAfterRedo() const override;

  private:
    int category;
    QList<int> rows;              // ascending
    std::vector<TakenField> held; // by rows, while removed
};

// Moves a field within its category from one position to another.
class MoveField : public EditCommand {
  public:
    MoveField(Document& document, int category, int from, int to, QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;
    std::optional<EditSelection> SelectionAfterUndo() const override;
    std::optional<EditSelection> SelectionAfterRedo() const override;

  private:
    int category, from, to;
};

// Appends the fields at rows of source to the end of target, in their order.
class MoveFieldsToCategory : public EditCommand {
  public:
    MoveFieldsToCategory(Document& document, int source, QList<int> rows, int target,
                         QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;
    std::optional<EditSelection> SelectionAfterUndo() const override;
    std::optional<EditSelection> SelectionAfterRedo() const override;

  private:
    int source, target;
    QList<int> rows; // ascending
    int targetStart = 0;
};

// Which value of a field an edit changes; consecutive edits of the same value
// of the same field merge into one step (a kind change never merges).
enum class FieldPart { Name, Kind, Width, Height };

class ChangeFieldValues : public EditCommand {
  public:
    ChangeFieldValues(Document& document, int category, int field, const FieldValues& values,
                      FieldPart part, QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;
    int id() const override { return kId; }
    bool mergeWith(const QUndoCommand* other) override;
    std::optional<EditSelection> SelectionAfterUndo() const override;
    std::optional<EditSelection> SelectionAfterRedo() const override;

    static constexpr int kId = 2;

  private:
    int category, field;
    FieldPart part;
    FieldValues before, after;
};
