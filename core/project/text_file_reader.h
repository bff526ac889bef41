#pragma once
// Reading text files by the editor's rules: lines end at LF (the CR before it and
// stray CRs are dropped), numbers are runs of at most 32 bytes above 0x20, and a
// 0x1A byte ends the file. The file streams through one fixed buffer.
#include <cstdint>
#include <memory>
#include <string>

namespace core {

class RegularFile;

class TextFileReader {
public:
    // Opens the file; a missing file, a missing folder and a refused open raise
    // IoFailure with the mapped number, anything but a regular file (a folder, a
    // pipe, a device) IoFailure 5.
    explicit TextFileReader(const std::string& path);
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;
    ~TextFileReader();

    // The bytes up to the next LF without its CRs, at most the first 64 KiB of them;
    // the rest and the LF are left for finishLine(). Empty at the end.
    std::string readLine();
    // Skips everything up to and including the next LF; nothing at the end.
    void finishLine();
    // Skips bytes 0..32, then converts the run of bytes above 32 (cut after 32
    // bytes) by the integer syntax. 0 at the end; a malformed run raises IoFailure 106.
    std::int32_t readNumber();
    // Reads up to `count` numbers, finishing the line after each, and stores their
    // low 16 bits into `cells` (nullptr: reads and checks them only). Stops at the
    // end of the file and gives how many were read before it.
    std::size_t readNumberLines(std::uint16_t* cells, std::size_t count);
    // True when no byte is left before the end of the file (or a 0x1A).
    bool atEnd();
    // Closes the file; raises IoFailure when the close fails.
    void close();

private:
    bool refill();
    std::int32_t parseRun(const char* run, std::size_t length) const;

    std::unique_ptr<RegularFile> file_;  // none once closed
    std::string path_;
    std::unique_ptr<char[]> buffer_;
    const char* next_ = nullptr;
    const char* limit_ = nullptr;
    bool endSeen_ = false;
};

}  // namespace core
