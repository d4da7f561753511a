#pragma once
// The translation table: rows of 20 UTF-16 cells (cell 0 the German text, cell n
// the text in language n) and the lookup index of 256 buckets chosen by the low
// byte of a German text's first code unit.

#include "RecordArray.h"

#include <QString>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

constexpr int kTranslationColumns = 20;

// One row as the record array keeps it: the cells that are not empty, packed
// into one block, or no block at all when every cell is empty. Empty cells
// take no memory; the table reads and writes rows only through its methods.
struct TranslationRow {
    char16_t* packed; // null: every cell is empty
};

struct TranslationIndexEntry {
    QString key; // the German text as it was when the entry was made
    std::int32_t row = 0;
};

using TranslationBucket = std::vector<TranslationIndexEntry>;

// Orders two keys by their UTF-16 code units, unsigned; a prefix comes first.
int CompareKeys(const QString& a, const QString& b);

// Sorts entries low..high of one bucket in place by their keys (the order of
// equal keys is not defined).
void SortIndexBucket(TranslationBucket& bucket, int low, int high);

class TranslationTable {
  public:
    TranslationTable();
    ~TranslationTable();
    TranslationTable(const TranslationTable&) = delete;
    TranslationTable& operator=(const TranslationTable&) = delete;

    int RowCount() const { return static_cast<int>(rows.Count()); }
    // The text of one cell; empty for a row or cell out of range.
    QString Cell(int row, int cell) const;
    // Every cell of a row without copying, valid until the row changes; all
    // empty for a row out of range. For writing the table out.
    std::array<std::u16string_view, kTranslationColumns> RowView(int row) const;

    // Makes room for n rows at once (readers, after checking n against the file).
    bool ReserveRows(int n);
    // Appends a row with the given cells (missing cells empty); false when no memory.
    bool AppendRow(const std::array<QString, kTranslationColumns>& cells);
    // Replaces one cell; rows and cells out of range are ignored. The index is not touched.
    void SetCell(int row, int cell, const QString& text);
    // Removes one row, its index entries, and renumbers the entries of later rows.
    void DeleteRow(int row);
    // Removes every row and index entry.
    void Clear();

    // Indexes every row with a German text and sorts every bucket.
    void BuildIndex();
    // Appends an index entry for row at the end of its bucket.
    void AddIndexEntry(const QString& key, int row);
    // The row of the first entry in the key's bucket whose key equals it exactly; -1 if none.
    int FindRow(const QString& key) const;
    const TranslationBucket& Bucket(int b) const { return buckets[static_cast<std::size_t>(b)]; }
    static int BucketOf(const QString& key) {
        return key.isEmpty() ? 0 : key.at(0).unicode() & 255;
    }

  private:
    RecordArray<TranslationRow> rows;
    std::array<TranslationBucket, 256> buckets;
};
