// Opening and saving project files from the main window, and the unsaved-changes question.
#include "DialogAnswerer.h"
#include "Dib.h"
#include "DocumentEdits.h"
#include "FileDialogInput.h"
#include "LayoutControlValues.h"
#include "MainFormFixture.h"
#include "ProjectFileController.h"

#include "CategoryListModel.h"
#include "ProjectFile.h"

#include <QApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class FileCommandsTest : public MainFormFixture {
  protected:
    // A small project written by the file writer itself.
    QString WriteSample(const QString& name, double leftMargin = 21) {
        FormDocument doc;
        AppendCategory(doc, QStringLiteral("Getränke"));
        AppendField(doc, 0, fkText, QStringLiteral("Name"), 6, 1.25);
        AppendField(doc, 0, fkCheckBox, QStringLiteral("Wasser"), 6, 0.5);
        AppendCategory(doc, QStringLiteral("Speisen"));
        LayoutSettings settings;
        settings.leftMarginMm = leftMargin;
        const QString path = dir.filePath(name);
        EXPECT_TRUE(WriteProjectFile(path, doc, settings));
        return path;
    }
};

// Opening a file shows its name unmarked, selects the first category and takes its layout.
TEST_F(FileCommandsTest, OpenShowsTheFileAndItsValues) {
    const QString path = WriteSample(QStringLiteral("Bestellung.qlr"));
    form->document().MarkChanged();
    ASSERT_TRUE(form->files().LoadProject(path));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Torvane Quillora 1.0 - [Bestellung.qlr]"));
    EXPECT_FALSE(form->document().IsChanged());
    EXPECT_EQ(form->document().FileName(), path);
    auto* categories = Child<QTreeView>("ListView2");
    EXPECT_EQ(categories->model()->rowCount(), 2);
    ASSERT_EQ(categories->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(categories->selectionModel()->selectedRows().first().row(), 0);
    EXPECT_EQ(Child<QTreeView>("ListView1")->model()->rowCount(), 2);
    EXPECT_DOUBLE_EQ(form->document().layout().leftMarginMm, 21);
    EXPECT_DOUBLE_EQ(form->findChild<QDoubleSpinBox*>(QStringLiteral("LinksEd"))->value(), 21);
}

// A damaged file must be reported and must leave the open document, name and mark alone.
TEST_F(FileCommandsTest, DamagedFileLeavesTheOpenDocumentIntact) {
    const QString good = WriteSample(QStringLiteral("good.qlr"));
    ASSERT_TRUE(form->files().LoadProject(good));
    form->document().MarkChanged();
    const QString bad = dir.filePath(QStringLiteral("bad.qlr"));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromHex("0500000003000000")); // five categories, then the end
    file.close();
    bool opened = true;
    const QString text =
        AnswerMessageBox(QMessageBox::Ok, [&] { opened = form->files().LoadProject(bad); });
    EXPECT_FALSE(opened);
    EXPECT_EQ(text, QStringLiteral("Read beyond end of file"));
    EXPECT_EQ(form->document().FileName(), good);
    EXPECT_TRUE(form->document().IsChanged());
    EXPECT_EQ(form->document().CategoryCount(), 2);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Torvane Quillora 1.0 - [good.qlr*]"));
}

// A file that cannot be opened is passed over without a message.
TEST_F(FileCommandsTest, MissingFileIsPassedOverSilently) {
    EXPECT_FALSE(form->files().LoadProject(dir.filePath(QStringLiteral("none.qlr"))));
    EXPECT_TRUE(form->document().FileName().isEmpty());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Torvane Quillora 1.0 - [unbenannt.qlr]"));
}

// Saving writes the file and clears the mark; a failed save says so and keeps the mark.
TEST_F(FileCommandsTest, SaveSucceedsOrReportsAndStaysChanged) {
    AppendCategory(form->document(), QStringLiteral("Neu"));
    form->document().MarkChanged();
    form->document().SetFileName(dir.filePath(QStringLiteral("saved.qlr")));
    EXPECT_TRUE(form->files().SaveAskingNameIfNone());
    EXPECT_FALSE(form->document().IsChanged());
    ProjectReadResult back = ReadProjectFileFromPath(form->document().FileName(), LayoutSettings());
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.document->CategoryName(0), QStringLiteral("Neu"));

    form->document().MarkChanged();
    form->document().SetFileName(dir.filePath(QStringLiteral("missing/folder/saved.qlr")));
    bool saved = true;
    const QString text =
        AnswerMessageBox(QMessageBox::Ok, [&] { saved = form->files().SaveAskingNameIfNone(); });
    EXPECT_FALSE(saved);
    EXPECT_TRUE(text.contains(QStringLiteral("saved.qlr")));
    EXPECT_TRUE(form->document().IsChanged());
}

