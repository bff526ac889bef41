#include "core/export_line_sink.h"

#include "core/text_file_writer.h"

namespace core {

void LineListSink::line(std::string_view text) { lines_.emplace_back(text); }

void FileLineSink::line(std::string_view text) { writer_.writeLine(text); }

}  // namespace core
