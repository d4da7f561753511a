#pragma once
// The undoable change of one layout value. Consecutive changes of the same
// value (the keystrokes in one text box, the steps of one spin edit) merge
// into one undo step.

#include "LayoutKeys.h"

#include <QUndoCommand>

class Document;

class ChangeLayoutValue : public QUndoCommand {
  public:
    ChangeLayoutValue(Document& document, int key, LayoutValue value);
    void undo() override;
    void redo() override;
    int id() const override { return kId; }
    bool mergeWith(const QUndoCommand* other) override;

    static constexpr int kId = 1;

  private:
    Document& doc;
    int key;
    LayoutValue before;
    LayoutValue after;
};

// Pushes a ChangeLayoutValue unless the document already holds value.
void PushLayoutValue(Document& document, int key, const LayoutValue& value);
