// Write faults of the command-line export: a PDF or PNG that cannot be written
// whole fails the run with status 1 and leaves the former file as it was, with
// no stray file beside it.
#include "CommandLineExport.h"
#include "DocumentEdits.h"
#include "FileBytes.h"
#include "ProjectFile.h"
#include "SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

enum class Fault { FullDisk, ReadOnlyFolder, MissingFolder, DirectoryAsTarget };

struct ExportFaultCase {
    const char* name;
    bool pdf;
    Fault fault;
};

class ExportWriteFault : public ::testing::TestWithParam<ExportFaultCase> {};

// A failed write must not be reported as success, nor cut or remove the former output.
TEST_P(ExportWriteFault, ExitsOneAndKeepsTheFormerFile) {
    const ExportFaultCase& c = GetParam();
    QTemporaryDir base;
    FormDocument doc;
    const int cat = AppendCategory(doc, QStringLiteral("Getränke"));
    for (int i = 0; i < 6; ++i)
        AppendField(doc, cat, fkText, QStringLiteral("Feld %1 ").arg(i).repeated(40), 18, 6);
    const QString project = base.filePath(QStringLiteral("form.qlr"));
    ASSERT_TRUE(WriteProjectFile(project, doc, LayoutSettings()));

    const QString folder = base.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString name = c.pdf ? QStringLiteral("form.pdf") : QStringLiteral("form.png");
    QString output = QDir(folder).filePath(name);
    const QByteArray former("former output");
    SmallDisk disk;
    switch (c.fault) {
    case Fault::FullDisk:
        // One page of the disk for the former file, one left: too little for the new one.
        if (!disk.Mount(folder, "8k")) GTEST_SKIP() << "cannot mount a small tmpfs here";
        ASSERT_TRUE(WriteRaw(output, former));
        break;
    case Fault::ReadOnlyFolder:
        if (disk.NeedsMountForReadOnly() && !disk.Mount(folder, "1m"))
            GTEST_SKIP() << "cannot mount a tmpfs here";
        ASSERT_TRUE(WriteRaw(output, former));
        ASSERT_TRUE(disk.MakeReadOnly(folder));
        break;
    case Fault::MissingFolder:
        output = QDir(folder).filePath(QStringLiteral("missing/") + name);
        break;
    case Fault::DirectoryAsTarget:
        ASSERT_TRUE(QDir().mkpath(output));
        break;
    }
    const QStringList before =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    const QStringList args =
        c.pdf ? QStringList{QStringLiteral("--print-pdf"), output, project}
              : QStringList{QStringLiteral("--render-png"), output, QStringLiteral("--page"),
                            QStringLiteral("1"), project};
    const ExportResult r = RunCommandLineExport(args, base.path());
    EXPECT_EQ(r.status, 1) << r.output.toStdString();
    EXPECT_TRUE(r.error.contains(name)) << r.error.toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              before);
    if (c.fault == Fault::FullDisk || c.fault == Fault::ReadOnlyFolder) {
        EXPECT_EQ(ReadAll(output), former);
    }
    if (c.fault == Fault::DirectoryAsTarget) {
        EXPECT_TRUE(QDir(output).isEmpty());
    }
    if (c.fault == Fault::MissingFolder) {
        EXPECT_FALSE(QDir(folder).exists(QStringLiteral("missing")));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Export, ExportWriteFault,
    ::testing::Values(ExportFaultCase{"PdfFullDisk", true, Fault::FullDisk},
                      ExportFaultCase{"PdfReadOnlyFolder", true, Fault::ReadOnlyFolder},
                      ExportFaultCase{"PdfMissingFolder", true, Fault::MissingFolder},
                      ExportFaultCase{"PdfDirectoryAsTarget", true, Fault::DirectoryAsTarget},
                      ExportFaultCase{"PngFullDisk", false, Fault::FullDisk},
                      ExportFaultCase{"PngReadOnlyFolder", false, Fault::ReadOnlyFolder},
                      ExportFaultCase{"PngMissingFolder", false, Fault::MissingFolder},
                      ExportFaultCase{"PngDirectoryAsTarget", false, Fault::DirectoryAsTarget}),
    [](const auto& info) { return std::string(info.param.name); });

// A stored brightness or saturation outside its range (or NaN) must export the
// same pixels as the value the window's control brings it to.
TEST(ExportStoredNumbers, OutOfRangeLighteningExportsAsTheControlsShowIt) {
    QTemporaryDir base;
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 128));
    ASSERT_TRUE(picture.save(base.filePath(QStringLiteral("tile.bmp"))));
    struct Case {
        double brightness, saturation, shownBrightness, shownSaturation;
    };
    const Case cases[] = {{150, 0, 100, 0},
                          {-20, 0, 1, 0},
                          {std::nan(""), 500, 100, 200},
                          {1e300, -1e300, 100, -100},
                          {40.6, -0.5, 41, -1}};
    auto render = [&](double brightness, double saturation, const char* name) {
        LayoutSettings s;
        s.backgroundFile = base.filePath(QStringLiteral("tile.bmp"));
        s.tileLighten = true;
        s.tileBrightness = brightness;
        s.tileSaturation = saturation;
        const QString project = base.filePath(QString::fromLatin1(name) + QStringLiteral(".qlr"));
        const QString png = base.filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
        EXPECT_TRUE(WriteProjectFile(project, FormDocument(), s));
        const ExportResult r = RunCommandLineExport(
            {QStringLiteral("--render-png"), png, QStringLiteral("--page"), QStringLiteral("1"),
             QStringLiteral("--zoom"), QStringLiteral("10"), project},
            base.path());
        EXPECT_EQ(r.status, 0) << r.error.toStdString();
        return QImage(png);
    };
    // The lightening must show in the page at all for the comparison to mean anything.
    EXPECT_FALSE(render(100, 0, "light") == render(1, 0, "dark"));
    for (const Case& c : cases) {
        const QImage stored = render(c.brightness, c.saturation, "stored");
        const QImage shown = render(c.shownBrightness, c.shownSaturation, "shown");
        ASSERT_FALSE(stored.isNull());
        EXPECT_TRUE(stored == shown) << c.brightness << " " << c.saturation;
    }
}

} // namespace
