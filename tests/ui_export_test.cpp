// The command-line export: PDF printing and PNG pages drawn exactly as the
// window prints and previews them, and clear failures for bad input.
#include "CommandLineExport.h"
#include "DialogAnswerer.h"
#include "DocumentEdits.h"
#include "FileDialogInput.h"
#include "MainFormFixture.h"
#include "PdfProbe.h"
#include "PrintController.h"
#include "PrinterRun.h"
#include "ProjectFile.h"
#include "ProjectFileController.h"
#include "QPainterCanvas.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// The first page's width in points, from its media box.
double PdfPageWidth(const QString& path) {
    static const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) "));
    const auto match = box.match(QString::fromLatin1(ReadAll(path)));
    return match.hasMatch() ? match.captured(1).toDouble() : -1;
}

class ExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ConfigureGlyphCache();
        QFile::copy(QStringLiteral(QUILLORA_SOURCE_DIR "/images/logo torvane200x200.gif"),
                    dir.filePath(QStringLiteral("logo torvane200x200.gif")));
        // Three A4 pages: fields of 18 x 12 cm, two to a page.
        FormDocument doc;
        AppendCategory(doc, QStringLiteral("Bestellung"));
        const int cat = AppendCategory(doc, QStringLiteral("Getränke"));
        for (int i = 0; i < 5; ++i)
            AppendField(doc, cat, fkText, QStringLiteral("Feld %1").arg(i + 1), 18, 12);
        project = Path("three.qlr");
        ASSERT_TRUE(WriteProjectFile(project, doc, LayoutSettings()));
    }
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    ExportResult Run(const QStringList& arguments) {
        return RunCommandLineExport(arguments, dir.path());
    }
    // A main window showing the same project, with an A4 PDF printer at 600 dpi.
    std::unique_ptr<MainWindow> WindowWithProject() {
        auto form = std::make_unique<MainWindow>(dir.path(), QStringList());
        form->show();
        form->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
        SetUpPdfPrinter(form->printing().CurrentPrinter(), QString());
        EXPECT_TRUE(form->files().LoadProject(project));
        return form;
    }
    QTemporaryDir dir;
    QString project;
};

// All pages must reach the PDF, on the paper asked for.
TEST_F(ExportTest, PrintPdfPrintsEveryPageOnTheChosenPaper) {
    struct Case {
        QStringList extra;
        int pages;
        double widthPoints;
    };
    const Case cases[] = {
        {{}, 3, 595},
        // On A5 one field fills a page, and the first does not fit below the headings.
        {{QStringLiteral("--paper"), QStringLiteral("A5")}, 6, 420},
        {{QStringLiteral("--paper"), QStringLiteral("letter"), QStringLiteral("--printer-dpi"),
          QStringLiteral("300")},
         3,
         612},
    };
    for (const Case& c : cases) {
        const QString out = Path("out.pdf");
        const ExportResult r =
            Run(QStringList{QStringLiteral("--print-pdf"), out, project} + c.extra);
        EXPECT_EQ(r.status, 0) << r.error.toStdString();
        EXPECT_EQ(PdfPageCount(out), c.pages) << c.extra.join(' ').toStdString();
        EXPECT_DOUBLE_EQ(PdfPageWidth(out), c.widthPoints);
    }
}

// The export must print exactly what "Drucken" prints for the same file.
TEST_F(ExportTest, PrintPdfEqualsThePrintCommand) {
    const QString exported = Path("exported.pdf");
    ASSERT_EQ(Run({QStringLiteral("--print-pdf"), exported, project}).status, 0);
    auto form = WindowWithProject();
    const QString printed = Path("printed.pdf");
    DialogAnswerer answer(
        [&](QWidget* w) { TypeFileName(qobject_cast<QFileDialog*>(w), printed); });
    form->printing().print();
    answer.Verify();
    form->document().MarkUnchanged();
    EXPECT_EQ(PdfPageCount(printed), 3);
    EXPECT_TRUE(PdfWithoutDate(printed) == PdfWithoutDate(exported));
}

