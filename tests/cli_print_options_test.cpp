// The options of quillora --print: which arguments ask to print, what they
// mean, and which are wrong (status 2, before any queue or file is looked at).
#include "CommandLineExport.h"
#include "CommandLinePrint.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

QStringList Args(std::initializer_list<const char*> list) {
    QStringList args;
    for (const char* a : list)
        args << QString::fromUtf8(a);
    return args;
}

// --print must select printing, but --help and --version win over it, and
// --print-pdf (an export with a similar name) must not be taken for it.
TEST(PrintOptions, PrintIsRecognisedButHelpWins) {
    const struct {
        QStringList args;
        bool print;
    } cases[] = {
        {Args({"--print", "a.qlr"}), true},
        {Args({"-print", "a.qlr"}), true},
        {Args({"a.qlr", "--printer", "x", "--print"}), true},
        {Args({"--print", "--help"}), false},
        {Args({"--version", "--print", "a.qlr"}), false},
        {Args({"--print-pdf", "out.pdf", "a.qlr"}), false},
        {Args({"--printer-dpi", "300", "--print-pdf", "o.pdf", "a.qlr"}), false},
        {Args({"--", "--print"}), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsPrintCommand(c.args), c.print) << c.args.join(u' ').toStdString();
    EXPECT_TRUE(IsCommandLineExport(Args({"--print", "a.qlr"})));
}

// Each option must reach the options: the queue, the copies, the file.
TEST(PrintOptions, OptionsAreRead) {
    PrintCommandParse p = ParsePrintArguments(Args({"--print", "a.qlr"}));
    ASSERT_TRUE(p.ok) << p.error.toStdString();
    EXPECT_TRUE(p.options.printer.isEmpty());
    EXPECT_EQ(p.options.copies, 1);
    EXPECT_EQ(p.options.project, QStringLiteral("a.qlr"));
    p = ParsePrintArguments(Args({"--printer", "Büro", "--print", "--copies", "3", "b.qlr"}));
    ASSERT_TRUE(p.ok) << p.error.toStdString();
    EXPECT_EQ(p.options.printer, QStringLiteral("Büro"));
    EXPECT_EQ(p.options.copies, 3);
    EXPECT_EQ(p.options.project, QStringLiteral("b.qlr"));
    p = ParsePrintArguments(Args({"--print", "--copies=999", "c.qlr"}));
    ASSERT_TRUE(p.ok) << p.error.toStdString();
    EXPECT_EQ(p.options.copies, 999);
}

// A wrong option ends with status 2 and a message, and never prints.
TEST(PrintOptions, WrongOptionsGiveStatusTwo) {
    const struct {
        QStringList args;
        const char* message;
    } cases[] = {
        {Args({"--print", "--copies", "0", "a.qlr"}), "--copies"},
        {Args({"--print", "--copies", "1000", "a.qlr"}), "--copies"},
        {Args({"--print", "--copies", "zwei", "a.qlr"}), "zwei"},
        {Args({"--print", "--copies", "2", "--copies", "3", "a.qlr"}), "once"},
        {Args({"--print", "--printer", "", "a.qlr"}), "--printer"},
        {Args({"--print", "--printer"}), "printer"},
        {Args({"--print"}), "No project file"},
        {Args({"--print", "a.qlr", "b.qlr"}), "exactly one"},
        {Args({"--print", "--paper", "A5", "a.qlr"}), "--paper"},
        {Args({"--print", "--print-pdf", "o.pdf", "a.qlr"}), "--print-pdf"},
    };
    for (const auto& c : cases) {
        const ExportResult r = RunCommandLineExport(c.args);
        EXPECT_EQ(r.status, 2) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.message)))
            << c.args.join(u' ').toStdString() << ": " << r.error.toStdString();
        EXPECT_TRUE(r.output.isEmpty());
    }
}

// With no CUPS server to ask (nothing listens on port 1) there is no queue:
// status 1 with a message naming the queue, or saying there is no default.
TEST(PrintOptions, NoQueueGivesStatusOne) {
    qputenv("CUPS_SERVER", "127.0.0.1:1");
    ExportResult r = RunCommandLineExport(Args({"--print", "--printer", "Büro", "a.qlr"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.error.contains(QStringLiteral("\"Büro\""))) << r.error.toStdString();
    r = RunCommandLineExport(Args({"--print", "a.qlr"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.error.contains(QStringLiteral("no default print queue"))) << r.error.toStdString();
    EXPECT_TRUE(r.output.isEmpty());
}

// --help must show the print command with its options.
TEST(PrintOptions, HelpShowsPrinting) {
    const ExportResult r = RunCommandLineExport(Args({"--help"}));
    EXPECT_EQ(r.status, 0);
    for (const char* text : {"--print [--printer NAME] [--copies N] FILE.qlr", "--printer NAME",
                             "--copies N"})
        EXPECT_TRUE(r.output.contains(QString::fromUtf8(text))) << text;
}

// --marks must reach the print paths that take it, and be refused with the
// exports that have no use for it.
TEST(PrintOptions, MarksGoWithThePrintPaths) {
    EXPECT_TRUE(ParsePrintArguments(Args({"--print", "--marks", "a.qlr"})).options.marks);
    EXPECT_FALSE(ParsePrintArguments(Args({"--print", "a.qlr"})).options.marks);
    const ExportParse pdf = ParseExportArguments(Args({"--print-pdf", "o.pdf", "--marks", "a.qlr"}));
    ASSERT_TRUE(pdf.ok) << pdf.error.toStdString();
    EXPECT_TRUE(pdf.options.marks);
    EXPECT_FALSE(ParseExportArguments(Args({"--print-pdf", "o.pdf", "a.qlr"})).options.marks);
    for (const auto& args : {Args({"--render-png", "o.png", "--page", "1", "--marks", "a.qlr"}),
                             Args({"--fillable-pdf", "o.pdf", "--marks", "a.qlr"})}) {
        const ExportParse wrong = ParseExportArguments(args);
        EXPECT_FALSE(wrong.ok) << args.join(u' ').toStdString();
        EXPECT_TRUE(wrong.error.contains(QStringLiteral("--marks")));
    }
    EXPECT_TRUE(RunCommandLineExport(Args({"--help"})).output.contains(QStringLiteral("--marks")));
}

} // namespace
