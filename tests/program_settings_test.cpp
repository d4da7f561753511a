// The program's settings file: values survive a restart, and a damaged or
// foreign file reads as no settings instead of as garbage.

#include "ProgramSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Recent files and the window placement must come back as they were stored.
TEST(ProgramSettingsTest, ValuesSurviveARestart) {
    QTemporaryDir dir;
    const QStringList files = {QStringLiteral("/a/b.qlr"), QStringLiteral("/ü/ß.qlr")};
    ProgramSettings first(dir.path());
    EXPECT_TRUE(first.SetValue(QStringLiteral("recentFiles"), files));
    EXPECT_TRUE(first.SetValue(QStringLiteral("window/geometry"), QByteArray("\x01\x02\x00", 3)));
    const ProgramSettings again(dir.path());
    EXPECT_EQ(again.Value(QStringLiteral("recentFiles")).toStringList(), files);
    EXPECT_EQ(again.Value(QStringLiteral("window/geometry")).toByteArray(),
              QByteArray("\x01\x02\x00", 3));
    // Only the settings file is left in the folder: no temporary file.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{ProgramSettings::kFileName});
}

// A file cut short, one of another kind, or an empty one must give no values.
TEST(ProgramSettingsTest, DamagedFileReadsAsNoSettings) {
    QTemporaryDir dir;
    ProgramSettings(dir.path())
        .SetValue(QStringLiteral("recentFiles"), QStringList{QStringLiteral("/x.qlr")});
    QFile file(QDir(dir.path()).filePath(ProgramSettings::kFileName));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    file.close();
    for (const QByteArray& bytes : {whole.left(whole.size() - 3), QByteArray("[General]\nx=1\n"),
                                    QByteArray(), QByteArray(12, '\xff')}) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        EXPECT_FALSE(ProgramSettings(dir.path()).Value(QStringLiteral("recentFiles")).isValid())
            << bytes.toHex().toStdString();
    }
}

} // namespace
