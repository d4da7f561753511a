// Printing on a printer: the window's print commands and the command line's
// --print put their pages through a real CUPS daemon (tests/cups/with_cupsd.sh)
// into cups-pdf queues, and the PDF files cups-pdf writes are read back.
#include "CupsTestQueue.h"
#include "DialogAnswerer.h"
#include "DocumentEdits.h"
#include "MainFormFixture.h"
#include "OrderForm.h"
#include "PaperReturns.h"
#include "PrintController.h"
#include "PrinterRun.h"
#include "ProjectFile.h"
#include "ScannedReturns.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A4 and A5 in points, as pdfinfo gives them.
constexpr double kA4Width = 595, kA5Width = 420;
// Page 1 through the queue and from --print-pdf may differ a little where
// text is smoothed; a blank or shifted page differs by far more.
constexpr double kSameRaster = 4;

QString Program() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../quillora");
}

struct RunResult {
    int status = -1;
    QString out, err;
};

// Runs the built program without a display, as a shell user would.
RunResult RunProgram(const QStringList& arguments) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(Program(), arguments);
    RunResult result;
    if (!process.waitForFinished(120000)) return result;
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

class CupsPrintTest : public MainFormFixture {
  protected:
    void SetUp() override {
        queues = CupsTestQueues::FromEnvironment();
        if (!queues.Running()) GTEST_SKIP() << "not run next to a CUPS daemon (with_cupsd.sh)";
        MainFormFixture::SetUp();
        // The logo beside the window's program, as beside the command line's.
        PutDefaultLogo();
    }
    // Fields of 18 x 12 cm, two per A4 page: n fields fill (n + 1) / 2 pages.
    void AddTallFields(int n) {
        const int cat = AppendCategory(form->document(), QStringLiteral("Getränke"));
        for (int i = 0; i < n; ++i)
            AppendField(form->document(), cat, fkText, QStringLiteral("Feld %1").arg(i + 1), 18,
                        12);
    }
    QString SaveProject() {
        const QString path = dir.filePath(QStringLiteral("form.qlr"));
        EXPECT_TRUE(
            WriteProjectFile(path, form->document().form(), form->document().layout()));
        return path;
    }
    // The job the action hands to the queue, once the daemon has completed it.
    int JobOf(const QString& queue, const std::function<void()>& action) {
        const int before = NewestCupsJob(queue);
        action();
        const int job = NewestCupsJob(queue);
        EXPECT_GT(job, before) << "no job reached " << queue.toStdString();
        if (job <= before) return 0;
        EXPECT_TRUE(CupsJobCompleted(job)) << "job " << job;
        return job;
    }
    // Page 1 of the job's PDF against page 1 of --print-pdf of the same project.
    void ExpectFirstPageAsPrintPdf(const QString& jobPdf, const QString& project, int dpi) {
        const QString reference = dir.filePath(QStringLiteral("reference.pdf"));
        const RunResult run =
            RunProgram({QStringLiteral("--print-pdf"), reference, QStringLiteral("--printer-dpi"),
                        QString::number(dpi), project});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        ExpectSameFirstPage(jobPdf, reference);
    }
    void ExpectSameFirstPage(const QString& jobPdf, const QString& reference) {
        const QImage printed = FirstPageRaster(jobPdf, dir.path(), QStringLiteral("printed"));
        const QImage expected = FirstPageRaster(reference, dir.path(), QStringLiteral("expected"));
        ASSERT_FALSE(expected.isNull());
        QImage blank(expected.size(), QImage::Format_Grayscale8);
        blank.fill(Qt::white);
        // The page has something on it, and the printer got that.
        EXPECT_GT(MeanGreyDifference(expected, blank), 4 * kSameRaster);
        EXPECT_LT(MeanGreyDifference(printed, expected), kSameRaster);

    }

    CupsTestQueues queues;
};

