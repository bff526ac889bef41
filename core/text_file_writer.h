#pragma once
// Writing text files: CR LF after every line, one buffer, and a file on disk is
// only ever replaced whole.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace core {

class TextFileWriter {
public:
    // Creates a temporary file in the folder of `path`; `path` itself is untouched
    // until commit(). Raises IoFailure with the mapped number.
    explicit TextFileWriter(const std::string& path);
    // Writes to an open descriptor (standard output); commit() only flushes.
    static TextFileWriter toDescriptor(int fd);
    TextFileWriter(TextFileWriter&&) noexcept;
    TextFileWriter& operator=(TextFileWriter&&) noexcept;
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;
    // Removes the temporary file when commit() was not reached.
    ~TextFileWriter();

    // The line's bytes, then CR LF. Raises IoFailure when the buffer cannot be written.
    void writeLine(std::string_view line);
    // The value in decimal as a line, without building a string for it.
    void writeNumberLine(std::uint32_t value);
    // Each value in decimal as a line of its own, after `prefix`: the fast path for
    // map cells.
    void writeNumberLines(const std::uint16_t* values, std::size_t count, std::string_view prefix = {});
    // Flushes, closes and moves the temporary file over the target. Raises IoFailure.
    void commit();

private:
    struct Impl;
    TextFileWriter() = default;
    std::unique_ptr<Impl> impl_;
};

}  // namespace core
