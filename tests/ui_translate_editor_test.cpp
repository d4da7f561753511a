// The translation editor: keystroke saves, search, row deletion, keys, the
// restart message after closing, and a table that cannot be saved.

#include "DialogAnswerer.h"
#include "MainFormFixture.h"
#include "MainWindow.h"

#include "LanguageMenu.h"
#include "MessageTable.h"
#include "TranslateComponents.h"
#include "TranslationEditor.h"
#include "TranslationGridModel.h"
#include "TranslationGridView.h"
#include "Translator.h"
#include "translate_editor_fixture.h"
#include "translate_test_dirs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Guards delayed or batched saving: every keystroke rewrites the file, which
// after three keys holds the whole new text.
TEST_F(TranslateEditorTest, EveryKeystrokeRewritesTheFile) {
    Open({{u"Datei"_qs}});
    QLineEdit* editor = EditCell(Grid(), Index(0, 1));
    ASSERT_NE(editor, nullptr);
    const std::pair<Qt::Key, const char*> keys[] = {
        {Qt::Key_F, "F"}, {Qt::Key_I, "i"}, {Qt::Key_L, "l"}};
    QString typed;
    for (const auto& [key, text] : keys) {
        QFile::remove(t.FilePath());
        Key(editor, key, QString::fromLatin1(text));
        typed += QString::fromLatin1(text);
        const auto file = InFile();
        ASSERT_EQ(file->RowCount(), 1 + kMessageCount) << "no rewrite after " << text;
        EXPECT_EQ(file->Cell(0, 1), typed);
        EXPECT_EQ(t.Cell(0, 1), typed);
    }
    // Leaving the cell writes nothing new and keeps the text.
    Grid()->setCurrentIndex(Index(0, 2));
    EXPECT_EQ(InFile()->Cell(0, 1), u"Fil"_qs);
    EXPECT_EQ(Index(0, 1).data().toString(), u"Fil"_qs);
}

// Guards a cell typed into the middle: the keystroke's save must not reset the
// editor's text or cursor.
TEST_F(TranslateEditorTest, TypingInTheMiddleKeepsTheCursor) {
    Open({{u"Datei"_qs, u"Fle"_qs}});
    QLineEdit* editor = EditCell(Grid(), Index(0, 1));
    ASSERT_NE(editor, nullptr);
    editor->setCursorPosition(1);
    Key(editor, Qt::Key_I, u"i"_qs);
    Key(editor, Qt::Key_X, u"x"_qs);
    EXPECT_EQ(editor->text(), u"Fixle"_qs);
    EXPECT_EQ(InFile()->Cell(0, 1), u"Fixle"_qs);
}

struct SearchCase {
    const char* name;
    QString wanted;
    int row, column; // grid row (0 the headings) and column of the first stop
};

class TranslateEditorSearchTest : public TranslateEditorTest,
                                  public ::testing::WithParamInterface<SearchCase> {};

// Guards the fold and the heading row: small letters find capitals (a to z only),
// and the headings are searched first; the stop is selected, scrolled to the top
// left and is the current row, on which the delete button then acts (a heading
// is row 0, for which nothing is asked).
TEST_P(TranslateEditorSearchTest, StopsFirstOnTheRightCell) {
    Cells datei{u"Datei öffnen"_qs, u"Open file"_qs};
    Cells umlaut{u"Ändern"_qs};
    OpenNumbered(300, {{150, datei}, {160, umlaut}});
    form->searchText->setText(GetParam().wanted);
    {
        DialogAnswerer answer = DialogAnswerer::Press(QMessageBox::No);
        form->searchButton->click();
        answer.Verify();
        EXPECT_EQ(answer.Title(), u"Suchen"_qs);
        EXPECT_EQ(answer.Text(), u"Nochmal suchen?"_qs);
    }
    EXPECT_EQ(form->FoundRow(), GetParam().row);
    EXPECT_EQ(form->FoundColumn(), GetParam().column);
    if (GetParam().row == 0) {
        EXPECT_EQ(form->grid->MarkedHeading(), GetParam().column);
        EXPECT_TRUE(Grid()->selectionModel()->selectedIndexes().isEmpty());
        EXPECT_EQ(Grid()->rowAt(0), 0);
    } else {
        const QModelIndex found = Index(GetParam().row - 1, GetParam().column);
        EXPECT_EQ(Grid()->currentIndex(), found);
        EXPECT_EQ(Grid()->selectionModel()->selectedIndexes(), QModelIndexList{found});
        EXPECT_EQ(Grid()->rowAt(0), GetParam().row - 1);
    }
    EXPECT_EQ(Grid()->columnAt(0), GetParam().column);

    const int rows = t.RowCount();
    if (GetParam().row == 0) {
        NoDialog none;
        form->deleteRowButton->click();
    } else {
        DialogAnswerer answer = DialogAnswerer::Press(QMessageBox::No);
        form->deleteRowButton->click();
        answer.Verify();
        EXPECT_EQ(answer.Text(), t.Cell(GetParam().row - 1, 0));
    }
    EXPECT_EQ(t.RowCount(), rows);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TranslateEditorSearchTest,
    ::testing::Values(SearchCase{"SmallLettersFindCapitals", u"datei"_qs, 151, 0},
                      SearchCase{"CapitalsFindSmallLetters", u"FILE"_qs, 151, 1},
                      SearchCase{"HeadingRowFirst", u"lang"_qs, 0, 4},
                      SearchCase{"LaterHeading", u"language1"_qs, 0, 10}),
    [](const auto& info) { return std::string(info.param.name); });

