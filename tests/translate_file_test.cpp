// "translate.dat": exact layout, round trip, damaged files, and writes that fail.

#include "AtomicFile.h"
#include "ProgramFiles.h"
#include "RecordArray.h"
#include "TranslationFile.h"
#include "Translator.h"
#include "translate_test_dirs.h"

#include <QDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Builds file bytes by hand.
class Bytes {
  public:
    Bytes& Int(std::int32_t v) {
        char b[4];
        qToLittleEndian(v, b);
        data.append(b, 4);
        return *this;
    }
    Bytes& Text(const QString& s) {
        Int(std::int32_t(s.size()));
        for (QChar c : s) {
            char b[2];
            qToLittleEndian<quint16>(c.unicode(), b);
            data.append(b, 2);
        }
        return *this;
    }
    // A full row of `columns` cells: "R<r>" then "c<k>".
    Bytes& Row(int r, int columns = 20) {
        for (int k = 0; k < columns; ++k)
            Text(k == 0 ? u"R%1"_qs.arg(r) : u"c%1"_qs.arg(k));
        return *this;
    }
    QByteArray data;
};

// Guards the documented layout: 20 columns, row count, counted UTF-16LE texts
// without terminator, the empty text as a bare count of 0.
TEST(TranslationFileTest, WritesExactLayout) {
    TranslationTable table;
    std::array<QString, kTranslationColumns> cells;
    cells[0] = u"Ä"_qs;
    cells[2] = u"ab"_qs;
    table.AppendRow(cells);
    Bytes expected;
    expected.Int(20).Int(1).Text(u"Ä"_qs).Int(0).Text(u"ab"_qs);
    for (int k = 3; k < 20; ++k)
        expected.Int(0);
    EXPECT_EQ(TranslationBytes(table), expected.data);
    EXPECT_EQ(expected.data.mid(12, 2), QByteArray("\xC4\x00", 2));
}

// Guards the round trip: rows, cells (surrogates, blanks, empties) and order survive.
TEST(TranslationFileTest, RoundTripKeepsRowsCellsAndOrder) {
    TranslationTable table;
    for (int r = 0; r < 150; ++r) {
        std::array<QString, kTranslationColumns> cells;
        cells[0] = u"Zeile %1 \U0001F600"_qs.arg(r);
        cells[r % 20] += u" \t"_qs;
        cells[19] = r % 3 ? QString() : u"letzte"_qs;
        table.AppendRow(cells);
    }
    TranslationTable back;
    ASSERT_EQ(ReadTranslationBytes(TranslationBytes(table), back), 150);
    for (int r = 0; r < 150; ++r)
        for (int k = 0; k < 20; ++k)
            ASSERT_EQ(back.Cell(r, k), table.Cell(r, k)) << r << "," << k;
}

struct DamageCase {
    const char* name;
    QByteArray bytes;
    int rows; // complete rows kept
};

std::vector<DamageCase> DamageCases() {
    const QByteArray two = Bytes().Int(20).Int(3).Row(0).Row(1).data;
    const QByteArray countCut = two + Bytes().Text(u"R2"_qs).data + QByteArray("\x02\x00", 2);
    return {
        {"empty file", {}, 0},
        {"header cut", QByteArray("\x14\x00\x00\x00\x01", 5), 0},
        {"header only, no rows", Bytes().Int(20).Int(0).data, 0},
        {"negative row count", Bytes().Int(20).Int(-4).Row(0).data, 0},
        {"negative column count", Bytes().Int(-20).Int(1).Row(0).data, 0},
        {"row cut between records", two + Bytes().Text(u"R2"_qs).data, 2},
        {"row cut inside a count", countCut, 2},
        {"row cut inside a text", two + Bytes().Int(10).data + QByteArray("R\0", 2), 2},
        {"negative text length", two + Bytes().Int(-1).data + QByteArray(200, '\0'), 2},
        {"huge text length", two + Bytes().Int(0x7FFFFFFF).data + QByteArray(200, '\0'), 2},
        {"huge row count", Bytes().Int(20).Int(0x7FFFFFFF).Row(0).data, 1},
        {"more columns than 20", Bytes().Int(25).Int(2).Row(0, 25).Row(1, 25).data, 2},
        {"fewer columns than 20", Bytes().Int(3).Int(2).Row(0, 3).Row(1, 3).data, 2},
        {"no columns, huge row count", Bytes().Int(0).Int(0x7FFFFFFF).data, 8},
    };
}

// Largest block the record array asked for while a test ran.
std::size_t largestBlock = 0;
void* CountingAllocator(std::size_t bytes) {
    largestBlock = std::max(largestBlock, bytes);
    return std::calloc(1, bytes);
}

