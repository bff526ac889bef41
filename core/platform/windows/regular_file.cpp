#include "core/platform/regular_file.h"

#include <windows.h>

#include <algorithm>

#include "core/platform/windows/wide_path.h"
#include "core/text/failures.h"

namespace core {
namespace {

HANDLE handleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Reads of at most this much at once, as ReadFile takes a 32-bit count.
constexpr std::size_t kMaxRead = std::size_t{1} << 30;

}  // namespace

// Others may go on reading, writing or renaming the file meanwhile, as on POSIX.
// A folder cannot be opened this way (5); a pipe or a device opens but is refused.
RegularFile::RegularFile(const std::string& path) {
    std::wstring wide;
    try {
        wide = widePath(path);
    } catch (const IoFailure& failure) {
        throw SystemError(failure.number());
    }
    const HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw SystemError(static_cast<int>(::GetLastError()));
    LARGE_INTEGER size{};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileSizeEx(file, &size)) {
        ::CloseHandle(file);
        throw NotRegularFile();
    }
    length_ = static_cast<std::uint64_t>(size.QuadPart);
    handle_ = reinterpret_cast<std::intptr_t>(file);
}

RegularFile::~RegularFile() {
    if (handle_ != -1) ::CloseHandle(handleOf(handle_));
}

std::size_t RegularFile::read(char* into, std::size_t size) {
    DWORD got = 0;
    if (!::ReadFile(handleOf(handle_), into, static_cast<DWORD>(std::min(size, kMaxRead)), &got, nullptr))
        throw SystemError(static_cast<int>(::GetLastError()));
    return got;
}

std::size_t RegularFile::readAt(std::uint64_t offset, char* into, std::size_t size) {
    std::size_t total = 0;
    while (total < size) {
        OVERLAPPED at{};
        const std::uint64_t from = offset + total;
        at.Offset = static_cast<DWORD>(from);
        at.OffsetHigh = static_cast<DWORD>(from >> 32);
        DWORD got = 0;
        if (!::ReadFile(handleOf(handle_), into + total, static_cast<DWORD>(std::min(size - total, kMaxRead)), &got,
                        &at)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_HANDLE_EOF) break;
            throw SystemError(static_cast<int>(error));
        }
        if (got == 0) break;
        total += got;
    }
    return total;
}

void RegularFile::close() {
    const HANDLE file = handleOf(handle_);
    handle_ = -1;
    if (file != INVALID_HANDLE_VALUE && !::CloseHandle(file)) throw SystemError(static_cast<int>(::GetLastError()));
}

}  // namespace core
