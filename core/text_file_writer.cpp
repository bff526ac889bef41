#include "core/text_file_writer.h"

#include <cstring>

#include "core/decimal_cells.h"

namespace core {
namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 20;

// `prefix`, a cell's decimal text and CR LF; gives the end of what was written.
// Stores up to prefix + eight bytes at `at`.
inline char* putCellLine(char* at, std::string_view prefix, const DecimalCell& cell) {
    if (!prefix.empty()) {
        std::memcpy(at, prefix.data(), prefix.size());
        at += prefix.size();
    }
    std::memcpy(at, &cell, sizeof cell);
    at[cell.length] = '\r';
    at[cell.length + 1] = '\n';
    return at + cell.length + 2;
}

}  // namespace

TextFileWriter::TextFileWriter(AtomicFile file)
    : file_(std::move(file)), buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {}

TextFileWriter::TextFileWriter(const std::string& path, TemporaryNameListener* listener)
    : TextFileWriter(AtomicFile(path, listener)) {}

TextFileWriter TextFileWriter::toDescriptor(int fd) { return TextFileWriter(AtomicFile::onDescriptor(fd)); }

void TextFileWriter::flush() {
    file_.write(buffer_.get(), used_);
    used_ = 0;
}

void TextFileWriter::writeLine(std::string_view line) {
    file_.checkUsable();
    if (line.size() + 2 > kBufferSize - used_) {
        flush();
        if (line.size() + 2 > kBufferSize) {
            file_.write(line.data(), line.size());
            line = {};
        }
    }
    char* at = buffer_.get() + used_;
    if (!line.empty()) std::memcpy(at, line.data(), line.size());
    at[line.size()] = '\r';
    at[line.size() + 1] = '\n';
    used_ += line.size() + 2;
}

void TextFileWriter::writeNumberLines(const std::uint16_t* values, std::size_t count, std::string_view prefix) {
    file_.checkUsable();
    // The room one line may take while it is written: the prefix and the eight bytes copied.
    const std::size_t lineRoom = prefix.size() + sizeof(DecimalCell);
    if (lineRoom > kBufferSize) [[unlikely]] {
        for (std::size_t i = 0; i < count; ++i) {
            std::string line(prefix);
            line += std::string_view(decimalCell(values[i]).digits, decimalCell(values[i]).length);
            writeLine(line);
        }
        return;
    }
    while (count > 0) {
        std::size_t room = (kBufferSize - used_) / lineRoom;
        if (room == 0) [[unlikely]] {
            flush();
            room = kBufferSize / lineRoom;
        }
        const std::size_t batch = room < count ? room : count;
        const DecimalCell* const cells = decimalCells();
        char* at = buffer_.get() + used_;
        char* const start = at;
        if (prefix.empty()) {
            for (std::size_t i = 0; i < batch; ++i) at = putCellLine(at, {}, cells[values[i]]);
        } else {
            for (std::size_t i = 0; i < batch; ++i) at = putCellLine(at, prefix, cells[values[i]]);
        }
        used_ += static_cast<std::size_t>(at - start);
        values += batch;
        count -= batch;
    }
}

void TextFileWriter::commit() {
    flush();
    file_.commit();
}

}  // namespace core
