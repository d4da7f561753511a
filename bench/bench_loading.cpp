// Loading speed and memory of generated project files of 1, 2, 4 and 8 MB and
// translation files of 0.25, 0.5, 1 and 2 MB, in the shapes that stress the
// readers most: many elements in one array, many small nested arrays, many
// empty texts. Time should grow linearly with the size (t(8 MB) / t(1 MB)
// about 8); the counter peak_per_byte is the most heap in use during one load
// (above what was in use before it) divided by the file's size.
//
// The heap is counted by wrapping malloc and its relatives for the whole
// program, so Qt's and the readers' blocks are all seen.

#include "ProjectFile.h"
#include "TranslationFile.h"
#include "TranslationTable.h"

#include <QtEndian>
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <malloc.h>

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);
}

namespace {
std::atomic<long long> inUse{0};
std::atomic<long long> peak{0};

void Count(void* p) {
    if (!p) return;
    const long long now = inUse += static_cast<long long>(malloc_usable_size(p));
    long long seen = peak.load();
    while (now > seen && !peak.compare_exchange_weak(seen, now)) {
    }
}
void Uncount(void* p) {
    if (p) inUse -= static_cast<long long>(malloc_usable_size(p));
}
} // namespace

extern "C" {
void* malloc(size_t n) {
    void* p = __libc_malloc(n);
    Count(p);
    return p;
}
void* calloc(size_t n, size_t size) {
    void* p = __libc_calloc(n, size);
    Count(p);
    return p;
}
void* realloc(void* old, size_t n) {
    Uncount(old);
    void* p = __libc_realloc(old, n);
    Count(p ? p : (n ? old : nullptr));
    return p;
}
void free(void* p) {
    Uncount(p);
    __libc_free(p);
}
void* memalign(size_t align, size_t n) {
    void* p = __libc_memalign(align, n);
    Count(p);
    return p;
}
void* aligned_alloc(size_t align, size_t n) {
    return memalign(align, n);
}
int posix_memalign(void** out, size_t align, size_t n) {
    *out = memalign(align, n);
    return *out ? 0 : 12; // ENOMEM
}
}

