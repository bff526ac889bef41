#pragma once
// The decimal text of every 16-bit cell value. Project files and exports write
// millions of cells; one lookup and one 8-byte copy beat dividing by ten.
#include <cstdint>

namespace core {

struct DecimalCell {
    char digits[7];       // the digits from digits[0]; the bytes after them are 0
    std::uint8_t length;  // 1 to 5
};
static_assert(sizeof(DecimalCell) == 8);

// The entries of all 65536 values, built on first use. Copying all eight bytes of an
// entry is always allowed: callers keep eight bytes of room and advance by `length`.
// Loops over many cells take the table once and index it.
const DecimalCell* decimalCells() noexcept;
inline const DecimalCell& decimalCell(std::uint16_t value) noexcept { return decimalCells()[value]; }

}  // namespace core
