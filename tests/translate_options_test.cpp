// "options.dat" and where the program's own files are read and written.

#include "OptionsFile.h"
#include "ProgramFiles.h"
#include "translate_test_dirs.h"

#include <gtest/gtest.h>

namespace {

struct StoredCase {
    const char* name;
    QByteArray bytes;
    std::int32_t language;
};

// Guards reading: a missing or short file is German, other numbers come back as stored.
TEST(OptionsFileTest, LoadsStoredLanguage) {
    const StoredCase cases[] = {
        {"short file", QByteArray("\x01\x00", 2), 0},
        {"empty file", QByteArray(), 0},
        {"English", QByteArray("\x01\x00\x00\x00", 4), 1},
        {"Dutch, extra bytes", QByteArray("\x03\x00\x00\x00\x09", 5), 3},
        {"outside the languages", QByteArray("\x07\x01\x00\x00", 4), 263},
        {"negative", QByteArray("\xFE\xFF\xFF\xFF", 4), -2},
    };
    for (const StoredCase& c : cases) {
        ProgramDirs dirs;
        ASSERT_TRUE(WriteAll(dirs.InProg("options.dat"), c.bytes));
        EXPECT_EQ(LoadOptions(dirs.ProgPath()), c.language) << c.name;
    }
    ProgramDirs none;
    EXPECT_EQ(LoadOptions(none.ProgPath()), 0);
}

// Guards the stored form: exactly four little-endian bytes, replacing the former file.
TEST(OptionsFileTest, SavesFourLittleEndianBytes) {
    ProgramDirs dirs;
    ASSERT_TRUE(WriteAll(dirs.InProg("options.dat"), QByteArray("\x02\x00\x00\x00\x05\x06", 6)));
    ASSERT_TRUE(SaveOptions(dirs.ProgPath(), 1));
    EXPECT_EQ(ReadAll(dirs.InProg("options.dat")), QByteArray("\x01\x00\x00\x00", 4));
    ASSERT_TRUE(SaveOptions(dirs.ProgPath(), 263));
    EXPECT_EQ(LoadOptions(dirs.ProgPath()), 263);
}

// Guards an installed program: when its directory cannot be written, the
// choice goes to the user's copy, which the next start reads first and the
// next save updates, while the program's own file stays as it was.
TEST(ProgramFilesTest, UnwritableProgramDirectoryUsesUserCopy) {
    ProgramDirs dirs;
    ReadOnlyFolder ro(QStringLiteral("options.dat"), QByteArray("\x02\x00\x00\x00", 4));
    if (ro.path.isEmpty()) GTEST_SKIP() << "no read-only folder can be made here";
    const QString prog = ro.path + u'/';
    EXPECT_EQ(LoadOptions(prog), 2);
    ASSERT_TRUE(SaveOptions(prog, 1));
    EXPECT_EQ(ReadPath(prog, "options.dat"), UserFilePath("options.dat"));
    EXPECT_TRUE(UserFilePath("options.dat").startsWith(dirs.config.path()));
    EXPECT_EQ(LoadOptions(prog), 1);
    ASSERT_TRUE(SaveOptions(prog, 3));
    EXPECT_EQ(LoadOptions(prog), 3);
    EXPECT_EQ(ReadAll(ro.path + u"/options.dat"_qs), QByteArray("\x02\x00\x00\x00", 4));
}

// Guards a stale user copy: once the program's directory can be written again,
// a save must not leave an older user copy in front of the new file.
TEST(ProgramFilesTest, WritesWhereTheNextReadLooks) {
    ProgramDirs dirs;
    QDir().mkpath(QFileInfo(UserFilePath("options.dat")).path());
    ASSERT_TRUE(WriteAll(UserFilePath("options.dat"), QByteArray("\x02\x00\x00\x00", 4)));
    EXPECT_EQ(LoadOptions(dirs.ProgPath()), 2);
    ASSERT_TRUE(SaveOptions(dirs.ProgPath(), 1));
    EXPECT_EQ(LoadOptions(dirs.ProgPath()), 1);
}

// Guards the report of failure: with neither place writable the save says so.
TEST(ProgramFilesTest, NoWritablePlaceFails) {
    ProgramDirs dirs;
    qputenv("XDG_CONFIG_HOME", "/dev/null/nothing");
    QTemporaryDir base;
    EXPECT_FALSE(SaveOptions(base.filePath("missing") + u'/', 1));
    EXPECT_FALSE(WriteProgramFile(base.filePath("missing") + u'/', "translate.dat", "x"));
    EXPECT_EQ(LoadOptions(base.filePath("missing") + u'/'), 0);
}

} // namespace
