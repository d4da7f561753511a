#include "TranslateComponents.h"

#include "Translator.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

#include <deque>
#include <vector>

namespace {

const char* const kFilterProperty = "quilloraFilter";
const char* const kFileNameProperty = "quilloraFileName";
const char* const kKeepTextProperty = "quilloraKeepText";

bool IsFileNameBox(const QObject* o) {
    return o->property(kFileNameProperty).toBool() || o->inherits("FilenameEditBox");
}

// Dialogs whose texts are the toolkit's own: nothing of theirs is translated.
bool IsToolkitDialog(const QObject* o) {
    return qobject_cast<const QFontDialog*>(o) || qobject_cast<const QColorDialog*>(o) ||
           o->inherits("QAbstractPrintDialog") || o->inherits("QPageSetupDialog") ||
           o->inherits("QPrintPreviewDialog");
}

// Widgets whose children are their own inner workings, not designed texts.
bool KeepsChildrenToItself(const QObject* o) {
    return qobject_cast<const QAbstractSpinBox*>(o) || qobject_cast<const QComboBox*>(o) ||
           qobject_cast<const QAbstractItemView*>(o) || qobject_cast<const QTextEdit*>(o) ||
           qobject_cast<const QPlainTextEdit*>(o) || qobject_cast<const QLineEdit*>(o) ||
           qobject_cast<const QTabBar*>(o) || qobject_cast<const QScrollBar*>(o) ||
           qobject_cast<const QCalendarWidget*>(o) || qobject_cast<const QFileDialog*>(o) ||
           IsToolkitDialog(o) || IsFileNameBox(o);
}

// The tab widget whose page w is, with the page's index.
QTabWidget* TabOf(QWidget* w, int& index) {
    QWidget* stack = w->parentWidget();
    if (!qobject_cast<QStackedWidget*>(stack)) return nullptr;
    auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget());
    if (!tabs) return nullptr;
    index = tabs->indexOf(w);
    return index >= 0 ? tabs : nullptr;
}

// Where the mnemonic marker "&" of a caption stands ("&Datei"), or -1; "&&" is a
// plain ampersand.
qsizetype MnemonicAt(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&') continue;
        if (text[i + 1] != u'&') return i;
        ++i;
    }
    return -1;
}

class Walker {
  public:
    explicit Walker(Translator& t) : t(t) {}

    QString Tr(const QString& text) { return t.TranslateText(text); }

    // A caption with a mnemonic is looked up as the table knows it, without the
    // "&"; the translation gets its own mnemonic on its first letter.
    QString TrCaption(const QString& text) {
        const qsizetype at = MnemonicAt(text);
        if (at < 0) return Tr(text);
        QString key = text;
        key.remove(at, 1);
        const QString translated = Tr(key);
        if (translated == key) return text;
        QString marked = translated;
        marked.replace(QLatin1Char('&'), QLatin1String("&&"));
        const qsizetype letter = marked.indexOf(QRegularExpression(QStringLiteral("\\S")));
        return marked.insert(letter < 0 ? 0 : letter, QLatin1Char('&'));
    }

    void ToolTip(QWidget* w) {
        const QString tip = w->toolTip();
        if (!tip.isEmpty()) w->setToolTip(Tr(tip));
    }

    void Action(QAction* a) {
        // A separator is a menu entry whose caption is "-": it has its row in the
        // table like any caption, but shows no text.
        if (a->isSeparator()) {
            Tr(QStringLiteral("-"));
            return;
        }
        // Without a tool tip of its own an action shows its text, which must
        // not be looked up a second time.
        QAction probe;
        probe.setText(a->text());
        probe.setIconText(a->iconText());
        const bool ownTip = a->toolTip() != probe.toolTip();
        // Entries naming files (the recently opened ones) are no designed text.
        if (IsFileNameBox(a)) return;
        const QString text = a->text();
        if (!text.isEmpty()) a->setText(TrCaption(text));
        if (ownTip && !a->toolTip().isEmpty()) a->setToolTip(Tr(a->toolTip()));
    }

    void Combo(QComboBox* box) {
        for (int i = 0; i < box->count(); ++i) {
            const int selected = box->currentIndex();
            box->setItemText(i, Tr(box->itemText(i)));
            box->setCurrentIndex(selected);
        }
    }

    void HeaderRow(QAbstractItemView* view) {
        if (auto* table = qobject_cast<QTableWidget*>(view)) {
            for (int c = 0; c < table->columnCount(); ++c)
                if (QTableWidgetItem* item = table->horizontalHeaderItem(c))
                    item->setText(Tr(item->text()));
            return;
        }
        if (auto* tree = qobject_cast<QTreeWidget*>(view)) {
            QTreeWidgetItem* header = tree->headerItem();
            for (int c = 0; header && c < tree->columnCount(); ++c)
                header->setText(c, Tr(header->text(c)));
            return;
        }
        QAbstractItemModel* model = view->model();
        if (!model) return;
        for (int c = 0; c < model->columnCount(); ++c) {
            const QVariant heading = model->headerData(c, Qt::Horizontal);
            // Numbered columns without a heading of their own are left alone.
            if (heading.typeId() != QMetaType::QString) continue;
            const QString text = heading.toString();
            const QString translated = Tr(text);
            if (translated != text) model->setHeaderData(c, Qt::Horizontal, translated);
        }
    }

