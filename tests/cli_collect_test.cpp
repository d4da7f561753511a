// The command line's collection of returned orders, run as the built program:
// the table it writes and its exit statuses.
#include "CommandLineExport.h"
#include "FileBytes.h"
#include "OptionsFile.h"
#include "ProjectFile.h"
#include "ReturnedOrders.h"
#include "ScannedReturns.h"
#include "StrokeWriter.h"
#include "WorkbookReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "translate_test_dirs.h"

namespace {

struct ProgramRun {
    int status = -1;
    QByteArray out, err;
};

class CollectCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        program = QCoreApplication::applicationDirPath() + QStringLiteral("/../quillora");
        if (!QFile::exists(program)) GTEST_SKIP() << "the quillora program is not built";
        const int c = AppendCategory(doc, QStringLiteral("Brot"));
        AppendField(doc, c, fkText, QStringLiteral("Roggen; Stück"), 3, 1);
        AppendField(doc, c, fkCheckBox, QStringLiteral("geschnitten"), 1, 1);
        project = Path("form.qlr");
        ASSERT_TRUE(WriteProjectFile(project, doc, LayoutSettings()));
        ASSERT_TRUE(MakeFillablePdf(doc, LayoutSettings(), Path("blank.pdf")));
        QDir(dir.path()).mkdir(QStringLiteral("in"));
        Fill("in/2.pdf", "4", "1");
        Fill("in/1.pdf", "2,5", "0");
    }
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    void Fill(const char* name, const char* amount, const char* cut) {
        FormFilling f;
        f.values = {{"Brot - Roggen; Stück", amount}, {"Brot - geschnitten", cut}};
        ASSERT_TRUE(FillForm(Path("blank.pdf"), Path(name), f));
    }
    ProgramRun Start(const QStringList& args) {
        QProcess process;
        process.start(program, args);
        EXPECT_TRUE(process.waitForFinished(120000));
        ProgramRun r;
        r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        r.out = process.readAllStandardOutput();
        r.err = process.readAllStandardError();
        return r;
    }
    QTemporaryDir dir;
    QString program, project;
    FormDocument doc;
};

// Every input read: status 0 and the exact table, a folder's files by name.
TEST_F(CollectCommandTest, AllReadGivesZeroAndTheTable) {
    const ProgramRun r = Start({QStringLiteral("--collect"), Path("out.csv"), QStringLiteral("--separator"),
                         QStringLiteral(";"), project, Path("in")});
    EXPECT_EQ(r.status, 0) << r.err.constData();
    EXPECT_EQ(ReadAll(Path("out.csv")), QByteArray("Datei;\"Brot - Roggen; Stück\";Brot - "
                                                   "geschnitten\r\n"
                                                   "1.pdf;2,5;0\r\n"
                                                   "2.pdf;4;1\r\n"
                                                   "Summe;6,5;1\r\n"));
}

// A rejected input: status 3, named on standard error, the table holds the others.
TEST_F(CollectCommandTest, RejectedInputGivesThreeAndIsNamed) {
    ASSERT_TRUE(WriteRaw(Path("broken.pdf"), "%PDF-1.7\n1 0 obj\n<<"));
    const ProgramRun r = Start({QStringLiteral("--collect"), Path("out.csv"), project, Path("in/2.pdf"),
                         Path("broken.pdf"), Path("in/1.pdf")});
    EXPECT_EQ(r.status, 3) << r.err.constData();
    EXPECT_TRUE(r.err.contains("broken.pdf")) << r.err.constData();
    EXPECT_FALSE(r.err.contains("1.pdf:")) << r.err.constData();
    EXPECT_EQ(ReadAll(Path("out.csv")), QByteArray("Datei,Brot - Roggen; Stück,Brot - geschnitten\r\n"
                                                   "2.pdf,4,1\r\n"
                                                   "1.pdf,\"2,5\",0\r\n"
                                                   "Summe,\"6,5\",1\r\n"));
}

