#include "core/project/decimal_cells.h"

#include <array>
#include <charconv>

namespace core {
namespace {

using DecimalTable = std::array<DecimalCell, 65536>;

DecimalTable makeTable() noexcept {
    DecimalTable table{};
    for (unsigned value = 0; value < table.size(); ++value) {
        DecimalCell& cell = table[value];
        const char* end = std::to_chars(cell.digits, cell.digits + sizeof cell.digits, value).ptr;
        cell.length = static_cast<std::uint8_t>(end - cell.digits);
    }
    return table;
}

}  // namespace

const DecimalCell* decimalCells() noexcept {
    // Immutable once built; built on first use.
    static const DecimalTable table = makeTable();
    return table.data();
}

}  // namespace core
