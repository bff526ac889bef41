#pragma once
// One line of an export under construction, reused for every line, so that nothing
// is allocated per line once the longest line has been seen.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "core/map/tile_map.h"
#include "core/project/decimal_cells.h"

namespace core {

// One line under construction, reused for every line so that nothing is
// allocated per line once the longest line has been seen.
class LineBuffer {
public:
    void clear() noexcept { size_ = 0; }
    void truncate(std::size_t size) noexcept { size_ = size; }
    std::size_t size() const noexcept { return size_; }
    std::string_view view() const noexcept { return {data_.data(), size_}; }

    void append(std::string_view text) {
        makeRoom(text.size());
        std::memcpy(data_.data() + size_, text.data(), text.size());
        size_ += text.size();
    }
    void append(char byte) {
        makeRoom(1);
        data_[size_++] = byte;
    }
    template <typename Integer>
    void appendNumber(Integer value) {
        constexpr std::size_t kMaxChars = std::numeric_limits<Integer>::digits10 + 2;  // digits and sign
        makeRoom(kMaxChars);
        char* at = data_.data() + size_;
        size_ = static_cast<std::size_t>(std::to_chars(at, at + kMaxChars, value).ptr - data_.data());
    }

    // A cell's value through the decimal table: the hot path of every format.
    void appendCell(Cell value) {
        const DecimalCell& cell = cells_[value];
        makeRoom(sizeof cell);
        std::memcpy(data_.data() + size_, &cell, sizeof cell);
        size_ += cell.length;
    }

    // Cells with `separator` between them (not before the first), room made once.
    void appendCells(const Cell* values, std::size_t count, char separator) {
        makeRoom(count * (sizeof(DecimalCell) + 1));
        char* at = data_.data() + size_;
        for (std::size_t i = 0; i < count; ++i) {
            if (i != 0) *at++ = separator;
            const DecimalCell& cell = cells_[values[i]];
            std::memcpy(at, &cell, sizeof cell);
            at += cell.length;
        }
        size_ = static_cast<std::size_t>(at - data_.data());
    }

private:
    void makeRoom(std::size_t bytes) {
        if (size_ + bytes > data_.size()) data_.resize(std::max(size_ + bytes, data_.size() * 2));
    }

    std::string data_ = std::string(64, '\0');
    std::size_t size_ = 0;
    const DecimalCell* cells_ = decimalCells();
};

}  // namespace core
