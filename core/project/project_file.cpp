#include "core/project/project_file.h"

#include <algorithm>
#include <new>
#include <string_view>

#include "core/project/integer_syntax.h"
#include "core/project/text_file_reader.h"
#include "core/project/text_file_writer.h"
#include "core/text/failures.h"

namespace core {

namespace {

// The field's text as it stands ($20 stays $20), unless it does not name the size
// the cells are written by: a text the field refused or could not convert never
// reached the map, and saving it would give a file that cannot be opened again.
std::string sizeLine(const std::string& fieldText, std::size_t size) {
    const auto value = tryParseInteger(fieldText);
    if (value && *value >= 0 && static_cast<std::size_t>(*value) == size) return fieldText;
    return std::to_string(size);
}

// A label pasted with a line end or 0x1A would make the whole project unreadable;
// dropping those bytes keeps the rest of the text.
std::string textLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (const char byte : text)
        if (kBytesNoLineHolds.find(byte) == std::string_view::npos) line.push_back(byte);
    return line;
}

std::size_t widthOf(const EditorState& state) {
    if (!state.Map.empty()) return state.Map.columns();
    return static_cast<std::size_t>(std::max(state.MapWidth, 0));
}

}  // namespace

void writeProjectLines(TextFileWriter& out, const EditorState& state, const std::string& widthText,
                       const std::string& heightText) {
    out.writeLine(textLine(state.ImagePath));
    out.writeLine(textLine(state.MapName));
    out.writeLine(sizeLine(widthText, widthOf(state)));
    out.writeLine(sizeLine(heightText, state.Map.size()));
    for (const ConstMapRow row : state.Map) out.writeNumberLines(row.data(), row.size());
}

void writeProject(const std::string& path, const EditorState& state, const SizeFieldsHost& fields) {
    TextFileWriter out(path);
    writeProjectLines(out, state, fields.widthText(), fields.heightText());
    out.commit();
}

namespace {

// Everything a project file holds, read and checked before any of it is applied.
struct StagedProject {
    std::string imagePath;
    std::string mapName;
    std::string widthText;
    std::string heightText;
    std::int32_t width = 0;   // capped at 4096
    std::int32_t height = 0;  // capped at 4096
    TileMap cells;
};

std::string readTextLine(TextFileReader& in) {
    std::string line = in.readLine();
    in.finishLine();
    return line;
}

// A negative size, or one whose bytes do not fit in 32 bits, is what the resize
// to the file's size would refuse.
void checkDeclaredSize(std::int32_t width, std::int32_t height) {
    if (width < 0 || height < 0) throw RangeFailure();
    if (static_cast<std::int64_t>(width) * height * 2 > INT32_MAX) throw RangeFailure();
}

// The cells follow the file's structure (a row holds `declaredWidth` cell lines),
// but only those inside the capped map are kept. The file ends the loop, not the
// declared size, so a large size cannot make it run long.
void readCells(TextFileReader& in, std::int32_t declaredWidth, std::int32_t declaredHeight, TileMap& cells) {
    if (declaredWidth == 0 || declaredHeight == 0) return;
    const auto total = static_cast<std::size_t>(declaredWidth);
    for (std::int32_t r = 0; r < declaredHeight; ++r) {
        const bool keptRow = static_cast<std::size_t>(r) < cells.size();
        Cell* row = keptRow ? cells[static_cast<std::size_t>(r)].data() : nullptr;
        const std::size_t kept = keptRow ? cells.columns() : 0;
        if (in.readNumberLines(row, kept) < kept) return;
        if (in.readNumberLines(nullptr, total - kept) < total - kept) return;
    }
}

StagedProject readStaged(const std::string& path) {
    TextFileReader in(path);
    StagedProject staged;
    staged.imagePath = readTextLine(in);
    staged.mapName = readTextLine(in);
    staged.widthText = readTextLine(in);
    staged.heightText = readTextLine(in);
    const std::int32_t declaredWidth = toInteger(staged.widthText);
    const std::int32_t declaredHeight = toInteger(staged.heightText);
    checkDeclaredSize(declaredWidth, declaredHeight);
    staged.width = std::min(declaredWidth, kMaxMapSize);
    staged.height = std::min(declaredHeight, kMaxMapSize);
    try {
        staged.cells = TileMap(static_cast<std::size_t>(staged.height), static_cast<std::size_t>(staged.width));
    } catch (const std::bad_alloc&) {
        throw OutOfMemoryFailure();
    }
    readCells(in, declaredWidth, declaredHeight, staged.cells);
    in.close();
    return staged;
}

}  // namespace

// The staged map comes in before the fields get the file's texts: their change
// handling then finds the map at its size already and builds none (a second map of
// the largest size would double the open's memory and time). It still caps a size
// above 4096 to "4096", marks the document and gives the view its counts.
MapChange readProject(const std::string& path, EditorState& state, SizeFieldsHost& fields) {
    StagedProject staged = readStaged(path);
    const MapSize before = sizeOf(state.Map);
    state.ImagePath = std::move(staged.imagePath);
    state.MapName = std::move(staged.mapName);
    state.Map = std::move(staged.cells);
    state.MapWidth = staged.width;
    state.MapHeight = staged.height;
    fields.setWidthText(staged.widthText);
    fields.setHeightText(staged.heightText);
    showArraySizeTexts(state, fields);
    return {MapEdit::Replace, wholeMap(state.Map), before, {staged.width, staged.height}};
}

void openProject(const std::string& path, EditorState& state, SizeFieldsHost& fields,
                 const std::function<void()>& afterRead) {
    fields.applyMapChange(readProject(path, state, fields));
    if (afterRead) afterRead();
    resizeToWidthText(state, fields);
    resizeToHeightText(state, fields);
    state.Modified = false;
}

}  // namespace core
