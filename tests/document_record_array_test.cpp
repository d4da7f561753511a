// Block and cursor rules of the record array.
#include "RecordArray.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Rec48 {
    std::uint8_t bytes[48];
};
static_assert(sizeof(Rec48) == 48);

bool IsZero(const Rec48* r) {
    for (std::uint8_t b : r->bytes)
        if (b) return false;
    return true;
}

void Fill(Rec48* r, std::uint8_t v) {
    std::memset(r->bytes, v, sizeof r->bytes);
}

class RecordArrayTest : public ::testing::Test {
  protected:
    Rec48* cursor = reinterpret_cast<Rec48*>(0x1); // a value no operation would publish
    RecordArray<Rec48> array{&cursor};
};

// A first Add must hand out a zeroed element in a 100-element block and publish it.
TEST_F(RecordArrayTest, FirstAddAllocatesOneStepAndPublishesTheElement) {
    Rec48* e = array.Add();
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(IsZero(e));
    EXPECT_EQ(array.Count(), 1u);
    EXPECT_EQ(array.BlockBytes(), 4800u);
    EXPECT_EQ(array.CurrentIndex(), 0);
    EXPECT_EQ(cursor, e);
    EXPECT_EQ(e, array.at(0));
}

// Crossing 100 elements must keep the old bytes and zero the new element; 200 is one block.
TEST_F(RecordArrayTest, GrowthAtTheHundredBoundaryKeepsElementsAndZeroesTheNewOne) {
    for (int i = 0; i < 100; ++i)
        Fill(array.Add(), static_cast<std::uint8_t>(i + 1));
    EXPECT_EQ(array.BlockBytes(), 4800u);
    Rec48* e = array.Add();
    EXPECT_EQ(array.BlockBytes(), 9600u);
    EXPECT_TRUE(IsZero(e));
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(array.at(i)->bytes[47], i + 1) << i;
    for (int i = 0; i < 99; ++i)
        array.Add();
    EXPECT_EQ(array.Count(), 200u);
    EXPECT_EQ(array.BlockBytes(), 9600u);
}

