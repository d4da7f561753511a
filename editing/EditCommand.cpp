#include "EditCommand.h"

std::optional<EditSelection> EditCommand::SelectionAfterUndo() const {
    return std::nullopt;
}

std::optional<EditSelection> EditCommand::SelectionAfterRedo() const {
    return std::nullopt;
}

EditGroup::EditGroup(Document& document, const QString& text) : EditCommand(document, nullptr) {
    setText(text);
}

std::optional<EditSelection> EditGroup::SelectionAfterUndo() const {
    return childCount() > 0 ? SelectionAfter(child(0), true) : std::nullopt;
}

std::optional<EditSelection> EditGroup::SelectionAfterRedo() const {
    return childCount() > 0 ? SelectionAfter(child(0), false) : std::nullopt;
}

std::optional<EditSelection> SelectionAfter(const QUndoCommand* command, bool undone) {
    const auto* edit = dynamic_cast<const EditCommand*>(command);
    if (!edit) return std::nullopt;
    return undone ? edit->SelectionAfterUndo() : edit->SelectionAfterRedo();
}
