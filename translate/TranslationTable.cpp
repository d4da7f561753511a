#include "TranslationTable.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace {
std::u16string_view View(const QString& s) {
    return {reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size())};
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
    return ToQString(rows.at(row)->cells[cell]);
}

bool TranslationTable::AppendRow(const std::array<QString, kTranslationColumns>& cells) {
    // Make the texts first, so that a failed append leaves nothing half-made.
    TranslationRow fresh{};
    for (int k = 0; k < kTranslationColumns; ++k)
        fresh.cells[k] = NewText(cells[k]);
    TranslationRow* row = rows.Add();
    if (!row) {
        for (OwnedText& text : fresh.cells)
            FreeText(text);
        return false;
    }
    *row = fresh;
    return true;
}

void TranslationTable::SetCell(int row, int cell, const QString& text) {
    if (row < 0 || row >= RowCount() || cell < 0 || cell >= kTranslationColumns) return;
    ReplaceText(rows.at(row)->cells[cell], text);
}

void TranslationTable::DeleteRow(int row) {
    if (row < 0 || row >= RowCount()) return;
    for (OwnedText& text : rows.at(row)->cells)
        FreeText(text);
    rows.Delete(row);
    for (TranslationBucket& bucket : buckets) {
        std::erase_if(bucket, [row](const TranslationIndexEntry& e) { return e.row == row; });
        for (TranslationIndexEntry& e : bucket)
            if (e.row > row) --e.row;
    }
}

void TranslationTable::Clear() {
    for (int r = 0; r < RowCount(); ++r)
        for (OwnedText& text : rows.at(r)->cells)
            FreeText(text);
    rows.Clear();
    for (TranslationBucket& bucket : buckets)
        bucket.clear();
}

void TranslationTable::BuildIndex() {
    for (TranslationBucket& bucket : buckets)
        bucket.clear();
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