    void Lines(QTextDocument* doc) {
        // Look every line up first, then replace from the last, so that a
        // translation holding a line break cannot shift the lines still to do.
        std::vector<QString> lines;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
            lines.push_back(b.text());
        std::vector<QString> translated;
        for (const QString& line : lines)
            translated.push_back(Tr(line));
        QTextCursor cursor(doc);
        cursor.beginEditBlock();
        for (int i = int(lines.size()) - 1; i >= 0; --i) {
            if (translated[std::size_t(i)] == lines[std::size_t(i)]) continue;
            QTextBlock b = doc->findBlockByNumber(i);
            cursor.setPosition(b.position());
            cursor.setPosition(b.position() + b.length() - 1, QTextCursor::KeepAnchor);
            cursor.insertText(translated[std::size_t(i)]);
        }
        cursor.endEditBlock();
    }

    void FileDialog(QFileDialog* dialog) {
        // The filters are one text, separators and patterns included.
        const QStringList filters = dialog->nameFilters();
        const QString joined = filters.join(QStringLiteral(";;"));
        if (joined.isEmpty()) return;
        const QString translated = Tr(joined);
        if (translated == joined) return;
        const int selected = filters.indexOf(dialog->selectedNameFilter());
        const QStringList fresh = translated.split(QStringLiteral(";;"));
        dialog->setNameFilters(fresh);
        if (selected >= 0 && selected < fresh.size()) dialog->selectNameFilter(fresh[selected]);
    }

    // Translates one object's texts by its kind; the first matching kind applies.
    void Translate(QObject* o) {
        if (o->property(kKeepTextProperty).toBool()) return;
        const QVariant filter = o->property(kFilterProperty);
        const bool pipeFilter =
            filter.typeId() == QMetaType::QString && !filter.toString().isEmpty();
        if (pipeFilter) o->setProperty(kFilterProperty, Tr(filter.toString()));

        if (auto* a = qobject_cast<QAction*>(o)) return Action(a);
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || IsToolkitDialog(w)) return;
        // A control without a caption of its own is named for screen readers.
        if (!w->accessibleName().isEmpty()) w->setAccessibleName(Tr(w->accessibleName()));
        if (IsFileNameBox(w)) return;
        // A file dialog's filter is one text: a dialog that keeps it in its pipe
        // form shows it from there, so its toolkit form is not looked up again.
        if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
            if (!pipeFilter) FileDialog(dialog);
            return;
        }
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (!label->text().isEmpty()) label->setText(Tr(label->text()));
            return;
        }
        if (auto* radio = qobject_cast<QRadioButton*>(w)) {
            radio->setText(Tr(radio->text()));
            return;
        }
        int page = -1;
        if (QTabWidget* tabs = TabOf(w, page)) {
            tabs->setTabText(page, Tr(tabs->tabText(page)));
            return;
        }
        if (w->isWindow()) {
            w->setWindowTitle(Tr(w->windowTitle()));
            return;
        }
        if (w->inherits("ColourSwatch")) return ToolTip(w); // a colour shape: its hint only
        if (auto* check = qobject_cast<QCheckBox*>(w)) {
            ToolTip(check);
            check->setText(Tr(check->text()));
            return;
        }
        if (auto* tool = qobject_cast<QToolButton*>(w); tool && tool->defaultAction())
            return; // shows its action's texts
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            button->setText(Tr(button->text()));
            return ToolTip(button);
        }
        if (auto* group = qobject_cast<QGroupBox*>(w)) {
            group->setTitle(Tr(group->title()));
            return ToolTip(group);
        }
        if (qobject_cast<QAbstractSpinBox*>(w)) return ToolTip(w);
        if (auto* combo = qobject_cast<QComboBox*>(w)) return Combo(combo);
        if (qobject_cast<QTableView*>(w) || qobject_cast<QTreeView*>(w))
            return HeaderRow(static_cast<QAbstractItemView*>(w));
        if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) return Lines(plain->document());
        if (auto* rich = qobject_cast<QTextEdit*>(w)) return Lines(rich->document());
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            const QString translated = Tr(edit->text());
            if (translated != edit->text()) edit->setText(translated);
        }
    }

    QObjectList Owned(QObject* owner) {
        QObjectList owned = owner->children();
        if (owner == QCoreApplication::instance() && qobject_cast<QApplication*>(owner)) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (!w->parent()) owned.append(w);
        }
        return owned;
    }

    void Walk(QObject* root) {
        if (auto* w = qobject_cast<QWidget*>(root); w && w->isWindow())
            w->setWindowTitle(Tr(w->windowTitle()));
        std::deque<QObject*> owners{root};
        while (!owners.empty()) {
            QObject* owner = owners.front();
            owners.pop_front();
            if (owner != root && KeepsChildrenToItself(owner)) continue;
            const QObjectList owned = Owned(owner);
            for (auto it = owned.crbegin(); it != owned.crend(); ++it) {
                Translate(*it);
                owners.push_back(*it);
            }
        }
    }

  private:
    Translator& t;
};

} // namespace

void TranslateComponents(QObject* root, Translator& translator) {
    if (!root) return;
    TranslationBatch batch(translator);
    Walker(translator).Walk(root);
}

void TranslateComponents(QObject* root) {
    TranslateComponents(root, ProgramTranslator());
}
