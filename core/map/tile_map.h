#pragma once
// The tile map: Map[row][column], rows outermost, unsigned 16-bit cells. Each row is
// an array of its own to whoever reads or writes it, but the rows lie one after
// another in one block: the largest map is 32 MiB, and a block that size can sit on
// huge pages, where 4096 separately allocated rows could not. Every new page costs
// a fault that is dear next to the bytes it holds; huge pages make 512 times fewer.
// Rows of 1 KiB and more are a cache line apart: rows 8 KiB apart would all fall into
// the same few cache sets, and a block stamped or taken back row by row would evict
// itself.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <span>

namespace core {

using Cell = std::uint16_t;
// One row's cells, as a view into the map: MapRow where cells may change.
using MapRow = std::span<Cell>;
using ConstMapRow = std::span<const Cell>;

class TileMap {
public:
    template <typename Row>
    class RowIterator {
    public:
        using value_type = Row;
        using difference_type = std::ptrdiff_t;
        using iterator_category = std::forward_iterator_tag;

        RowIterator() = default;
        RowIterator(typename Row::pointer cells, std::size_t stride, std::size_t columns, std::size_t row)
            : cells_(cells), stride_(stride), columns_(columns), row_(row) {}
        Row operator*() const { return {cells_ + row_ * stride_, columns_}; }
        RowIterator& operator++() {
            ++row_;
            return *this;
        }
        RowIterator operator++(int) {
            RowIterator before = *this;
            ++row_;
            return before;
        }
        bool operator==(const RowIterator& other) const { return row_ == other.row_; }

    private:
        typename Row::pointer cells_ = nullptr;
        std::size_t stride_ = 0;
        std::size_t columns_ = 0;
        std::size_t row_ = 0;  // counted, since rows without cells all start at one address
    };
    using iterator = RowIterator<MapRow>;
    using const_iterator = RowIterator<ConstMapRow>;

    TileMap() = default;
    // `rows` rows of `columns` cells, each holding `value`. Raises std::bad_alloc.
    TileMap(std::size_t rows, std::size_t columns, Cell value = 0);
    // Small maps written out row by row; the first row gives the width, and a shorter
    // row ends in zeros.
    TileMap(std::initializer_list<std::initializer_list<Cell>> rows);
    TileMap(const TileMap& other);
    TileMap(TileMap&& other) noexcept;
    TileMap& operator=(TileMap other) noexcept;
    ~TileMap();

    // Rows, as the array of rows counts them; a map without rows has no columns either.
    std::size_t size() const noexcept { return rows_; }
    bool empty() const noexcept { return rows_ == 0; }
    std::size_t columns() const noexcept { return columns_; }

    MapRow operator[](std::size_t row) noexcept { return {cells_ + row * stride_, columns_}; }
    ConstMapRow operator[](std::size_t row) const noexcept { return {cells_ + row * stride_, columns_}; }
    MapRow front() noexcept { return (*this)[0]; }
    ConstMapRow front() const noexcept { return (*this)[0]; }
    MapRow back() noexcept { return (*this)[rows_ - 1]; }
    ConstMapRow back() const noexcept { return (*this)[rows_ - 1]; }

    iterator begin() noexcept { return {cells_, stride_, columns_, 0}; }
    iterator end() noexcept { return {cells_, stride_, columns_, rows_}; }
    const_iterator begin() const noexcept { return {cells_, stride_, columns_, 0}; }
    const_iterator end() const noexcept { return {cells_, stride_, columns_, rows_}; }

    // The resize rule: `rows` rows of `columns` cells; the cells inside both the old and
    // the new extent stay, every other cell is 0, and cells cut off are gone. The
    // new block is allocated before the map changes, so std::bad_alloc leaves the map
    // as it was. The same size changes nothing and allocates nothing.
    void resize(std::size_t rows, std::size_t columns);

    void swap(TileMap& other) noexcept;
    bool operator==(const TileMap& other) const noexcept;

private:
    std::size_t blockCells() const noexcept { return rows_ * stride_; }

    Cell* cells_ = nullptr;
    std::size_t rows_ = 0;
    std::size_t columns_ = 0;
    std::size_t stride_ = 0;  // cells from one row's start to the next
};

}  // namespace core