// Guards damaged files: complete rows before the damage are kept, nothing
// crashes, and memory follows the file's size, not the counts it claims.
TEST(TranslationFileTest, DamagedFilesKeepCompleteRows) {
    for (const DamageCase& c : DamageCases()) {
        largestBlock = 0;
        record_array::SetBlockAllocator(CountingAllocator);
        TranslationTable table;
        EXPECT_EQ(ReadTranslationBytes(c.bytes, table), c.rows) << c.name;
        record_array::SetBlockAllocator(nullptr);
        ASSERT_EQ(table.RowCount(), c.rows) << c.name;
        EXPECT_LE(largestBlock, 100 * sizeof(TranslationRow)) << c.name;
        if (c.rows > 0 && std::string(c.name).find("columns") != std::string::npos &&
            std::string(c.name) != "no columns, huge row count") {
            EXPECT_EQ(table.Cell(1, 0), u"R1"_qs) << c.name;
            EXPECT_EQ(table.Cell(1, 2), u"c2"_qs) << c.name;
            EXPECT_EQ(table.Cell(1, 19),
                      c.name == std::string("more columns than 20") ? u"c19"_qs : QString())
                << c.name;
        }
    }
}

// Guards the start after damage: the kept rows are found, a lookup appends
// and rewrites a whole, well-formed file.
TEST(TranslationFileTest, StartAfterDamageRewritesWholeFile) {
    ProgramDirs dirs;
    const QByteArray damaged = Bytes().Int(20).Int(5).Row(0).Row(1).Text(u"R2"_qs).Int(99).data;
    ASSERT_TRUE(WriteAll(dirs.InProg("translate.dat"), damaged));
    Translator t;
    t.InitTranslation(dirs.ProgPath());
    ASSERT_EQ(t.RowCount(), 2);
    t.language = 2;
    EXPECT_EQ(t.TranslateText(u"R1"_qs), u"c2"_qs);
    t.TranslateText(u"Neu"_qs);
    TranslationTable disk;
    EXPECT_EQ(ReadTranslationBytes(ReadAll(dirs.InProg("translate.dat")), disk), 3);
    EXPECT_EQ(ReadAll(dirs.InProg("translate.dat")).size(),
              8 + 3 * 20 * 4 + 2 * (4 + 9 * 4 + 10 * 6) + 6);
}

QByteArray SomeTable(int rows) {
    TranslationTable table;
    for (int r = 0; r < rows; ++r) {
        std::array<QString, kTranslationColumns> cells;
        cells[0] = u"Text %1 mit etwas Inhalt"_qs.arg(r);
        table.AppendRow(cells);
    }
    return TranslationBytes(table);
}

// Guards a full disk: the short write is caught, the former file stays whole,
// and the table goes to the user's copy, which the next start reads.
TEST(TranslationFileTest, FullDiskKeepsFormerFileAndFallsBackToUserCopy) {
    ProgramDirs dirs;
    const QByteArray former = SomeTable(2);
    TinyDisk disk(QStringLiteral("translate.dat"), former, 4096);
    if (disk.path.isEmpty()) GTEST_SKIP() << "cannot mount a tmpfs here";
    Translator t;
    t.InitTranslation(disk.path + u'/');
    ASSERT_EQ(t.RowCount(), 2);
    {
        TranslationBatch batch(t);
        for (int r = 0; r < 400; ++r)
            t.TranslateText(u"Mehr Text Nummer %1"_qs.arg(r));
    }
    EXPECT_EQ(ReadAll(disk.path + u"/translate.dat"_qs), former);
    EXPECT_EQ(QDir(disk.path).entryList(QDir::Files), QStringList({"filler", "translate.dat"}));
    Translator again;
    again.InitTranslation(disk.path + u'/');
    EXPECT_EQ(again.RowCount(), 402);
    EXPECT_TRUE(again.FilePath().startsWith(dirs.config.path()));
}

// Guards the failure paths of the atomic write itself: a read-only folder, a
// missing folder and a full disk fail and leave the target as it was.
TEST(TranslationFileTest, AtomicWriteFailsCleanly) {
    const QByteArray former("former");
    const QByteArray big = SomeTable(600);
    FileFailure error;
    {
        ReadOnlyFolder ro(QStringLiteral("t.dat"), former);
        if (ro.path.isEmpty()) GTEST_SKIP() << "no read-only folder can be made here";
        EXPECT_FALSE(WriteFileAtomically(ro.path + u"/t.dat"_qs, big, &error));
        EXPECT_FALSE(error.english.isEmpty());
        EXPECT_EQ(ReadAll(ro.path + u"/t.dat"_qs), former);
    }
    {
        QTemporaryDir base;
        error = {};
        EXPECT_FALSE(WriteFileAtomically(base.filePath("missing/t.dat"), big, &error));
        EXPECT_FALSE(error.english.isEmpty());
        EXPECT_FALSE(QFile::exists(base.filePath("missing")));
    }
    {
        TinyDisk disk(QStringLiteral("t.dat"), former, 4096);
        if (disk.path.isEmpty()) GTEST_SKIP() << "cannot mount a tmpfs here";
        ASSERT_GT(big.size(), 16 * 1024);
        EXPECT_FALSE(WriteFileAtomically(disk.path + u"/t.dat"_qs, big, &error));
        EXPECT_EQ(ReadAll(disk.path + u"/t.dat"_qs), former);
        EXPECT_EQ(QDir(disk.path).entryList(QDir::Files), QStringList({"filler", "t.dat"}));
        // A write that fits still succeeds on the same disk.
        EXPECT_TRUE(WriteFileAtomically(disk.path + u"/t.dat"_qs, QByteArray("new"), &error));
        EXPECT_EQ(ReadAll(disk.path + u"/t.dat"_qs), QByteArray("new"));
    }
}

