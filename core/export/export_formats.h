#pragma once
// The three export formats: a C array, GAS data directives and DragonBASIC data
// statements. Each generator reads the document and changes nothing.
#include <string>
#include <vector>

#include "core/export/export_line_sink.h"
#include "core/map/editor_state.h"

namespace core {

class TextFileWriter;

// Emitting into a sink keeps a 4096 x 4096 map from becoming millions of strings.
void Output_Carray(const EditorState& state, LineSink& sink);
void Output_GAS(const EditorState& state, LineSink& sink);
void Output_DragonBASIC(const EditorState& state, LineSink& sink);

// The same lines as a list the caller owns.
std::vector<std::string> Output_Carray(const EditorState& state);
std::vector<std::string> Output_GAS(const EditorState& state);
std::vector<std::string> Output_DragonBASIC(const EditorState& state);

// The first three are the item indexes of the settings window's export type; the
// rest are quarvel-export's.
enum class ExportFormat { CArray = 0, Gas = 1, DragonBasic = 2, Ca65, Nasm, Z80, Rgbds, Csv, Binary, Png };

// Whether the format is lines of text (every format but the binary and the picture).
bool isTextFormat(ExportFormat format);

// Raises RangeFailure for an index that names no format.
ExportFormat exportFormatFromIndex(int index);

// The lines of a text format. Raises RangeFailure for any other.
void emitExport(ExportFormat format, const EditorState& state, LineSink& sink);
// Writes the lines; the caller commits the writer.
void writeExport(ExportFormat format, const EditorState& state, TextFileWriter& writer);
// Writes the whole file at `path`. A failure leaves an earlier file of that name as
// it was. Raises IoFailure.
void exportToFile(ExportFormat format, const EditorState& state, const std::string& path);

}  // namespace core