// A page image must be the preview's page, pixel for pixel, at the preview's size.
TEST_F(ExportTest, RenderPngEqualsThePreview) {
    const QString out = Path("page2.png");
    const ExportResult r =
        Run({QStringLiteral("--render-png"), out, QStringLiteral("--page"), QStringLiteral("2"),
             QStringLiteral("--zoom"), QStringLiteral("137"), project});
    ASSERT_EQ(r.status, 0) << r.error.toStdString();
    const QImage image = QImage(out).convertToFormat(QImage::Format_RGB32);
    // trunc(137 x (4958 x 96 / 600) / 100): A4 is 595 points wide
    ASSERT_EQ(image.width(), 1086);

    auto form = WindowWithProject();
    form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(2);
    form->findChild<QSpinBox*>(QStringLiteral("ZoomEd"))->setValue(137);
    form->findChild<QSpinBox*>(QStringLiteral("SeiteEd"))->setValue(2);
    form->findChild<QWidget*>(QStringLiteral("PaintBox1"))->grab(); // resizes
    const QImage preview = form->findChild<QWidget*>(QStringLiteral("PaintBox1"))
                               ->grab()
                               .toImage()
                               .convertToFormat(QImage::Format_RGB32);
    form->document().MarkUnchanged();
    ASSERT_EQ(preview.height(), image.height() + 8);
    EXPECT_TRUE(preview.copy(0, 0, image.width(), image.height()) == image);
}

// The image carries the screen resolution it was drawn for.
TEST_F(ExportTest, RenderPngSizeFollowsDpiAndZoom) {
    const QString out = Path("page.png");
    ASSERT_EQ(Run({QStringLiteral("--render-png"), out, QStringLiteral("--page"),
                   QStringLiteral("3"), QStringLiteral("--dpi"), QStringLiteral("150"),
                   QStringLiteral("--zoom"), QStringLiteral("50"), project})
                  .status,
              0);
    const QImage image(out);
    EXPECT_EQ(image.size(), QSize(619, 877)); // 4958 x 150 / 600 / 2, 7016 x 150 / 600 / 2
    EXPECT_EQ(image.dotsPerMeterX(), 5906);
}

// Bad input must end with a message and a non-zero status, and leave a former
// output file as it was.
TEST_F(ExportTest, FailuresExitNonZeroWithAMessage) {
    QByteArray whole = ReadAll(project);
    QFile damaged(Path("damaged.qlr"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(whole.left(whole.size() / 2));
    damaged.close();
    QDir(dir.path()).mkdir(QStringLiteral("folder.qlr"));
    const QString out = Path("out.file");
    const QString missing = Path("missing.qlr");
    const QString pdf = QStringLiteral("--print-pdf"), png = QStringLiteral("--render-png");
    const QString page = QStringLiteral("--page");
    struct Case {
        QStringList args;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{pdf, out, missing}, 1, "Cannot open"},
        {{pdf, out, Path("folder.qlr")}, 1, "Cannot open"},
        {{pdf, out, Path("damaged.qlr")}, 1, "damaged"},
        {{png, out, page, QStringLiteral("2"), Path("damaged.qlr")}, 1, "damaged"},
        {{png, out, page, QStringLiteral("4"), project}, 1, "no page 4"},
        {{pdf, Path("no-folder/out.pdf"), project}, 1, "no-folder"},
        {{png, out, page, QStringLiteral("1"), QStringLiteral("--zoom"), QStringLiteral("0"),
          project},
         2,
         "--zoom"},
        {{png, out, project}, 2, "--page"},
        {{pdf, out, QStringLiteral("--paper"), QStringLiteral("B5"), project}, 2, "--paper"},
        {{pdf, out, QStringLiteral("--printer-dpi"), QStringLiteral("many"), project},
         2,
         "--printer-dpi"},
        {{pdf, out, QStringLiteral("--colour"), project}, 2, "--colour"},
        {{pdf, out}, 2, "No project file"},
        {{pdf, out, project, png, Path("x.png")}, 2, "only one"},
        {{pdf, out, out}, 2, "is the project file"},
    };
    for (const Case& c : cases) {
        QFile former(out);
        ASSERT_TRUE(former.open(QIODevice::WriteOnly));
        former.write("former");
        former.close();
        const ExportResult r = Run(c.args);
        const std::string args = c.args.join(' ').toStdString();
        EXPECT_EQ(r.status, c.status) << args;
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.message)))
            << args << ": " << r.error.toStdString();
        EXPECT_EQ(ReadAll(out), QByteArray("former")) << args;
    }
    EXPECT_EQ(ReadAll(project), whole);
}