// "Drucken" must reach the system's default queue with every page once: the
// printer the window finds by itself is the default one.
TEST_F(CupsPrintTest, DruckenPrintsEveryPageOnTheDefaultQueue) {
    AddTallFields(5);
    QPrinter& printer = form->printing().CurrentPrinter();
    ASSERT_EQ(printer.printerName(), queues.queue);
    ASSERT_FALSE(NeedsPdfFileName(printer));
    const int job = JobOf(queues.queue, [&] {
        QTest::mouseClick(Child<QPushButton>("DruckenBtn"), Qt::LeftButton);
    });
    ASSERT_GT(job, 0);
    EXPECT_EQ(CupsJobCopies(job), 1);
    const QString pdf = CupsJobPdf(queues, job);
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF for job " << job;
    const PdfInfo info = ReadPdfInfo(pdf);
    EXPECT_EQ(info.pages, 3);
    EXPECT_NEAR(info.width, kA4Width, 1);
    // The printer keeps its unprintable margins, which --print-pdf's edge-to-edge
    // pages do not have: page 1 is compared with the same print into a file.
    const QString file = dir.filePath(QStringLiteral("file.pdf"));
    ASSERT_EQ(PrintToPdfFile(PdfSetupOf(printer),
                             form->project().Input(form->printing().CurrentPrinterPage()),
                             QStringLiteral("file"), file),
              3);
    ExpectSameFirstPage(pdf, file);
}

// "Drucken..." with pages 2 to 3 and two copies: the job must hold just those
// pages and ask the printer for two copies. cups-pdf makes no copies itself, so
// CUPS puts the two collated copies into its file: four pages, not eight (the
// program repeating the pages as well) and not two (the copies lost).
TEST_F(CupsPrintTest, DruckenWithDialogPrintsPageRangeAndCopies) {
    AddTallFields(7); // four pages
    const int job = JobOf(queues.queue, [&] {
        DialogAnswerer answer([&](QWidget* w) {
            auto* dialog = qobject_cast<QPrintDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            auto* range = dialog->findChild<QRadioButton*>(QStringLiteral("printRange"));
            auto* from = dialog->findChild<QSpinBox*>(QStringLiteral("from"));
            auto* to = dialog->findChild<QSpinBox*>(QStringLiteral("to"));
            auto* copies = dialog->findChild<QSpinBox*>(QStringLiteral("copies"));
            ASSERT_TRUE(range && from && to && copies);
            range->setChecked(true);
            to->setValue(3);
            from->setValue(2);
            copies->setValue(2);
            dialog->accept();
        });
        form->findChild<QAction*>(QStringLiteral("DruckenMitDialog1"))->trigger();
        answer.Verify();
    });
    ASSERT_GT(job, 0);
    EXPECT_EQ(CupsJobCopies(job), 2);
    const QString pdf = CupsJobPdf(queues, job);
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF for job " << job;
    EXPECT_EQ(ReadPdfInfo(pdf).pages, 2 * 2);
    // The choice lasts for that print only: "Drucken" prints everything once again.
    EXPECT_EQ(form->printing().CurrentPrinter().copyCount(), 1);
}

// The queue chosen in "Drucker einrichten" must be the one "Drucken" prints
// on, with its paper: the A5 queue gets the job, on A5 sheets.
TEST_F(CupsPrintTest, PrinterSetupChoiceIsWherePrintingGoes) {
    if (queues.a5Queue.isEmpty()) GTEST_SKIP() << "no second queue";
    AddTallFields(2);
    DialogAnswerer answer([&](QWidget* w) {
        ASSERT_EQ(w->objectName(), QStringLiteral("PrinterSetupDialog1"));
        auto* printers = w->findChild<QComboBox*>(QStringLiteral("printers"));
        ASSERT_NE(printers, nullptr);
        const int index = printers->findText(queues.a5Queue);
        ASSERT_GE(index, 0);
        printers->setCurrentIndex(index);
        static_cast<QDialog*>(w)->accept();
    });
    form->findChild<QAction*>(QStringLiteral("Druckereinrichten1"))->trigger();
    answer.Verify();
    ASSERT_EQ(form->printing().CurrentPrinter().printerName(), queues.a5Queue);
    const int job = JobOf(queues.a5Queue, [&] {
        QTest::mouseClick(Child<QPushButton>("DruckenBtn"), Qt::LeftButton);
    });
    ASSERT_GT(job, 0);
    const QString pdf = CupsJobPdf(queues, job);
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF for job " << job;
    const PdfInfo info = ReadPdfInfo(pdf);
    EXPECT_NEAR(info.width, kA5Width, 1);
    // Two fields of 12 cm do not fit on one A5 page.
    EXPECT_GE(info.pages, 2);
}

