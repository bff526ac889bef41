#include "core/project/text_file_writer.h"

#include <cstring>

#include "core/project/decimal_cells.h"

namespace core {
namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 20;

// `PrefixLength` bytes of `prefix`, a cell's decimal text and CR LF; gives the end
// of what was written. Stores up to the prefix and eight bytes at `at`. A length
// known here makes each copy a single move instead of a call.
template <std::size_t PrefixLength>
inline char* putCellLine(char* at, const char* prefix, const DecimalCell& cell) {
    // Taken before the stores, which the compiler cannot tell apart from the table.
    const std::size_t length = cell.length;
    if constexpr (PrefixLength > 0) {
        std::memcpy(at, prefix, PrefixLength);
        at += PrefixLength;
    }
    std::memcpy(at, &cell, sizeof cell);
    at[length] = '\r';
    at[length + 1] = '\n';
    return at + length + 2;
}

template <std::size_t PrefixLength>
char* putCellLines(char* at, const char* prefix, const std::uint16_t* values, std::size_t count) {
    const DecimalCell* const cells = decimalCells();
    for (std::size_t i = 0; i < count; ++i) at = putCellLine<PrefixLength>(at, prefix, cells[values[i]]);
    return at;
}

// The lengths in use have loops of their own: none for project files, eight for
// the GAS data lines ("\t.short\t").
char* putCellLines(char* at, std::string_view prefix, const std::uint16_t* values, std::size_t count) {
    switch (prefix.size()) {
        case 0: return putCellLines<0>(at, prefix.data(), values, count);
        case 8: return putCellLines<8>(at, prefix.data(), values, count);
        default: {
            const DecimalCell* const cells = decimalCells();
            for (std::size_t i = 0; i < count; ++i) {
                std::memcpy(at, prefix.data(), prefix.size());
                at = putCellLine<0>(at + prefix.size(), nullptr, cells[values[i]]);
            }
            return at;
        }
    }
}

}  // namespace

TextFileWriter::TextFileWriter(AtomicFile file)
    : file_(std::move(file)), buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {}

TextFileWriter::TextFileWriter(const std::string& path, TemporaryNameListener* listener, unsigned newFileMode)
    : TextFileWriter(AtomicFile(path, listener, newFileMode)) {}

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

void TextFileWriter::writeBytes(std::string_view bytes) {
    file_.checkUsable();
    if (bytes.size() > kBufferSize - used_) {
        flush();
        if (bytes.size() > kBufferSize) {
            file_.write(bytes.data(), bytes.size());
            return;
        }
    }
    if (!bytes.empty()) std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
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
        char* const start = buffer_.get() + used_;
        used_ += static_cast<std::size_t>(putCellLines(start, prefix, values, batch) - start);
        values += batch;
        count -= batch;
    }
}

void TextFileWriter::commit() {
    flush();
    file_.commit();
}

}  // namespace core
