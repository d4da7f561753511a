// The reader takes no more memory than the file's size justifies, and running
// out of memory part-way leaves no half-built document behind.
#include "ByteWriter.h"
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
void Silent(const std::string&) {}

class ReaderMemory : public ::testing::Test {
  protected:
    void SetUp() override {
        allocatedBytes = 0;
        blocksLeft = -1;
        dyna::SetBlockAllocator(&CountingAllocator);
        dyna::SetAllocFailureHandler(&Silent);
    }
    void TearDown() override {
        dyna::SetBlockAllocator(nullptr);
        dyna::SetAllocFailureHandler(nullptr);
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
        doc.AddCategory(QStringLiteral("K%1").arg(c));
        FieldRecord* f = doc.AddField(c, fkText, "F", 1, 1);
        AddVariantCell(doc, *f->variants->at(0), "cell");
        AddImageEntry(doc, *f, 1, "p.png");
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
    }
}

} // namespace