// Shrinking happens as soon as the count falls to a lower multiple of 100, no hysteresis.
TEST_F(RecordArrayTest, DeleteShrinksTheBlockAtTheBoundary) {
    for (int i = 0; i < 101; ++i)
        Fill(array.Add(), static_cast<std::uint8_t>(i));
    array.Delete(0);
    EXPECT_EQ(array.Count(), 100u);
    EXPECT_EQ(array.BlockBytes(), 4800u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(array.at(i)->bytes[0], i + 1);
}

// An element added after a delete reuses block bytes that still hold the deleted record.
TEST_F(RecordArrayTest, AddAfterDeleteYieldsAZeroedElementInAKeptBlock) {
    Fill(array.Add(), 0xAA);
    Fill(array.Add(), 0xBB);
    array.Delete(1);
    Rec48* e = array.Add();
    EXPECT_EQ(array.BlockBytes(), 4800u);
    EXPECT_TRUE(IsZero(e));
}

// Deleting the only element releases the block and nulls the cursor; the array stays usable.
TEST_F(RecordArrayTest, DeletingTheLastElementReleasesTheBlock) {
    array.Add();
    array.Delete(0);
    EXPECT_EQ(array.Block(), nullptr);
    EXPECT_EQ(array.BlockBytes(), 0u);
    EXPECT_EQ(cursor, nullptr);
    EXPECT_EQ(array.CurrentIndex(), -1);
    Rec48* e = array.Add();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(array.BlockBytes(), 4800u);
    EXPECT_EQ(cursor, e);
}

// Out-of-range Delete and Change must change nothing, the cursor included.
TEST_F(RecordArrayTest, OutOfRangeDeleteAndChangeAreIgnored) {
    for (int i = 0; i < 3; ++i)
        Fill(array.Add(), static_cast<std::uint8_t>(i + 1));
    array.GetObject(1);
    const struct {
        const char* what;
        void (*op)(RecordArray<Rec48>&);
    } cases[] = {
        {"Delete(-1)", [](RecordArray<Rec48>& a) { a.Delete(-1); }},
        {"Delete(count)", [](RecordArray<Rec48>& a) { a.Delete(3); }},
        {"Change(-1, 0)", [](RecordArray<Rec48>& a) { a.Change(-1, 0); }},
        {"Change(0, count)", [](RecordArray<Rec48>& a) { a.Change(0, 3); }},
    };
    for (const auto& c : cases) {
        c.op(array);
        EXPECT_EQ(array.Count(), 3u) << c.what;
        EXPECT_EQ(array.CurrentIndex(), 1) << c.what;
        EXPECT_EQ(cursor, array.at(1)) << c.what;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(array.at(i)->bytes[0], i + 1) << c.what;
    }
}

// Insert(count) appends; Insert(count + 1) and negative indices are refused untouched.
TEST_F(RecordArrayTest, InsertBoundaries) {
    Fill(array.Add(), 1);
    Fill(array.Add(), 2);
    EXPECT_EQ(array.Insert(3), nullptr);
    EXPECT_EQ(array.Insert(-1), nullptr);
    EXPECT_EQ(array.Count(), 2u);
    Rec48* appended = array.Insert(2);
    ASSERT_NE(appended, nullptr);
    EXPECT_EQ(appended, array.at(2));
    Rec48* front = array.Insert(0);
    EXPECT_TRUE(IsZero(front));
    EXPECT_EQ(cursor, front);
    EXPECT_EQ(array.at(1)->bytes[0], 1);
    EXPECT_EQ(array.at(2)->bytes[0], 2);
    EXPECT_TRUE(IsZero(array.at(3)));
}

// Insert must shift across a block boundary without losing the last element.
TEST_F(RecordArrayTest, InsertAcrossTheBoundaryMovesEveryElement) {
    for (int i = 0; i < 100; ++i)
        Fill(array.Add(), static_cast<std::uint8_t>(i));
    array.Insert(50);
    EXPECT_EQ(array.Count(), 101u);
    EXPECT_EQ(array.BlockBytes(), 9600u);
    EXPECT_EQ(array.at(49)->bytes[0], 49);
    EXPECT_TRUE(IsZero(array.at(50)));
    EXPECT_EQ(array.at(100)->bytes[0], 99);
}

// Change swaps the two records and leaves the cursor on b; Change(i, i) is a no-op swap.
TEST_F(RecordArrayTest, ChangeSwapsAndPositionsOnB) {
    Fill(array.Add(), 1);
    Fill(array.Add(), 2);
    array.Change(0, 1);
    EXPECT_EQ(array.at(0)->bytes[0], 2);
    EXPECT_EQ(array.at(1)->bytes[0], 1);
    EXPECT_EQ(array.CurrentIndex(), 1);
    EXPECT_EQ(cursor, array.at(1));
    array.Change(0, 0);
    EXPECT_EQ(array.at(0)->bytes[0], 2);
    EXPECT_EQ(array.CurrentIndex(), 0);
}

// First on an empty array keeps the old cursor, and WhileNext then stops at once.
TEST_F(RecordArrayTest, FirstOnEmptyArrayLeavesTheCursorAlone) {
    Rec48* const before = cursor;
    array.First();
    EXPECT_EQ(cursor, before);
    EXPECT_EQ(array.CurrentIndex(), -1);
    EXPECT_FALSE(array.WhileNext());
}

// A complete walk visits every element once and ends with aobjnr == count on the last element.
TEST_F(RecordArrayTest, WalkVisitsEveryElementAndEndsPastTheLast) {
    for (int i = 0; i < 5; ++i)
        Fill(array.Add(), static_cast<std::uint8_t>(i));
    std::vector<int> seen;
    array.First();
    while (array.WhileNext()) {
        seen.push_back(cursor->bytes[0]);
        EXPECT_EQ(array.CurrentIndex(), static_cast<int>(seen.size()));
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(array.CurrentIndex(), 5);
    EXPECT_EQ(cursor, array.at(4));
}

// Next moves from -1 to 0 and refuses to pass the last element.
TEST_F(RecordArrayTest, NextStopsAtTheLastElement) {
    EXPECT_FALSE(array.Next());
    array.Add();
    array.Add();
    array.Delete(5); // ignored, cursor stays on 1
    array.GetObject(0);
    EXPECT_TRUE(array.Next());
    EXPECT_EQ(array.CurrentIndex(), 1);
    EXPECT_FALSE(array.Next());
    array.Clear();
    array.Add();
    array.Add();
    array.Delete(1); // cursor now none (-1)
    EXPECT_TRUE(array.Next());
    EXPECT_EQ(array.CurrentIndex(), 0);
}

// Clear publishes null; Destroy leaves the caller's variable as it was.
TEST(RecordArrayLifetime, ClearPublishesNullDestroyDoesNot) {
    Rec48* cursor = nullptr;
    {
        RecordArray<Rec48> array(&cursor);
        array.Add();
        Rec48* last = array.Add();
        array.Destroy();
        EXPECT_EQ(cursor, last);
        EXPECT_EQ(array.CurrentIndex(), -1);
        array.Add();
        array.Clear();
        EXPECT_EQ(cursor, nullptr);
        EXPECT_EQ(array.Block(), nullptr);
    }
    // An array without a cursor variable publishes nothing.
    RecordArray<Rec48> silent;
    EXPECT_NE(silent.Add(), nullptr);
}

// Arrays sharing one cursor variable overwrite each other's published element.
TEST(RecordArrayLifetime, SiblingArraysShareTheCursorVariable) {
    Rec48* cursor = nullptr;
    RecordArray<Rec48> a(&cursor), b(&cursor);
    Rec48* ea = a.Add();
    Rec48* eb = b.Add();
    EXPECT_EQ(cursor, eb);
    a.First();
    EXPECT_EQ(cursor, ea);
}

std::vector<std::string> messages;
void Record(int errorNumber, std::uint64_t needed) {
    messages.push_back(record_array::AllocFailureMessage(errorNumber, needed));
}
int allowedBlocks = 0;
void* Limited(std::size_t bytes) {
    if (allowedBlocks-- <= 0) return nullptr;
    return std::calloc(1, bytes);
}

// A block that cannot be had must give the numbered message and write nothing through it.
TEST(RecordArrayAllocation, FailuresReportTheirNumberAndLeaveTheArrayIntact) {
    messages.clear();
    record_array::SetAllocFailureHandler(&Record);
    record_array::SetBlockAllocator(&Limited);
    Rec48* cursor = nullptr;
    {
        RecordArray<Rec48> array(&cursor);
        allowedBlocks = 0;
        EXPECT_EQ(array.Add(), nullptr);
        EXPECT_EQ(array.Count(), 0u);
        allowedBlocks = 1;
        for (int i = 0; i < 100; ++i)
            Fill(array.Add(), 7);
        EXPECT_EQ(array.Add(), nullptr); // growing to 200 fails
        EXPECT_EQ(array.Insert(0), nullptr);
        EXPECT_EQ(array.Count(), 100u);
        EXPECT_EQ(array.at(99)->bytes[0], 7);
        allowedBlocks = 1;
        array.Add(); // 101: the 200 block
        allowedBlocks = 0;
        array.Delete(0); // shrinking fails: the larger block is kept
        EXPECT_EQ(array.Count(), 100u);
        EXPECT_EQ(array.BlockBytes(), 9600u);
        EXPECT_EQ(array.at(98)->bytes[0], 7);
    }
    record_array::SetBlockAllocator(nullptr);
    record_array::SetAllocFailureHandler(nullptr);
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0],
              "Error 1 while trying to allocate 4800 bytes of RAM. Not enough memory.");
    EXPECT_EQ(messages[1],
              "Error 2 while trying to allocate 9600 bytes of RAM. Not enough memory.");
    EXPECT_EQ(messages[3],
              "Error 3 while trying to allocate 4800 bytes of RAM. Not enough memory.");
}

