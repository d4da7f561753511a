// The report of failed saves of "translate.dat": once per run of failures, and
// again when saving works once more.

#include "TranslationFile.h"
#include "Translator.h"
#include "translate_test_dirs.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Guards a note per keystroke: a run of failed saves is reported once, and a
// save that works again is reported too, so that the note can go.
TEST(TranslationSaveReportTest, RunOfFailuresIsReportedOnce) {
    UnwritableTranslationDirs unwritable;
    if (!unwritable.Ready()) GTEST_SKIP() << "no read-only folder can be made here";
    const ReadOnlyFolder& prog = unwritable.prog;
    const QByteArray& formerBytes = unwritable.formerBytes;
    ProgramDirs& dirs = unwritable.dirs;

    Translator t;
    std::vector<bool> reports;
    t.SetSaveStateHandler([&](bool saved) { reports.push_back(saved); });
    t.InitTranslation(prog.path + u'/');
    EXPECT_EQ(t.TranslateText(u"Neu"_qs), u"Neu"_qs);
    t.SetTranslationCell(1, 1, u"New"_qs);
    EXPECT_FALSE(t.SaveTranslation());
    EXPECT_FALSE(t.SaveTranslation());
    EXPECT_EQ(reports, std::vector<bool>{false});
    EXPECT_TRUE(t.SaveFailing());
    // The former file stays whole; the table in memory keeps the changes.
    EXPECT_EQ(ReadAll(prog.path + u"/translate.dat"_qs), formerBytes);
    EXPECT_EQ(t.RowCount(), 2);
    EXPECT_EQ(t.Cell(1, 1), u"New"_qs);

    // A folder that can be written again: the next save works and says so.
    qputenv("XDG_CONFIG_HOME", dirs.config.path().toLocal8Bit());
    t.InitTranslation(dirs.ProgPath());
    t.TranslateText(u"Alt"_qs);
    EXPECT_EQ(reports, (std::vector<bool>{false, true}));
    EXPECT_FALSE(t.SaveFailing());
}

} // namespace
