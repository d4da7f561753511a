// The checked atomic writer: only a complete file ever replaces the target, and
// a process killed part-way leaves no file behind.
#include "AtomicFile.h"
#include "FileBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// A writer killed before its commit must leave neither a temporary file nor a cut target.
TEST(AtomicFile, KilledWriterLeavesNoFile) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("out.pdf"));
    ASSERT_TRUE(WriteFileAtomically(target, "former"));
    for (int bytes : {0, 1, 100000}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            AtomicFileWriter writer(target);
            if (writer.Open()) writer.Write(QByteArray(bytes, 'x').constData(), bytes);
            ::raise(SIGKILL);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(Entries(dir.path()), QStringList{QStringLiteral("out.pdf")}) << bytes;
        EXPECT_EQ(ReadAll(target), QByteArray("former"));
    }
}

// Steps written through the writer or its device arrive whole and in order;
// an abandoned writer leaves the former file and nothing else.
TEST(AtomicFile, StepsCommitWholeAndAbandonKeepsTheFormer) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("t.dat"));
    ASSERT_TRUE(WriteFileAtomically(target, "former"));
    {
        AtomicFileWriter writer(target);
        ASSERT_TRUE(writer.Open());
        ASSERT_TRUE(writer.Write("abc", 3));
    } // destroyed without commit
    EXPECT_EQ(ReadAll(target), QByteArray("former"));
    EXPECT_EQ(Entries(dir.path()).size(), 1);
    AtomicFileDevice device(target);
    ASSERT_TRUE(device.open(QIODevice::WriteOnly));
    EXPECT_EQ(device.write("one "), 4);
    EXPECT_EQ(device.write("two"), 3);
    EXPECT_TRUE(device.Commit()) << device.ErrorText().toStdString();
    EXPECT_EQ(ReadAll(target), QByteArray("one two"));
    EXPECT_EQ(Entries(dir.path()).size(), 1);
}

// Replacing a file keeps its permissions (a private file must not become readable to all).
TEST(AtomicFile, ReplacementKeepsThePermissions) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("private.qlr"));
    ASSERT_TRUE(WriteFileAtomically(target, "former"));
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0600), 0);
    ASSERT_TRUE(WriteFileAtomically(target, "new"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

// A folder as the target is an error named after the target, and the folder stays.
TEST(AtomicFile, FolderAsTargetFails) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkpath(target));
    FileFailure failure;
    EXPECT_FALSE(WriteFileAtomically(target, "x", &failure));
    EXPECT_TRUE(failure.english.contains(QStringLiteral("folder")));
    EXPECT_EQ(failure.reason, QStringLiteral("Unter diesem Namen gibt es schon einen Ordner."));
    EXPECT_TRUE(QFileInfo(target).isDir());
    EXPECT_EQ(Entries(dir.path()), QStringList{QStringLiteral("folder")});
}

} // namespace
