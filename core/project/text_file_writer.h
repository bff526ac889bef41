#pragma once
// Writing text files: CR LF after every line, through one buffer, into a file that
// is only ever replaced whole.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/platform/atomic_file.h"

namespace core {

// The bytes no line of a text file can hold: its line ends, and 0x1A, where the
// reader takes the file to end. They never occur inside a double-byte character.
inline constexpr std::string_view kBytesNoLineHolds = "\r\n\x1a";

class TextFileWriter {
public:
    // Writes a new file at `path`, which is untouched until commit(); `listener` is told
    // where a temporary file has a name meanwhile. Raises IoFailure.
    explicit TextFileWriter(const std::string& path, TemporaryNameListener* listener = nullptr,
                            unsigned newFileMode = 0666);
    // Writes to an open descriptor (standard output); commit() only flushes.
    static TextFileWriter toDescriptor(int fd);

    // The line's bytes, then CR LF. Raises IoFailure when the buffer cannot be written.
    void writeLine(std::string_view line);
    // Each value in decimal as a line of its own, after `prefix`: the fast path for
    // map cells.
    void writeNumberLines(const std::uint16_t* values, std::size_t count, std::string_view prefix = {});
    // Bytes as they stand, no line end: for the binary exports.
    void writeBytes(std::string_view bytes);
    // Writes what is buffered and replaces the target. Raises IoFailure.
    void commit();

private:
    explicit TextFileWriter(AtomicFile file);
    void flush();

    AtomicFile file_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
};

}  // namespace core
