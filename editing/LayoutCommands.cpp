#include "LayoutCommands.h"

#include "Document.h"

#include <QUndoStack>

ChangeLayoutValue::ChangeLayoutValue(Document& document, int layoutKey, LayoutValue value)
    : doc(document), key(layoutKey), before(document.LayoutValueOf(layoutKey)),
      after(std::move(value)) {
    const LayoutKey& k = LayoutKeys()[static_cast<std::size_t>(key)];
    // The step is called as its control is captioned: "Linker Seitenrand in mm".
    QString caption = QString::fromUtf8(k.caption).trimmed();
    while (caption.endsWith(QLatin1Char(':')) || caption.endsWith(QLatin1Char('.')))
        caption.chop(1);
    setText(caption);
}

void ChangeLayoutValue::undo() {
    doc.SetLayoutValue(key, before);
}

void ChangeLayoutValue::redo() {
    doc.SetLayoutValue(key, after);
}

bool ChangeLayoutValue::mergeWith(const QUndoCommand* other) {
    const auto* next = static_cast<const ChangeLayoutValue*>(other);
    if (next->key != key || &next->doc != &doc) return false;
    after = next->after;
    return true;
}

void PushLayoutValue(Document& document, int key, const LayoutValue& value) {
    if (!WouldChange(document, key, value)) return;
    document.undoStack()->push(new ChangeLayoutValue(document, key, value));
}
