#pragma once
// The undoable edits of the category list: adding, removing (with all fields),
// moving, renaming and the category dialog's record.

#include "Document.h"
#include "EditCommand.h"

// Inserts a new category without record or fields at index.
class AddCategory : public EditCommand {
  public:
    AddCategory(Document& document, int index, const QString& name, QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;
    std::optional<EditSelection> SelectionAfterRedo() const override;

  private:
    int index;
    TakenCategory held; // the category while it is not in the document
};

// Takes the category with its record and fields out; undo puts it back.
class RemoveCategory : public EditCommand {
  public:
    RemoveCategory(Document& document, int index, QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;
    std::optional<EditSelection> SelectionAfterUndo() const override;
    std::optional<EditSelection> SelectionAfterRedo() const override;

  private:
    int index;
    TakenCategory held;
};

// Moves the category at from to position to.
class MoveCategory : public EditCommand {
  public:
    MoveCategory(Document& document, int from, int to, QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;
    std::optional<EditSelection> SelectionAfterUndo() const override;
    std::optional<EditSelection> SelectionAfterRedo() const override;

  private:
    int from, to;
};

class RenameCategory : public EditCommand {
  public:
    RenameCategory(Document& document, int index, const QString& name,
                   QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;
    std::optional<EditSelection> SelectionAfterUndo() const override;
    std::optional<EditSelection> SelectionAfterRedo() const override;

  private:
    int index;
    QString before, after;
};

// Gives the category a record with these values (or none).
class SetCategoryRecord : public EditCommand {
  public:
    SetCategoryRecord(Document& document, int index, const std::optional<CategoryValues>& values,
                      QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;
    std::optional<EditSelection> SelectionAfterUndo() const override;
    std::optional<EditSelection> SelectionAfterRedo() const override;

  private:
    int index;
    std::optional<CategoryValues> before, after;
};
