#pragma once
// The program's windows as the program makes them (the main window owning the
// About box, the move dialog, the translation editor and the category dialog),
// shown once so that the start-up translation runs; and the texts they show.

#include "AboutBox.h"
#include "CategoryDialog.h"
#include "Document.h"
#include "MainWindow.h"
#include "MoveFieldsDialog.h"
#include "TranslationEditor.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include <memory>

struct ProgramWindows {
    explicit ProgramWindows(const QString& programDir) {
        form = std::make_unique<MainWindow>(programDir, QStringList());
        form->show();
        form->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    }
    ~ProgramWindows() {
        form->document().MarkUnchanged();
        form.reset();
    }
    std::unique_ptr<MainWindow> form;
};

// Inside a toolkit dialog: its texts are the toolkit's own.
inline bool InToolkitDialog(const QWidget* w) {
    for (; w; w = w->parentWidget())
        if (qobject_cast<const QFontDialog*>(w) || qobject_cast<const QColorDialog*>(w) ||
            qobject_cast<const QFileDialog*>(w) || w->inherits("FilenameEditBox"))
            return true;
    return false;
}

// Every text that root and the windows it owns show: titles, captions, hints,
// menu entries, tabs, items, column headings and the lines of text boxes.
inline QStringList ShownTexts(QWidget* root) {
    QStringList texts;
    auto add = [&texts](const QString& t) {
        if (!t.trimmed().isEmpty()) texts << t;
    };
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        if (InToolkitDialog(w)) continue;
        if (w->isWindow()) add(w->windowTitle());
        add(w->toolTip());
        if (auto* label = qobject_cast<QLabel*>(w)) add(label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w)) add(button->text());
        if (auto* group = qobject_cast<QGroupBox*>(w)) add(group->title());
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                add(tabs->tabText(i));
        if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i)
                add(combo->itemText(i));
        if (auto* edit = qobject_cast<QLineEdit*>(w);
            edit && !qobject_cast<QComboBox*>(w->parent()))
            add(edit->text());
        QTextDocument* doc = nullptr;
        if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) doc = plain->document();
        if (auto* rich = qobject_cast<QTextEdit*>(w)) doc = rich->document();
        for (QTextBlock b = doc ? doc->begin() : QTextBlock(); b.isValid(); b = b.next())
            add(b.text());
        if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model())
            for (int c = 0; c < view->model()->columnCount(); ++c)
                add(view->model()->headerData(c, Qt::Horizontal).toString());
    }
    for (QAction* a : root->findChildren<QAction*>()) {
        if (a->isSeparator()) continue;
        add(a->text());
        add(a->toolTip());
    }
    return texts;
}
