#include "core/export/binary_export.h"

#include <string>

#include "core/project/text_file_writer.h"

namespace core {

void writeWords(const EditorState& state, ByteOrder order, TextFileWriter& writer) {
    std::string bytes;
    bytes.reserve(state.Map.columns() * 2);
    const int high = order == ByteOrder::BigEndian ? 0 : 1;
    for (const ConstMapRow row : state.Map) {
        bytes.resize(row.size() * 2);
        for (std::size_t i = 0; i < row.size(); ++i) {
            bytes[2 * i + high] = static_cast<char>(row[i] >> 8);
            bytes[2 * i + 1 - high] = static_cast<char>(row[i] & 0xFF);
        }
        writer.writeBytes(bytes);
    }
}

}  // namespace core
