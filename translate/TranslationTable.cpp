#include "TranslationTable.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>

namespace {
std::u16string_view View(const QString& s) {
    return {reinterpret_cast<const char16_t*>(s.constData()), static_cast<std::size_t>(s.size())};
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

namespace {
// The first four code units of a key, the first in the highest bits, missing
// ones as zero: a smaller prefix means a smaller key, equal prefixes decide nothing.
std::uint64_t KeyPrefix(const QString& key) {
    std::uint64_t prefix = 0;
    const qsizetype n = std::min<qsizetype>(key.size(), 4);
    for (qsizetype i = 0; i < 4; ++i)
        prefix = prefix << 16 | (i < n ? key.at(i).unicode() : 0u);
    return prefix;
}
} // namespace

void SortIndexBucket(TranslationBucket& bucket, int low, int high) {
    if (low < 0 || high >= static_cast<int>(bucket.size()) || low >= high) return;
    // Sorted through a small array of key prefixes and positions: most
    // comparisons then read no text, so a bucket of a whole table's keys sorts
    // without a cache miss per comparison.
    struct Slot {
        std::uint64_t prefix;
        std::uint32_t from;   // position in the bucket of the entry that goes here
        std::uint32_t length; // of the key, at most the largest 32-bit value
    };
    const auto n = static_cast<std::size_t>(high - low + 1);
    std::vector<Slot> order;
    order.reserve(n);
    for (int i = low; i <= high; ++i) {
        const QString& key = bucket[static_cast<std::size_t>(i)].key;
        order.push_back({KeyPrefix(key), static_cast<std::uint32_t>(i),
                         static_cast<std::uint32_t>(std::min<qsizetype>(key.size(), UINT32_MAX))});
    }
    std::sort(order.begin(), order.end(), [&bucket](const Slot& a, const Slot& b) {
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        // Keys of up to four units lie wholly in their prefixes: the shorter first.
        if (a.length <= 4 && b.length <= 4) return a.length < b.length;
        return View(bucket[a.from].key) < View(bucket[b.from].key);
    });
    // Move each entry to its place by following the cycles of the order.
    constexpr std::uint32_t placed = UINT32_MAX;
    for (std::size_t k = 0; k < n; ++k) {
        if (order[k].from == placed) continue;
        TranslationIndexEntry held = std::move(bucket[low + k]);
        std::size_t j = k;
        for (;;) {
            const std::size_t source = order[j].from - static_cast<std::size_t>(low);
            order[j].from = placed;
            if (source == k) {
                bucket[low + j] = std::move(held);
                break;
            }
            bucket[low + j] = std::move(bucket[low + source]);
            j = source;
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
