#include "RecordArray.h"

#include <cstdio>
#include <cstdlib>

namespace record_array {
namespace {
void DefaultFailureHandler(int errorNumber, std::uint64_t needed) {
    std::fprintf(stderr, "%s\n", AllocFailureMessage(errorNumber, needed).c_str());
}
void* DefaultAllocator(std::size_t bytes) {
    return std::calloc(1, bytes);
}

AllocFailureHandler failureHandler = &DefaultFailureHandler;
BlockAllocator blockAllocator = &DefaultAllocator;
} // namespace

void SetAllocFailureHandler(AllocFailureHandler handler) {
    failureHandler = handler ? handler : &DefaultFailureHandler;
}

const char* const kAllocFailureTail = " bytes of RAM. Not enough memory.";

std::string AllocFailureLead(int errorNumber) {
    return "Error " + std::to_string(errorNumber) + " while trying to allocate ";
}

std::string AllocFailureMessage(int errorNumber, std::uint64_t needed) {
    return AllocFailureLead(errorNumber) + std::to_string(needed) + kAllocFailureTail;
}

void ReportAllocFailure(int errorNumber, std::uint64_t needed) {
    failureHandler(errorNumber, needed);
}

void SetBlockAllocator(BlockAllocator allocator) {
    blockAllocator = allocator ? allocator : &DefaultAllocator;
}

void* AllocZeroedBlock(std::size_t bytes) {
    void* block = blockAllocator(bytes);
    // A replacement allocator need not zero; every block handed out is zero-filled.
    if (block && blockAllocator != &DefaultAllocator) std::memset(block, 0, bytes);
    return block;
}

void FreeBlock(void* block) {
    std::free(block);
}

} // namespace record_array
