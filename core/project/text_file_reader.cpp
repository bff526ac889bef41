#include "core/project/text_file_reader.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/project/integer_syntax.h"
#include "core/platform/os_error_mapping.h"
#include "core/platform/regular_file.h"
#include "core/text/failures.h"

namespace core {
namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 20;
constexpr std::size_t kMaxNumberRun = 32;
// A line is kept up to here, so a line of any length costs little memory.
constexpr std::size_t kMaxLineKept = std::size_t{64} << 10;
constexpr char kEndOfFileMark = 0x1A;
// Nine decimal digits always fit in 32 bits; longer runs take the exact path.
constexpr std::size_t kMaxFastDigits = 9;

inline bool isBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }
inline bool isDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

}  // namespace

// Anything but a regular file is refused as access denied.
TextFileReader::TextFileReader(const std::string& path) : path_(path) {
    try {
        file_ = std::make_unique<RegularFile>(path);
    } catch (const SystemError& error) {
        throw IoFailure(ioFailureNumberForPath(error.number(), path));
    } catch (const NotRegularFile&) {
        throw IoFailure(io::kAccessDenied);
    }
    buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
    next_ = limit_ = buffer_.get();
}

TextFileReader::~TextFileReader() = default;

void TextFileReader::close() {
    const std::unique_ptr<RegularFile> file = std::move(file_);
    if (!file) return;
    try {
        file->close();
    } catch (const SystemError& error) {
        throw IoFailure(ioFailureNumberForPath(error.number(), path_));
    }
}

// Reads the next block; a 0x1A in it becomes the end of the file.
bool TextFileReader::refill() {
    if (endSeen_ || !file_) return false;
    std::size_t got = 0;
    try {
        got = file_->read(buffer_.get(), kBufferSize);
    } catch (const SystemError& error) {
        throw IoFailure(ioFailureNumberForPath(error.number(), path_));
    }
    next_ = buffer_.get();
    limit_ = next_ + got;
    if (got == 0) {
        endSeen_ = true;
        return false;
    }
    if (const void* mark = std::memchr(next_, kEndOfFileMark, got)) {
        limit_ = static_cast<const char*>(mark);
        endSeen_ = true;
        return limit_ != next_;
    }
    return true;
}

bool TextFileReader::atEnd() { return next_ == limit_ && !refill(); }

std::string TextFileReader::readLine() {
    std::string line;
    while (line.size() < kMaxLineKept && !atEnd()) {
        const auto available = static_cast<std::size_t>(limit_ - next_);
        const void* lf = std::memchr(next_, '\n', available);
        const char* stop = lf ? static_cast<const char*>(lf) : limit_;
        while (next_ != stop && line.size() < kMaxLineKept) {
            const std::size_t room = kMaxLineKept - line.size();
            const char* runEnd = next_ + std::min(room, static_cast<std::size_t>(stop - next_));
            const void* cr = std::memchr(next_, '\r', static_cast<std::size_t>(runEnd - next_));
            if (cr) runEnd = static_cast<const char*>(cr);
            line.append(next_, runEnd);
            next_ = cr ? runEnd + 1 : runEnd;
        }
        if (lf) break;
    }
    return line;
}

void TextFileReader::finishLine() {
    while (!atEnd()) {
        const void* lf = std::memchr(next_, '\n', static_cast<std::size_t>(limit_ - next_));
        if (lf) {
            next_ = static_cast<const char*>(lf) + 1;
            return;
        }
        next_ = limit_;
    }
}

std::int32_t TextFileReader::readNumber() {
    for (;;) {
        while (next_ != limit_ && isBlank(*next_)) ++next_;
        if (next_ != limit_) break;
        if (!refill()) return 0;
    }
    // Fast path: the whole run lies in the buffer and is a short decimal.
    const char* at = next_;
    std::uint32_t value = 0;
    while (at != limit_ && isDigit(*at) && static_cast<std::size_t>(at - next_) < kMaxFastDigits) {
        value = value * 10 + static_cast<std::uint32_t>(*at - '0');
        ++at;
    }
    if (at != limit_ && isBlank(*at)) {
        next_ = at;
        return static_cast<std::int32_t>(value);
    }
    // Exact path: gather the run, across block ends, and use the integer syntax.
    char run[kMaxNumberRun];
    std::size_t length = 0;
    while (length < kMaxNumberRun) {
        if (next_ == limit_ && !refill()) break;
        if (isBlank(*next_)) break;
        run[length++] = *next_++;
    }
    return parseRun(run, length);
}

std::size_t TextFileReader::readNumberLines(std::uint16_t* cells, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        // Fast path: a line of at most nine digits and its line end, all in the buffer.
        const char* at = next_;
        if (limit_ - at > 16 && isDigit(*at)) {
            const char* const start = at;
            std::uint32_t value = 0;
            while (isDigit(*at) && static_cast<std::size_t>(at - start) < kMaxFastDigits) {
                value = value * 10 + static_cast<std::uint32_t>(*at - '0');
                ++at;
            }
            const char* lineEnd = *at == '\r' ? at + 1 : at;
            if (*lineEnd == '\n') {
                next_ = lineEnd + 1;
                if (cells) cells[i] = static_cast<std::uint16_t>(value);
                continue;
            }
        }
        if (atEnd()) return i;
        const std::int32_t value = readNumber();
        finishLine();
        if (cells) cells[i] = static_cast<std::uint16_t>(value);
    }
    return count;
}

std::int32_t TextFileReader::parseRun(const char* run, std::size_t length) const {
    if (const auto value = tryParseInteger(std::string_view(run, length))) return *value;
    throw IoFailure(io::kInvalidNumber);
}

}  // namespace core
