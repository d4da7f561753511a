// The main window as a desktop program: standard keys and mnemonics in the menus,
// recently opened files, the window placement kept between runs, dropped
// project files, printing chosen pages with progress, and the page count.
#include "DialogAnswerer.h"
#include "MainFormFixture.h"
#include "PdfProbe.h"
#include "PreviewTab.h"
#include "PrintController.h"
#include "PrinterRun.h"
#include "Program.h"
#include "ProjectFileController.h"
#include "RecentFiles.h"

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

class DesktopTest : public MainFormFixture {
  protected:
    // Fields of 18 x 12 cm: two per A4 page, so n fields fill (n + 1) / 2 pages.
    void AddTallFields(int n) {
        const int cat = AppendCategory(form->document(), QStringLiteral("Getränke"));
        for (int i = 0; i < n; ++i)
            AppendField(form->document(), cat, fkText, QStringLiteral("Feld %1").arg(i + 1), 18,
                        12);
    }
    QString SaveAs(const QString& name) {
        form->document().SetFileName(dir.filePath(name));
        EXPECT_TRUE(form->files().WriteProject());
        return form->document().FileName();
    }
    QStringList RecentEntries() {
        QStringList texts;
        for (QAction* a : Child<QMenu>("ZuletztGeoeffnet1")->actions())
            texts << a->text();
        return texts;
    }
};

// Menus without the standard keys leave Ctrl+S and friends doing nothing.
TEST_F(DesktopTest, FileMenuShowsTheStandardKeys) {
    const struct {
        const char* action;
        QKeySequence::StandardKey key;
    } cases[] = {{"Neu1", QKeySequence::New},
                 {"ffnen1", QKeySequence::Open},
                 {"Speichern1", QKeySequence::Save},
                 {"Speichernunter1", QKeySequence::SaveAs},
                 {"DruckenMitDialog1", QKeySequence::Print},
                 {"Beenden1", QKeySequence::Quit}};
    for (const auto& c : cases) {
        auto* action = Child<QAction>(c.action);
        ASSERT_NE(action, nullptr);
        EXPECT_FALSE(action->shortcut().isEmpty()) << c.action;
        for (const QKeySequence& keys : QKeySequence::keyBindings(c.key))
            EXPECT_TRUE(action->shortcuts().contains(keys)) << c.action;
    }
    EXPECT_TRUE(Child<QAction>("Speichernunter1")
                    ->shortcuts()
                    .contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)));
    EXPECT_TRUE(
        Child<QAction>("Beenden1")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Q)));
    EXPECT_TRUE(Child<QAction>("ber1")->shortcuts().contains(QKeySequence(Qt::Key_F1)));
    EXPECT_EQ(Child<QAction>("DruckenMitDialog1")->text(), QStringLiteral("Drucken..."));
    EXPECT_EQ(Child<QAction>("Drucken1")->text(), QStringLiteral("Drucken"));
}

// Ctrl+S must save the open document.
TEST_F(DesktopTest, CtrlSSaves) {
    const QString path = SaveAs(QStringLiteral("keys.qlr"));
    AppendCategory(form->document(), QStringLiteral("Neu"));
    form->document().MarkChanged();
    QFile::remove(path);
    Child<QAction>("Speichern1")->trigger();
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(form->document().IsChanged());
}

// The recent list keeps the newest first, at most eight, survives a restart,
// and a file that is gone is taken out with a message naming it.
TEST_F(DesktopTest, RecentFilesKeepEightAndDropMissingOnes) {
    QStringList saved;
    for (int i = 1; i <= 9; ++i)
        saved.prepend(SaveAs(QStringLiteral("form%1.qlr").arg(i)));
    ASSERT_EQ(form->files().recentFiles()->Files(), saved.mid(0, 8));
    EXPECT_EQ(RecentEntries().size(), 8);
    EXPECT_TRUE(RecentEntries().first().endsWith(QStringLiteral("form9.qlr")));

    form->document().MarkUnchanged();
    form.reset();
    StartForm();
    ASSERT_EQ(form->files().recentFiles()->Files(), saved.mid(0, 8));

    const QString gone = saved.at(2);
    QFile::remove(gone);
    DialogAnswerer answer(DialogAnswerer::PressAnswer(QMessageBox::Ok));
    Child<QMenu>("ZuletztGeoeffnet1")->actions().at(2)->trigger();
    answer.Verify();
    EXPECT_TRUE(answer.Text().contains(QFileInfo(gone).fileName()));
    EXPECT_FALSE(form->files().recentFiles()->Files().contains(gone));
    QCoreApplication::processEvents();
    EXPECT_EQ(RecentEntries().size(), 7);

    // An existing one opens.
    Child<QMenu>("ZuletztGeoeffnet1")->actions().at(3)->trigger();
    EXPECT_EQ(form->document().FileName(), saved.at(4));
    EXPECT_EQ(form->files().recentFiles()->Files().first(), saved.at(4));
}

// The window comes back where the user left it.
TEST_F(DesktopTest, WindowPlacementIsKeptBetweenRuns) {
    form->resize(700, 500);
    form->move(40, 30);
    const QSize size = form->size();
    ASSERT_TRUE(form->close());
    form.reset();
    StartForm();
    EXPECT_EQ(form->size(), size);
}