// quillora --print must hand every page to the default queue with the copies
// asked for, as --print-pdf draws them, and say so with status 0. The copies
// are whole sets: cups-pdf's file holds pages 1, 2, 1, 2.
TEST_F(CupsPrintTest, CommandLinePrintsOnTheDefaultQueueWithCopies) {
    AddTallFields(3);
    const QString project = SaveProject();
    RunResult run;
    const int job = JobOf(queues.queue, [&] {
        run = RunProgram({QStringLiteral("--print"), QStringLiteral("--copies"),
                          QStringLiteral("2"), project});
    });
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    ASSERT_GT(job, 0);
    EXPECT_TRUE(run.out.contains(queues.queue)) << run.out.toStdString();
    EXPECT_EQ(CupsJobCopies(job), 2);
    const QString pdf = CupsJobPdf(queues, job);
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF for job " << job;
    const PdfInfo info = ReadPdfInfo(pdf);
    EXPECT_EQ(info.pages, 2 * 2);
    EXPECT_NEAR(info.width, kA4Width, 1);
    ExpectFirstPageAsPrintPdf(pdf, project, 600);
    EXPECT_LT(MeanGreyDifference(FirstPageRaster(pdf, dir.path(), QStringLiteral("third"), 3),
                                 FirstPageRaster(pdf, dir.path(), QStringLiteral("first"), 1)),
              kSameRaster);
}

// Copies printed for reading back were all one sheet to the reader: the
// program must make them itself (one job copy), each copy's pages carrying
// its own sheet number, pages 1, 2 of sheet n, then of sheet n + 1.
TEST_F(CupsPrintTest, CommandLineMarkedCopiesEachCarryTheirSheetNumber) {
    AddTallFields(3);
    const QString project = SaveProject();
    RunResult run;
    const int job = JobOf(queues.queue, [&] {
        run = RunProgram({QStringLiteral("--print"), QStringLiteral("--copies"),
                          QStringLiteral("2"), QStringLiteral("--marks"), project});
    });
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    ASSERT_GT(job, 0);
    EXPECT_EQ(CupsJobCopies(job), 1);
    QFile file(CupsJobPdf(queues, job));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "no PDF for job " << job;
    const QByteArray pdf = file.readAll();
    const FormDocument& doc = form->document().form();
    const LayoutSettings& settings = form->document().layout();
    const OrderForm order = MakeOrderForm(doc, settings);
    PaperForm paper(order, PageInput{doc, settings});
    std::vector<std::pair<int, int>> read; // sheet number and page
    for (int page = 1; page <= 4; ++page) {
        const ScannedPage scanned = ReadScannedPage(RasterisePage(pdf, page, 150), paper);
        ASSERT_TRUE(scanned.ok) << page << ": " << scanned.rejection.english.toStdString();
        read.push_back({scanned.sheetNumber, scanned.page});
    }
    const int first = read[0].first;
    EXPECT_GT(first, 0);
    EXPECT_EQ(read, (std::vector<std::pair<int, int>>{
                        {first, 1}, {first, 2}, {first + 1, 1}, {first + 1, 2}}));
}

// --printer names the queue, and the pages take that queue's paper.
TEST_F(CupsPrintTest, CommandLinePrintsOnTheNamedQueueAndItsPaper) {
    if (queues.a5Queue.isEmpty()) GTEST_SKIP() << "no second queue";
    const QString project = SaveProject();
    RunResult run;
    const int job = JobOf(queues.a5Queue, [&] {
        run = RunProgram({QStringLiteral("--print"), QStringLiteral("--printer"), queues.a5Queue,
                          project});
    });
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    ASSERT_GT(job, 0);
    EXPECT_EQ(CupsJobCopies(job), 1);
    const QString pdf = CupsJobPdf(queues, job);
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF for job " << job;
    EXPECT_NEAR(ReadPdfInfo(pdf).width, kA5Width, 1);
}

// A queue that does not exist or a project that cannot be read ends with
// status 1 and a message naming it, and no job reaches any queue.
TEST_F(CupsPrintTest, CommandLineFailuresNameTheQueueOrTheFile) {
    const QString project = SaveProject();
    const QString missing = dir.filePath(QStringLiteral("missing.qlr"));
    const struct {
        QStringList arguments;
        QString named;
    } cases[] = {
        {{QStringLiteral("--print"), QStringLiteral("--printer"), QStringLiteral("no-such-queue"),
          project},
         QStringLiteral("no-such-queue")},
        {{QStringLiteral("--print"), missing}, missing},
        {{QStringLiteral("--print"), QStringLiteral("--printer"), queues.queue, missing}, missing},
    };
    const int before = NewestCupsJob(queues.queue);
    for (const auto& c : cases) {
        const RunResult run = RunProgram(c.arguments);
        EXPECT_EQ(run.status, 1) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.named)) << run.err.toStdString();
    }
    EXPECT_EQ(NewestCupsJob(queues.queue), before);
}

} // namespace
