#pragma once
// Driving the tab "Felder" of a main window as a user does: buttons, typing a
// category name in place, selecting in the lists, the two dialogs; and a
// one-line-per-entry description of a document to compare whole forms.

#include "MoveFieldsDialog.h"
#include "DialogAnswerer.h"
#include "Document.h"
#include "FieldsTab.h"
#include "CategoryDialog.h"
#include "MainWindow.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeView>
#include <gtest/gtest.h>

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

class FieldsTabDriver {
  public:
    explicit FieldsTabDriver(MainWindow& mainForm) : form(mainForm) {}

    template <typename T> T* Find(const char* name) const {
        T* w = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void Click(const char* button) const { Find<QPushButton>(button)->click(); }
    QTreeView* Categories() const { return Find<QTreeView>("ListView2"); }
    QTreeView* Fields() const { return Find<QTreeView>("ListView1"); }
    QPlainTextEdit* NameBox() const { return Find<QPlainTextEdit>("ProdNameEd"); }

    // The in-place editor of the category list, while one is open.
    QLineEdit* InPlaceEditor() const {
        for (QLineEdit* e : Categories()->viewport()->findChildren<QLineEdit*>())
            if (e->isVisible()) return e;
        return nullptr;
    }
    static void Key(QWidget* w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(w, &release);
    }
    // "Neue Kategorie", the name typed in place and committed with Enter.
    void NewCategory(const QString& name) const {
        Click("NewKategorieBtn");
        QLineEdit* editor = InPlaceEditor();
        ASSERT_NE(editor, nullptr) << "no name editor in place";
        editor->setText(name);
        Key(editor, Qt::Key_Return);
        QApplication::processEvents(); // the list commits the name in a queued call
    }
    void SelectCategory(int row) const {
        Categories()->selectionModel()->select(Categories()->model()->index(row, 0),
                                               QItemSelectionModel::ClearAndSelect |
                                                   QItemSelectionModel::Rows);
    }
    void SelectFields(std::initializer_list<int> rows) const {
        QItemSelectionModel* s = Fields()->selectionModel();
        s->clearSelection();
        for (int row : rows)
            s->select(Fields()->model()->index(row, 0),
                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    // A new field of the button's kind, its name typed over the selected default name.
    void NewField(const char* button, const QString& name) const {
        Click(button);
        NameBox()->insertPlainText(name);
    }
    // The category dialog for the selected category, answered by `fill` and OK.
    void EditCategory(const std::function<void(CategoryDialog&)>& fill) const {
        DialogAnswerer answer([&](QWidget* w) {
            auto* dialog = qobject_cast<CategoryDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            fill(*dialog);
            dialog->accept();
        });
        Click("KategorieBearbeitenBtn");
    }
    // The move dialog, its entry `entry` chosen and OK pressed; returns its entries.
    QStringList MoveFields(int entry) const {
        QStringList shown;
        DialogAnswerer answer([&](QWidget* w) {
            auto* dialog = qobject_cast<MoveFieldsDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            for (int i = 0; i < dialog->categoryBox->count(); ++i)
                shown << dialog->categoryBox->itemText(i);
            dialog->categoryBox->setCurrentIndex(entry);
            dialog->accept();
        });
        Click("AndereKategorieBtn");
        return shown;
    }

    MainWindow& form;
};

// One line per category and per field: what a saved form must hold.
inline QStringList DescribeForm(const Document& doc) {
    QStringList lines;
    for (int c = 0; c < doc.CategoryCount(); ++c) {
        QString line = QStringLiteral("K ") + doc.CategoryName(c);
        if (const auto r = doc.CategoryRecordValues(c))
            line += QStringLiteral(" | %1 %2 %3 %4 %5")
                        .arg(r->picfile)
                        .arg(r->picwidth)
                        .arg(r->introtext)
                        .arg(r->picbelow)
                        .arg(r->textbelowpic);
        lines << line;
        for (int f = 0; f < doc.FieldCount(c); ++f) {
            const FieldValues v = doc.FieldValuesAt(c, f);
            lines << QStringLiteral("  F%1 %2 %3x%4")
                         .arg(v.kind)
                         .arg(v.name)
                         .arg(v.width)
                         .arg(v.height);
        }
    }
    return lines;
}
