#include "core/export/export_line_sink.h"

#include "core/project/decimal_cells.h"
#include "core/project/text_file_writer.h"

namespace core {

void LineSink::numberLines(std::string_view prefix, const std::uint16_t* values, std::size_t count) {
    std::string text(prefix);
    const DecimalCell* const cells = decimalCells();
    for (std::size_t i = 0; i < count; ++i) {
        const DecimalCell& cell = cells[values[i]];
        text.resize(prefix.size());
        text.append(cell.digits, cell.length);
        line(text);
    }
}

void LineListSink::line(std::string_view text) { lines_.emplace_back(text); }

void FileLineSink::line(std::string_view text) { writer_.writeLine(text); }

void FileLineSink::numberLines(std::string_view prefix, const std::uint16_t* values, std::size_t count) {
    writer_.writeNumberLines(values, count, prefix);
}

}  // namespace core
