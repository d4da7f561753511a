#pragma once
// RecordArray: the container of every document list and of the translation
// table. A growable run of plain records in one zero-filled block that grows
// and shrinks in steps of 100 elements, with a cursor that every positioning
// call also publishes into a pointer variable owned by the caller.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

namespace record_array {

// Told when a block cannot be had (1 the first block, 2 growing, 3 shrinking)
// and how many bytes it needed; the user interface installs a message box. The
// default prints AllocFailureMessage to stderr.
using AllocFailureHandler = void (*)(int errorNumber, std::uint64_t needed);
void SetAllocFailureHandler(AllocFailureHandler handler);
void ReportAllocFailure(int errorNumber, std::uint64_t needed);
// "Error n while trying to allocate " + needed + " bytes of RAM. Not enough memory.",
// made of the fixed lead and tail, which a window translates one by one.
std::string AllocFailureMessage(int errorNumber, std::uint64_t needed);
std::string AllocFailureLead(int errorNumber); // "Error n while trying to allocate "
extern const char* const kAllocFailureTail;    // " bytes of RAM. Not enough memory."

// The memory source; tests replace it to provoke allocation failures.
using BlockAllocator = void* (*)(std::size_t bytes);
void SetBlockAllocator(BlockAllocator allocator); // nullptr restores calloc
void* AllocZeroedBlock(std::size_t bytes);
void FreeBlock(void* block);

} // namespace record_array