// Guards the fold going beyond a to z: a small umlaut does not find its capital,
// and an empty search text finds nothing; neither asks anything.
TEST_F(TranslateEditorTest, SearchWithoutMatchAsksNothing) {
    Open({{u"Ändern"_qs}, {u"Datei"_qs}});
    NoDialog none;
    for (const QString& wanted : {u"ändern"_qs, QString(), u"nirgends"_qs}) {
        form->searchText->setText(wanted);
        form->searchButton->click();
        EXPECT_EQ(form->FoundRow(), -1) << wanted.toStdString();
    }
}

// Guards the search's end: Yes goes on to every further match, and after the
// last one the search ends without another question.
TEST_F(TranslateEditorTest, YesAfterTheLastMatchEndsSilently) {
    OpenNumbered(10, {{2, {u"Katze"_qs}}, {7, {u"Neue Katze"_qs}}});
    form->searchText->setText(u"KATZE"_qs);
    DialogAnswerer answers({DialogAnswerer::PressAnswer(QMessageBox::Yes),
                            DialogAnswerer::PressAnswer(QMessageBox::Yes)});
    form->searchButton->click();
    answers.Verify();
    EXPECT_EQ(form->FoundRow(), 8);
    EXPECT_EQ(form->FoundColumn(), 0);
}

struct DeleteCase {
    const char* name;
    QMessageBox::StandardButton answer;
    QStringList rowsAfter;
};

class TranslateEditorDeleteTest : public TranslateEditorTest,
                                  public ::testing::WithParamInterface<DeleteCase> {};

// Guards the delete question: only Yes deletes, every answer rewrites the file
// and refills the grid, and the same row number stays current.
TEST_P(TranslateEditorDeleteTest, EveryAnswerSavesAndKeepsTheRow) {
    Open({{u"Alpha"_qs}, {u"Beta"_qs, u"Beta EN"_qs}, {u"Gamma"_qs}});
    Grid()->setCurrentIndex(Index(1, 1));
    QFile::remove(t.FilePath());
    DialogAnswerer answer = DialogAnswerer::Press(GetParam().answer);
    form->deleteRowButton->click();
    answer.Verify();
    EXPECT_EQ(answer.Title(), u"Wollen Sie diese Zeile löschen?"_qs);
    EXPECT_EQ(answer.Text(), u"Beta"_qs);
    const auto file = InFile();
    const int given = int(GetParam().rowsAfter.size());
    ASSERT_EQ(file->RowCount(), given + kMessageCount);
    ASSERT_EQ(form->grid->rowCount(), given + kMessageCount);
    QStringList inFile, inGrid;
    for (int r = 0; r < given; ++r) {
        inFile << file->Cell(r, 0);
        inGrid << Index(r, 0).data().toString();
    }
    EXPECT_EQ(inFile, GetParam().rowsAfter);
    EXPECT_EQ(inGrid, GetParam().rowsAfter);
    EXPECT_EQ(Grid()->currentIndex(), Index(1, 1));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, TranslateEditorDeleteTest,
    ::testing::Values(DeleteCase{"Yes", QMessageBox::Yes, {u"Alpha"_qs, u"Gamma"_qs}},
                      DeleteCase{"No", QMessageBox::No, {u"Alpha"_qs, u"Beta"_qs, u"Gamma"_qs}},
                      DeleteCase{
                          "Cancel", QMessageBox::Cancel, {u"Alpha"_qs, u"Beta"_qs, u"Gamma"_qs}}),
    [](const auto& info) { return std::string(info.param.name); });