// Cancelling the save dialog of a new document returns false and keeps the mark.
TEST_F(FileCommandsTest, CancelledSaveAsKeepsTheDocumentChanged) {
    form->document().MarkChanged();
    bool saved = true;
    DialogAnswerer cancel([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    saved = form->files().SaveAskingNameIfNone();
    cancel.Verify();
    EXPECT_FALSE(saved);
    EXPECT_TRUE(form->document().IsChanged());
    EXPECT_TRUE(form->document().FileName().isEmpty());
}

// "Öffnen..." on a changed document asks first; Cancel opens no dialog at all.
TEST_F(FileCommandsTest, OpenAsksAboutUnsavedChangesFirst) {
    form->document().MarkChanged();
    AnswerMessageBox(QMessageBox::Cancel, [&] { form->files().openProject(); });
    EXPECT_TRUE(form->document().IsChanged());
    // No: go on to the open dialog, which is then cancelled.
    DialogAnswerer answers({DialogAnswerer::PressAnswer(QMessageBox::No), [](QWidget* w) {
                                EXPECT_EQ(w->objectName(), QStringLiteral("OpenDialog2"));
                                DialogAnswerer::RejectAnswer()(w);
                            }});
    form->files().openProject();
    answers.Verify();
}

// The open dialog returns the chosen file, which is then opened.
TEST_F(FileCommandsTest, OpenDialogOpensTheChosenFile) {
    const QString path = WriteSample(QStringLiteral("chosen.qlr"));
    DialogAnswerer choose([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->objectName(), QStringLiteral("OpenDialog2"));
        TypeFileName(dialog, path);
    });
    EXPECT_TRUE(form->files().ChooseAndLoadProject());
    choose.Verify();
    EXPECT_EQ(form->document().FileName(), path);
}

// A file named on the command line is opened at the first show, unmarked.
TEST(FileCommandsStartTest, CommandLineFileOpensAtFirstShow) {
    QTemporaryDir dir;
    FormDocument doc;
    AppendCategory(doc, QStringLiteral("K"));
    const QString path = dir.filePath(QStringLiteral("start.qlr"));
    ASSERT_TRUE(WriteProjectFile(path, doc, LayoutSettings()));
    MainWindow form(dir.path(), QStringList{path, QStringLiteral("ignored.qlr")});
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Torvane Quillora 1.0 - [start.qlr]"));
    EXPECT_EQ(form.document().CategoryCount(), 1);
    EXPECT_FALSE(form.document().IsChanged());
    // Started with a file, the program must not offer to replace it by the sample.
    EXPECT_FALSE(form.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
}

// A project file named on the command line that cannot be read is named in a
// message (not passed over silently); the window starts with an empty document.
TEST(FileCommandsStartTest, UnreadableCommandLineFileIsNamed) {
    QTemporaryDir dir;
    const struct {
        const char* name;
        bool folder;
    } cases[] = {{"nothere.qlr", false}, {"a folder.qlr", true}};
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        if (c.folder) {
            ASSERT_TRUE(QDir(dir.path()).mkdir(QString::fromLatin1(c.name)));
        }
        MainWindow form(dir.path(), QStringList{path});
        const QString text = AnswerMessageBox(QMessageBox::Ok, [&] { form.show(); });
        EXPECT_EQ(text, QStringLiteral("Konte die folgende Datei nicht öffnen: ") +
                            QDir::toNativeSeparators(path))
            << c.name;
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Torvane Quillora 1.0 - [unbenannt.qlr]"));
        EXPECT_EQ(form.document().CategoryCount(), 0);
        EXPECT_FALSE(form.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive()) << c.name;
    }
}

// Started without a file, the program offers the sample project a second later.
TEST(FileCommandsStartTest, SampleOfferOnlyWithoutACommandLineFile) {
    QTemporaryDir dir;
    MainWindow form(dir.path(), QStringList());
    form.show();
    EXPECT_TRUE(form.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
    form.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
}

} // namespace

namespace {
// Accepting the sample-project offer opens "test.qlr" from the current directory, unasked.
TEST(SampleProjectTest, YesOpensTestQlrFromTheCurrentDirectory) {
    QTemporaryDir programDir, workDir;
    FormDocument doc;
    AppendCategory(doc, QStringLiteral("Beispiel"));
    ASSERT_TRUE(
        WriteProjectFile(workDir.filePath(QStringLiteral("test.qlr")), doc, LayoutSettings()));
    const QString before = QDir::currentPath();
    QDir::setCurrent(workDir.path());
    MainWindow form(programDir.path(), QStringList());
    form.show();
    form.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    form.document()
        .MarkChanged(); // the offer replaces the document without the unsaved-changes question
    AnswerMessageBox(QMessageBox::Yes, [&] { form.files().OfferSampleProject(); });
    QDir::setCurrent(before);
    EXPECT_EQ(form.document().CategoryCount(), 1);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Torvane Quillora 1.0 - [test.qlr]"));
    EXPECT_FALSE(form.document().IsChanged());
}
} // namespace

namespace {
// Opening a file prepares the background with the file's own processing settings.
TEST_F(FileCommandsTest, OpenPreparesTheBackgroundWithTheFilesSettings) {
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(qRgb(200, 100, 0));
    const QString background = dir.filePath(QStringLiteral("back.png"));
    ASSERT_TRUE(picture.save(background));
    FormDocument doc;
    LayoutSettings settings;
    settings.backgroundFile = background;
    settings.tileGrayScale = true;
    settings.tileLighten = false;
    const QString path = dir.filePath(QStringLiteral("grey.qlr"));
    ASSERT_TRUE(WriteProjectFile(path, doc, settings));
    ASSERT_TRUE(form->files().LoadProject(path));
    ASSERT_NE(form->project().background().poi, nullptr);
    const int grey = (30 * 200 + 59 * 100 + 11 * 0) / 100;
    EXPECT_EQ(getpixel(form->project().background(), 0, 0), MakeColour(grey, grey, grey));
}
} // namespace

namespace {
// Values that pass through the window's controls must come back exactly: opening a
// file and saving it again writes the same bytes.
TEST_F(FileCommandsTest, OpenAndSaveAgainWritesTheSameBytes) {
    FormDocument doc;
    AppendCategory(doc, QStringLiteral("Ä"));
    AppendField(doc, 0, fkSingleChoice, QStringLiteral("x"), 6.123456789, 1.25);
    LayoutSettings settings;
    settings.leftMarginMm = 12.345678901234;
    settings.lineWidthMm = 0.35;
    settings.tileWidthCm = 29.7;
    settings.logoHeightCm = 1.0 + 1.0 / 3.0;
    settings.tileSaturation = -37;
    settings.firstPageNumber = -12;
    settings.columnGapMm = 7.77;
    settings.tableLineColour = 0xFF00000Fu; // a system colour stays a system colour
    settings.fonts[8].pixelsPerInch = 120;
    settings.pictureAlignment = 1;
    const QString first = dir.filePath(QStringLiteral("first.qlr"));
    ASSERT_TRUE(WriteProjectFile(first, doc, settings));
    ASSERT_TRUE(form->files().LoadProject(first));
    form->document().SetFileName(dir.filePath(QStringLiteral("second.qlr")));
    ASSERT_TRUE(form->files().WriteProject());
    QFile a(first), b(form->document().FileName());
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    const QByteArray before = a.readAll(), after = b.readAll();
    EXPECT_EQ(before.toHex().toStdString(), after.toHex().toStdString());
    EXPECT_EQ(form->findChild<QDoubleSpinBox*>(QStringLiteral("LineWidthEd"))->text(),
              QStringLiteral("0.35"));
}

// Header, footer and file-name texts longer than a line edit's default limit
// (32,767 characters) must come back whole from a file and go out whole again.
TEST_F(FileCommandsTest, LongTextsSurviveOpeningAndSaving) {
    LayoutSettings settings;
    const std::pair<QString LayoutSettings::*, QChar> texts[] = {
        {&LayoutSettings::headerText, u'k'},     {&LayoutSettings::oddFooterText, u'u'},
        {&LayoutSettings::evenFooterText, u'g'}, {&LayoutSettings::backgroundFile, u'b'},
        {&LayoutSettings::logoFile, u'l'},
    };
    for (const auto& [text, fill] : texts)
        settings.*text = QString(40000, fill) + QStringLiteral("Ende");
    const QString first = dir.filePath(QStringLiteral("long.qlr"));
    ASSERT_TRUE(WriteProjectFile(first, FormDocument(), settings));
    ASSERT_TRUE(form->files().LoadProject(first));
    for (const auto& [text, fill] : texts) {
        const LayoutKey& key = LayoutKeys()[static_cast<std::size_t>(LayoutKeyOf(text))];
        const std::optional<LayoutValue> shown = ShownLayoutValue(*form, key);
        ASSERT_TRUE(shown.has_value()) << key.name;
        EXPECT_EQ(std::get<QString>(*shown), settings.*text) << key.name;
    }
    form->document().SetFileName(dir.filePath(QStringLiteral("again.qlr")));
    ASSERT_TRUE(form->files().WriteProject());
    QFile a(first), b(form->document().FileName());
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    EXPECT_TRUE(a.readAll() == b.readAll());
}
} // namespace
