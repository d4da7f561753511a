// Printing: the print run puts every page on the current printer, a new sheet
// only between pages, always at zoom 100; with no printer it asks for a PDF file.
#include "DialogAnswerer.h"
#include "FileDialogInput.h"
#include "MainFormFixture.h"
#include "MessageTable.h"
#include "PageImage.h"
#include "PdfProbe.h"
#include "PrintController.h"
#include "PrinterRun.h"
#include "QPainterCanvas.h"
#include "Translator.h"

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class PrintTest : public MainFormFixture {
  protected:
    void SetUp() override {
        MainFormFixture::SetUp();
        SetUpPdfPrinter(form->printing().CurrentPrinter(), QString());
    }
    // Fields of 18 x 12 cm: one per row and two per A4 page, so n fields fill
    // (n + 1) / 2 pages.
    void AddTallFields(int n) {
        const int cat = AppendCategory(form->document(), QStringLiteral("Getränke"));
        for (int i = 0; i < n; ++i)
            AppendField(form->document(), cat, fkText, QStringLiteral("Feld %1").arg(i + 1), 18,
                        12);
    }
    // Prints with the file question answered by typing the name.
    QString PrintToFile(const QString& name) {
        const QString path = dir.filePath(name);
        DialogAnswerer answer([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            TypeFileName(dialog, path);
        });
        form->printing().print();
        answer.Verify();
        return path;
    }
};

// A document of three pages must give exactly three sheets: no blank sheet
// after the last page and none missing.
TEST_F(PrintTest, ThreePagesPrintThreeSheets) {
    AddTallFields(5);
    const PageInput input = form->project().Input(form->printing().CurrentPrinterPage());
    ASSERT_TRUE(PageExists(input, 600, 100, 3));
    ASSERT_FALSE(PageExists(input, 600, 100, 4));
    EXPECT_EQ(PdfPageCount(PrintToFile(QStringLiteral("three.pdf"))), 3);
}

// The print run's single pass must put on paper exactly what drawing each page
// on its own gives.
TEST_F(PrintTest, PrintRunEqualsPageByPagePrinting) {
    AddTallFields(5);
    const QString run = PrintToFile(QStringLiteral("run.pdf"));
    const QString single = dir.filePath(QStringLiteral("single.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, single);
    printer.setDocName(GetMessageText(Message::PrintTitle));
    PageInput input = form->project().Input(form->printing().CurrentPrinterPage());
    input.printer = PrinterPageOf(printer);
    {
        QPainter painter(&printer);
        QPainterCanvas canvas(painter, 600, DeviceTechnology::RasterPrinter);
        for (int page = 1; PaintToCanvas(canvas, input, 600, input.printer.width,
                                         input.printer.height, page, 100, true);
             ++page)
            printer.newPage();
    }
    EXPECT_EQ(PdfPageCount(single), 3);
    EXPECT_TRUE(PdfWithoutDate(run) == PdfWithoutDate(single));
}

// An empty document still prints its one page of decorations.
TEST_F(PrintTest, EmptyDocumentPrintsOnePage) {
    EXPECT_EQ(PdfPageCount(PrintToFile(QStringLiteral("empty.pdf"))), 1);
}

// The preview's zoom and page number must not reach the printout.
TEST_F(PrintTest, PreviewZoomAndPageDoNotChangeThePrintout) {
    AddTallFields(3);
    form->findChild<QSpinBox*>(QStringLiteral("ZoomEd"))->setValue(100);
    const QString atHundred = PrintToFile(QStringLiteral("zoom100.pdf"));
    form->findChild<QSpinBox*>(QStringLiteral("ZoomEd"))->setValue(50);
    form->findChild<QSpinBox*>(QStringLiteral("SeiteEd"))->setValue(2);
    const QString atFifty = PrintToFile(QStringLiteral("zoom50.pdf"));
    EXPECT_EQ(PdfPageCount(atFifty), 2);
    const QByteArray a = PdfWithoutDate(atHundred), b = PdfWithoutDate(atFifty);
    ASSERT_FALSE(a.isEmpty());
    EXPECT_TRUE(a == b);
}

// With no printer installed the print command asks for a PDF file and prints into it.
TEST_F(PrintTest, PdfPrinterWithoutFileAsksForOne) {
    AddTallFields(3);
    const QString chosen = dir.filePath(QStringLiteral("chosen.pdf"));
    DialogAnswerer answer([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->objectName(), QStringLiteral("PdfSaveDialog"));
        TypeFileName(dialog, chosen);
    });
    form->printing().print();
    answer.Verify();
    EXPECT_EQ(PdfPageCount(chosen), 2);
    // The printer is left as it was, so the next print asks again.
    EXPECT_TRUE(NeedsPdfFileName(form->printing().CurrentPrinter()));
}

// Cancelling the file question prints nothing and writes no file.
TEST_F(PrintTest, CancellingTheFileQuestionPrintsNothing) {
    DialogAnswerer answer([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    form->printing().print();
    answer.Verify();
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("*.pdf")}).isEmpty());
}

