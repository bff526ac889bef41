#include "core/platform/zeroed_block.h"

#include <windows.h>

#include <new>

namespace core {

// Committed pages come zeroed; Windows gives large pages only to privileged
// processes, so no alignment is asked for.
void* allocateZeroedBlock(std::size_t bytes) {
    if (bytes == 0) return nullptr;
    void* block = ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!block) throw std::bad_alloc();
    return block;
}

void releaseZeroedBlock(void* block, std::size_t) noexcept {
    if (block) ::VirtualFree(block, 0, MEM_RELEASE);
}

}  // namespace core