// --help lists every option; only the export's switches leave the window out.
TEST_F(ExportTest, HelpListsTheOptions) {
    const ExportResult r = Run({QStringLiteral("--help")});
    EXPECT_EQ(r.status, 0);
    for (const char* option :
         {"--print-pdf", "--render-png", "--printer-dpi", "--paper", "--page", "--zoom", "--dpi"})
        EXPECT_TRUE(r.output.contains(QString::fromLatin1(option))) << option;
}

// --version answers without a window; an unknown option is an error with status 2
// that names it, whatever follows.
TEST_F(ExportTest, VersionAndUnknownOptions) {
    for (const char* option : {"--version", "-v"}) {
        const ExportResult r = Run({QString::fromLatin1(option)});
        EXPECT_EQ(r.status, 0) << option;
        EXPECT_EQ(r.output, QStringLiteral("Quillora 1.0")) << option;
        EXPECT_TRUE(r.error.isEmpty()) << option;
    }
    for (const QStringList& args :
         {QStringList{QStringLiteral("--colour")}, QStringList{QStringLiteral("--colour"), project},
          QStringList{QStringLiteral("-x"), QStringLiteral("--print-pdf"), Path("o.pdf"),
                      project}}) {
        const ExportResult r = Run(args);
        EXPECT_EQ(r.status, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.error.startsWith(QStringLiteral("Unknown option \"") + args.first()))
            << r.error.toStdString();
        EXPECT_TRUE(r.output.isEmpty());
    }
    EXPECT_TRUE(Run({QStringLiteral("--help")}).output.contains(QStringLiteral("--version")));
}

// Only a first argument that is an option selects the command line; otherwise
// the first argument is the project file the window opens.
TEST_F(ExportTest, OnlyAFirstOptionSelectsTheCommandLine) {
    const struct {
        QStringList arguments;
        bool exports;
    } cases[] = {
        {{QStringLiteral("-h")}, true},
        {{QStringLiteral("--help"), project}, true},
        {{QStringLiteral("--print-pdf"), Path("out.pdf"), project}, true},
        {{QStringLiteral("--page"), QStringLiteral("2"), QStringLiteral("--render-png")}, true},
        {{project, QStringLiteral("-h")}, false},
        {{project, QStringLiteral("--print-pdf"), Path("out.pdf")}, false},
        {{project, QStringLiteral("--render-png")}, false},
        {{project}, false},
        {{}, false},
        {{QStringLiteral("--version")}, true},
        {{QStringLiteral("--no-such-option"), project}, true},
        {{QStringLiteral("-platform"), QStringLiteral("offscreen"), project}, false},
        {{QStringLiteral("--style=Fusion"), QStringLiteral("-reverse"), project}, false},
        {{QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-v")}, true},
        {{QStringLiteral("-")}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsCommandLineExport(c.arguments), c.exports)
            << c.arguments.join(u' ').toStdString();
}

// The built program must export without a display and report failures by status.
TEST_F(ExportTest, ProgramExportsWithoutADisplay) {
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../quillora");
    if (!QFile::exists(program)) GTEST_SKIP() << "the quillora program is not built";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    auto run = [&](const QStringList& args, QByteArray* err) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, args);
        EXPECT_TRUE(process.waitForFinished(120000));
        *err = process.readAllStandardError();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    };
    QByteArray err;
    const QString out = Path("program.pdf");
    EXPECT_EQ(run({QStringLiteral("--print-pdf"), out, project}, &err), 0) << err.constData();
    EXPECT_EQ(PdfPageCount(out), 3);
    EXPECT_EQ(run({QStringLiteral("--render-png"), Path("p.png"), QStringLiteral("--page"),
                   QStringLiteral("9"), project},
                  &err),
              1);
    EXPECT_TRUE(err.contains("no page 9")) << err.constData();
    // Neither the version nor a wrong option needs a display or opens a window.
    QProcess version;
    version.setProcessEnvironment(env);
    version.start(program, {QStringLiteral("--version")});
    ASSERT_TRUE(version.waitForFinished(120000));
    EXPECT_EQ(version.exitCode(), 0);
    EXPECT_TRUE(version.readAllStandardOutput().startsWith("Quillora 1.0"));
    EXPECT_EQ(run({QStringLiteral("--no-such-option")}, &err), 2);
    EXPECT_TRUE(err.contains("Unknown option \"--no-such-option\"")) << err.constData();
}

} // namespace
