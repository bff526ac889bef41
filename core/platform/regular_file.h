#pragma once
// Reading a file only when it is a regular file, the one kind that reads the same to
// its end every time: a pipe may block or never end, a device may never end. The
// open never waits for a pipe's writer.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

namespace core {

// What a system call answered: its error number, for the caller to turn into its
// own failure.
class SystemError : public std::exception {
public:
    explicit SystemError(int number) noexcept : number_(number) {}
    int number() const noexcept { return number_; }
    const char* what() const noexcept override { return "system call failed"; }

private:
    int number_;
};

// The file opened is a folder, a pipe, a device: no regular file.
class NotRegularFile : public std::exception {
public:
    const char* what() const noexcept override { return "not a regular file"; }
};

class RegularFile {
public:
    // Raises SystemError, or NotRegularFile (the file is closed again).
    explicit RegularFile(const std::string& path);
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;
    ~RegularFile();

    // The file's length when it was opened.
    std::uint64_t length() const noexcept { return length_; }
    // Up to `size` bytes from where the last read ended; 0 at the end. Raises SystemError.
    std::size_t read(char* into, std::size_t size);
    // `size` bytes at `offset`, fewer only where the file ends. Raises SystemError.
    std::size_t readAt(std::uint64_t offset, char* into, std::size_t size);
    // Raises SystemError; the file is closed either way.
    void close();

private:
    // A descriptor, or a Windows handle; -1 for none on either.
    std::intptr_t handle_ = -1;
    std::uint64_t length_ = 0;
};

}  // namespace core
