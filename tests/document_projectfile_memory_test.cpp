// The reader takes no more memory than the file's size justifies, and running
// out of memory part-way leaves no half-built document behind.
#include "ByteWriter.h"
#include "DocumentEdits.h"
#include "ProjectFile.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

std::size_t allocatedBytes = 0;
int blocksLeft = -1; // -1: no limit

void* CountingAllocator(std::size_t bytes) {
    if (blocksLeft == 0) return nullptr;
    if (blocksLeft > 0) --blocksLeft;
    allocatedBytes += bytes;
    return std::calloc(1, bytes);
}
void Silent(int, std::uint64_t) {}

class ReaderMemory : public ::testing::Test {
  protected:
    void SetUp() override {
        allocatedBytes = 0;
        blocksLeft = -1;
        record_array::SetBlockAllocator(&CountingAllocator);
        record_array::SetAllocFailureHandler(&Silent);
    }
    void TearDown() override {
        record_array::SetBlockAllocator(nullptr);
        record_array::SetAllocFailureHandler(nullptr);
    }
};

// A short file announcing huge counts must be refused before anything is built for them.
TEST_F(ReaderMemory, HugeCountsAllocateNothingForTheirElements) {
    struct Case {
        const char* what;
        QByteArray head;
    };
    const auto head = [](std::initializer_list<std::int32_t> values) {
        ByteWriter w;
        for (std::int32_t v : values)
            w.Int32(v);
        return w.bytes;
    };
    const Case cases[] = {
        {"categories", head({0x0FFFFFFF})},
        {"fields", head({1, 0, 0x0FFFFFFF})},
        {"variant rows", head({1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0x0FFFFFFF})},
        {"cells", head({1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0x0FFFFFFF})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        allocatedBytes = 0;
        const QByteArray file = c.head + QByteArray(2000, '\0');
        const ProjectReadResult r = ReadProjectFile(file, LayoutSettings());
        EXPECT_FALSE(r.ok());
        // At most the first block of each of the few arrays the head opens.
        EXPECT_LT(allocatedBytes, 64u * 1024u);
    }
}

// Running out of memory at any block of a load gives an error, never a crash or a
// partly filled document (the sanitizer build also checks nothing leaks).
TEST_F(ReaderMemory, OutOfMemoryAtAnyBlockLeavesNoDocument) {
    FormDocument doc;
    for (int c = 0; c < 3; ++c) {
        AppendCategory(doc, QStringLiteral("K%1").arg(c));
        FieldRecord* f = AppendField(doc, c, fkText, "F", 1, 1);
        AddVariantCell(*f->variants->at(0), "cell");
        AddImageEntry(*f, 1, "p.png");
    }
    const QByteArray file = SerializeProject(doc, LayoutSettings());
    ReadProjectFile(file, LayoutSettings());
    const std::size_t needed = allocatedBytes; // nonzero: the load takes blocks
    ASSERT_GT(needed, 0u);
    for (int limit = 0;; ++limit) {
        SCOPED_TRACE(limit);
        blocksLeft = limit;
        const ProjectReadResult r = ReadProjectFile(file, LayoutSettings());
        if (blocksLeft > 0 || r.ok()) {
            EXPECT_TRUE(r.ok()); // enough blocks: the whole file loads
            break;
        }
        EXPECT_EQ(r.status, ProjectReadStatus::Damaged);
        EXPECT_EQ(r.document, nullptr);
        EXPECT_FALSE(r.error.isEmpty());
        EXPECT_FALSE(r.reason.isEmpty());
    }
}

// Many small nested arrays (a category of one field, a row of one cell) must not
// each take a 100-element block: the blocks stay within a few times the file,
// and the document loaded that way still takes edits.
TEST_F(ReaderMemory, SmallNestedArraysTakeBlocksInProportionToTheFile) {
    FormDocument doc;
    for (int c = 0; c < 200; ++c) {
        AppendCategory(doc, QString());
        FieldRecord* f = AppendField(doc, c, fkText, "", 1, 1);
        AddVariantCell(*f->variants->at(0), "");
        AddImageEntry(*f, 1, "");
    }
    const QByteArray file = SerializeProject(doc, LayoutSettings());
    allocatedBytes = 0;
    ProjectReadResult r = ReadProjectFile(file, LayoutSettings());
    ASSERT_TRUE(r.ok());
    EXPECT_LT(allocatedBytes, 4u * static_cast<std::size_t>(file.size()));
    FormDocument& loaded = *r.document;
    ASSERT_NE(AppendField(loaded, 0, fkCheckBox, "second", 1, 1), nullptr);
    ASSERT_NE(AddVariantCell(*loaded.FieldAt(0, 0)->variants->at(0), "b"), nullptr);
    EXPECT_EQ(loaded.FieldCount(0), 2);
    EXPECT_EQ(ToQString(loaded.FieldAt(0, 1)->name), QStringLiteral("second"));
    const RecordArray<VariantCell>& cells = *loaded.FieldAt(0, 0)->variants->at(0)->cells;
    ASSERT_EQ(cells.Count(), 2u);
    EXPECT_EQ(ToQString(cells.at(1)->text), QStringLiteral("b"));
}

} // namespace
