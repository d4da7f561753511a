// The translation editor driven by a user's keys and clicks: what the delete
// button, the Delete key and Escape act on after a search, Escape in an edited
// cell, and a text longer than a line edit takes by default.

#include "DialogAnswerer.h"
#include "translate_editor_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Types the search text into the search box, presses Return and answers the
// question "Nochmal suchen?" with No.
void SearchAsAUser(TranslationEditor& form, const QString& wanted) {
    QTest::mouseClick(form.searchText, Qt::LeftButton);
    QTest::keyClicks(form.searchText, wanted);
    DialogAnswerer answer = DialogAnswerer::Press(QMessageBox::No);
    QTest::keyClick(form.searchText, Qt::Key_Return);
    answer.Verify();
    EXPECT_EQ(answer.Text(), u"Nochmal suchen?"_qs);
}

void ClickCell(TranslationGridView* grid, const QModelIndex& cell) {
    static_cast<QAbstractItemView*>(grid)->scrollTo(cell);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
}

// Opens the cell editor of the current cell with F2.
QLineEdit* EditCurrentCell(TranslationGridView* grid) {
    QTest::keyClick(grid, Qt::Key_F2);
    return qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
}

struct DeleteWayCase {
    const char* name;
    std::function<void(TranslationEditor&)> act;
};

class TranslateEditorDeleteWayTest : public TranslateEditorTest,
                                     public ::testing::WithParamInterface<DeleteWayCase> {};

// Guards the current row after a search that stopped on a heading: the delete
// button and keys then act on row 0, not on the row current before the search,
// so nothing is asked or deleted, while the file is rewritten and the grid
// refilled; after a click on a cell they ask about that cell's row.
TEST_P(TranslateEditorDeleteWayTest, AfterAHeadingStopTheyActOnRowZero) {
    Open({{u"Alpha"_qs}, {u"Beta"_qs}, {u"Gamma"_qs}});
    ClickCell(Grid(), Index(1, 0));
    SearchAsAUser(*form, u"lang"_qs);
    ASSERT_EQ(form->FoundRow(), 0);
    ASSERT_EQ(form->FoundColumn(), 4);
    const int rows = t.RowCount();
    QFile::remove(t.FilePath());
    {
        NoDialog none;
        GetParam().act(*form);
    }
    EXPECT_EQ(t.RowCount(), rows);
    EXPECT_EQ(InFile()->RowCount(), rows);
    EXPECT_EQ(form->grid->rowCount(), rows);
    EXPECT_EQ(form->grid->MarkedHeading(), 4); // the heading is still the current row
    EXPECT_FALSE(Grid()->currentIndex().isValid());

    ClickCell(Grid(), Index(2, 1));
    EXPECT_EQ(form->grid->MarkedHeading(), -1);
    DialogAnswerer answer = DialogAnswerer::Press(QMessageBox::No);
    GetParam().act(*form);
    answer.Verify();
    EXPECT_EQ(answer.Title(), u"Wollen Sie diese Zeile löschen?"_qs);
    EXPECT_EQ(answer.Text(), u"Gamma"_qs);
    EXPECT_EQ(t.RowCount(), rows);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, TranslateEditorDeleteWayTest,
    ::testing::Values(
        DeleteWayCase{"DeleteButton",
                      [](TranslationEditor& f) { QTest::mouseClick(f.deleteRowButton, Qt::LeftButton); }},
        DeleteWayCase{"DeleteKey",
                      [](TranslationEditor& f) { QTest::keyClick(f.gridView, Qt::Key_Delete); }},
        DeleteWayCase{"EscapeInTheGrid",
                      [](TranslationEditor& f) { QTest::keyClick(f.gridView, Qt::Key_Escape); }},
        DeleteWayCase{"EscapeInTheSearchBox",
                      [](TranslationEditor& f) { QTest::keyClick(f.searchText, Qt::Key_Escape); }}),
    [](const auto& info) { return std::string(info.param.name); });

// Guards Escape in an edited cell, which the cell editor used to swallow: it
// ends the edit with the typed text kept, and then, as the window's cancel key,
// asks to delete the edited row, whose German text is already the new one.
TEST_F(TranslateEditorTest, EscapeInAnEditedCellEndsTheEditAndAsks) {
    Open({{u"Alpha"_qs}, {u"Beta"_qs}, {u"Gamma"_qs}});
    const int rows = t.RowCount();
    ClickCell(Grid(), Index(1, 0));
    QLineEdit* editor = EditCurrentCell(Grid());
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClicks(editor, u"X"_qs);
    {
        DialogAnswerer answer = DialogAnswerer::Press(QMessageBox::No);
        QTest::keyClick(editor, Qt::Key_Escape);
        answer.Verify();
        EXPECT_EQ(answer.Text(), u"BetaX"_qs);
    }
    EXPECT_EQ(Grid()->indexWidget(Index(1, 0)), nullptr); // the edit has ended
    EXPECT_EQ(t.Cell(1, 0), u"BetaX"_qs);
    EXPECT_EQ(InFile()->Cell(1, 0), u"BetaX"_qs);
    EXPECT_EQ(Grid()->currentIndex(), Index(1, 0));

    // Yes deletes the row that was edited.
    editor = EditCurrentCell(Grid());
    ASSERT_NE(editor, nullptr);
    DialogAnswerer answer = DialogAnswerer::Press(QMessageBox::Yes);
    QTest::keyClick(editor, Qt::Key_Escape);
    answer.Verify();
    EXPECT_EQ(t.RowCount(), rows - 1);
    EXPECT_EQ(t.Cell(1, 0), u"Gamma"_qs);
    EXPECT_EQ(InFile()->Cell(1, 0), u"Gamma"_qs);
    EXPECT_TRUE(form->isVisible());
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
