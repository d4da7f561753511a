// The shipped table meets a user's own "translate.dat": the user's cells stay,
// empty cells and missing rows come from the shipped table.

#include "ProgramFiles.h"
#include "TranslationFile.h"
#include "Translator.h"
#include "translate_test_dirs.h"

#include <QFileInfo>
#include <gtest/gtest.h>

#include <initializer_list>

namespace {

using Row = std::initializer_list<const char*>; // German, English, French, Dutch

QByteArray TableBytes(std::initializer_list<Row> rows) {
    TranslationTable table;
    for (const Row& row : rows) {
        std::array<QString, kTranslationColumns> cells;
        int c = 0;
        for (const char* text : row)
            cells[std::size_t(c++)] = QString::fromUtf8(text);
        table.AppendRow(cells);
    }
    return TranslationBytes(table);
}

// An installed program: bin/ holds the program, share/quillora the shipped table.
class ShippedMergeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(Bin()) && QDir().mkpath(Share()));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(UserTable()).path()));
    }
    QString Bin() const { return dirs.prog.filePath(QStringLiteral("bin")) + u'/'; }
    QString Share() const { return dirs.prog.filePath(QStringLiteral("share/quillora")); }
    QString ShippedTable() const { return Share() + QStringLiteral("/translate.dat"); }
    QString UserTable() const { return UserFilePath(QStringLiteral("translate.dat")); }
    int RowOf(const Translator& t, const QString& german) const {
        for (int r = 0; r < t.RowCount(); ++r)
            if (t.Cell(r, 0) == german) return r;
        return -1;
    }

    ProgramDirs dirs;
    Translator t;
};

} // namespace

// Guards the merge: a typed cell is kept, its empty neighbours are filled, rows
// only the user has stay, rows only the shipped table has are appended, and the
// result is on disk.
TEST_F(ShippedMergeTest, FillsOnlyEmptyCellsAndAddsMissingRows) {
    ASSERT_TRUE(
        WriteAll(UserTable(), TableBytes({{"Datei", "My Files", "", ""}, {"Eigen", "Own"}})));
    ASSERT_TRUE(WriteAll(ShippedTable(), TableBytes({{"Datei", "File", "Fichier", "Bestand"},
                                                     {"Neu", "New", "Nouveau", "Nieuw"}})));
    t.InitTranslation(Bin());
    ASSERT_EQ(t.RowCount(), 3);
    const int datei = RowOf(t, u"Datei"_qs);
    EXPECT_EQ(t.Cell(datei, 1), u"My Files"_qs);
    EXPECT_EQ(t.Cell(datei, 2), u"Fichier"_qs);
    EXPECT_EQ(t.Cell(datei, 3), u"Bestand"_qs);
    EXPECT_EQ(t.Cell(RowOf(t, u"Eigen"_qs), 1), u"Own"_qs);
    t.language = 2;
    EXPECT_EQ(t.TranslateText(u"Neu"_qs), u"Nouveau"_qs); // the appended row is indexed
    TranslationTable disk;
    ASSERT_EQ(ReadTranslationBytes(ReadAll(UserTable()), disk), 3);
    EXPECT_EQ(disk.Cell(datei, 1), u"My Files"_qs);
    EXPECT_EQ(disk.Cell(datei, 2), u"Fichier"_qs);
}

// Guards a user's wording against an update of the program: a cell typed in the
// editor survives a new shipped table with another text for that cell.
TEST_F(ShippedMergeTest, UserWordingSurvivesAnUpdatedShippedTable) {
    ASSERT_TRUE(WriteAll(ShippedTable(), TableBytes({{"Datei", "File", "Fichier", "Bestand"}})));
    t.InitTranslation(Bin());
    t.SetTranslationCell(0, 1, u"Document"_qs);
    ASSERT_TRUE(t.SaveTranslation());
    // Saved where the program may write (here its own folder), not over the shipped table.
    TranslationTable shipped;
    ReadTranslationBytes(ReadAll(ShippedTable()), shipped);
    ASSERT_EQ(shipped.Cell(0, 1), u"File"_qs);

    ASSERT_TRUE(WriteAll(ShippedTable(), TableBytes({{"Datei", "File menu", "Fichier", "Bestand"},
                                                     {"Hilfe", "Help", "Aide", "Help"}})));
    Translator next;
    next.InitTranslation(Bin());
    next.language = 1;
    EXPECT_EQ(next.TranslateText(u"Datei"_qs), u"Document"_qs);
    EXPECT_EQ(next.TranslateText(u"Hilfe"_qs), u"Help"_qs);
}

// Guards a fresh installation: the shipped table is used as it is, and starting
// writes no copy of it anywhere.
TEST_F(ShippedMergeTest, FreshInstallationReadsTheShippedTableWithoutCopying) {
    ASSERT_TRUE(WriteAll(ShippedTable(), TableBytes({{"Datei", "File", "Fichier", "Bestand"}})));
    t.InitTranslation(Bin());
    t.language = 3;
    EXPECT_EQ(t.TranslateText(u"Datei"_qs), u"Bestand"_qs);
    EXPECT_FALSE(QFileInfo::exists(UserTable()));
    EXPECT_FALSE(QFileInfo::exists(Bin() + QStringLiteral("translate.dat")));
}
