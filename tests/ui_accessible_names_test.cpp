// Every control a user can reach must have a name a screen reader can say:
// the main window and every dialog.
#include "AboutBoxUnit.h"
#include "MainFormFixture.h"
#include "TranslateFUnit.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <gtest/gtest.h>

namespace {

// The reachable controls of window (focusable, shown or on a hidden tab page)
// that have no accessible name.
QStringList Unnamed(QWidget* window) {
    QStringList unnamed;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->focusPolicy() == Qt::NoFocus || w->isHidden()) continue;
        // Inner parts of a control (a spin box's edit) speak through the control.
        if (qobject_cast<QAbstractSpinBox*>(w->parentWidget()) ||
            qobject_cast<QComboBox*>(w->parentWidget()))
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        if (!a || a->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << QStringLiteral("%1 (%2)").arg(w->objectName(), w->metaObject()->className());
    }
    return unnamed;
}

class AccessibleNamesTest : public MainFormFixture {};

// A screen reader says "spin button" for every unnamed margin.
TEST_F(AccessibleNamesTest, EveryReachableControlHasAName) {
    form->aboutBox = new TAboutBox(form.get());
    form->translateForm = new TTranslateForm(form.get());
    const QList<QWidget*> windows = {form.get(), form->aboutBox, form->moveDialog,
                                     form->translateForm, form->categoryDialog};
    for (QWidget* window : windows) {
        const QStringList unnamed = Unnamed(window);
        EXPECT_TRUE(unnamed.isEmpty())
            << window->objectName().toStdString() << ": " << unnamed.join(u", ").toStdString();
    }
}

} // namespace
