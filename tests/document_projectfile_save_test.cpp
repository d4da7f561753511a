// Saving a project never damages the former file, and opening tells a file that
// cannot be opened (no message) from a damaged one (a message).
#include "DocumentEdits.h"
#include "FileBytes.h"
#include "ProjectFile.h"
#include "SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A document of about 200 KB, more than the small disk below can hold.
void FillLargeDocument(FormDocument& doc) {
    const int c = AppendCategory(doc, QString(100000, QChar('x')));
    AppendField(doc, c, fkText, QString(100000, QChar('y')), 6, 1.25);
}

enum class Failure { MissingFolder, ReadOnlyFolder, FullDisk };

struct SaveFailureCase {
    const char* name;
    Failure failure;
    const char* reason; // as the window shows it, before its translation
};

class FailedSave : public ::testing::TestWithParam<SaveFailureCase> {};

// A failed save returns false, names the file and the reason in German for the
// window, leaves the former file whole and no stray file.
TEST_P(FailedSave, KeepsTheFormerFile) {
    const SaveFailureCase& c = GetParam();
    FormDocument former;
    AppendCategory(former, "former");
    const QByteArray formerBytes = SerializeProject(former, LayoutSettings());
    FormDocument large;
    FillLargeDocument(large);

    QTemporaryDir base;
    const QString folder = base.filePath("target");
    ASSERT_TRUE(QDir().mkpath(folder));
    SmallDisk disk;
    QString path = QDir(folder).filePath("project.qlr");
    switch (c.failure) {
    case Failure::MissingFolder:
        path = QDir(folder).filePath("missing/project.qlr");
        break;
    case Failure::ReadOnlyFolder:
        // Permissions do not stop root: there the folder becomes a read-only file system.
        if (disk.NeedsMountForReadOnly() && !disk.Mount(folder, "64k"))
            GTEST_SKIP() << "cannot mount a tmpfs here";
        ASSERT_TRUE(WriteRaw(path, formerBytes));
        ASSERT_TRUE(disk.MakeReadOnly(folder));
        break;
    case Failure::FullDisk:
        if (!disk.Mount(folder, "64k")) GTEST_SKIP() << "cannot mount a 64 KB tmpfs here";
        ASSERT_TRUE(WriteRaw(path, formerBytes));
        break;
    }
    const QStringList before = QDir(folder).entryList(QDir::Files | QDir::Hidden);

    FileFailure failure;
    EXPECT_FALSE(WriteProjectFile(path, large, LayoutSettings(), &failure));
    EXPECT_TRUE(failure.english.contains("project.qlr")) << failure.english.toStdString();
    EXPECT_EQ(failure.reason, QString::fromUtf8(c.reason));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), before);
    if (c.failure != Failure::MissingFolder) {
        EXPECT_EQ(ReadAll(path), formerBytes);
    }
}

INSTANTIATE_TEST_SUITE_P(ProjectFileSave, FailedSave,
                         ::testing::Values(SaveFailureCase{"MissingFolder", Failure::MissingFolder,
                                                           "Den Ordner gibt es nicht."},
                                           SaveFailureCase{"ReadOnlyFolder",
                                                           Failure::ReadOnlyFolder,
                                                           "In diesen Ordner kann nicht "
                                                           "geschrieben werden."},
                                           SaveFailureCase{"FullDisk", Failure::FullDisk,
                                                           "Auf dem Datenträger ist nicht "
                                                           "genug Platz."}),
                         [](const auto& info) { return std::string(info.param.name); });

// A successful save replaces the former file whole, and the new file opens.
TEST(ProjectFileSave, SaveReplacesTheFormerFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.qlr");
    ASSERT_TRUE(WriteRaw(path, QByteArray(5000, 'z')));
    FormDocument doc;
    AppendCategory(doc, "new");
    ASSERT_TRUE(WriteProjectFile(path, doc, LayoutSettings()));
    EXPECT_EQ(ReadAll(path), SerializeProject(doc, LayoutSettings()));
    const ProjectReadResult r = ReadProjectFileFromPath(path, LayoutSettings());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.document->CategoryName(0), "new");
}

// A file that cannot be opened passes silently; an existing but damaged one reports the damage.
TEST(ProjectFileSave, OpenTellsUnopenableFromDamaged) {
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty.qlr");
    ASSERT_TRUE(WriteRaw(empty, QByteArray()));
    const QString cut = dir.filePath("cut.qlr");
    ASSERT_TRUE(WriteRaw(cut, SerializeProject(FormDocument(), LayoutSettings()).left(100)));

    struct Case {
        const char* name;
        QString path;
        ProjectReadStatus status;
    };
    const Case cases[] = {
        {"missing file", dir.filePath("none.qlr"), ProjectReadStatus::CannotOpen},
        {"a folder", dir.path(), ProjectReadStatus::CannotOpen},
        {"a device that never ends", "/dev/zero", ProjectReadStatus::CannotOpen},
        {"0-byte file", empty, ProjectReadStatus::Damaged},
        {"file cut in section 2", cut, ProjectReadStatus::Damaged},
    };
    LayoutSettings current;
    current.headerText = "kept";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ProjectReadResult r = ReadProjectFileFromPath(c.path, current);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.document, nullptr);
        EXPECT_EQ(r.settings.headerText, "kept");
        EXPECT_EQ(r.error, c.status == ProjectReadStatus::Damaged ? "Read beyond end of file" : "");
        EXPECT_EQ(r.reason, r.error); // the window translates the same fixed text
    }
}

} // namespace