// A record so large that the block size passes 32 bits must fail, not wrap to a tiny block.
TEST(RecordArrayAllocation, BlockSizeBeyond32BitsFailsInsteadOfWrapping) {
    struct Huge {
        std::array<std::uint8_t, 50'000'000> bytes;
    };
    messages.clear();
    record_array::SetAllocFailureHandler(&Record);
    RecordArray<Huge> array;
    EXPECT_EQ(array.Add(), nullptr);
    EXPECT_EQ(array.Count(), 0u);
    record_array::SetAllocFailureHandler(nullptr);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              "Error 1 while trying to allocate 5000000000 bytes of RAM. Not enough memory.");
}

// Reserve takes the block for a count at once; the adds then copy nothing, and
// the end state (block size, zeroed elements, cursor) is the one adding alone gives.
TEST(RecordArrayReserve, AddsIntoTheReservedBlockWithoutCopies) {
    static int blocks = 0;
    record_array::SetBlockAllocator([](std::size_t bytes) {
        ++blocks;
        return std::calloc(1, bytes);
    });
    struct Pair {
        std::int32_t a, b;
    };
    Pair* cursor = nullptr;
    RecordArray<Pair> reserved(&cursor), grown;
    blocks = 0;
    ASSERT_TRUE(reserved.Reserve(250));
    EXPECT_EQ(reserved.Count(), 0u);
    EXPECT_EQ(reserved.BlockBytes(), 300 * sizeof(Pair));
    for (int i = 0; i < 250; ++i) {
        Pair* p = reserved.Add();
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->a, 0);
        p->a = i;
    }
    EXPECT_EQ(blocks, 1);
    for (int i = 0; i < 250; ++i)
        grown.Add()->a = i;
    record_array::SetBlockAllocator(nullptr);
    EXPECT_EQ(reserved.BlockBytes(), grown.BlockBytes());
    EXPECT_EQ(std::memcmp(reserved.Block(), grown.Block(), reserved.BlockBytes()), 0);
    EXPECT_EQ(cursor, reserved.at(249));
    // A smaller reserve changes nothing; deleting shrinks as before.
    EXPECT_TRUE(reserved.Reserve(10));
    EXPECT_EQ(reserved.BlockBytes(), 300 * sizeof(Pair));
    reserved.Delete(0);
    EXPECT_EQ(reserved.BlockBytes(), 300 * sizeof(Pair));
    for (int i = 0; i < 49; ++i)
        reserved.Delete(0);
    EXPECT_EQ(reserved.BlockBytes(), 200 * sizeof(Pair));
}

