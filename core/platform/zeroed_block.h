#pragma once
// Large blocks of zeroed memory straight from the system, for the tile map: fresh
// pages are zero already, and from one huge page up a block starts on a huge-page
// boundary and is advised for huge pages.
#include <cstddef>

namespace core {

// Raises std::bad_alloc. Nothing for 0 bytes.
void* allocateZeroedBlock(std::size_t bytes);
void releaseZeroedBlock(void* block, std::size_t bytes) noexcept;

}  // namespace core
