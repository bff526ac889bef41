#pragma once
// Where the export generators put their lines. A line never holds its line end;
// the view is only valid during the call, since generators reuse one buffer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace core {

class TextFileWriter;

class LineSink {
public:
    virtual ~LineSink() = default;
    virtual void line(std::string_view text) = 0;
    // One line per value: `prefix` and the value in decimal. A sink that can write
    // them in bulk overrides this; the GAS data is millions of such lines.
    virtual void numberLines(std::string_view prefix, const std::uint16_t* values, std::size_t count);
};

// Collects the lines as a list, for small maps and tests.
class LineListSink : public LineSink {
public:
    void line(std::string_view text) override;
    std::vector<std::string>& lines() noexcept { return lines_; }

private:
    std::vector<std::string> lines_;
};

// Writes each line straight into the writer, which ends it with CR LF.
class FileLineSink : public LineSink {
public:
    explicit FileLineSink(TextFileWriter& writer) noexcept : writer_(writer) {}
    void line(std::string_view text) override;
    void numberLines(std::string_view prefix, const std::uint16_t* values, std::size_t count) override;

private:
    TextFileWriter& writer_;
};

}  // namespace core
