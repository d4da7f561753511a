// The translation editor driven by a user's keys and clicks: a text longer
// than a line edit takes by default.

#include "DialogAnswerer.h"
#include "translate_editor_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void ClickCell(TranslationGridView* grid, const QModelIndex& cell) {
    static_cast<QAbstractItemView*>(grid)->scrollTo(cell);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
}

// Opens the cell editor of the current cell with F2.
QLineEdit* EditCurrentCell(TranslationGridView* grid) {
    QTest::keyClick(grid, Qt::Key_F2);
    return qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
}

// Guards a cell editor that cuts long texts (a line edit's default limit is
// 32767 characters): a pasted text of 40000 reaches the grid, the table and
// "translate.dat" whole.
TEST_F(TranslateEditorTest, PastedTextLongerThan32767CharactersIsKeptWhole) {
    Open({{u"Datei"_qs}});
    QString text;
    for (int i = 0; text.size() < 40000; ++i)
        text += u"Übersetzung %1 "_qs.arg(i);
    text.truncate(40000);
    QGuiApplication::clipboard()->setText(text);
    ClickCell(Grid(), Index(0, 1));
    QLineEdit* editor = EditCurrentCell(Grid());
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    // Sizes first: a failure then reads as a number, not as 40000 characters.
    EXPECT_EQ(editor->text().size(), 40000);
    EXPECT_EQ(t.Cell(0, 1).size(), 40000);
    EXPECT_EQ(InFile()->Cell(0, 1).size(), 40000);
    EXPECT_TRUE(t.Cell(0, 1) == text);
    EXPECT_TRUE(InFile()->Cell(0, 1) == text);
    EXPECT_TRUE(Index(0, 1).data().toString() == text);
}

} // namespace
