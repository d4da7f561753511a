// Every control a user can reach must have a name a screen reader can say:
// the main window and every dialog.
#include "AboutBox.h"
#include "DialogAnswerer.h"
#include "FieldsTab.h"
#include "FontChoiceDialog.h"
#include "FontSettingButton.h"
#include "MainFormFixture.h"
#include "TranslationEditor.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QTranslator>
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
    FontChoiceDialog fontDialog(FontRecord{}, form.get());
    fontDialog.setObjectName(QStringLiteral("FontDialog1"));
    const QList<QWidget*> windows = {form.get(),
                                     &form->aboutBox(),
                                     &form->Fields()->moveDialog(),
                                     &form->translationEditor(),
                                     &form->Fields()->categoryDialog(),
                                     &fontDialog};
    for (QWidget* window : windows) {
        const QStringList unnamed = Unnamed(window);
        EXPECT_TRUE(unnamed.isEmpty())
            << window->objectName().toStdString() << ": " << unnamed.join(u", ").toStdString();
    }
}

// The lists and edits of the font chooser in dialog, each with the caption
// over it (its text without the mnemonic marker).
QList<std::pair<QWidget*, QString>> ChooserControls(QWidget* dialog) {
    auto* chooser = dialog->findChild<QFontDialog*>();
    const QList<QLabel*> labels = chooser->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    QList<std::pair<QWidget*, QString>> controls;
    for (QWidget* w : chooser->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!qobject_cast<QLineEdit*>(w) && !qobject_cast<QAbstractItemView*>(w)) continue;
        const int x = w->geometry().center().x();
        QLabel* over = nullptr;
        for (QLabel* l : labels)
            if (l->y() < w->y() && l->geometry().left() <= x && x <= l->geometry().right() &&
                (!over || l->y() > over->y()))
                over = l;
        controls.append({w, over ? over->text().remove(QLatin1Char('&')) : QString()});
    }
    return controls;
}

// Each list and edit of the chooser is named as the caption over it.
void ExpectNamedByCaptions(const QList<std::pair<QWidget*, QString>>& controls) {
    EXPECT_EQ(controls.size(), 6); // face, style and size: an edit and a list each
    for (const auto& [control, caption] : controls) {
        EXPECT_FALSE(caption.isEmpty()) << control->metaObject()->className();
        const QString name =
            QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
        EXPECT_EQ(name.toStdString(), caption.toStdString()) << control->metaObject()->className();
    }
}

// The lists and edits of Qt's font chooser inside a font dialog were unnamed,
// and names given once would stay in the former language.
TEST_F(AccessibleNamesTest, FontDialogControlsAreNamedByTheirCaptionsInTheLanguage) {
    QStringList captionsBefore, captionsAfter;
    QTranslator french;
    {
        DialogAnswerer answer([&](QWidget* w) {
            ASSERT_NE(qobject_cast<FontChoiceDialog*>(w), nullptr);
            EXPECT_EQ(Unnamed(w).join(u", ").toStdString(), "");
            ExpectNamedByCaptions(ChooserControls(w));
            for (const auto& control : ChooserControls(w))
                captionsBefore << control.second;
            // The toolkit's language changes while the dialog is open.
            ASSERT_TRUE(french.load(QStringLiteral("qtbase_fr"),
                                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
            QCoreApplication::installTranslator(&french);
            QCoreApplication::sendPostedEvents();
            ExpectNamedByCaptions(ChooserControls(w));
            for (const auto& control : ChooserControls(w))
                captionsAfter << control.second;
            qobject_cast<QDialog*>(w)->reject();
        });
        Child<FontSettingButton>("BitBtnXP3")->click();
    }
    QCoreApplication::removeTranslator(&french);
    EXPECT_NE(captionsAfter, captionsBefore); // the chooser did change its language
}

} // namespace
