#pragma once
// A random walk of what a user does in the main window, from a seed: commands
// of the menus, the buttons of "Felder", clicks on list rows and on both page
// views, typing in the name box and the spin boxes, tab switches, resizes,
// dropped and recently opened files, undo and redo, and every dialog on the
// way answered at random (OK, Cancel, Escape, a file chosen or typed). After
// every step it checks what must always hold: the lists show the document, the
// selection exists and the lists show it, the editors show the selected
// field, the title's "*" is the document's changed state; and, every few
// steps and at the end, that undoing everything gives back the bytes of the
// document as it was opened, and redoing everything the bytes before. A walk
// that fails is cut down to the shortest run of its steps that still fails.
// It uses no test framework, so that the tests and the benchmark share it.

#include "Document.h"
#include "FieldsTab.h"
#include "MainWindow.h"
#include "ProjectFile.h"
#include "ProjectFileController.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QUndoStack>
#include <QUrl>

#include <chrono>
#include <cstdio>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

struct MonkeyStep {
    int kind = 0;       // what is done (see WindowMonkey::Describe)
    quint32 what = 0;   // which control, row, point or text
    quint32 answer = 0; // how the dialogs it opens are answered
};

class WindowMonkey {
  public:
    // programDir: the program's folder for each window; files: where the
    // projects lie that it opens, drops and saves.
    WindowMonkey(QString programDir, QString files)
        : progDir(std::move(programDir)), fileDir(std::move(files)) {}

    static constexpr int kKinds = 15;

    static std::vector<MonkeyStep> Walk(quint32 seed, int count) {
        QRandomGenerator random(seed);
        std::vector<MonkeyStep> steps;
        for (int i = 0; i < count; ++i)
            steps.push_back({static_cast<int>(random.bounded(kKinds)), random.generate(),
                             random.generate()});
        return steps;
    }

    static QString Describe(const MonkeyStep& s) {
        static const char* const names[kKinds] = {
            "command",       "Felder button",  "click category", "click field(s)",
            "type a name",   "type a number",  "choose a kind",  "switch tab",
            "click page",    "click preview",  "resize window",  "drop a file",
            "recent file",   "rename in place", "undo or redo"};
        return QStringLiteral("%1 (%2, answers %3)")
            .arg(QString::fromLatin1(names[s.kind % kKinds]))
            .arg(s.what)
            .arg(s.answer);
    }

    struct Outcome {
        int failedAt = -1; // the step after which a check failed; -1: none did
        QString reason;
        int stepsRun = 0;
        int edits = 0; // changes of the document on the way, undo and redo included
        bool failed() const { return failedAt >= 0; }
    };

    // Runs the steps in a fresh window, checking after each.
    Outcome Run(const std::vector<MonkeyStep>& steps, int fullCheckEvery = 25) {
        Outcome outcome;
        auto window = std::make_unique<MainWindow>(progDir, QStringList{});
        win = window.get();
        window->resize(900, 650);
        window->show();
        if (auto* offer = window->findChild<QTimer*>(QStringLiteral("Timer1"))) offer->stop();
        window->activateWindow(); // its shortcuts take the keys
        QTest::qWaitForWindowActive(window.get());
        Document& doc = window->document();
        // A walk starts on a project of several categories, as most days do.
        window->files().LoadProject(ProjectFile(0));
        startBytes = Bytes(doc);
        QObject::connect(&doc, &Document::reset, &doc, [this, &doc] { startBytes = Bytes(doc); });
        QObject::connect(&doc, &Document::contentChanged, &doc, [&outcome] { ++outcome.edits; });
        for (std::size_t i = 0; i < steps.size() && !outcome.failed(); ++i) {
            QString failure;
            try {
                Do(steps[i]);
                QApplication::processEvents();
                if (qEnvironmentVariableIsSet("QUILLORA_MONKEY_TRACE"))
                    std::printf("%3zu %s: %d categories, selected %d/%d, tab %s\n", i,
                                qPrintable(Describe(steps[i])), doc.CategoryCount(),
                                doc.selection().Category(), doc.selection().Field(),
                                qPrintable(QApplication::focusWidget()
                                               ? QApplication::focusWidget()->objectName()
                                               : QStringLiteral("-")));
                failure = Check(*win);
                if (failure.isEmpty() && (i + 1) % fullCheckEvery == 0) failure = CheckUndo(doc);
            } catch (const std::exception& e) {
                failure = QStringLiteral("exception: ") + QString::fromLocal8Bit(e.what());
            }
            outcome.stepsRun = static_cast<int>(i + 1);
            if (!failure.isEmpty()) {
                outcome.failedAt = static_cast<int>(i);
                outcome.reason = failure;
            }
        }
        if (!outcome.failed()) {
            const QString failure = CheckUndo(doc);
            if (!failure.isEmpty()) {
                outcome.failedAt = static_cast<int>(steps.size()) - 1;
                outcome.reason = failure;
            }
        }
        doc.MarkUnchanged(); // no question while closing
        win = nullptr;
        window.reset();
        QApplication::processEvents();
        return outcome;
    }