// A file name the printer set-up filled in (as Qt's print dialog does for a
// PDF printer) must not be printed into without asking: the print command
// offers it and the user may change it.
TEST_F(PrintTest, FileNameFromPrinterSetupIsOfferedNotUsed) {
    const QString offered = dir.filePath(QStringLiteral("Formular drucken.pdf"));
    const QString chosen = dir.filePath(QStringLiteral("elsewhere.pdf"));
    form->printing().CurrentPrinter().setOutputFileName(offered);
    QString shown;
    DialogAnswerer answer([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        shown = QDir(dialog->directory()).filePath(name->text());
        TypeFileName(dialog, chosen);
    });
    form->printing().print();
    answer.Verify();
    EXPECT_EQ(shown, offered);
    EXPECT_FALSE(QFile::exists(offered));
    EXPECT_EQ(PdfPageCount(chosen), 1);
    // Cancelling the question prints nothing, not even into the offered file.
    DialogAnswerer cancel(DialogAnswerer::RejectAnswer());
    form->printing().print();
    cancel.Verify();
    EXPECT_FALSE(QFile::exists(offered));
}

// A PDF file that cannot be written is reported and a former file is kept whole.
TEST_F(PrintTest, UnwritablePdfTargetIsReported) {
    PageInput input = form->project().Input(form->printing().CurrentPrinterPage());
    FileFailure failure;
    const QString target = dir.filePath(QStringLiteral("missing-folder/out.pdf"));
    EXPECT_EQ(PrintToPdfFile(PdfSetupOf(form->printing().CurrentPrinter()), input,
                             QStringLiteral("t"), target, {}, {}, nullptr, &failure),
              -1);
    EXPECT_TRUE(failure.english.contains(QStringLiteral("out.pdf")));
    EXPECT_EQ(failure.reason, QStringLiteral("Den Ordner gibt es nicht."));
    EXPECT_FALSE(QFile::exists(target));
}

// The print run's failures are the program's own messages: they pass through
// the translation table like every other message, in the current language.
TEST_F(PrintTest, PrintFailuresAreTranslatedMessages) {
    Translator& table = ProgramTranslator();
    auto english = [&](const QString& german, const QString& text) {
        table.TranslateText(german);
        for (int row = 0; row < table.RowCount(); ++row)
            if (table.Cell(row, 0) == german.trimmed()) table.SetTranslationCell(row, 1, text);
    };
    english(QStringLiteral("Konnte nicht in die folgende Datei drucken: "),
            QStringLiteral("Could not print into this file: "));
    english(QStringLiteral("Der Drucker konnte nicht gestartet werden."),
            QStringLiteral("The printer could not be started."));
    english(QStringLiteral("Den Ordner gibt es nicht."), QStringLiteral("The folder is missing."));
    table.language = 1;
    const QString target = dir.filePath(QStringLiteral("missing-folder/out.pdf"));
    DialogAnswerer answers(
        {[&](QWidget* w) { TypeFileName(qobject_cast<QFileDialog*>(w), target); },
         DialogAnswerer::PressAnswer(QMessageBox::Ok)});
    form->printing().print();
    answers.Verify();
    EXPECT_EQ(answers.Text(), QStringLiteral("Could not print into this file: ") +
                                  QDir::toNativeSeparators(target) +
                                  QStringLiteral("\n\nThe folder is missing."));
    table.language = 0;
}

// "Drucker einrichten" must show the printer dialog, labelled as a set-up, on
// the printer the preview measures; cancelling it changes nothing.
TEST_F(PrintTest, PrinterSetupCancelledKeepsThePrinter) {
    QPrinter* before = &form->printing().CurrentPrinter();
    const PrinterPage page = PrinterPageOf(*before);
    QString title;
    QStringList buttons;
    DialogAnswerer answer([&](QWidget* w) {
        EXPECT_EQ(w->objectName(), QStringLiteral("PrinterSetupDialog1"));
        title = w->windowTitle();
        for (const QPushButton* b : w->findChildren<QPushButton*>())
            if (b->isVisible()) buttons << b->text().remove(QLatin1Char('&'));
        static_cast<QDialog*>(w)->reject();
    });
    form->printing().setUpPrinter();
    answer.Verify();
    // The set-up prints nothing, so neither its title nor a button says "Print".
    EXPECT_EQ(title, QStringLiteral("Drucker einrichten"));
    EXPECT_FALSE(buttons.contains(QStringLiteral("Print"))) << buttons.join(u',').toStdString();
    EXPECT_TRUE(buttons.contains(QStringLiteral("OK"))) << buttons.join(u',').toStdString();
    EXPECT_EQ(&form->printing().CurrentPrinter(), before);
    EXPECT_EQ(PrinterPageOf(form->printing().CurrentPrinter()).width, page.width);
    EXPECT_EQ(form->printing().CurrentPrinterPage().height, page.height);
}

} // namespace
