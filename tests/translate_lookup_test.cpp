// Looking texts up: spaces around keys, exact keys, bucket order, row deletion.

#include "TranslationFile.h"
#include "Translator.h"
#include "translate_test_dirs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

using Cells = std::array<QString, kTranslationColumns>;

Cells Row(const QString& german, const QString& english = {}) {
    Cells cells;
    cells[0] = german;
    cells[1] = english;
    return cells;
}

// A translator over a "translate.dat" holding the given rows, running in English.
class LookupTest : public ::testing::Test {
  protected:
    void Start(const std::vector<Cells>& rows) {
        TranslationTable source;
        for (const Cells& r : rows)
            source.AppendRow(r);
        ASSERT_TRUE(WriteAll(dirs.InProg("translate.dat"), TranslationBytes(source)));
        t.InitTranslation(dirs.ProgPath());
        t.language = 1;
    }
    // The rows the file on disk holds now.
    int RowsOnDisk() {
        TranslationTable disk;
        return ReadTranslationBytes(ReadAll(t.FilePath()), disk);
    }

    ProgramDirs dirs;
    Translator t;
};

struct SpaceCase {
    const char16_t* given;
    const char16_t* expected;
    bool appends;
};

// Guards the space handling: only U+0020 is taken off the key and given back,
// the cell is trimmed of all blanks, and empty or blank-only texts add nothing.
TEST_F(LookupTest, SpacesAroundKeysAndTranslations) {
    Start({Row(u"Datei"_qs, u"File"_qs), Row(u"Wort"_qs, u" Word\t"_qs),
           Row(u"Leer"_qs, u" \t \n"_qs), Row(u"Ohne"_qs, {})});
    const SpaceCase cases[] = {
        {u"", u"", false},
        {u"   ", u"   ", false},
        {u"Datei", u"File", false},
        {u"  Datei  ", u"  File  ", false},
        {u"Wort", u"Word", false},
        {u" Wort ", u" Word ", false},
        {u"Leer", u"", false},
        {u"  Leer ", u"   ", false},
        {u"  Ohne ", u"  Ohne ", false},
        {u"datei", u"datei", true},     // case matters
        {u"Datei:", u"Datei:", true},   // every character matters
        {u"\tDatei", u"\tDatei", true}, // a tab stays in the key
        {u"Datei\n", u"Datei\n", true},
    };
    int rows = t.RowCount();
    for (const SpaceCase& c : cases) {
        const QString given = QString::fromUtf16(c.given);
        EXPECT_EQ(t.TranslateText(given), QString::fromUtf16(c.expected)) << given.toStdString();
        rows += c.appends ? 1 : 0;
        EXPECT_EQ(t.RowCount(), rows) << given.toStdString();
    }
    // A missed key is stored without its spaces, and found from then on.
    EXPECT_EQ(t.TranslateText(u"  Neu  "_qs), u"  Neu  "_qs);
    EXPECT_EQ(t.Cell(t.RowCount() - 1, 0), u"Neu"_qs);
    const int after = t.RowCount();
    t.TranslateText(u"Neu"_qs);
    EXPECT_EQ(t.RowCount(), after);
}

// Guards the growth of the file: a miss in German still appends a row with 19
// empty cells and rewrites the file at once.
TEST_F(LookupTest, MissAppendsRowAndRewritesFileAtOnce) {
    t.InitTranslation(dirs.ProgPath()); // no file yet
    t.language = 0;
    EXPECT_EQ(t.TranslateText(u"Hallo"_qs), u"Hallo"_qs);
    TranslationTable disk;
    ASSERT_EQ(ReadTranslationBytes(ReadAll(dirs.InProg("translate.dat")), disk), 1);
    EXPECT_EQ(disk.Cell(0, 0), u"Hallo"_qs);
    for (int k = 1; k < kTranslationColumns; ++k)
        EXPECT_TRUE(disk.Cell(0, k).isEmpty());
}

// Guards the batch: rows appended while a batch is open reach the file when it ends.
TEST_F(LookupTest, BatchWritesOnceAtItsEnd) {
    t.InitTranslation(dirs.ProgPath());
    {
        TranslationBatch batch(t);
        t.TranslateText(u"Eins"_qs);
        t.TranslateText(u"Zwei"_qs);
        EXPECT_FALSE(QFile::exists(dirs.InProg("translate.dat")));
    }
    EXPECT_EQ(RowsOnDisk(), 2);
}

// Guards duplicate German texts: the entry first in its bucket after the sort
// wins, and bucket neighbours with the same low byte are told apart.
TEST_F(LookupTest, FirstInBucketWinsAfterSort) {
    // 'D' is 0x44 and U+0144 shares its bucket.
    Start({Row(u"Dz"_qs, u"dz"_qs), Row(u"Datei"_qs, u"first"_qs), Row(u"Da"_qs, u"da"_qs),
           Row(u"Datei"_qs, u"second"_qs), Row(u"\u0144atei"_qs, u"other"_qs)});
    const TranslationBucket& bucket = t.Table().Bucket('D');
    ASSERT_EQ(bucket.size(), 5u);
    for (std::size_t i = 1; i < bucket.size(); ++i)
        EXPECT_LE(CompareKeys(bucket[i - 1].key, bucket[i].key), 0);
    const auto first = std::find_if(bucket.begin(), bucket.end(),
                                    [](const auto& e) { return e.key == u"Datei"_qs; });
    EXPECT_EQ(t.TranslateText(u"Datei"_qs), t.Cell(first->row, 1));
    EXPECT_EQ(t.TranslateText(u"\u0144atei"_qs), u"other"_qs);
    // Entries made later go to the end of the bucket, unsorted.
    t.TranslateText(u"DA"_qs);
    EXPECT_EQ(t.Table().Bucket('D').back().key, u"DA"_qs);
}

