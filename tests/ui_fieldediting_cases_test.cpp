// The edge cases of category and field editing on the real main window, one row
// of the table each, every row on a fresh window.
#include "FieldsTab.h"
#include "FieldsTabDriver.h"
#include "FileBytes.h"
#include "FilenameEditBox.h"
#include "MainFormFixture.h"
#include "MessageTable.h"
#include "PaintToCanvas.h"
#include "ProjectFileController.h"
#include "RecordingCanvas.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

namespace {

class FieldEditingCasesTest : public MainFormFixture {
  public:
    using MainFormFixture::dir;
    using MainFormFixture::form;
    Document& Doc() { return form->document(); }
    // "A" with fields a0..a2, "B" with b0, "C" empty; nothing selected, unchanged.
    void ThreeCategories() {
        AppendCategory(Doc(), u"A"_qs);
        AppendCategory(Doc(), u"B"_qs);
        AppendCategory(Doc(), u"C"_qs);
        for (int i = 0; i < 3; ++i)
            AppendField(Doc(), 0, fkText, QStringLiteral("a%1").arg(i), 2 + i, 1);
        AppendField(Doc(), 1, fkCheckBox, u"b0"_qs, 3, 0.5);
        form->document().MarkUnchanged();
    }
    QStringList Describe() { return DescribeForm(Doc()); }
    // Opens the category dialog for row as a user does, by a double click on the
    // row or by "Bearbeiten"; answer works in the dialog, which it must close.
    static void InDialog(FieldsTabDriver& ui, int row, bool doubleClick,
                         const std::function<void(CategoryDialog&)>& answer) {
        DialogAnswerer answerer([&](QWidget* w) {
            auto* d = qobject_cast<CategoryDialog*>(w);
            ASSERT_NE(d, nullptr);
            answer(*d);
        });
        ui.SelectCategory(row);
        if (doubleClick) {
            QTreeView* list = ui.Categories();
            const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
            // A double click as the system delivers it: press, release, double click, release.
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
        } else {
            QTest::mouseClick(ui.Find<QPushButton>("KategorieBearbeitenBtn"), Qt::LeftButton);
        }
        answerer.Verify();
    }
    // Keys as the user presses them: to the dialog's focused control.
    static void Press(QDialog& d, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* to = d.focusWidget();
        ASSERT_NE(to, nullptr);
        QTest::keyClick(to, Qt::Key(key), modifiers);
    }
    // A name longer than a line edit takes by default (32,767).
    static QString LongName() { return QString(40000, u'n'); }
    // Category "A" with the two-line field "Erste" / "Zweite" (stored with CR LF)
    // and a field "b", the two-line one selected and shown, unchanged.
    void TwoLineName(FieldsTabDriver& ui) {
        AppendCategory(Doc(), u"A"_qs);
        AppendField(Doc(), 0, fkText, u"Erste\r\nZweite"_qs, 5, 2);
        AppendField(Doc(), 0, fkText, u"b"_qs, 5, 2);
        ui.SelectCategory(0);
        ui.SelectFields({0});
        form->document().MarkUnchanged();
        ui.NameBox()->setFocus();
    }
    // The texts drawn on the printed page 1, in drawing order.
    QStringList PrintedTexts() {
        RecordingCanvas canvas(600);
        const PageInput in{Doc().form(), Doc().layout()};
        PaintToCanvas(canvas, in, 600, 4960, 7016, 1, 100, true);
        QStringList texts;
        for (const CanvasOp& op : canvas.OpsNamed("TextOut"))
            texts << op.text;
        return texts;
    }
};

// A name as the project file holds it: its length in four bytes, low byte
// first, then its bytes (all of them ASCII here).
QByteArray SavedName(const char* name) {
    const QByteArray text(name);
    QByteArray bytes(4, '\0');
    bytes[0] = static_cast<char>(text.size());
    return bytes + text;
}

struct EditCase {
    const char* fault; // what goes wrong if the row fails
    std::function<void(FieldEditingCasesTest&, FieldsTabDriver&)> run;
};

const EditCase kCases[] = {
    {"'Neue Kategorie' without a selection must append and leave the field list alone",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         ui.NewCategory(u"D"_qs);
         EXPECT_EQ(t.Doc().CategoryName(3), u"D"_qs);
         EXPECT_EQ(t.Doc().CategoryCount(), 4);
         EXPECT_EQ(ui.Categories()->selectionModel()->selectedRows().size(), 0);
         EXPECT_FALSE(ui.Find<QPushButton>("NeuesProduktBtn")->isEnabled());
         EXPECT_TRUE(t.form->document().IsChanged());
     }},
    {"Escape while naming in place must keep the new category with an empty name",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         ui.Click("NewKategorieBtn");
         QLineEdit* editor = ui.InPlaceEditor();
         ASSERT_NE(editor, nullptr);
         editor->setText(u"halb"_qs);
         FieldsTabDriver::Key(editor, Qt::Key_Escape);
         QApplication::processEvents();
         ASSERT_EQ(t.Doc().CategoryCount(), 4);
         EXPECT_EQ(t.Doc().CategoryName(3), QString());
         EXPECT_EQ(t.Doc().FieldCount(3), 0);
         EXPECT_TRUE(t.form->isVisible()); // Escape did not close the window
     }},
    {"the dialog for a new category must show the defaults, and Cancel must change nothing",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         ui.SelectCategory(2);
         t.form->document().MarkUnchanged();
         const QStringList before = t.Describe();
         DialogAnswerer cancel([](QWidget* w) {
             auto* d = qobject_cast<CategoryDialog*>(w);
             ASSERT_NE(d, nullptr);
             EXPECT_EQ(d->nameEdit->text(), u"C"_qs);
             EXPECT_EQ(d->pictureWidth->value(), 3);
             EXPECT_TRUE(d->pictureBeforeName->isChecked());
             EXPECT_TRUE(d->introText->toPlainText().isEmpty());
             EXPECT_TRUE(d->pictureFile->fileName().isEmpty());
             EXPECT_FALSE(d->introBelowPicture->isChecked());
             d->nameEdit->setText(u"geändert"_qs);
             d->reject();
         });
         ui.Click("KategorieBearbeitenBtn");
         cancel.Verify();
         EXPECT_EQ(t.Describe(), before);
         EXPECT_FALSE(t.Doc().CategoryRecordValues(2).has_value());
         EXPECT_FALSE(t.form->document().IsChanged());
     }},
    {"cancelling the picture chooser must keep the file name shown before",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         t.Doc().SetCategoryRecord(0, CategoryValues{u"alt.png"_qs, 2, QString(), 0, false});
         ui.SelectCategory(0);
         DialogAnswerer answers(std::vector<std::function<void(QWidget*)>>{
             [](QWidget* w) {
                 QTimer::singleShot(0, w->findChild<QPushButton*>(u"BitBtn3"_qs),
                                    &QPushButton::click);
             },
             DialogAnswerer::RejectAnswer(),
             [](QWidget* w) {
                 auto* d = qobject_cast<CategoryDialog*>(w);
                 ASSERT_NE(d, nullptr);
                 EXPECT_EQ(d->pictureFile->fileName(), u"alt.png"_qs);
                 d->accept();
             }});
         ui.Click("KategorieBearbeitenBtn");
         answers.Verify();
         EXPECT_EQ(t.Doc().CategoryRecordValues(0)->picfile, u"alt.png"_qs);
     }},
    {"a width the dialog cannot show must survive OK when the user left it alone",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         t.Doc().SetCategoryRecord(1, CategoryValues{u"p.png"_qs, 0, u"x"_qs, 7, false});
         ui.SelectCategory(1);
         ui.EditCategory([](CategoryDialog& d) { d.introText->setPlainText(u"y"_qs); });
         EXPECT_EQ(t.Doc().CategoryRecordValues(1),
                   (CategoryValues{u"p.png"_qs, 0, u"y"_qs, 7, false}));
     }},
    {"the dialog must open with the caret after the name, so a key extends it",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         for (bool doubleClick : {true, false}) {
             FieldEditingCasesTest::InDialog(ui, 0, doubleClick, [](CategoryDialog& d) {
                 EXPECT_EQ(d.focusWidget(), d.nameEdit);
                 EXPECT_FALSE(d.nameEdit->hasSelectedText());
                 FieldEditingCasesTest::Press(d, Qt::Key_X);
                 FieldEditingCasesTest::Press(d, Qt::Key_Return); // OK, the default button
             });
         }
         EXPECT_EQ(t.Doc().CategoryName(0), u"Axx"_qs);
     }},
    {"Tab in the introduction must move on, never type a tab; the dialog's tab order",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         const QStringList designed = {
             "Edit1",   "FilenameEdit1", "BildBreitEd", "RadioButton1", "RadioButton2", "Memo1",
             "BitBtn1", "BitBtn2",       "BitBtn3",     "CheckBox1",    "Edit1"};
         QStringList visited;
         FieldEditingCasesTest::InDialog(ui, 0, false, [&](CategoryDialog& d) {
             // The named control the focus is in (a file box's browse button is its own part).
             auto focused = [&] {
                 for (QWidget* w = d.focusWidget(); w && w != &d; w = w->parentWidget())
                     if (designed.contains(w->objectName())) return w->objectName();
                 return QString();
             };
             visited << focused();
             // A bounded walk: a control that keeps the Tab key must not hang the test.
             for (int presses = 0; visited.size() < designed.size() && presses < 30; ++presses) {
                 FieldEditingCasesTest::Press(d, Qt::Key_Tab);
                 if (focused() != visited.last()) visited << focused();
             }
             EXPECT_TRUE(d.introText->toPlainText().isEmpty());
             d.reject();
         });
         EXPECT_EQ(visited, designed);
     }},
    {"a name of 40,000 characters must not be cut, neither in place nor in the dialog",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         QGuiApplication::clipboard()->setText(FieldEditingCasesTest::LongName());
         ui.Click("NewKategorieBtn");
         QLineEdit* editor = ui.InPlaceEditor();
         ASSERT_NE(editor, nullptr);
         QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
         QTest::keyClick(editor, Qt::Key_Return);
         QApplication::processEvents(); // the list commits the name in a queued call
         EXPECT_EQ(t.Doc().CategoryName(3).size(), 40000);
         FieldEditingCasesTest::InDialog(ui, 1, false, [](CategoryDialog& d) {
             FieldEditingCasesTest::Press(d, Qt::Key_A, Qt::ControlModifier);
             FieldEditingCasesTest::Press(d, Qt::Key_V, Qt::ControlModifier);
             FieldEditingCasesTest::Press(d, Qt::Key_Return);
         });
         EXPECT_EQ(t.Doc().CategoryName(1).size(), 40000); // "B" replaced, nothing cut
     }},
    {"OK with nothing changed must refill the field list and keep a CR LF text as it is",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         const CategoryValues record{u"p.png"_qs, 2, u"Zeile 1\r\nZeile 2\r\n"_qs, 1, true};
         t.Doc().SetCategoryRecord(0, record);
         ui.SelectCategory(0);
         ui.SelectFields({1});
         t.form->document().MarkUnchanged();
         const int steps = t.Doc().undoStack()->count();
         FieldEditingCasesTest::InDialog(ui, 0, false, [](CategoryDialog& d) {
             FieldEditingCasesTest::Press(d, Qt::Key_Return);
         });
         EXPECT_EQ(t.Doc().CategoryRecordValues(0), record);
         EXPECT_EQ(t.Doc().undoStack()->count(), steps);
         EXPECT_TRUE(t.form->document().IsChanged());
         EXPECT_TRUE(t.form->Fields()->SelectedFields().isEmpty()); // the list was filled anew
         EXPECT_FALSE(ui.NameBox()->isEnabled());
     }},
    {"delete: No and Cancel must change nothing, Yes must delete with the fields",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         ui.SelectCategory(0);
         const QStringList before = t.Describe();
         for (auto button : {QMessageBox::No, QMessageBox::Cancel}) {
             AnswerMessageBox(button, [&] { ui.Click("KategorieLoechenBtn"); });
             EXPECT_EQ(t.Describe(), before);
         }
         DialogAnswerer yes = DialogAnswerer::Press(QMessageBox::Yes);
         ui.Click("KategorieLoechenBtn");
         yes.Verify();
         EXPECT_EQ(yes.Title(), GetMessageText(Message::DeleteCategory));
         EXPECT_EQ(yes.Text(), GetMessageText(Message::DeleteCategoryQuestion) + u"\"A\""_qs);
         EXPECT_EQ(t.Describe(), (QStringList{u"K B"_qs, u"  F1 b0 3x0.5"_qs, u"K C"_qs}));
         EXPECT_EQ(ui.Categories()->selectionModel()->selectedRows().size(), 0);
         EXPECT_EQ(ui.Fields()->model()->rowCount(), 0);
         EXPECT_FALSE(ui.Find<QPushButton>("ProduktLoeschenBtn")->isEnabled());
     }},
    {"undoing a delete must bring the category back selected with its fields",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         const QStringList before = t.Describe();
         ui.SelectCategory(0);
         AnswerMessageBox(QMessageBox::Yes, [&] { ui.Click("KategorieLoechenBtn"); });
         t.form->document().Undo();
         EXPECT_EQ(t.Describe(), before);
         EXPECT_EQ(t.form->Fields()->SelectedCategory(), 0);
         EXPECT_EQ(ui.Fields()->model()->rowCount(), 3);
     }},
    {"the first category up and the last down must do nothing; others swap and stay selected",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         const QStringList before = t.Describe();
         ui.SelectCategory(0);
         ui.Click("KategorienachObenBtn");
         ui.SelectCategory(2);
         ui.Click("KategorienachuntenBtn");
         EXPECT_EQ(t.Describe(), before);
         EXPECT_FALSE(t.Doc().undoStack()->canUndo());
         ui.Click("KategorienachObenBtn");
         EXPECT_EQ(t.Doc().CategoryName(1), u"C"_qs);
         EXPECT_EQ(t.form->Fields()->SelectedCategory(), 1);
         EXPECT_EQ(t.Doc().FieldCount(2), 1); // B's field went with B
     }},
    {"only selecting another category must mark the document changed",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         ui.SelectCategory(2);
         EXPECT_TRUE(t.form->document().IsChanged());
         EXPECT_FALSE(t.Doc().undoStack()->canUndo());
     }},
    {"the new-field commands without a selected category must do nothing",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         const QStringList before = t.Describe();
         EXPECT_FALSE(ui.Find<QPushButton>("NeuesProduktBtn")->isEnabled());
         EXPECT_TRUE(ui.Find<QPushButton>("NeuesAnkreuzfeldBtn")->isEnabled());
         EXPECT_TRUE(ui.Find<QPushButton>("NewRadioBtnBtn")->isEnabled());
         ui.Click("NeuesAnkreuzfeldBtn");
         ui.Click("NewRadioBtnBtn");
         t.form->Fields()->newTextField();
         EXPECT_EQ(t.Describe(), before);
         EXPECT_FALSE(t.form->document().IsChanged());
     }},
    {"a new field must get the defaults, be last and selected, its name selected with focus",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         t.form->activateWindow();
         ui.SelectCategory(0);
         ui.Click("NeuesAnkreuzfeldBtn");
         ASSERT_EQ(t.Doc().FieldCount(0), 4);
         EXPECT_EQ(t.Doc().FieldValuesAt(0, 3), (FieldValues{u"Neues Produkt"_qs, 1, 6, 1.25}));
         EXPECT_EQ(t.form->Fields()->SelectedFields(), QList<int>{3});
         EXPECT_EQ(ui.NameBox()->textCursor().selectedText(), u"Neues Produkt"_qs);
         EXPECT_EQ(t.form->focusWidget(), ui.NameBox());
         EXPECT_TRUE(ui.Find<QRadioButton>("CheckCheck")->isChecked());
     }},
    {"changing the default width must change no field but the next new one",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         ui.SelectCategory(0);
         ui.SelectFields({1});
         t.form->document().MarkUnchanged();
         const QStringList before = t.Describe();
         ui.Find<QDoubleSpinBox>("BreitDefEd")->setValue(8);
         EXPECT_EQ(t.Describe(), before);
         EXPECT_TRUE(t.form->document().IsChanged()); // a field was selected
         ui.Click("NeuesProduktBtn");
         EXPECT_EQ(t.Doc().FieldValuesAt(0, 3).width, 8);
     }},
    {"typing in the name box must rename the field in the list at every keystroke",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         ui.SelectCategory(0);
         ui.SelectFields({2});
         t.form->document().MarkUnchanged();
         for (const QString& typed : {u"X"_qs, u"XY"_qs}) {
             ui.NameBox()->setPlainText(typed);
             EXPECT_EQ(ui.Fields()->model()->index(2, 0).data().toString(), typed);
         }
         EXPECT_TRUE(t.form->document().IsChanged());
         EXPECT_EQ(t.Doc().undoStack()->count(), 1); // the keystrokes are one step
     }},
    {"showing a field must never change it, yet marks the document changed",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         AppendField(t.Doc(), 2, fkText, u"null"_qs, 0, 20000);
         AppendField(t.Doc(), 2, fkCheckBox, u"fein"_qs, 1.23456, 0.5);
         ui.SelectCategory(2);
         t.form->document().MarkUnchanged();
         const QStringList before = t.Describe();
         ui.SelectFields({0});
         ui.SelectFields({1});
         EXPECT_EQ(t.Describe(), before);
         EXPECT_TRUE(t.form->document().IsChanged());
         EXPECT_FALSE(t.Doc().undoStack()->canUndo());
         ui.Find<QDoubleSpinBox>("HochFeldEd")->setValue(2); // only the height is written
         EXPECT_EQ(t.Doc().FieldValuesAt(2, 1), (FieldValues{u"fein"_qs, 1, 1.23456, 2}));
     }},
    {"a two-line name edited in the middle must keep its CR LF: stored, printed and saved",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.TwoLineName(ui);
         QPlainTextEdit* box = ui.NameBox();
         QTest::keyClick(box, Qt::Key_Home, Qt::ControlModifier);
         for (int i = 0; i < 3; ++i)
             QTest::keyClick(box, Qt::Key_Right);
         QTest::keyClicks(box, u"X"_qs);
         EXPECT_EQ(t.Doc().FieldValuesAt(0, 0).name, u"ErsXte\r\nZweite"_qs);
         EXPECT_EQ(t.Doc().undoStack()->count(), 1);
         const QStringList printed = t.PrintedTexts();
         EXPECT_TRUE(printed.contains(u"ErsXte"_qs)) << printed.join(u'|').toStdString();
         EXPECT_TRUE(printed.contains(u"Zweite"_qs)) << printed.join(u'|').toStdString();
         t.form->document().SetFileName(t.dir.filePath(u"zwei-zeilen.qlr"_qs));
         ASSERT_TRUE(t.form->files().SaveAskingNameIfNone());
         EXPECT_TRUE(
             ReadAll(t.form->document().FileName()).contains(SavedName("ErsXte\r\nZweite")));
     }},
    {"Return alone must not break the name; Ctrl+Return and Shift+Return must, as CR LF",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.TwoLineName(ui);
         QPlainTextEdit* box = ui.NameBox();
         QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
         QTest::keyClick(box, Qt::Key_Return);
         QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
         EXPECT_EQ(t.Doc().FieldValuesAt(0, 0).name, u"Erste\r\nZweite"_qs);
         EXPECT_FALSE(t.Doc().undoStack()->canUndo());
         QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
         QTest::keyClicks(box, u"Dritte"_qs);
         QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
         QTest::keyClicks(box, u"Vierte"_qs);
         EXPECT_EQ(t.Doc().FieldValuesAt(0, 0).name, u"Erste\r\nZweite\r\nDritte\r\nVierte"_qs);
         EXPECT_EQ(ui.Fields()->model()->index(0, 0).data().toString(),
                   u"Erste\r\nZweite\r\nDritte\r\nVierte"_qs);
     }},
    {"Tab must leave the name box and Shift+Tab come back, neither typing a tab",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.TwoLineName(ui);
         QPlainTextEdit* box = ui.NameBox();
         QTest::keyClick(box, Qt::Key_Tab);
         QWidget* next = t.form->focusWidget();
         EXPECT_NE(next, box);
         EXPECT_TRUE(ui.Find<QWidget>("Panel7")->isAncestorOf(next));
         QTest::keyClick(next, Qt::Key_Tab, Qt::ShiftModifier);
         EXPECT_EQ(t.form->focusWidget(), box);
         QTest::keyClick(box, Qt::Key_Backtab, Qt::ShiftModifier);
         EXPECT_NE(t.form->focusWidget(), box);
         EXPECT_EQ(t.Doc().FieldValuesAt(0, 0).name, u"Erste\r\nZweite"_qs);
         EXPECT_FALSE(t.Doc().undoStack()->canUndo());
     }},
    {"showing a two-line name must write nothing back, also when an undo shows it again",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.TwoLineName(ui);
         EXPECT_EQ(ui.NameBox()->toPlainText(), u"Erste\nZweite"_qs);
         EXPECT_EQ(t.Doc().FieldValuesAt(0, 0).name, u"Erste\r\nZweite"_qs);
         EXPECT_FALSE(t.Doc().undoStack()->canUndo());
         auto* height = ui.Find<QDoubleSpinBox>("HochFeldEd");
         height->setFocus();
         QTest::keyClick(height, Qt::Key_Up);
         ASSERT_EQ(t.Doc().undoStack()->count(), 1);
         t.form->findChild<QAction*>(u"Rueckgaengig1"_qs)->trigger(); // shows the field again
         EXPECT_EQ(t.Doc().FieldValuesAt(0, 0), (FieldValues{u"Erste\r\nZweite"_qs, 0, 5, 2}));
         EXPECT_EQ(t.Doc().undoStack()->count(), 1); // no step of its own
         EXPECT_TRUE(t.Doc().undoStack()->canRedo());
         EXPECT_EQ(ui.NameBox()->toPlainText(), u"Erste\nZweite"_qs);
     }},
    {"Ctrl+A then delete must remove all fields at once without a question",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         ui.SelectCategory(0);
         FieldsTabDriver::Key(ui.Fields(), Qt::Key_A, Qt::ControlModifier);
         EXPECT_EQ(t.form->Fields()->SelectedFields(), (QList<int>{0, 1, 2}));
         ui.Click("ProduktLoeschenBtn");
         EXPECT_EQ(t.Doc().FieldCount(0), 0);
         t.form->document().Undo();
         EXPECT_EQ(t.Doc().FieldCount(0), 3);
         EXPECT_EQ(t.form->Fields()->SelectedFields(), (QList<int>{0, 1, 2}));
     }},
    {"with one category the move dialog must be empty and OK must move nothing",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         AppendCategory(t.Doc(), u"A"_qs);
         AppendField(t.Doc(), 0, fkText, u"a"_qs, 1, 1);
         ui.SelectCategory(0);
         ui.SelectFields({0});
         EXPECT_TRUE(ui.MoveFields(-1).isEmpty());
         EXPECT_EQ(t.Doc().FieldCount(0), 1);
     }},
    {"the first field up and the last down must do nothing and keep the changed mark",
     [](FieldEditingCasesTest& t, FieldsTabDriver& ui) {
         t.ThreeCategories();
         ui.SelectCategory(0);
         ui.SelectFields({0});
         t.form->document().MarkUnchanged();
         ui.Click("ProduktNachObenBtn");
         ui.SelectFields({2});
         t.form->document().MarkUnchanged();
         ui.Click("ProduktNachUntenBtn");
         EXPECT_FALSE(t.form->document().IsChanged());
         EXPECT_FALSE(t.Doc().undoStack()->canUndo());
         ui.Click("ProduktNachObenBtn");
         EXPECT_EQ(t.Doc().FieldValuesAt(0, 1).name, u"a2"_qs);
         EXPECT_EQ(t.form->Fields()->SelectedFields(), QList<int>{1});
     }},
};

// Each row: the fault named in it must not come back.
TEST_F(FieldEditingCasesTest, EdgeCases) {
    for (const EditCase& c : kCases) {
        SCOPED_TRACE(c.fault);
        form->document().MarkUnchanged();
        form.reset();
        StartForm();
        FieldsTabDriver ui(*form);
        c.run(*this, ui);
    }
}

} // namespace
