#include "core/map/tile_map.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "core/platform/zeroed_block.h"

namespace core {
namespace {

// The rows' block comes zeroed from the platform layer.
Cell* allocateZeroed(std::size_t cells) {
    if (cells > SIZE_MAX / sizeof(Cell)) throw std::bad_alloc();
    return static_cast<Cell*>(allocateZeroedBlock(cells * sizeof(Cell)));
}

void release(Cell* block, std::size_t cells) noexcept { releaseZeroedBlock(block, cells * sizeof(Cell)); }

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
