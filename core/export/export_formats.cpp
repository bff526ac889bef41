#include "core/export/export_formats.h"

#include <cstdint>
#include <string_view>

#include "core/export/line_buffer.h"
#include "core/export/word_formats.h"
#include "core/map/wrapping_arithmetic.h"
#include "core/project/text_file_writer.h"
#include "core/text/failures.h"

namespace core {
namespace {

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

bool isTextFormat(ExportFormat format) { return format != ExportFormat::Binary && format != ExportFormat::Png; }

void emitExport(ExportFormat format, const EditorState& state, LineSink& sink) {
    switch (format) {
        case ExportFormat::CArray: return Output_Carray(state, sink);
        case ExportFormat::Gas: return Output_GAS(state, sink);
        case ExportFormat::DragonBasic: return Output_DragonBASIC(state, sink);
        case ExportFormat::Ca65: return Output_ca65(state, sink);
        case ExportFormat::Nasm: return Output_nasm(state, sink);
        case ExportFormat::Z80: return Output_z80(state, sink);
        case ExportFormat::Rgbds: return Output_rgbds(state, sink);
        case ExportFormat::Csv: return Output_csv(state, sink);
        case ExportFormat::Binary:
        case ExportFormat::Png: break;
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