// Nothing written (no project, no folder for the table): 1; wrong options: 2.
TEST_F(CollectCommandTest, StatusesOfFailuresAndWrongOptions) {
    const struct {
        QStringList args;
        int status;
    } cases[] = {
        {{"--collect", Path("o1.csv"), Path("none.qlr"), Path("in")}, 1},
        {{"--collect", Path("missing/o2.csv"), project, Path("in")}, 1},
        {{"--collect", Path("o3.csv"), "--separator", "ab", project, Path("in")}, 2},
        {{"--collect", Path("o4.csv"), "--separator", "\"", project, Path("in")}, 2},
        {{"--collect", Path("o5.csv"), project}, 2},
        {{"--collect", Path("o6.csv"), "--page", "2", project, Path("in")}, 2},
        {{"--collect", project, project, Path("in")}, 2},
    };
    for (const auto& c : cases) {
        const ProgramRun r = Start(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.join(u' ').toStdString() << r.err.constData();
        EXPECT_FALSE(r.err.isEmpty());
    }
    for (const char* name : {"o1.csv", "o3.csv", "o4.csv", "o5.csv", "o6.csv"})
        EXPECT_FALSE(QFile::exists(Path(name))) << name;
}

// "Datei" and "Summe" are program texts: in the language the window runs in.
TEST_F(CollectCommandTest, HeadsFollowTheProgramLanguage) {
    ProgramDirs dirs;
    ASSERT_TRUE(SaveOptions(dirs.ProgPath(), 1)); // English
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLORA_SHIPPED_TABLE),
                            dirs.InProg(QStringLiteral("translate.dat"))));
    const ExportResult r = RunCommandLineExport(
        {QStringLiteral("--collect"), Path("en.csv"), project, Path("in/2.pdf")}, dirs.ProgPath());
    EXPECT_EQ(r.status, 0) << r.error.toStdString();
    EXPECT_EQ(ReadAll(Path("en.csv")),
              QByteArray("File,Brot - Roggen; Stück,Brot - geschnitten\r\n"
                         "2.pdf,4,1\r\n"
                         "Total,4,1\r\n"));
}

// Scans go through the same command as filled-in PDFs: a sheet printed with
// --marks, ticked, scanned as PNG and as a PDF without form fields, makes
// rows of the same table; a scan of a page without a code is named (status 3).
TEST_F(CollectCommandTest, ScansOfMarkedSheetsMakeTheSameTable) {
    const ProgramRun printed =
        Start({QStringLiteral("--print-pdf"), Path("marked.pdf"), QStringLiteral("--marks"), project});
    ASSERT_EQ(printed.status, 0) << printed.err.constData();
    const QByteArray pdf = ReadAll(Path("marked.pdf"));
    MarkedPrint layout = PrintWithMarks(doc, LayoutSettings());
    const DrawnField* box = nullptr;
    for (const DrawnField* f : layout.fields.OnPage(1))
        if (f->kind == fkCheckBox) box = f;
    ASSERT_TRUE(box);
    QImage ticked = RasterisePage(pdf, 1, 200);
    DrawPenMark(ticked, box->box, 200, PenMark::Cross);
    ASSERT_TRUE(Distort(ticked, {"skewed", 2, 1.0, {8, 4}, 70, 0, Distortion::Colours::Grey})
                    .save(Path("scan.png")));
    ASSERT_TRUE(RasterisePage(pdf, 1, 150).save(Path("empty.jpg"), "JPG", 80));
    QImage blank(800, 1100, QImage::Format_RGB32);
    blank.fill(Qt::white);
    ASSERT_TRUE(blank.save(Path("blank.png")));
    const ProgramRun run = Start({QStringLiteral("--collect"), Path("out.csv"), project,
                                  Path("scan.png"), Path("empty.jpg"), Path("blank.png"),
                                  Path("in/1.pdf")});
    EXPECT_EQ(run.status, 3) << run.err.constData();
    EXPECT_TRUE(run.err.contains("blank.png")) << run.err.constData();
    EXPECT_TRUE(run.err.contains("page code")) << run.err.constData();
    EXPECT_EQ(ReadAll(Path("out.csv")),
              QByteArray("Datei,Brot - Roggen; Stück,Brot - geschnitten\r\n"
                         "scan.png,,1\r\n"
                         "empty.jpg,,0\r\n"
                         "1.pdf,\"2,5\",0\r\n"
                         "Summe,\"2,5\",1\r\n"));
}

