#pragma once
// The ".quarvel" project file: image path, label, width text, height text, then
// one cell per line, CR LF after every line.
#include <functional>
#include <string>

#include "core/map/editor_state.h"
#include "core/map/size_fields.h"

namespace core {

class TextFileWriter;

// Writes the project atomically: an earlier file is replaced only when the new one
// is complete. The texts leave out line ends and 0x1A, which no line can hold, and a
// size field whose text never reached the map gives the map's own size, so the file
// always reads back. Raises IoFailure.
void writeProject(const std::string& path, const EditorState& state, const SizeFieldsHost& fields);
// The same lines into a writer the caller commits, with the size fields' texts given.
void writeProjectLines(TextFileWriter& out, const EditorState& state, const std::string& widthText,
                       const std::string& heightText);

// Reads the whole file into a staging document first; only when that succeeds are
// ImagePath, MapName, the size fields (with their change handling), MapWidth,
// MapHeight and the cells applied. A failure leaves state and fields untouched.
// Gives the replacement of the map, for the caller to apply.
MapChange readProject(const std::string& path, EditorState& state, SizeFieldsHost& fields);

// Opening a project, as the editor and quarvel-export both do: the read, then the
// caller's own steps in `afterRead` (the editor records the path and loads the
// sheet, showing a failure there and going on), then the size operations apply the
// fields, capped at 4096, to the map; the document then counts as saved. A failing
// read changes nothing and skips the rest.
void openProject(const std::string& path, EditorState& state, SizeFieldsHost& fields,
                 const std::function<void()>& afterRead = {});

}  // namespace core
