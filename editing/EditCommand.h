#pragma once
// The base of the undoable category and field edits. Each edit calls only the
// document's primitives; what it takes out of the document it owns until it
// puts it back or is destroyed. Besides undo and redo, an edit tells which
// category and fields show its effect best, so that the window can select them
// after an undo or a redo.

#include <QList>
#include <QUndoCommand>
#include <optional>

class Document;

// A selection in the fields tab: the category (-1 for none) and its selected fields.
struct EditSelection {
    int category = -1;
    QList<int> fields;
    bool operator==(const EditSelection&) const = default;
};

class EditCommand : public QUndoCommand {
  public:
    // The selection to show after undo() / redo(); none keeps the present one.
    virtual std::optional<EditSelection> SelectionAfterUndo() const;
    virtual std::optional<EditSelection> SelectionAfterRedo() const;

  protected:
    EditCommand(Document& document, QUndoCommand* parent) : QUndoCommand(parent), doc(document) {}
    Document& doc;
};

// Several edits as one undo step (the category dialog's name and record). The
// selection is the first part's.
class EditGroup : public EditCommand {
  public:
    EditGroup(Document& document, const QString& text);
    std::optional<EditSelection> SelectionAfterUndo() const override;
    std::optional<EditSelection> SelectionAfterRedo() const override;
};

// The selection a command on the stack asks for, or none for any other command.
std::optional<EditSelection> SelectionAfter(const QUndoCommand* command, bool undone);