// Guards: written quantities of a scan not read by the command line, not
// summed, or the boxes left for review not counted on standard error.
TEST_F(CollectCommandTest, ScansWrittenNumbersAreReadAndSummed) {
    FormDocument order;
    const int c = AppendCategory(order, QStringLiteral("Kuchen"));
    AppendField(order, c, fkText, QStringLiteral("Anzahl"), 5, 1.2);
    AppendField(order, c, fkText, QStringLiteral("Stück"), 5, 1.2);
    const QString form = Path("kuchen.qlr");
    ASSERT_TRUE(WriteProjectFile(form, order, LayoutSettings()));
    ProgramRun run = Start({QStringLiteral("--print-pdf"), Path("kuchen.pdf"), QStringLiteral("--marks"), form});
    ASSERT_EQ(run.status, 0) << run.err.constData();
    const MarkedPrint layout = PrintWithMarks(order, LayoutSettings());
    // Two sheets: a 4 and a 9 the model reads surely; a long-flagged 17 it doubts.
    const std::vector<QStringList> sheets{{"4", "17"}, {"9", ""}};
    StrokeWriter hand(5, 0.0);
    for (std::size_t s = 0; s < sheets.size(); ++s) {
        QImage scan = RasterisePage(ReadAll(Path("kuchen.pdf")), 1, 200);
        int next = 0;
        for (const DrawnField* f : layout.fields.OnPage(1)) {
            const QString number = sheets[s][next++];
            if (number.isEmpty()) continue;
            const double k = 200.0 / 600;
            const QRect box(int(f->box.left * k), int(f->box.top * k),
                            int((f->box.right - f->box.left) * k), int((f->box.bottom - f->box.top) * k));
            QPainter p(&scan);
            p.setCompositionMode(QPainter::CompositionMode_Darken);
            p.drawImage(box.left() + box.width() * 45 / 100, box.top() + box.height() / 8,
                        hand.Box(number, box.width() / 2, box.height() * 3 / 4));
        }
        ASSERT_TRUE(scan.save(dir.filePath(QStringLiteral("sheet%1.png").arg(s + 1))));
    }
    // The program's own reader, with nothing learned.
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), Path("config"));
    process.setProcessEnvironment(env);
    process.start(program, {QStringLiteral("--collect"), Path("kuchen.csv"), form,
                            Path("sheet1.png"), Path("sheet2.png")});
    ASSERT_TRUE(process.waitForFinished(120000));
    const QByteArray err = process.readAllStandardError();
    EXPECT_EQ(process.exitCode(), 0) << err.constData();
    EXPECT_EQ(ReadAll(Path("kuchen.csv")), QByteArray("Datei,Kuchen - Anzahl,Kuchen - Stück\r\n"
                                                      "sheet1.png,4,\r\n"
                                                      "sheet2.png,9,\r\n"
                                                      "Summe,13,\r\n"));
    EXPECT_TRUE(err.contains("1 box(es) of scanned pages left for review")) << err.constData();
}

// A project file holding a value outside its range (a right margin of -5 mm,
// printed as 0) refused every return as another form: its fillable PDF's
// returns and the scans of its marked print must make the table (status 0).
TEST_F(CollectCommandTest, ProjectWithValuesOutOfRangeTakesItsReturns) {
    LayoutSettings fromFile;
    fromFile.rightMarginMm = -5;
    const QString odd = Path("odd.qlr");
    ASSERT_TRUE(WriteProjectFile(odd, doc, fromFile));
    ProgramRun run = Start({QStringLiteral("--fillable-pdf"), Path("odd-blank.pdf"), odd});
    ASSERT_EQ(run.status, 0) << run.err.constData();
    FormFilling filling;
    filling.values = {{"Brot - Roggen; Stück", "7"}, {"Brot - geschnitten", "1"}};
    ASSERT_TRUE(FillForm(Path("odd-blank.pdf"), Path("odd-filled.pdf"), filling));
    run = Start({QStringLiteral("--print-pdf"), Path("odd-marked.pdf"), QStringLiteral("--marks"),
                 odd});
    ASSERT_EQ(run.status, 0) << run.err.constData();
    fromFile.rightMarginMm = 0; // where the program printed the boxes
    const MarkedPrint layout = PrintWithMarks(doc, fromFile);
    QImage scan = RasterisePage(ReadAll(Path("odd-marked.pdf")), 1, 200);
    for (const DrawnField* f : layout.fields.OnPage(1))
        if (f->kind == fkCheckBox) DrawPenMark(scan, f->box, 200, PenMark::Tick);
    ASSERT_TRUE(scan.save(Path("odd-scan.png")));
    run = Start({QStringLiteral("--collect"), Path("odd.csv"), odd, Path("odd-filled.pdf"),
                 Path("odd-scan.png")});
    EXPECT_EQ(run.status, 0) << run.err.constData();
    EXPECT_EQ(ReadAll(Path("odd.csv")),
              QByteArray("Datei,Brot - Roggen; Stück,Brot - geschnitten\r\n"
                         "odd-filled.pdf,7,1\r\n"
                         "odd-scan.png,,1\r\n"
                         "Summe,7,2\r\n"));
}

