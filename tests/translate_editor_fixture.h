#pragma once
// The translation editor on a table of the test's own rows, shown, and the
// small tools its tests share: keys sent to a widget, a guard against any
// dialog, and a cell editor opened on a grid cell.

#include "MessageTable.h"
#include "TranslationEditor.h"
#include "TranslationFile.h"
#include "TranslationGridModel.h"
#include "TranslationGridView.h"
#include "Translator.h"
#include "translate_test_dirs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <utility>
#include <vector>

using Cells = std::array<QString, kTranslationColumns>;

inline void Key(QWidget* w, Qt::Key key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

// Fails the test, and closes the dialog, when any modal dialog comes up.
class NoDialog {
  public:
    NoDialog() {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "unexpected dialog: " << modal->windowTitle().toStdString();
                modal->close();
            }
        });
        timer.start();
    }

  private:
    QTimer timer;
};

// The cell editor of a grid cell, opened as a user's double click would.
inline QLineEdit* EditCell(TranslationGridView* grid, const QModelIndex& cell) {
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    return qobject_cast<QLineEdit*>(grid->indexWidget(cell));
}

class TranslateEditorTest : public ::testing::Test {
  protected:
    void Open(const std::vector<Cells>& rows) {
        TranslationTable table;
        for (const Cells& row : rows)
            table.AppendRow(row);
        ASSERT_TRUE(WriteAll(dirs.InProg(u"translate.dat"_qs), TranslationBytes(table)));
        t.InitTranslation(dirs.ProgPath());
        {
            TranslationBatch once(t);
            RegisterMessages(t); // as at start: the boxes' texts come after the rows given
        }
        form = std::make_unique<TranslationEditor>(t);
        form->show();
    }
    // Rows "Zeile 0", "Zeile 1", ... with the given German texts put in between.
    void OpenNumbered(int count, const std::vector<std::pair<int, Cells>>& special = {}) {
        std::vector<Cells> rows(static_cast<std::size_t>(count));
        for (int r = 0; r < count; ++r)
            rows[std::size_t(r)][0] = u"Zeile %1"_qs.arg(r);
        for (const auto& [r, cells] : special)
            rows[std::size_t(r)] = cells;
        Open(rows);
    }
    // The table as "translate.dat" holds it now.
    std::unique_ptr<TranslationTable> InFile() const {
        auto table = std::make_unique<TranslationTable>();
        ReadTranslationBytes(ReadAll(t.FilePath()), *table);
        return table;
    }
    QModelIndex Index(int row, int column) const { return form->grid->index(row, column); }
    TranslationGridView* Grid() const { return form->gridView; }

    ProgramDirs dirs;
    Translator t;
    std::unique_ptr<TranslationEditor> form;
};
