#include "core/platform/zeroed_block.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <new>

namespace core {

#if defined(__SANITIZE_ADDRESS__)

// The sanitizer sees a read or write past the map only in memory its own allocator
// hands out.
void* allocateZeroedBlock(std::size_t bytes) { return bytes == 0 ? nullptr : new unsigned char[bytes](); }
void releaseZeroedBlock(void* block, std::size_t) noexcept { delete[] static_cast<unsigned char*>(block); }

#else

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
}  // namespace

void* allocateZeroedBlock(std::size_t bytes) {
    if (bytes == 0) return nullptr;
    if (bytes > SIZE_MAX - kHugePage) throw std::bad_alloc();
    const bool huge = bytes >= kHugePage;
    const std::size_t mapped = huge ? bytes + kHugePage : bytes;
    void* start = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (start == MAP_FAILED) throw std::bad_alloc();
    if (!huge) return start;

    // Keep the aligned part; the pages before and after it go back.
    const auto first = reinterpret_cast<std::uintptr_t>(start);
    const std::uintptr_t aligned = (first + kHugePage - 1) & ~(kHugePage - 1);
    const std::size_t pageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::uintptr_t alignedEnd = aligned + (bytes + pageSize - 1) / pageSize * pageSize;
    if (aligned > first) ::munmap(start, aligned - first);
    if (first + mapped > alignedEnd) ::munmap(reinterpret_cast<void*>(alignedEnd), first + mapped - alignedEnd);
    // Only advice: without huge pages the block works the same.
    ::madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
}

void releaseZeroedBlock(void* block, std::size_t bytes) noexcept {
    if (block) ::munmap(block, bytes);
}

#endif

}  // namespace core