// Guards the last row's deletion and the empty table: no row is made current
// afterwards, and with no rows the button only rewrites the file.
TEST_F(TranslateEditorTest, DeletingTheLastRowAndAnEmptyTable) {
    Open({{u"Alpha"_qs}});
    const int rows = t.RowCount();
    Grid()->setCurrentIndex(Index(rows - 1, 0));
    {
        DialogAnswerer answer = DialogAnswerer::Press(QMessageBox::Yes);
        form->deleteRowButton->click();
    }
    EXPECT_EQ(form->grid->rowCount(), rows - 1);
    EXPECT_FALSE(Grid()->currentIndex().isValid());

    QTemporaryDir emptyDir;
    Translator empty;
    empty.InitTranslation(emptyDir.path() + u'/');
    TranslationEditor emptyForm(empty);
    emptyForm.show();
    EXPECT_EQ(emptyForm.grid->rowCount(), 0);
    NoDialog none;
    emptyForm.deleteRowButton->click();
    EXPECT_EQ(ReadAll(emptyDir.filePath(u"translate.dat"_qs)),
              TranslationBytes(TranslationTable()));
}

// Guards the keys: Delete outside editing and Escape ask to delete the row;
// Delete inside an edited cell removes a character and deletes nothing.
TEST_F(TranslateEditorTest, DeleteAndEscapeKeys) {
    Open({{u"Alpha"_qs}, {u"Beta"_qs}});
    Grid()->setCurrentIndex(Index(0, 0));
    {
        DialogAnswerer answer = DialogAnswerer::Press(QMessageBox::No);
        Key(Grid(), Qt::Key_Delete);
        answer.Verify();
        EXPECT_EQ(answer.Text(), u"Alpha"_qs);
    }
    {
        DialogAnswerer answer = DialogAnswerer::Press(QMessageBox::No);
        Key(form->searchText, Qt::Key_Escape);
        answer.Verify();
    }
    EXPECT_TRUE(form->isVisible()); // Escape does not close the window
    NoDialog none;
    const int rows = t.RowCount();
    QLineEdit* editor = EditCell(Grid(), Index(1, 0));
    ASSERT_NE(editor, nullptr);
    editor->setCursorPosition(0);
    Key(editor, Qt::Key_Delete);
    EXPECT_EQ(editor->text(), u"eta"_qs);
    EXPECT_EQ(t.RowCount(), rows);
    EXPECT_EQ(InFile()->Cell(1, 0), u"eta"_qs);
}

// Guards the fixed column: it stays in view while scrolled sideways, and its
// cells cannot be edited while it is fixed.
TEST_F(TranslateEditorTest, FixedFirstColumn) {
    OpenNumbered(5);
    form->fixFirstColumnCheck->click();
    ASSERT_TRUE(Grid()->FirstColumnFixed());
    EXPECT_FALSE(form->grid->flags(Index(0, 0)) & Qt::ItemIsEditable);
    Grid()->ScrollToTopLeft(0, 6);
    EXPECT_EQ(Grid()->columnAt(Grid()->columnWidth(0)), 6);
    QTableView* fixed = Grid()->FixedColumnView();
    EXPECT_TRUE(fixed->isVisible());
    EXPECT_EQ(fixed->columnAt(0), 0);
    EXPECT_EQ(fixed->indexAt(QPoint(5, 5)).data().toString(), u"Zeile 0"_qs);
    form->fixFirstColumnCheck->click();
    EXPECT_FALSE(Grid()->FirstColumnFixed());
    EXPECT_TRUE(form->grid->flags(Index(0, 0)) & Qt::ItemIsEditable);
}

// Guards the window's texts: the interface walk translates buttons and the check
// box, and looks no heading up before the grid was filled.
TEST_F(TranslateEditorTest, WindowTextsAreTranslated) {
    Open({{u"Übersetzen"_qs, u"Translate"_qs},
          {u"Zurück..."_qs, u"Back..."_qs},
          {u"Suchen"_qs, u"Search"_qs},
          {u"Zeile löchen"_qs, u"Delete row"_qs},
          {u"Erste Spalte fixieren"_qs, u"Fix first column"_qs}});
    TranslationEditor fresh(t);
    t.language = 1;
    const int rows = t.RowCount();
    TranslateComponents(&fresh, t);
    EXPECT_EQ(t.RowCount(), rows); // nothing appended: the headings are still empty
    EXPECT_EQ(fresh.windowTitle(), u"Translate"_qs);
    EXPECT_EQ(fresh.backButton->text(), u"Back..."_qs);
    EXPECT_EQ(fresh.searchButton->text(), u"Search"_qs);
    EXPECT_EQ(fresh.deleteRowButton->text(), u"Delete row"_qs);
    EXPECT_EQ(fresh.fixFirstColumnCheck->text(), u"Fix first column"_qs);
    // Opened, the grid shows its headings untranslated, whatever the language.
    fresh.show();
    EXPECT_EQ(fresh.grid->headerData(0, Qt::Horizontal).toString(), u"German"_qs);
    EXPECT_EQ(fresh.grid->headerData(19, Qt::Horizontal).toString(), u"language19"_qs);
    EXPECT_EQ(fresh.grid->rowCount(), rows);
}

