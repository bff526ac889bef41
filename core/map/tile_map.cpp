#include "core/map/tile_map.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

namespace core {
namespace {

#if defined(__SANITIZE_ADDRESS__)

// The sanitizer sees a read or write past the map only in memory its own allocator
// hands out.
Cell* allocateZeroed(std::size_t cells) { return cells == 0 ? nullptr : new Cell[cells](); }
void release(Cell* block, std::size_t) noexcept { delete[] block; }

#else

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// A block of zeroed cells straight from the kernel, whose fresh pages are zero
// already. From one huge page up, the block starts on a huge-page boundary and is
// advised for huge pages, so the kernel can back it with them when it is touched.
Cell* allocateZeroed(std::size_t cells) {
    if (cells == 0) return nullptr;
    if (cells > SIZE_MAX / sizeof(Cell) - kHugePage) throw std::bad_alloc();
    const std::size_t bytes = cells * sizeof(Cell);
    const bool huge = bytes >= kHugePage;
    const std::size_t mapped = huge ? bytes + kHugePage : bytes;
    void* start = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (start == MAP_FAILED) throw std::bad_alloc();
    if (!huge) return static_cast<Cell*>(start);

    // Keep the aligned part; the pages before and after it go back.
    const auto first = reinterpret_cast<std::uintptr_t>(start);
    const std::uintptr_t aligned = (first + kHugePage - 1) & ~(kHugePage - 1);
    const std::size_t pageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::uintptr_t alignedEnd = aligned + (bytes + pageSize - 1) / pageSize * pageSize;
    if (aligned > first) ::munmap(start, aligned - first);
    if (first + mapped > alignedEnd) ::munmap(reinterpret_cast<void*>(alignedEnd), first + mapped - alignedEnd);
    // Only advice: without huge pages the block works the same.
    ::madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
    return reinterpret_cast<Cell*>(aligned);
}

void release(Cell* block, std::size_t cells) noexcept {
    if (block) ::munmap(block, cells * sizeof(Cell));
}

#endif

constexpr std::size_t kCacheLineCells = 64 / sizeof(Cell);
constexpr std::size_t kPaddedFromColumns = 1024 / sizeof(Cell);

std::size_t rowStride(std::size_t columns) {
    return columns < kPaddedFromColumns ? columns : columns + kCacheLineCells;
}

}  // namespace

TileMap::TileMap(std::size_t rows, std::size_t columns, Cell value)
    : rows_(rows), columns_(rows == 0 ? 0 : columns) {
    if (columns_ > SIZE_MAX / 2) throw std::bad_alloc();
    stride_ = rowStride(columns_);
    if (stride_ != 0 && rows_ > SIZE_MAX / stride_) throw std::bad_alloc();
    cells_ = allocateZeroed(blockCells());
    if (value != 0)
        for (const MapRow row : *this) std::fill(row.begin(), row.end(), value);
}

TileMap::TileMap(std::initializer_list<std::initializer_list<Cell>> rows)
    : TileMap(rows.size(), rows.size() == 0 ? 0 : rows.begin()->size()) {
    std::size_t r = 0;
    for (const auto& row : rows) {
        std::copy_n(row.begin(), std::min(row.size(), columns_), (*this)[r].begin());
        ++r;
    }
}

// The gaps between rows are zero in every map, so the block is copied whole.
TileMap::TileMap(const TileMap& other) : TileMap(other.rows_, other.columns_) {
    if (cells_) std::memcpy(cells_, other.cells_, blockCells() * sizeof(Cell));
}

TileMap::TileMap(TileMap&& other) noexcept { swap(other); }

TileMap& TileMap::operator=(TileMap other) noexcept {
    swap(other);
    return *this;
}

TileMap::~TileMap() { release(cells_, blockCells()); }

void TileMap::swap(TileMap& other) noexcept {
    std::swap(cells_, other.cells_);
    std::swap(rows_, other.rows_);
    std::swap(columns_, other.columns_);
    std::swap(stride_, other.stride_);
}

void TileMap::resize(std::size_t rows, std::size_t columns) {
    if (rows == rows_ && (rows == 0 || columns == columns_)) return;
    TileMap resized(rows, columns);
    const std::size_t keptRows = std::min(rows_, resized.rows_);
    const std::size_t keptColumns = std::min(columns_, resized.columns_);
    for (std::size_t r = 0; r < keptRows; ++r) std::copy_n((*this)[r].begin(), keptColumns, resized[r].begin());
    swap(resized);
}

bool TileMap::operator==(const TileMap& other) const noexcept {
    if (rows_ != other.rows_ || columns_ != other.columns_) return false;
    for (std::size_t r = 0; r < rows_; ++r)
        if (!std::equal((*this)[r].begin(), (*this)[r].end(), other[r].begin())) return false;
    return true;
}

}  // namespace core