// A dropped project file opens, after the unsaved-changes question.
TEST_F(DesktopTest, DroppedProjectFileOpensAfterTheQuestion) {
    const QString path = SaveAs(QStringLiteral("dropped.qlr"));
    form->files().NewAll();
    AppendCategory(form->document(), QStringLiteral("Ungespeichert"));
    form->document().MarkChanged();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    DialogAnswerer answer(DialogAnswerer::PressAnswer(QMessageBox::No));
    QApplication::sendEvent(form.get(), &drop);
    answer.Verify();
    EXPECT_EQ(form->document().FileName(), path);

    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(dir.filePath(QStringLiteral("picture.png")))});
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QApplication::sendEvent(form.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

// Printing chosen pages must give those pages only; a cancelled run into a PDF
// file leaves no file behind and a former one as it was.
TEST_F(DesktopTest, PageRangeAndCancelledPrint) {
    SetUpPdfPrinter(form->printing().CurrentPrinter(), QString());
    AddTallFields(9); // five pages
    const PageInput input = form->project().Input(form->printing().CurrentPrinterPage());
    const QString range = dir.filePath(QStringLiteral("range.pdf"));
    bool cancelled = true;
    EXPECT_EQ(PrintToPdfFile(PdfSetupOf(form->printing().CurrentPrinter()), input,
                             QStringLiteral("t"), range, {2, 3, 1}, {}, &cancelled),
              2);
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(PdfPageCount(range), 2);
    const QString tail = dir.filePath(QStringLiteral("tail.pdf"));
    EXPECT_EQ(PrintToPdfFile(PdfSetupOf(form->printing().CurrentPrinter()), input,
                             QStringLiteral("t"), tail, {4, 0, 2}, {}, &cancelled),
              4);
    EXPECT_EQ(PdfPageCount(tail), 4);

    QFile former(range);
    ASSERT_TRUE(former.open(QIODevice::WriteOnly));
    former.write("former");
    former.close();
    PrintProgress cancelAtThird = [](int done, int) { return done < 2; };
    PrintToPdfFile(PdfSetupOf(form->printing().CurrentPrinter()), input, QStringLiteral("t"), range,
                   {}, cancelAtThird, &cancelled);
    EXPECT_TRUE(cancelled);
    QFile check(range);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("former"));
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.pdf*")}, QDir::Files).size(), 2);
}

// "Drucken..." must offer the page range; cancelling the dialog prints nothing.
TEST_F(DesktopTest, PrintDialogOffersThePageRange) {
    DialogAnswerer answer([](QWidget* w) {
        auto* dialog = qobject_cast<QPrintDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->testOption(QAbstractPrintDialog::PrintPageRange));
        dialog->reject();
    });
    Child<QAction>("DruckenMitDialog1")->trigger();
    answer.Verify();
}

// "von N" beside the page number must show the page count and follow changes.
TEST_F(DesktopTest, PreviewShowsThePageCount) {
    AddTallFields(5); // three pages
    Child<QTabWidget>("PageControl1")->setCurrentIndex(2);
    QCoreApplication::processEvents();
    auto* label = Child<QLabel>("SeiteVonLabel");
    EXPECT_EQ(label->text(), QStringLiteral("von 3"));
    for (int i = 0; i < 2; ++i)
        AppendField(form->document(), 0, fkText, QStringLiteral("Mehr"), 18, 12);
    QCoreApplication::processEvents();
    EXPECT_EQ(label->text(), QStringLiteral("von 4"));
}

// The page number must go no further than the last page, and its maximum must
// follow the page count after edits, another paper and opening a file.
TEST_F(DesktopTest, PageNumberEndsAtTheLastPage) {
    auto pdfPrinter = [](const char* paper) {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        SetUpPdfPrinter(*printer, QString(), QString::fromLatin1(paper));
        return printer;
    };
    form->printing().SetCurrentPrinter(pdfPrinter("A4"));
    AddTallFields(1);
    const QString onePage = SaveAs(QStringLiteral("eine-seite.qlr"));
    for (int i = 0; i < 4; ++i)
        AppendField(form->document(), 0, fkText, QStringLiteral("Mehr"), 18, 12);
    Child<QTabWidget>("PageControl1")->setCurrentIndex(2);
    QCoreApplication::processEvents();
    auto* page = Child<QSpinBox>("SeiteEd");
    auto* label = Child<QLabel>("SeiteVonLabel");
    EXPECT_EQ(page->maximum(), 3);
    page->setFocus();
    QTest::keyClick(page, Qt::Key_PageUp); // ten pages on, as far as there are pages
    EXPECT_EQ(page->value(), 3);
    QTest::keyClick(page, Qt::Key_Up);
    EXPECT_EQ(page->value(), 3);

    const struct {
        const char* change;
        std::function<void()> make;
        int pages;
    } changes[] = {
        {"two more fields",
         [&] {
             for (int i = 0; i < 2; ++i)
                 AppendField(form->document(), 0, fkText, QStringLiteral("Mehr"), 18, 12);
         },
         4},
        {"A5 paper, one field a page",
         [&] { form->printing().SetCurrentPrinter(pdfPrinter("A5")); }, 7},
        {"a file of one page opened",
         [&] {
             form->document().MarkUnchanged();
             ASSERT_TRUE(form->files().LoadProject(onePage));
         },
         1},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.change);
        c.make();
        QCoreApplication::processEvents();
        EXPECT_EQ(page->maximum(), c.pages);
        EXPECT_EQ(label->text(), QStringLiteral("von %1").arg(c.pages));
        QTest::keyClick(page, Qt::Key_PageUp);
        EXPECT_EQ(page->value(), c.pages);
    }
}

// Every window and dialog shows the program's icon.
TEST(ApplicationIconTest, IconIsInstalledForEveryWindow) {
    InstallApplicationIcon();
    const QIcon icon = QApplication::windowIcon();
    EXPECT_FALSE(icon.isNull());
    EXPECT_GE(icon.availableSizes().size(), 6);
}

} // namespace