// Loading must not copy the rows at every hundredth one: the block for the
// file's rows is taken once, and it is the block the row count calls for.
TEST(TranslationFileTest, LoadingTakesTheRowBlockOnce) {
    std::vector<std::size_t> blocks;
    static std::vector<std::size_t>* seen = nullptr;
    seen = &blocks;
    Bytes file;
    file.Int(20).Int(250);
    for (int r = 0; r < 250; ++r)
        file.Row(r);
    record_array::SetBlockAllocator([](std::size_t bytes) {
        seen->push_back(bytes);
        return std::calloc(1, bytes);
    });
    TranslationTable table;
    EXPECT_EQ(ReadTranslationBytes(file.data, table), 250);
    record_array::SetBlockAllocator(nullptr);
    EXPECT_EQ(blocks, std::vector<std::size_t>{300 * sizeof(TranslationRow)});
    EXPECT_EQ(table.Cell(249, 0), u"R249"_qs);
}

// Empty cells hold no memory, and packing keeps every cell's text exactly,
// through edits that empty, fill and lengthen cells.
TEST(TranslationFileTest, RowsHoldOnlyTheirNonEmptyCells) {
    EXPECT_EQ(sizeof(TranslationRow), sizeof(void*));
    TranslationTable table;
    std::array<QString, kTranslationColumns> cells;
    ASSERT_TRUE(table.AppendRow(cells));
    cells[0] = u"Datei"_qs;
    cells[19] = QString(70000, QChar(u'\u00e4'));
    ASSERT_TRUE(table.AppendRow(cells));
    for (int k = 0; k < kTranslationColumns; ++k)
        EXPECT_TRUE(table.Cell(0, k).isEmpty());
    EXPECT_EQ(table.Cell(1, 0), u"Datei"_qs);
    EXPECT_EQ(table.Cell(1, 19), cells[19]);
    table.SetCell(1, 0, QString());
    table.SetCell(1, 7, u"Fichier"_qs);
    table.SetCell(0, 3, u"x"_qs);
    EXPECT_TRUE(table.Cell(1, 0).isEmpty());
    EXPECT_EQ(table.Cell(1, 7), u"Fichier"_qs);
    EXPECT_EQ(table.Cell(1, 19), cells[19]);
    EXPECT_EQ(table.Cell(0, 3), u"x"_qs);
    TranslationTable again;
    ASSERT_EQ(ReadTranslationBytes(TranslationBytes(table), again), 2);
    EXPECT_EQ(TranslationBytes(again), TranslationBytes(table));
}

// The translation seeds of the fuzzer must stay readable files of the format.
TEST(TranslationFileTest, FuzzSeedsReadAndWriteBack) {
    const QFileInfoList seeds = QDir(QStringLiteral(QUILLORA_SOURCE_DIR "/fuzz/corpus/translation"))
                                    .entryInfoList(QDir::Files);
    ASSERT_FALSE(seeds.isEmpty());
    for (const QFileInfo& seed : seeds) {
        TranslationTable table;
        ReadTranslationBytes(ReadAll(seed.filePath()), table);
        TranslationTable again;
        EXPECT_EQ(ReadTranslationBytes(TranslationBytes(table), again), table.RowCount());
    }
}

// A "translate.dat" or "options.dat" that is a link to an endless device or a
// FIFO must be passed over, not read until memory runs out or waited on for ever.
TEST(TranslationFileTest, OnlyPlainProgramFilesAreRead) {
    for (const char* name : {"translate.dat", "options.dat"}) {
        for (const bool fifo : {false, true}) {
            ProgramDirs dirs;
            const QByteArray path = QFile::encodeName(dirs.InProg(QString::fromLatin1(name)));
            if (fifo)
                ASSERT_EQ(::mkfifo(path.constData(), 0600), 0);
            else
                ASSERT_EQ(::symlink("/dev/zero", path.constData()), 0);
            QByteArray bytes("x");
            EXPECT_FALSE(ReadProgramFile(dirs.ProgPath(), QString::fromLatin1(name), &bytes));
            EXPECT_TRUE(bytes.isEmpty());
        }
    }
    ProgramDirs dirs;
    ASSERT_EQ(
        ::symlink("/dev/zero", QFile::encodeName(dirs.InProg(u"translate.dat"_qs)).constData()), 0);
    Translator t;
    t.InitTranslation(dirs.ProgPath());
    EXPECT_EQ(t.Table().RowCount(), 0);
}

} // namespace
