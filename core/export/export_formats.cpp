#include "core/export/export_formats.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#include "core/map/wrapping_arithmetic.h"
#include "core/project/decimal_cells.h"
#include "core/project/text_file_writer.h"
#include "core/text/failures.h"

namespace core {
namespace {

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

private:
    void makeRoom(std::size_t bytes) {
        if (size_ + bytes > data_.size()) data_.resize(std::max(size_ + bytes, data_.size() * 2));
    }

    std::string data_ = std::string(64, '\0');
    std::size_t size_ = 0;
    const DecimalCell* cells_ = decimalCells();
};

constexpr std::size_t kValuesPerCarrayLine = 8;

// The data length in bytes as the signed 32-bit product of the two state fields.
std::int32_t gasDataSize(std::int32_t mapWidth, std::int32_t mapHeight) {
    return wrappedProduct(wrappedProduct(mapWidth, mapHeight), 2);
}

}  // namespace

void Output_Carray(const EditorState& state, LineSink& sink) {
    LineBuffer line;
    sink.line("");
    line.append("const unsigned short ");
    line.append(state.MapName);
    line.append("[] = {");
    sink.line(line.view());
    sink.line("");
    for (const ConstMapRow row : state.Map) {
        line.clear();
        std::size_t onLine = 0;
        for (const Cell value : row) {
            line.appendCell(value);
            line.append(',');
            if (++onLine == kValuesPerCarrayLine) {
                sink.line(line.view());
                line.clear();
                onLine = 0;
            }
        }
        // Also when empty: a row whose width is a multiple of 8 ends with an empty line.
        sink.line(line.view());
    }
    sink.line("};");
}

void Output_GAS(const EditorState& state, LineSink& sink) {
    LineBuffer line;
    line.append("\t.global\t");
    line.append(state.MapName);
    sink.line(line.view());
    sink.line("\t.section .rodata");
    sink.line("\t.align\t1");
    line.clear();
    line.append("\t.type\t");
    line.append(state.MapName);
    line.append(",object");
    sink.line(line.view());
    line.clear();
    line.append("\t.size\t");
    line.append(state.MapName);
    line.append(',');
    line.appendNumber(gasDataSize(state.MapWidth, state.MapHeight));
    sink.line(line.view());
    line.clear();
    line.append(state.MapName);
    line.append(':');
    sink.line(line.view());
    sink.line("");
    for (const ConstMapRow row : state.Map) sink.numberLines("\t.short\t", row.data(), row.size());
    sink.line("");
}

void Output_DragonBASIC(const EditorState& state, LineSink& sink) {
    LineBuffer line;
    line.append(state.MapName);
    line.append(':');
    sink.line(line.view());
    sink.line("");
    line.clear();
    line.append("\tdata ");
    const std::size_t prefix = line.size();
    for (const ConstMapRow row : state.Map) {
        line.truncate(prefix);
        bool first = true;
        for (const Cell value : row) {
            if (!first) line.append(',');
            first = false;
            line.appendCell(value);
        }
        sink.line(line.view());
    }
    sink.line("");
}

std::vector<std::string> Output_Carray(const EditorState& state) {
    LineListSink sink;
    Output_Carray(state, sink);
    return std::move(sink.lines());
}

std::vector<std::string> Output_GAS(const EditorState& state) {
    LineListSink sink;
    Output_GAS(state, sink);
    return std::move(sink.lines());
}

std::vector<std::string> Output_DragonBASIC(const EditorState& state) {
    LineListSink sink;
    Output_DragonBASIC(state, sink);
    return std::move(sink.lines());
}

ExportFormat exportFormatFromIndex(int index) {
    switch (index) {
        case 0: return ExportFormat::CArray;
        case 1: return ExportFormat::Gas;
        case 2: return ExportFormat::DragonBasic;
        default: throw RangeFailure();
    }
}

void emitExport(ExportFormat format, const EditorState& state, LineSink& sink) {
    switch (format) {
        case ExportFormat::CArray: return Output_Carray(state, sink);
        case ExportFormat::Gas: return Output_GAS(state, sink);
        case ExportFormat::DragonBasic: return Output_DragonBASIC(state, sink);
    }
    throw RangeFailure();
}

void writeExport(ExportFormat format, const EditorState& state, TextFileWriter& writer) {
    FileLineSink sink(writer);
    emitExport(format, state, sink);
}

void exportToFile(ExportFormat format, const EditorState& state, const std::string& path) {
    // Created before the lines are generated, so a path that cannot be written
    // fails before any work.
    TextFileWriter writer(path);
    writeExport(format, state, writer);
    writer.commit();
}

}  // namespace core