// A copy printed into a PDF (the form's identity kept, its fields gone) is
// named on the command line with what to do, in English, and not taken.
TEST_F(CollectCommandTest, PrintedCopyIsNamedWithWhatToDo) {
    QPDF pdf;
    pdf.processFile(Path("in/2.pdf").toLocal8Bit().constData());
    pdf.getRoot().removeKey("/AcroForm");
    for (QPDFObjectHandle page : pdf.getAllPages())
        page.removeKey("/Annots");
    WritePdf(pdf, Path("printed.pdf"));
    const ProgramRun run = Start({QStringLiteral("--collect"), Path("out.csv"), project,
                                  Path("printed.pdf"), Path("in/1.pdf")});
    EXPECT_EQ(run.status, 3) << run.err.constData();
    EXPECT_TRUE(run.err.contains(
        (Path("printed.pdf") + QStringLiteral(": the form fields are gone (printed or flattened): "
                                              "ask for the saved file, or print it and scan it"))
            .toUtf8()))
        << run.err.constData();
    EXPECT_EQ(ReadAll(Path("out.csv")),
              QByteArray("Datei,Brot - Roggen; Stück,Brot - geschnitten\r\n"
                         "1.pdf,\"2,5\",0\r\n"
                         "Summe,\"2,5\",0\r\n"));
}

// Guards the workbook written for an .xlsx name: the same cells as the CSV of
// the same inputs, numbers as numbers, sums as formulas, and the input not
// taken on its own sheet with its reason, in the language the window runs in.
TEST_F(CollectCommandTest, WorkbookHoldsTheCsvTableAndTheFilesNotTaken) {
    ASSERT_TRUE(WriteRaw(Path("in/broken.pdf"), "%PDF-1.7\n1 0 obj\n<<"));
    const ProgramRun csv =
        Start({QStringLiteral("--collect"), Path("out.csv"), project, Path("in")});
    const ProgramRun xlsx =
        Start({QStringLiteral("--collect"), Path("out.XLSX"), project, Path("in")});
    EXPECT_EQ(csv.status, 3) << csv.err.constData();
    EXPECT_EQ(xlsx.status, 3) << xlsx.err.constData();
    EXPECT_EQ(xlsx.err, csv.err);
    EXPECT_TRUE(ReadAll(Path("out.XLSX")).startsWith("PK"));
    const std::vector<WorkbookSheet> sheets = ReadWorkbook(Path("out.XLSX"));
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheets[0].name, QStringLiteral("Bestellungen"));
    ExpectSameAsCsv(sheets[0], SplitCsv(ReadAll(Path("out.csv")), u','));
    EXPECT_EQ(sheets[0].At(1, 1).type, QStringLiteral("n"));
    EXPECT_EQ(sheets[0].At(3, 1).type, QStringLiteral("f"));
    EXPECT_EQ(sheets[0].At(3, 2).type, QStringLiteral("f"));
    EXPECT_EQ(sheets[1].name, QStringLiteral("Nicht übernommen"));
    ASSERT_EQ(sheets[1].rows.size(), 2u);
    EXPECT_EQ(sheets[1].At(1, 0).value.toString(), Path("in/broken.pdf"));
    EXPECT_EQ(sheets[1].At(1, 1).value.toString(),
              QStringLiteral("Die Datei ist keine lesbare PDF-Datei."));

    ProgramDirs dirs;
    ASSERT_TRUE(SaveOptions(dirs.ProgPath(), 1)); // English
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLORA_SHIPPED_TABLE),
                            dirs.InProg(QStringLiteral("translate.dat"))));
    const ExportResult r = RunCommandLineExport(
        {QStringLiteral("--collect"), Path("en.xlsx"), project, Path("in")}, dirs.ProgPath());
    EXPECT_EQ(r.status, 3) << r.error.toStdString();
    const std::vector<WorkbookSheet> english = ReadWorkbook(Path("en.xlsx"));
    ASSERT_EQ(english.size(), 2u);
    EXPECT_EQ(english[0].name, QStringLiteral("Orders"));
    EXPECT_EQ(english[0].At(0, 0).value.toString(), QStringLiteral("File"));
    EXPECT_EQ(english[0].At(3, 0).value.toString(), QStringLiteral("Total"));
    EXPECT_EQ(english[1].name, QStringLiteral("Not taken"));
    EXPECT_EQ(english[1].At(0, 1).value.toString(), QStringLiteral("Reason"));
    EXPECT_EQ(english[1].At(1, 1).value.toString(),
              QStringLiteral("The file is not a readable PDF file."));
}

// A workbook that cannot be written leaves nothing behind and says why (status 1).
TEST_F(CollectCommandTest, WorkbookInAMissingFolderIsStatusOne) {
    const ProgramRun r =
        Start({QStringLiteral("--collect"), Path("none/out.xlsx"), project, Path("in")});
    EXPECT_EQ(r.status, 1) << r.err.constData();
    EXPECT_TRUE(r.err.contains("none/out.xlsx")) << r.err.constData();
    EXPECT_FALSE(QFile::exists(Path("none")));
}

} // namespace