    // The shortest run of the steps found that still fails (with any reason).
    std::vector<MonkeyStep> Shrink(std::vector<MonkeyStep> steps, int budget = 120) {
        const Outcome first = Run(steps);
        if (!first.failed()) return steps;
        steps.resize(static_cast<std::size_t>(first.failedAt) + 1);
        for (std::size_t chunk = steps.size() / 2; chunk >= 1 && budget > 0; chunk /= 2) {
            for (std::size_t from = 0; from < steps.size() && budget > 0;) {
                std::vector<MonkeyStep> fewer = steps;
                fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(from),
                            fewer.begin() + static_cast<std::ptrdiff_t>(
                                                std::min(from + chunk, steps.size())));
                --budget;
                const Outcome o = fewer.empty() ? Outcome{} : Run(fewer);
                if (o.failed()) {
                    fewer.resize(static_cast<std::size_t>(o.failedAt) + 1);
                    steps = fewer;
                } else {
                    from += chunk;
                }
            }
            if (chunk == 1) break;
        }
        return steps;
    }

    template <typename T> static T* Child(QWidget& w, const char* name) {
        return w.findChild<T*>(QString::fromLatin1(name));
    }

    // What must hold in the window after any step; empty when it does.
    static QString Check(MainWindow& win) {
        const Document& doc = win.document();
        const Selection& sel = doc.selection();
        FieldsTab* tab = win.Fields();
        auto* categories = Child<QTreeView>(win, "ListView2");
        auto* fields = Child<QTreeView>(win, "ListView1");
        if (categories->model()->rowCount() != doc.CategoryCount())
            return QStringLiteral("the category list has %1 rows, the document %2 categories")
                .arg(categories->model()->rowCount())
                .arg(doc.CategoryCount());
        for (int c = 0; c < doc.CategoryCount(); ++c)
            if (categories->model()->index(c, 0).data().toString() != doc.CategoryName(c))
                return QStringLiteral("category row %1 shows another name").arg(c);
        if (sel.Category() < -1 || sel.Category() >= doc.CategoryCount())
            return QStringLiteral("selected category %1 does not exist").arg(sel.Category());
        for (int f : sel.Fields())
            if (!doc.FieldAt(sel.Category(), f))
                return QStringLiteral("selected field %1 does not exist").arg(f);
        const QModelIndexList listed = categories->selectionModel()->selectedRows();
        if ((listed.isEmpty() ? -1 : listed.first().row()) != sel.Category())
            return QStringLiteral("the category list shows another selection");
        const int rows = sel.Category() >= 0 ? doc.FieldCount(sel.Category()) : 0;
        if (fields->model()->rowCount() != rows)
            return QStringLiteral("the field list has %1 rows, the category %2 fields")
                .arg(fields->model()->rowCount())
                .arg(rows);
        QList<int> listedFields;
        for (const QModelIndex& i : fields->selectionModel()->selectedRows())
            listedFields << i.row();
        std::sort(listedFields.begin(), listedFields.end());
        if (!SameRows(listedFields, sel.Fields()))
            return QStringLiteral("the field list shows another selection");
        if (tab->SelectedCategory() != sel.Category() || !SameRows(tab->SelectedFields(), sel.Fields()))
            return QStringLiteral("the tab reads another selection");
        auto* name = Child<QPlainTextEdit>(win, "ProdNameEd");
        const FieldRecord* field = doc.FieldAt(sel.Category(), sel.Field());
        if (name->isEnabled() != (field != nullptr))
            return QStringLiteral("the name box is enabled without a field, or the reverse");
        if (field && StoredFieldName(name->toPlainText()) != ToQString(field->name))
            return QStringLiteral("the name box shows another name than the field's");
        if (win.windowTitle().endsWith(QStringLiteral("*]")) != doc.IsChanged())
            return QStringLiteral("the title's \"*\" differs from the changed state");
        return {};
    }

  private:
    static QByteArray Bytes(const Document& doc) {
        return SerializeProject(doc.form(), doc.layout());
    }

    template <typename T> T* Find(const char* name) const {
        return win->findChild<T*>(QString::fromLatin1(name));
    }

    // Answers every modal dialog that comes up while `action` runs.
    void Answering(quint32 seed, const std::function<void()>& action) {
        struct State {
            QRandomGenerator random;
            int answered = 0;
            QPointer<QWidget> pending;
        };
        // Shared with answers still queued when the action is over.
        auto state = std::make_shared<State>(State{QRandomGenerator(seed), 0, {}});
        QTimer poll;
        poll.setInterval(1);
        QObject::connect(&poll, &QTimer::timeout, [this, state] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible() || modal == state->pending) return;
            state->pending = modal;
            // Answered from the event loop, not from inside this timer, so that
            // a dialog the answer opens is answered too.
            QMetaObject::invokeMethod(
                modal,
                [this, state, modal] {
                    if (QApplication::activeModalWidget() != modal || !modal->isVisible()) return;
                    Answer(modal, state->random, ++state->answered > 12);
                },
                Qt::QueuedConnection);
        });
        poll.start();
        action();
        poll.stop();
    }

    void Answer(QWidget* modal, QRandomGenerator& random, bool enough) {
        const int choice = enough ? 1 : static_cast<int>(random.bounded(3));
        if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (choice == 0 && name) {
                // Typed, as a user does; the dialog's own list fills in the background.
                name->setText(FileFor(*files, random));
                QMetaObject::invokeMethod(files, "accept");
            } else {
                files->reject();
            }
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            const QList<QAbstractButton*> buttons = box->buttons();
            if (choice == 2 || buttons.isEmpty())
                QTest::keyClick(box, Qt::Key_Escape);
            else
                buttons[static_cast<int>(random.bounded(buttons.size()))]->click();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            if (choice == 0)
                dialog->accept();
            else if (choice == 1)
                dialog->reject();
            else
                QTest::keyClick(dialog, Qt::Key_Escape);
        } else {
            modal->close();
        }
    }

    QString FileFor(const QFileDialog& dialog, QRandomGenerator& random) const {
        if (dialog.acceptMode() == QFileDialog::AcceptSave)
            return QDir(fileDir).filePath(QStringLiteral("saved-%1.qlr").arg(random.bounded(3)));
        return ProjectFile(random.generate());
    }

    QString ProjectFile(quint32 pick) const {
        const QStringList files = QDir(fileDir).entryList({QStringLiteral("*.qlr")}, QDir::Files,
                                                          QDir::Name);
        if (files.isEmpty()) return QDir(fileDir).filePath(QStringLiteral("none.qlr"));
        return QDir(fileDir).filePath(files[static_cast<int>(pick % files.size())]);
    }

    void ClickRow(QTreeView* list, quint32 what, Qt::KeyboardModifiers keys = {}) {
        if (!list || !list->isVisible()) return;
        const int rows = list->model()->rowCount();
        QPoint at(5, list->viewport()->height() - 3); // below the rows: nothing
        if (rows > 0 && what % 5 != 0)
            at = list->visualRect(list->model()->index(static_cast<int>(what % rows), 0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, at);
    }

    static QPoint PointIn(const QWidget* w, quint32 what) {
        return QPoint(static_cast<int>(what % std::max(w->width(), 1)),
                      static_cast<int>((what / 7919) % std::max(w->height(), 1)));
    }

    void Do(const MonkeyStep& s) {
        if (!win->isActiveWindow()) win->activateWindow(); // the user comes back to it
        Answering(s.answer, [&] { Act(s); });
    }

    // What a user does first to reach a control of "Felder": that tab.
    void ToFelder() {
        auto* tabs = Find<QTabWidget>("PageControl1");
        if (tabs && tabs->currentIndex() != 0)
            QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(0).center());
    }

    void Act(const MonkeyStep& s) {
        // Most of what is done happens on "Felder"; now and then it is reached from elsewhere.
        if ((s.kind >= 1 && s.kind <= 6) || s.kind == 8 || s.kind == 13) ToFelder();
        switch (s.kind) {
        case 0: return Command(s.what);
        case 1: return FelderButton(s.what);
        case 2: return ClickRow(Find<QTreeView>("ListView2"), s.what);
        case 3:
            return ClickRow(Find<QTreeView>("ListView1"), s.what,
                            s.what & 64 ? Qt::ControlModifier : Qt::NoModifier);
        case 4: return TypeName(s.what);
        case 5: return TypeNumber(s.what);
        case 6: return ChooseKind(s.what);
        case 7: return SwitchTab(s.what);
        case 8: return ClickPage("SeitenansichtPage", s.what);
        case 9: return ClickPage("PreviewSheet", s.what);
        case 10: win->resize(500 + static_cast<int>(s.what % 900), 400 + static_cast<int>((s.what >> 10) % 600)); return;
        case 11: return DropFile(s.what);
        case 12: return RecentFile(s.what);
        case 13: return RenameInPlace(s.what);
        default: return UndoOrRedo(s.what);
        }
    }

    void Command(quint32 what) {
        // What the menus hold, less printing, exporting, collecting, the
        // languages and quitting, which leave the window or need a restart.
        static const char* const names[] = {"Neu1", "ffnen1", "Speichern1", "Speichernunter1",
                                            "Rueckgaengig1", "Wiederholen1", "Seitenansicht1",
                                            "ber1"};
        auto* action = Find<QAction>(names[what % std::size(names)]);
        if (action && action->isEnabled()) action->trigger();
    }

    void FelderButton(quint32 what) {
        static const char* const names[] = {
            "NewKategorieBtn",   "KategorieBearbeitenBtn", "KategorieLoechenBtn",
            "KategorienachObenBtn", "KategorienachuntenBtn", "NeuesProduktBtn",
            "NeuesAnkreuzfeldBtn", "NewRadioBtnBtn",      "ProduktLoeschenBtn",
            "AndereKategorieBtn", "ProduktNachObenBtn",   "ProduktNachUntenBtn"};
        auto* button = Find<QPushButton>(names[what % std::size(names)]);
        if (button && button->isVisible()) QTest::mouseClick(button, Qt::LeftButton);
        // A new category waits for its name in the list.
        if (QApplication::focusWidget() && QApplication::focusWidget()->inherits("QLineEdit")) {
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("K%1").arg(what % 97));
            QTest::keyClick(QApplication::focusWidget(), what & 1 ? Qt::Key_Return : Qt::Key_Escape);
        }
    }

    void TypeName(quint32 what) {
        auto* box = Find<QPlainTextEdit>("ProdNameEd");
        if (!box || !box->isVisible() || !box->isEnabled()) return;
        QTest::mouseClick(box->viewport(), Qt::LeftButton);
        static const char letters[] = "abcXYZ 12-";
        for (quint32 n = what % 5 + 1, x = what; n > 0; --n, x /= 11)
            QTest::keyClick(box, letters[x % (sizeof letters - 1)]);
        if (what & 32) QTest::keyClick(box, Qt::Key_Backspace);
        if (what & 64) QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
    }

    void TypeNumber(quint32 what) {
        QList<QAbstractSpinBox*> boxes;
        for (QAbstractSpinBox* b : win->findChildren<QAbstractSpinBox*>())
            if (b->isVisible() && b->isEnabled()) boxes << b;
        if (boxes.isEmpty()) return;
        QAbstractSpinBox* box = boxes[static_cast<int>(what % boxes.size())];
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, QString::number((what >> 8) % 40) + (what & 1 ? QStringLiteral(",5") : QString()));
        QTest::keyClick(box, what & 2 ? Qt::Key_Return : Qt::Key_Up);
    }

    void ChooseKind(quint32 what) {
        static const char* const names[] = {"TextCheck", "CheckCheck", "RadioCheck"};
        auto* kind = Find<QRadioButton>(names[what % 3]);
        if (kind && kind->isVisible()) QTest::mouseClick(kind, Qt::LeftButton);
    }

    void SwitchTab(quint32 what) {
        auto* tabs = Find<QTabWidget>("PageControl1");
        if (!tabs) return;
        QTabBar* bar = tabs->tabBar();
        const int index = static_cast<int>(what % tabs->count());
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    void ClickPage(const char* name, quint32 what) {
        auto* page = Find<QWidget>(name);
        if (!page || !page->isVisible()) return;
        const QPoint at = PointIn(page, what);
        if (what & 1)
            QTest::mouseDClick(page, Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(page, Qt::LeftButton, {}, at);
    }

    void DropFile(quint32 what) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(ProjectFile(what))});
        const QPoint at(win->width() / 2, win->height() / 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(win, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        if (enter.isAccepted()) QApplication::sendEvent(win, &drop);
    }

    void RecentFile(quint32 what) {
        auto* menu = Find<QMenu>("ZuletztGeoeffnet1");
        if (!menu) return;
        emit menu->aboutToShow(); // the menu is filled as it opens
        QList<QAction*> entries;
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && a->isEnabled()) entries << a;
        if (!entries.isEmpty()) entries[static_cast<int>(what % entries.size())]->trigger();
    }

    void RenameInPlace(quint32 what) {
        auto* list = Find<QTreeView>("ListView2");
        if (!list || !list->isVisible() || list->model()->rowCount() == 0) return;
        ClickRow(list, what | 1);
        QTest::keyClick(list, Qt::Key_F2);
        if (QWidget* editor = QApplication::focusWidget(); editor && editor->inherits("QLineEdit")) {
            QTest::keyClicks(editor, QStringLiteral("n%1").arg(what % 13));
            QTest::keyClick(editor, what & 2 ? Qt::Key_Return : Qt::Key_Escape);
        }
    }

    void UndoOrRedo(quint32 what) {
        // Through the keys, to whatever has the focus: a text box undoes its own typing.
        QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : win;
        if (what & 1)
            QTest::keyClick(to, Qt::Key_Z, Qt::ControlModifier);
        else
            QTest::keyClick(to, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    }

    QString CheckUndo(Document& doc) const {
        QUndoStack* stack = doc.undoStack();
        const QByteArray now = Bytes(doc);
        const int at = stack->index();
        stack->setIndex(0);
        QApplication::processEvents();
        if (Bytes(doc) != startBytes)
            return QStringLiteral("undoing every step does not give the opened document back");
        if (QString failure = Check(*win); !failure.isEmpty()) return failure + QStringLiteral(" (all undone)");
        stack->setIndex(at);
        QApplication::processEvents();
        if (Bytes(doc) != now) return QStringLiteral("redoing the steps does not give the edits back");
        return Check(*win);
    }

    QString progDir, fileDir;
    MainWindow* win = nullptr;
    QByteArray startBytes;
};