template <typename T> class RecordArray {
    static_assert(std::is_trivially_copyable_v<T>,
                  "RecordArray moves its elements as raw bytes: use trivially copyable records");

  public:
    // Create: an empty array with no block; the cursor variable is not written.
    explicit RecordArray(T** publishTo = nullptr) : cursorVariable(publishTo) {}
    // Destroy: releases the block; the cursor variable is not written.
    ~RecordArray() { Destroy(); }
    RecordArray(const RecordArray&) = delete;
    RecordArray& operator=(const RecordArray&) = delete;

    void Destroy() {
        record_array::FreeBlock(data);
        data = nullptr;
        count = 0;
        blockBytes = 0;
        current = nullptr;
        currentIndex = -1;
    }

    // Positions on nr without a bounds check (callers pass 0 .. count-1).
    T* GetObject(std::int32_t nr) {
        currentIndex = nr;
        current = reinterpret_cast<T*>(data + static_cast<std::size_t>(nr) * size);
        publish();
        return current;
    }

    // Appends one zeroed element and positions on it; nullptr when no memory.
    T* Add() {
        ++count;
        const int grown = AllocMoreMemChecked();
        if (grown < 0) {
            --count;
            return nullptr;
        }
        if (grown == 0) std::memset(data + static_cast<std::size_t>(count - 1) * size, 0, size);
        return GetObject(static_cast<std::int32_t>(count - 1));
    }

    // Inserts a zeroed element before index (index == count appends).
    T* Insert(std::int32_t index) {
        if (index < 0 || static_cast<std::uint32_t>(index) > count) return nullptr;
        ++count;
        if (AllocMoreMemChecked() < 0) {
            --count;
            return nullptr;
        }
        std::uint8_t* at = data + static_cast<std::size_t>(index) * size;
        std::memmove(at + size, at, static_cast<std::size_t>(count - index - 1) * size);
        std::memset(at, 0, size);
        return GetObject(index);
    }

    // Removes one element (what it references is not released); the cursor becomes none.
    void Delete(std::int32_t nr) {
        if (nr < 0 || static_cast<std::int64_t>(nr) > static_cast<std::int64_t>(count) - 1) return;
        for (std::uint32_t i = static_cast<std::uint32_t>(nr); i + 1 < count; ++i)
            std::memcpy(data + static_cast<std::size_t>(i) * size,
                        data + static_cast<std::size_t>(i + 1) * size, size);
        --count;
        AllocLessMem();
        invalidate();
    }

    // Removes all elements and releases the block; the cursor becomes none.
    void Clear() {
        count = 0;
        record_array::FreeBlock(data);
        data = nullptr;
        blockBytes = 0;
        invalidate();
    }

    // Swaps elements a and b; the cursor ends on b.
    void Change(std::int32_t a, std::int32_t b) {
        if (!inRange(a) || !inRange(b)) return;
        T buffer;
        std::memcpy(&buffer, GetObject(a), size);
        std::memcpy(GetObject(a), GetObject(b), size);
        std::memcpy(GetObject(b), &buffer, size);
    }

    // Positions on element 0 if there is one; otherwise nothing changes.
    void First() {
        if (count > 0) GetObject(0);
    }

    // Moves the cursor one element on; false at the end.
    bool Next() {
        if (count == 0 || currentIndex < -1 ||
            static_cast<std::int64_t>(currentIndex) >= count - 1LL)
            return false;
        GetObject(currentIndex + 1);
        return true;
    }

    // Loop step after First: publishes the element at the cursor's index, then advances it.
    bool WhileNext() {
        if (count == 0 || currentIndex < 0 || static_cast<std::int64_t>(currentIndex) > count - 1LL)
            return false;
        GetObject(currentIndex);
        ++currentIndex;
        return true;
    }

    // Makes the block hold `elements` elements at once (rounded up to a multiple
    // of 100, as the block for that count is), so that adding up to that many
    // copies nothing. Readers call it with a count they have checked against
    // the bytes left. After the adds the block is the one the count calls for.
    // False (with the failure reported) when no memory; the array is unchanged.
    bool Reserve(std::uint32_t elements) {
        if (elements <= count) return true;
        const std::uint64_t needed = blockBytesFor(elements);
        if (needed <= blockBytes) return true;
        void* block = needed > UINT32_MAX ? nullptr : record_array::AllocZeroedBlock(needed);
        if (!block) {
            record_array::ReportAllocFailure(data ? 2 : 1, needed);
            return false;
        }
        if (data) std::memcpy(block, data, static_cast<std::size_t>(count) * size);
        record_array::FreeBlock(data);
        data = static_cast<std::uint8_t*>(block);
        blockBytes = static_cast<std::uint32_t>(needed);
        if (currentIndex >= 0 && static_cast<std::uint32_t>(currentIndex) < count)
            GetObject(currentIndex);
        return true;
    }

    // Makes an empty array hold a block of exactly `elements` elements, for a
    // reader filling nested arrays from a count it has checked against the
    // bytes left: a file of many small arrays (a category of one field, a row
    // of one cell) then takes memory in proportion to its size instead of a
    // 100-element block each. The adds up to that count keep the block; the
    // first add past it, or a delete, brings the block back to the 100-step rule.
    // False (with the failure reported) when no memory; the array is unchanged.
    bool ReserveExact(std::uint32_t elements) {
        if (count != 0 || data || elements == 0) return Reserve(elements);
        const std::uint64_t needed = static_cast<std::uint64_t>(elements) * size;
        void* block = needed > UINT32_MAX ? nullptr : record_array::AllocZeroedBlock(needed);
        if (!block) {
            record_array::ReportAllocFailure(1, needed);
            return false;
        }
        data = static_cast<std::uint8_t*>(block);
        blockBytes = static_cast<std::uint32_t>(needed);
        return true;
    }

    // Convenience for code that does not go through the cursor.
    T* at(std::int32_t nr) const {
        return reinterpret_cast<T*>(data + static_cast<std::size_t>(nr) * size);
    }

    // The element the cursor is on; nullptr when on none.
    T* Current() const { return current; }
    // The cursor's index: -1 when on none; a walk with WhileNext ends one past the last.
    std::int32_t CurrentIndex() const { return currentIndex; }
    // The variable every positioning also writes the cursor into; nullptr for none.
    T** CursorVariable() const { return cursorVariable; }
    void SetCursorVariable(T** variable) { cursorVariable = variable; }
    // The block and its size in bytes; nullptr and 0 when there is none.
    const std::uint8_t* Block() const { return data; }
    std::uint32_t BlockBytes() const { return blockBytes; }
    // How many elements the array holds.
    std::uint32_t Count() const { return count; }

  private:
    std::uint32_t count = 0;
    T** cursorVariable = nullptr;
    T* current = nullptr;
    std::uint8_t* data = nullptr;
    std::int32_t currentIndex = -1;
    std::uint32_t blockBytes = 0;
    std::uint32_t step = 100;
    std::uint32_t size = sizeof(T);

    void publish() {
        if (cursorVariable) *cursorVariable = current;
    }
    void invalidate() {
        currentIndex = -1;
        current = nullptr;
        publish();
    }
    bool inRange(std::int32_t i) const { return i >= 0 && static_cast<std::uint32_t>(i) < count; }

    // The block for count elements: count rounded up to a multiple of 100.
    // Computed wide so that a block too large for the 32-bit size counter fails
    // cleanly instead of wrapping round to a block too small for its elements.
    std::uint64_t neededBytes() const { return blockBytesFor(count); }
    std::uint64_t blockBytesFor(std::uint32_t elements) const {
        return (static_cast<std::uint64_t>(elements - 1) / step + 1) * size * step;
    }

    // Fits the block to a shrunken count.
    void AllocLessMem() {
        if (count == 0) {
            record_array::FreeBlock(data);
            data = nullptr;
            blockBytes = 0;
            return;
        }
        const std::uint64_t needed = neededBytes();
        if (needed == blockBytes) return;
        auto* block = static_cast<std::uint8_t*>(record_array::AllocZeroedBlock(needed));
        if (!block) {
            // Keeping the block is safe: every element still lies inside it.
            record_array::ReportAllocFailure(3, needed);
            return;
        }
        // A shrunken block keeps its first needed bytes; an exact block from
        // ReserveExact, smaller than the rule's, moves whole into the new one.
        std::memcpy(block, data, std::min<std::uint64_t>(needed, blockBytes));
        record_array::FreeBlock(data);
        data = block;
        blockBytes = static_cast<std::uint32_t>(needed);
    }

    // 1: block replaced, 0: block kept, -1: no memory (nothing was written).
    int AllocMoreMemChecked() {
        const std::uint64_t needed = neededBytes();
        // A block made ready by Reserve or ReserveExact is kept until the
        // count outgrows it.
        if (data && static_cast<std::uint64_t>(count) * size <= blockBytes) return 0;
        const bool first = count == 1 || data == nullptr;
        void* block = needed > UINT32_MAX ? nullptr : record_array::AllocZeroedBlock(needed);
        if (!block) {
            record_array::ReportAllocFailure(first ? 1 : 2, needed);
            return -1;
        }
        if (!first) std::memcpy(block, data, blockBytes);
        record_array::FreeBlock(data);
        data = static_cast<std::uint8_t*>(block);
        blockBytes = static_cast<std::uint32_t>(needed);
        return 1;
    }
};
