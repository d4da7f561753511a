#include "AccessibleNames.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QSet>

namespace {

// A control a user reaches with the keyboard or the mouse.
bool IsControl(QWidget* w) {
    return w && w->focusPolicy() != Qt::NoFocus && !qobject_cast<QLabel*>(w);
}

// The control after the label in its row: the grid's next columns, or the
// box layout's next items.
QWidget* ControlAfter(QLayout* layout, QLabel* label) {
    const int index = layout->indexOf(label);
    if (index < 0) return nullptr;
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        int row, column, rowSpan, columnSpan;
        grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        for (int c = column + columnSpan; c < grid->columnCount(); ++c) {
            QLayoutItem* item = grid->itemAtPosition(row, c);
            if (!item) continue;
            if (IsControl(item->widget())) return item->widget();
            if (item->widget()) return nullptr; // another caption comes first
        }
        return nullptr;
    }
    if (qobject_cast<QBoxLayout*>(layout)) {
        for (int i = index + 1; i < layout->count(); ++i) {
            QWidget* w = layout->itemAt(i)->widget();
            if (IsControl(w)) return w;
            if (w) return nullptr;
        }
    }
    return nullptr;
}

// The layout under root that holds label directly.
QLayout* LayoutHolding(QLayout* root, QLabel* label) {
    if (!root) return nullptr;
    if (root->indexOf(label) >= 0) return root;
    for (int i = 0; i < root->count(); ++i)
        if (QLayout* inner = root->itemAt(i)->layout())
            if (QLayout* found = LayoutHolding(inner, label)) return found;
    return nullptr;
}

} // namespace

void BuddyCaptionsToControls(QWidget* root) {
    if (!root) return;
    QSet<QWidget*> named;
    const QList<QLabel*> labels = root->findChildren<QLabel*>();
    for (QLabel* label : labels)
        if (label->buddy()) named.insert(label->buddy());
    for (QLabel* label : labels) {
        if (label->buddy() || label->text().trimmed().isEmpty() || !label->parentWidget()) continue;
        QLayout* layout = LayoutHolding(label->parentWidget()->layout(), label);
        QWidget* control = layout ? ControlAfter(layout, label) : nullptr;
        if (!control || named.contains(control) || !control->accessibleName().isEmpty()) continue;
        label->setBuddy(control);
        named.insert(control);
    }
}
