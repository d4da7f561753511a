// Building a form on the real main window from an empty document with the
// buttons and dialogs of the tab "Felder", saving it, and undoing it all.
#include "FieldsTabDriver.h"
#include "FileDialogInput.h"
#include "FilenameEditBox.h"
#include "MainFormFixture.h"
#include "ProjectFile.h"
#include "ProjectFileController.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QUndoStack>

namespace {

class FieldEditingTest : public MainFormFixture {
  protected:
    void BuildForm() {
        FieldsTabDriver ui(*form);
        ui.NewCategory(QStringLiteral("Getränke"));
        ui.NewCategory(QStringLiteral("Speisen"));
        ui.NewCategory(QStringLiteral("Nachtisch"));
        ui.SelectCategory(0);
        ui.NewField("NeuesProduktBtn", QStringLiteral("Wasser"));
        ui.Find<QDoubleSpinBox>("BreitFeldEd")->setValue(4.5);
        ui.Find<QDoubleSpinBox>("HochFeldEd")->setValue(0.75);
        ui.NewField("NeuesAnkreuzfeldBtn", QStringLiteral("Saft"));
        ui.NewField("NewRadioBtnBtn", QStringLiteral("Tee"));
        ui.NewField("NeuesProduktBtn", QStringLiteral("Kaffee"));
        ui.Find<QRadioButton>("CheckCheck")->click();
        ui.Click("ProduktNachObenBtn"); // Kaffee before Tee
        ui.SelectFields({1, 3});        // Saft and Tee to "Nachtisch", in this order
        EXPECT_EQ(ui.MoveFields(1), (QStringList{u"Speisen"_qs, u"Nachtisch"_qs}));
        ui.SelectCategory(1);
        ui.NewField("NeuesProduktBtn", QStringLiteral("Suppe"));
        const QString picture = dir.filePath(QStringLiteral("suppe.png"));
        QFile(picture).open(QIODevice::WriteOnly);
        // The dialog is filled, its picture button opens the chooser, and OK comes last.
        DialogAnswerer answers(std::vector<std::function<void(QWidget*)>>{
            [&](QWidget* w) {
                auto* dialog = qobject_cast<CategoryDialog*>(w);
                ASSERT_NE(dialog, nullptr);
                dialog->nameEdit->setText(QStringLiteral("Speisen & Suppen"));
                dialog->pictureWidth->setValue(5);
                dialog->pictureBelowName->setChecked(true);
                dialog->introBelowPicture->setChecked(true);
                dialog->introText->setPlainText(QStringLiteral("Heiß\nund frisch"));
                QTimer::singleShot(0, dialog->findChild<QPushButton*>(QStringLiteral("BitBtn3")),
                                   &QPushButton::click);
            },
            [&](QWidget* w) {
                auto* chooser = qobject_cast<QFileDialog*>(w);
                ASSERT_NE(chooser, nullptr);
                TypeFileName(chooser, picture);
            },
            [](QWidget* w) { qobject_cast<QDialog*>(w)->accept(); }});
        ui.Click("KategorieBearbeitenBtn");
        answers.Verify();
        ui.Click("KategorienachObenBtn"); // "Speisen & Suppen" first
    }
    QStringList Expected() const {
        const QString picture = QDir::toNativeSeparators(dir.filePath(QStringLiteral("suppe.png")));
        return {u"K Speisen & Suppen | "_qs + picture + u" 5 Heiß\nund frisch 1 1"_qs,
                u"  F0 Suppe 6x1.25"_qs,
                u"K Getränke"_qs,
                u"  F0 Wasser 4.5x0.75"_qs,
                u"  F1 Kaffee 6x1.25"_qs,
                u"K Nachtisch"_qs,
                u"  F1 Saft 6x1.25"_qs,
                u"  F2 Tee 6x1.25"_qs};
    }
};

// A form built with the buttons and dialogs must be saved with exactly what was built:
// order, names, records, kinds and sizes.
TEST_F(FieldEditingTest, FormBuiltWithTheButtonsIsSavedAsBuilt) {
    BuildForm();
    EXPECT_EQ(DescribeForm(form->document()), Expected());
    EXPECT_TRUE(form->document().IsChanged());
    form->document().SetFileName(dir.filePath(QStringLiteral("built.qlr")));
    ASSERT_TRUE(form->files().SaveAskingNameIfNone());
    ProjectReadResult read = ReadProjectFileFromPath(form->document().FileName(), LayoutSettings());
    ASSERT_TRUE(read.ok());
    Document saved;
    saved.Reset(std::move(read.document), read.settings);
    EXPECT_EQ(DescribeForm(saved), Expected());
    EXPECT_FALSE(form->document().IsChanged());
}

// "Rückgängig" through the whole build must give the empty document again, and
// "Wiederholen" through it the built form; both mark the document changed.
TEST_F(FieldEditingTest, UndoingTheWholeBuildEmptiesTheFormAndRedoingBuildsItAgain) {
    auto* undo = form->findChild<QAction*>(QStringLiteral("Rueckgaengig1"));
    auto* redo = form->findChild<QAction*>(QStringLiteral("Wiederholen1"));
    ASSERT_NE(undo, nullptr);
    ASSERT_NE(redo, nullptr);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    const QByteArray empty = SerializeProject(form->document().form(), form->document().layout());
    BuildForm();
    const QByteArray built = SerializeProject(form->document().form(), form->document().layout());
    EXPECT_TRUE(undo->isEnabled());
    while (undo->isEnabled())
        undo->trigger();
    EXPECT_EQ(SerializeProject(form->document().form(), form->document().layout()), empty);
    form->document().MarkUnchanged();
    EXPECT_TRUE(redo->isEnabled());
    redo->trigger();
    EXPECT_TRUE(form->document().IsChanged());
    while (redo->isEnabled())
        redo->trigger();
    EXPECT_EQ(SerializeProject(form->document().form(), form->document().layout()), built);
    EXPECT_EQ(DescribeForm(form->document()), Expected());
}

// The menu "Bearbeiten" follows "Datei" and carries the standard keys, Ctrl+Y included.
TEST_F(FieldEditingTest, EditMenuHasUndoAndRedoWithTheirKeys) {
    const QList<QAction*> menus = form->menuBar()->actions();
    ASSERT_GE(menus.size(), 2);
    EXPECT_EQ(menus[1]->menu()->objectName(), QStringLiteral("Bearbeiten1"));
    auto* undo = form->findChild<QAction*>(QStringLiteral("Rueckgaengig1"));
    auto* redo = form->findChild<QAction*>(QStringLiteral("Wiederholen1"));
    EXPECT_EQ(undo->text(), QStringLiteral("Rückgängig"));
    EXPECT_EQ(redo->text(), QStringLiteral("Wiederholen"));
    EXPECT_TRUE(undo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Z)));
    EXPECT_TRUE(redo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
    EXPECT_TRUE(redo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
}

} // namespace