class TranslateEditorWindowTest : public MainFormFixture {
  protected:
    void TearDown() override {
        ProgramTranslator().language = 0;
        MainFormFixture::TearDown();
    }
    void OpenEditor() { form->languageMenu->translateItem->trigger(); }
    static int RowOf(const QString& german) {
        for (int r = 0; r < ProgramTranslator().RowCount(); ++r)
            if (ProgramTranslator().Cell(r, 0) == german) return r;
        return -1;
    }
};

// Guards a way of closing that skips the restart message: the back button and
// the window's close button both end in it, also when nothing changed.
TEST_F(TranslateEditorWindowTest, EveryCloseShowsTheRestartMessage) {
    const std::vector<std::function<void(QWidget*)>> closers = {
        [](QWidget* w) { w->findChild<QPushButton*>(u"BackBtn"_qs)->click(); },
        [](QWidget* w) { w->close(); },
    };
    for (const auto& close : closers) {
        DialogAnswerer answers({close, DialogAnswerer::PressAnswer(QMessageBox::Ok)});
        OpenEditor();
        answers.Verify();
        EXPECT_EQ(answers.Title(), u"Übersetzen"_qs);
        EXPECT_EQ(answers.Text(), u"Bitte schließen Sie das Program und starten Sie es neu."_qs);
    }
}

// Guards a translation that waits for a restart: typed into column 1, it is
// used by the very next English message, while the editor is still open.
TEST_F(TranslateEditorWindowTest, TypedTranslationIsUsedAtOnce) {
    auto* editor = &form->translationEditor();
    editor->show();
    const int row = RowOf(u"Suchen"_qs);
    ASSERT_GE(row, 0);
    QLineEdit* cell = EditCell(editor->gridView, editor->grid->index(row, 1));
    ASSERT_NE(cell, nullptr);
    for (const char* letter : {"S", "e", "e", "k"})
        Key(cell, Qt::Key_A, QString::fromLatin1(letter));
    ProgramTranslator().language = 1;
    editor->searchText->setText(u"Suchen"_qs);
    DialogAnswerer answer = DialogAnswerer::Press(QMessageBox::No);
    editor->searchButton->click();
    answer.Verify();
    EXPECT_EQ(answer.Title(), u"Seek"_qs);
    EXPECT_EQ(GetMessageText(Message::Search), u"Seek"_qs);
    // Window texts wait for the next start.
    EXPECT_EQ(editor->searchButton->text(), u"Suchen"_qs);
}

// Guards a silent failure: when "translate.dat" cannot be written the status
// bar says so once (not at every keystroke), the former file stays whole and
// the edits stay in memory.
TEST(TranslateEditorSaveFailureTest, NoteOnceAndFormerFileWhole) {
    UnwritableTranslationDirs unwritable;
    if (!unwritable.Ready()) GTEST_SKIP() << "no read-only folder can be made here";
    const ReadOnlyFolder& prog = unwritable.prog;
    const QByteArray& formerBytes = unwritable.formerBytes;

    // The start appends the messages, and cannot save them.
    auto form = std::make_unique<MainWindow>(prog.path, QStringList());
    form->show();
    form->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    auto* note = form->statusBar()->findChild<QLabel*>(u"TranslationSaveNote"_qs);
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->text().startsWith(u"Die Übersetzungstabelle konnte nicht"_qs));
    note->hide(); // it must not come back at every keystroke

    TranslationEditor editor(form.get());
    editor.show();
    QLineEdit* cell = EditCell(editor.gridView, editor.grid->index(0, 2));
    ASSERT_NE(cell, nullptr);
    for (const char* letter : {"F", "i", "c"})
        Key(cell, Qt::Key_A, QString::fromLatin1(letter));
    EXPECT_FALSE(note->isVisible());
    EXPECT_EQ(form->statusBar()->findChildren<QLabel*>(u"TranslationSaveNote"_qs).size(), 1);
    EXPECT_EQ(ReadAll(prog.path + u"/translate.dat"_qs), formerBytes);
    EXPECT_EQ(ProgramTranslator().Cell(0, 2), u"Fic"_qs);
    EXPECT_EQ(editor.grid->index(0, 2).data().toString(), u"Fic"_qs);
    editor.close();
    form->document().MarkUnchanged();
}

} // namespace