namespace {

void Int32(QByteArray& out, std::int32_t v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}
void Float64(QByteArray& out, double v) {
    char b[8];
    qToLittleEndian(v, b);
    out.append(b, 8);
}
void AString(QByteArray& out, const char* text) {
    Int32(out, static_cast<std::int32_t>(std::strlen(text)));
    out.append(text);
}
// A field up to its variant rows.
void FieldHead(QByteArray& out) {
    AString(out, "");
    AString(out, "");
    Int32(out, 0);
    Float64(out, 6);
    Float64(out, 1);
    Int32(out, 0);
}

// The file's settings and trailing sections, as an empty document writes them.
QByteArray Tail() {
    static const QByteArray tail = SerializeProject(FormDocument(), LayoutSettings()).mid(4);
    return tail;
}

// Project files of about `bytes` bytes in each shape.
enum class Shape { CellsInOneRow, OneCellRows, EmptyRows, Fields, Categories, Pictures, EmptyCategories };

QByteArray ProjectFile(Shape shape, qint64 bytes) {
    QByteArray out;
    out.reserve(bytes + 4096);
    auto body = [&](int each, const std::function<void()>& one) {
        const int n = static_cast<int>(bytes / each);
        Int32(out, n);
        for (int i = 0; i < n; ++i)
            one();
    };
    switch (shape) {
    case Shape::CellsInOneRow:
        Int32(out, 1);
        AString(out, "K");
        Int32(out, 1);
        FieldHead(out);
        Int32(out, 1);
        body(8, [&] { AString(out, "abcd"); });
        Int32(out, 0);
        break;
    case Shape::OneCellRows:
    case Shape::EmptyRows:
        Int32(out, 1);
        AString(out, "K");
        Int32(out, 1);
        FieldHead(out);
        if (shape == Shape::OneCellRows)
            body(8, [&] {
                Int32(out, 1);
                AString(out, "");
            });
        else
            body(4, [&] { Int32(out, 0); });
        Int32(out, 0);
        break;
    case Shape::Fields:
        Int32(out, 1);
        AString(out, "K");
        body(44, [&] {
            FieldHead(out);
            Int32(out, 0);
            Int32(out, 0);
        });
        break;
    case Shape::Categories:
        body(48, [&] {
            AString(out, "");
            Int32(out, 1);
            FieldHead(out);
            Int32(out, 0);
            Int32(out, 0);
        });
        break;
    case Shape::EmptyCategories:
        body(8, [&] {
            AString(out, "");
            Int32(out, 0);
        });
        break;
    case Shape::Pictures:
        Int32(out, 1);
        AString(out, "K");
        Int32(out, 1);
        FieldHead(out);
        Int32(out, 0);
        body(13, [&] {
            Float64(out, 1);
            AString(out, "p");
        });
        break;
    }
    out.append(Tail());
    return out;
}

// Translation files of about `bytes` bytes: 20 columns of short texts, one
// column, or no columns at all (a header, then bytes the rows do not use).
// Columns -1 is one column in which every German text differs (the index
// then sorts one bucket of all different keys).
QByteArray TranslationFileOf(int columns, qint64 bytes) {
    const bool distinct = columns < 0;
    columns = std::abs(columns);
    QByteArray out;
    Int32(out, columns);
    const int perRow = columns == 0 ? 1 : columns * (4 + 2 * 3);
    const int rows = static_cast<int>(bytes / perRow);
    Int32(out, rows);
    if (columns == 0) {
        out.append(QByteArray(bytes, '\0'));
        return out;
    }
    for (int r = 0; r < rows; ++r)
        for (int k = 0; k < columns; ++k) {
            Int32(out, 3);
            char16_t text[3] = {u'a', static_cast<char16_t>(u'A' + r % 26),
                                static_cast<char16_t>(u'0' + k % 10)};
            if (distinct) {
                // Spread over the rows like a real table's texts, not in file order.
                const unsigned mixed = static_cast<unsigned>(r) * 2654435761u % 40000000u;
                text[1] = static_cast<char16_t>(0x4E00 + mixed % 20000);
                text[2] = static_cast<char16_t>(0x4E00 + mixed / 20000);
            }
            out.append(reinterpret_cast<const char*>(text), 6);
        }
    return out;
}

void Report(benchmark::State& state, const QByteArray& file, long long maxPeak) {
    state.counters["MB"] = static_cast<double>(file.size()) / (1 << 20);
    state.counters["peak_per_byte"] = static_cast<double>(maxPeak) / file.size();
    state.SetBytesProcessed(state.iterations() * file.size());
}

void BM_LoadProject(benchmark::State& state) {
    const auto shape = static_cast<Shape>(state.range(0));
    const QByteArray file = ProjectFile(shape, state.range(1) << 20);
    const LayoutSettings settings;
    long long maxPeak = 0;
    for (auto _ : state) {
        const long long before = inUse.load();
        peak = before;
        ProjectReadResult read = ReadProjectFile(file, settings);
        maxPeak = std::max(maxPeak, peak.load() - before);
        if (!read.ok()) state.SkipWithError("the generated file did not load");
        state.PauseTiming();
        read.document.reset();
        state.ResumeTiming();
    }
    Report(state, file, maxPeak);
}

void BM_LoadTranslation(benchmark::State& state) {
    const QByteArray file =
        TranslationFileOf(static_cast<int>(state.range(0)), state.range(1) << 18);
    long long maxPeak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto table = std::make_unique<TranslationTable>();
        state.ResumeTiming();
        const long long before = inUse.load();
        peak = before;
        ReadTranslationBytes(file, *table);
        table->BuildIndex();
        maxPeak = std::max(maxPeak, peak.load() - before);
        state.PauseTiming();
        table.reset();
        state.ResumeTiming();
    }
    Report(state, file, maxPeak);
}

void ProjectArgs(benchmark::internal::Benchmark* b) {
    b->ArgNames({"shape", "MB"});
    for (int shape = 0; shape <= static_cast<int>(Shape::EmptyCategories); ++shape)
        for (int mb : {1, 2, 4, 8})
            b->Args({shape, mb});
}

void TranslationArgs(benchmark::internal::Benchmark* b) {
    b->ArgNames({"columns", "quarterMB"});
    for (int columns : {20, 1, -1, 0})
        for (int quarters : {1, 2, 4, 8})
            b->Args({columns, quarters});
}

} // namespace

BENCHMARK(BM_LoadProject)->Apply(ProjectArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTranslation)->Apply(TranslationArgs)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