// An exact block from ReserveExact must hold its adds without a copy, then
// give way to the 100-step block on the first add past it or the first delete,
// keeping every element's bytes (a fault here writes past the exact block).
TEST(RecordArrayReserve, ExactBlockGivesWayToTheRuleOnTheFirstEdit) {
    struct Pair {
        std::int32_t a, b;
    };
    struct Case {
        const char* edit;
        std::uint32_t reserved;
        std::uint32_t countAfter;
        std::uint32_t blockAfter; // elements
    };
    const Case cases[] = {
        {"add past the block", 3, 4, 100},
        {"insert at the front", 3, 4, 100},
        {"delete one", 3, 2, 100},
        {"delete from 150", 150, 149, 200},
        {"delete from 150 to 99", 150, 99, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edit);
        Pair* cursor = nullptr;
        RecordArray<Pair> array(&cursor);
        ASSERT_TRUE(array.ReserveExact(c.reserved));
        EXPECT_EQ(array.BlockBytes(), c.reserved * sizeof(Pair));
        for (std::uint32_t i = 0; i < c.reserved; ++i)
            array.Add()->a = static_cast<std::int32_t>(i) + 1;
        EXPECT_EQ(array.BlockBytes(), c.reserved * sizeof(Pair)) << "the adds kept the exact block";
        // What each element's a must be after the edit.
        std::vector<std::int32_t> expected;
        for (std::uint32_t i = 0; i < c.reserved; ++i)
            expected.push_back(static_cast<std::int32_t>(i) + 1);
        const std::string edit = c.edit;
        if (edit == "add past the block") {
            EXPECT_EQ(array.Add()->a, 0);
            expected.push_back(0);
        } else if (edit == "insert at the front") {
            EXPECT_EQ(array.Insert(0)->a, 0);
            expected.insert(expected.begin(), 0);
        } else {
            while (array.Count() > c.countAfter)
                array.Delete(static_cast<std::int32_t>(array.Count()) - 1);
            expected.resize(c.countAfter);
        }
        EXPECT_EQ(array.Count(), c.countAfter);
        EXPECT_EQ(array.BlockBytes(), c.blockAfter * sizeof(Pair));
        for (std::uint32_t i = 0; i < array.Count(); ++i)
            ASSERT_EQ(array.at(static_cast<std::int32_t>(i))->a, expected[i]) << "element " << i;
    }
}

} // namespace
