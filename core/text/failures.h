#pragma once
// The failure kinds of the editor. Every failure is an exception carrying the
// exact message text (code-page-932 bytes) that the failure box shows.
#include <exception>
#include <string>
#include <string_view>

namespace core {

class Failure : public std::exception {
public:
    explicit Failure(std::string message) : message_(std::move(message)) {}
    // The message text before the full-stop rule, as code-page-932 bytes.
    const std::string& message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// "'%s' は整数ではありません" with the text exactly as it stood.
class ConversionFailure : public Failure {
public:
    explicit ConversionFailure(std::string_view text);
    const std::string& text() const noexcept { return text_; }

private:
    std::string text_;
};

// I/O failure by number: 2, 3, 4, 5 and 106 have texts of their own, every other
// number shows "I/O エラー (%d)".
class IoFailure : public Failure {
public:
    explicit IoFailure(int number);
    int number() const noexcept { return number_; }

private:
    int number_;
};

// I/O failure numbers the editor relies on.
namespace io {
inline constexpr int kFileNotFound = 2;
inline constexpr int kPathNotFound = 3;
inline constexpr int kTooManyOpenFiles = 4;
inline constexpr int kAccessDenied = 5;
inline constexpr int kSharingViolation = 32;
inline constexpr int kInvalidNumber = 106;
inline constexpr int kDiskFull = 112;
inline constexpr int kInvalidName = 123;
}  // namespace io

class RangeFailure : public Failure {
public:
    RangeFailure();
};

class OutOfMemoryFailure : public Failure {
public:
    OutOfMemoryFailure();
};

// "ファイル %s は開けません" with the path as the tile-sheet load received it.
class FileOpenFailure : public Failure {
public:
    explicit FileOpenFailure(std::string_view path);
};

class InvalidBitmapFailure : public Failure {
public:
    InvalidBitmapFailure();
};

class StreamReadFailure : public Failure {
public:
    StreamReadFailure();
};

// The text a failure box shows: a "." is appended when the first byte of the
// message's last character (a double-byte character counts as one) is above 0x2E.
std::string withFullStop(std::string_view message);
inline std::string textToShow(const Failure& failure) { return withFullStop(failure.message()); }

// The failure an exception stands for when it reaches a boundary: one of ours as it
// is, a failed allocation as the out-of-memory failure, any other with its own text.
Failure failureOf(const std::exception& escaped);
// The text a boundary shows for it.
inline std::string failureText(const std::exception& escaped) { return textToShow(failureOf(escaped)); }

}  // namespace core