// Guards the key order: code units compared unsigned, so a surrogate (0xD8xx)
// sorts before U+FFFF and a prefix sorts first; no locale, no case folding.
TEST(SortIndexBucketTest, SortsByCodeUnits) {
    std::vector<QString> keys = {u"b"_qs,   u"B"_qs,       u"\uFFFF"_qs, u"\U00010000"_qs,
                                 u"ab"_qs,  u"a"_qs,       u"\u00e4"_qs, u"A"_qs,
                                 u"abc"_qs, u"\u0100x"_qs, u"b"_qs,      u"Z"_qs,
                                 u"abcdX"_qs, u"abcdA"_qs, u"abcd"_qs, QString::fromUtf16(u"a\0", 2),
                                 QString::fromUtf16(u"a\0b", 3)};
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        std::shuffle(keys.begin(), keys.end(), random);
        TranslationBucket bucket;
        for (std::size_t i = 0; i < keys.size(); ++i)
            bucket.push_back({keys[i], int(i)});
        SortIndexBucket(bucket, 0, int(bucket.size()) - 1);
        std::vector<QString> sorted;
        for (const auto& e : bucket)
            sorted.push_back(e.key);
        // Keys alike in their first four units, or holding a zero unit, are
        // ordered by the rest of the text.
        EXPECT_EQ(sorted, (std::vector<QString>{u"A"_qs, u"B"_qs, u"Z"_qs, u"a"_qs,
                                                QString::fromUtf16(u"a\0", 2), QString::fromUtf16(u"a\0b", 3), u"ab"_qs,
                                                u"abc"_qs, u"abcd"_qs, u"abcdA"_qs, u"abcdX"_qs,
                                                u"b"_qs, u"b"_qs, u"\u00e4"_qs,
                                                u"\u0100x"_qs, u"\U00010000"_qs, u"\uFFFF"_qs}));
        // Key and row number travel together.
        for (const auto& e : bucket)
            EXPECT_EQ(e.key, keys[std::size_t(e.row)]);
        // A part of a bucket sorts alone; the entries around it stay put.
        std::shuffle(bucket.begin(), bucket.end(), random);
        const TranslationBucket before = bucket;
        SortIndexBucket(bucket, 3, 9);
        for (int i = 0; i < int(bucket.size()); ++i) {
            if (i < 3 || i > 9) {
                EXPECT_EQ(bucket[std::size_t(i)].row, before[std::size_t(i)].row);
            }
        }
        for (int i = 4; i <= 9; ++i)
            EXPECT_LE(CompareKeys(bucket[std::size_t(i) - 1].key, bucket[std::size_t(i)].key), 0);
    }
}

// Guards the renumbering after a deletion: the deleted text misses and is
// appended anew, later rows keep their own translations.
TEST_F(LookupTest, DeletionRenumbersIndex) {
    std::vector<Cells> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back(Row(u"Text%1"_qs.arg(i), u"T%1"_qs.arg(i)));
    Start(rows);
    t.DeleteTranslationRow(5);
    t.DeleteTranslationRow(-1);
    t.DeleteTranslationRow(9); // out of range now
    ASSERT_EQ(t.RowCount(), 9);
    for (int i = 6; i < 10; ++i)
        EXPECT_EQ(t.TranslateText(u"Text%1"_qs.arg(i)), u"T%1"_qs.arg(i));
    EXPECT_EQ(t.TranslateText(u"Text5"_qs), u"Text5"_qs);
    EXPECT_EQ(t.RowCount(), 10);
    EXPECT_EQ(t.Cell(9, 0), u"Text5"_qs);
    EXPECT_EQ(t.TranslateText(u"Text4"_qs), u"T4"_qs);
}

// Guards the editor's cell change: the index keeps the former German text.
TEST_F(LookupTest, EditedGermanTextKeepsFormerKeyUntilRestart) {
    Start({Row(u"Alt"_qs, u"Old"_qs)});
    t.SetTranslationCell(0, 0, u"Neu"_qs);
    t.SetTranslationCell(0, 20, u"x"_qs); // ignored
    t.SetTranslationCell(3, 1, u"x"_qs);  // ignored
    EXPECT_EQ(t.TranslateText(u"Alt"_qs), u"Old"_qs);
    EXPECT_EQ(t.RowCount(), 1);
    t.language = 0;
    EXPECT_EQ(t.TranslateText(u"Alt"_qs), u"Neu"_qs);
}

// Guards a stored language outside the columns: it never indexes a row.
TEST_F(LookupTest, LanguageOutsideColumnsTranslatesNothing) {
    Start({Row(u"Datei"_qs, u"File"_qs)});
    for (int language : {-1, 20, 1000, INT32_MIN}) {
        t.language = language;
        EXPECT_EQ(t.TranslateText(u" Datei"_qs), u" Datei"_qs);
    }
    EXPECT_EQ(t.RowCount(), 1);
    t.language = 19;
    EXPECT_EQ(t.TranslateText(u"Datei"_qs), u"Datei"_qs);
}

} // namespace
