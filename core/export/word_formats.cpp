#include "core/export/word_formats.h"

#include <string_view>

#include "core/export/line_buffer.h"

namespace core {
namespace {

constexpr std::size_t kValuesPerWordLine = 16;

// Each row's cells in lines of at most 16, after `directive`; a row without cells
// gives no line, since a data directive without a value is an error.
void wordLines(const EditorState& state, std::string_view directive, LineSink& sink) {
    LineBuffer line;
    line.append(directive);
    const std::size_t prefix = line.size();
    for (const ConstMapRow row : state.Map) {
        for (std::size_t from = 0; from < row.size(); from += kValuesPerWordLine) {
            const std::size_t to = std::min(row.size(), from + kValuesPerWordLine);
            line.truncate(prefix);
            line.appendCells(row.data() + from, to - from, ',');
            sink.line(line.view());
        }
    }
}

void labelLine(const EditorState& state, std::string_view colons, LineSink& sink) {
    LineBuffer line;
    line.append(state.MapName);
    line.append(colons);
    sink.line(line.view());
}

}  // namespace

void Output_ca65(const EditorState& state, LineSink& sink) {
    labelLine(state, ":", sink);
    wordLines(state, "\t.word\t", sink);
}

void Output_nasm(const EditorState& state, LineSink& sink) {
    labelLine(state, ":", sink);
    wordLines(state, "\tdw\t", sink);
}

// pasmo and z80asm take NASM's lines as they stand.
void Output_z80(const EditorState& state, LineSink& sink) { Output_nasm(state, sink); }

void Output_rgbds(const EditorState& state, LineSink& sink) {
    LineBuffer line;
    line.append("SECTION \"");
    line.append(state.MapName);
    line.append("\", ROM0");
    sink.line(line.view());
    labelLine(state, "::", sink);
    wordLines(state, "\tdw\t", sink);
}

void Output_csv(const EditorState& state, LineSink& sink) {
    LineBuffer line;
    for (const ConstMapRow row : state.Map) {
        line.clear();
        line.appendCells(row.data(), row.size(), ',');
        sink.line(line.view());
    }
}

}  // namespace core
