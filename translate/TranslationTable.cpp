#include "TranslationTable.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>

namespace {
std::u16string_view View(const QString& s) {
    return {reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size())};
}

// A packed row is a run of 16-bit units: the number of cells it holds, then for
// each cell its column, its length in two units (low, high) and its code units.
using RowCells = std::array<std::u16string_view, kTranslationColumns>;

RowCells Unpack(const char16_t* packed) {
    RowCells cells{};
    if (!packed) return cells;
    const char16_t* p = packed + 1;
    for (int n = packed[0]; n > 0; --n) {
        const int column = p[0];
        const std::size_t length = static_cast<std::size_t>(p[1]) | std::size_t{p[2]} << 16;
        cells[static_cast<std::size_t>(column)] = std::u16string_view(p + 3, length);
        p += 3 + length;
    }
    return cells;
}

// The packed block for cells; null when every cell is empty (or, with *ok
// false, when there is no memory for the block).
char16_t* Pack(const RowCells& cells, bool* ok) {
    *ok = true;
    std::size_t units = 1, used = 0;
    for (const std::u16string_view cell : cells)
        if (!cell.empty()) {
            units += 3 + cell.size();
            ++used;
        }
    if (used == 0) return nullptr;
    auto* packed = static_cast<char16_t*>(std::malloc(units * sizeof(char16_t)));
    if (!packed) {
        *ok = false;
        return nullptr;
    }
    packed[0] = static_cast<char16_t>(used);
    char16_t* p = packed + 1;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const std::u16string_view cell = cells[k];
        if (cell.empty()) continue;
        p[0] = static_cast<char16_t>(k);
        p[1] = static_cast<char16_t>(cell.size() & 0xFFFF);
        p[2] = static_cast<char16_t>(cell.size() >> 16);
        std::memcpy(p + 3, cell.data(), cell.size() * sizeof(char16_t));
        p += 3 + cell.size();
    }
    return packed;
}

void FreeRow(TranslationRow& row) {
    std::free(row.packed);
    row.packed = nullptr;
}
} // namespace

int CompareKeys(const QString& a, const QString& b) {
    // char16_t compares unsigned, which is the code unit order we want.
    const int c = View(a).compare(View(b));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void SortIndexBucket(TranslationBucket& bucket, int low, int high) {
    if (low < 0 || high >= static_cast<int>(bucket.size())) return;
    // The smaller part is sorted by a call, the larger one by the loop, so that
    // the depth of calls stays small for any order of keys.
    while (low < high) {
        int i = low;
        int j = high;
        const QString pivot = bucket[static_cast<std::size_t>((low + high) / 2)].key;
        while (i <= j) {
            while (CompareKeys(bucket[static_cast<std::size_t>(i)].key, pivot) < 0)
                ++i;
            while (CompareKeys(bucket[static_cast<std::size_t>(j)].key, pivot) > 0)
                --j;
            if (i <= j) {
                std::swap(bucket[static_cast<std::size_t>(i)], bucket[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        }
        if (j - low < high - i) {
            if (low < j) SortIndexBucket(bucket, low, j);
            low = i;
        } else {
            if (i < high) SortIndexBucket(bucket, i, high);
            high = j;
        }
    }
}

TranslationTable::TranslationTable() = default;

TranslationTable::~TranslationTable() {
    Clear();
}

QString TranslationTable::Cell(int row, int cell) const {
    if (row < 0 || row >= RowCount() || cell < 0 || cell >= kTranslationColumns) return {};
    const std::u16string_view text = Unpack(rows.at(row)->packed)[static_cast<std::size_t>(cell)];
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

std::array<std::u16string_view, kTranslationColumns> TranslationTable::RowView(int row) const {
    if (row < 0 || row >= RowCount()) return {};
    return Unpack(rows.at(row)->packed);
}

bool TranslationTable::ReserveRows(int n) {
    return n <= 0 || rows.Reserve(static_cast<std::uint32_t>(n));
}

bool TranslationTable::AppendRow(const std::array<QString, kTranslationColumns>& cells) {
    // Make the block first, so that a failed append leaves nothing half-made.
    RowCells views{};
    for (std::size_t k = 0; k < views.size(); ++k)
        views[k] = View(cells[k]);
    bool ok = true;
    TranslationRow fresh{Pack(views, &ok)};
    if (!ok) return false;
    TranslationRow* row = rows.Add();
    if (!row) {
        FreeRow(fresh);
        return false;
    }
    *row = fresh;
    return true;
}

void TranslationTable::SetCell(int row, int cell, const QString& text) {
    if (row < 0 || row >= RowCount() || cell < 0 || cell >= kTranslationColumns) return;
    TranslationRow& target = *rows.at(row);
    RowCells views = Unpack(target.packed);
    views[static_cast<std::size_t>(cell)] = View(text);
    bool ok = true;
    char16_t* packed = Pack(views, &ok);
    if (!ok) throw std::bad_alloc();
    std::free(target.packed);
    target.packed = packed;
}

void TranslationTable::DeleteRow(int row) {
    if (row < 0 || row >= RowCount()) return;
    FreeRow(*rows.at(row));
    rows.Delete(row);
    for (TranslationBucket& bucket : buckets) {
        std::erase_if(bucket, [row](const TranslationIndexEntry& e) { return e.row == row; });
        for (TranslationIndexEntry& e : bucket)
            if (e.row > row) --e.row;
    }
}

void TranslationTable::Clear() {
    for (int r = 0; r < RowCount(); ++r)
        FreeRow(*rows.at(r));
    rows.Clear();
    for (TranslationBucket& bucket : buckets)
        bucket.clear();
}

void TranslationTable::BuildIndex() {
    // Each bucket gets its exact size first: no vector grows by copying.
    std::array<std::size_t, 256> sizes{};
    for (int r = 0; r < RowCount(); ++r) {
        const std::u16string_view german = Unpack(rows.at(r)->packed)[0];
        if (!german.empty()) ++sizes[german[0] & 255];
    }
    for (std::size_t b = 0; b < buckets.size(); ++b) {
        buckets[b].clear();
        buckets[b].reserve(sizes[b]);
    }
    for (int r = 0; r < RowCount(); ++r) {
        const QString german = Cell(r, 0);
        if (!german.isEmpty()) AddIndexEntry(german, r);
    }
    for (TranslationBucket& bucket : buckets)
        if (!bucket.empty()) SortIndexBucket(bucket, 0, static_cast<int>(bucket.size()) - 1);
}

void TranslationTable::AddIndexEntry(const QString& key, int row) {
    if (key.isEmpty()) return;
    buckets[static_cast<std::size_t>(BucketOf(key))].push_back({key, row});
}

int TranslationTable::FindRow(const QString& key) const {
    if (key.isEmpty()) return -1;
    for (const TranslationIndexEntry& e : buckets[static_cast<std::size_t>(BucketOf(key))])
        if (CompareKeys(e.key, key) == 0) return e.row;
    return -1;
}
