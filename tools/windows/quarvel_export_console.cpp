#include "tools/quarvel_export_console.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace quarvel_export {
namespace {

DWORD handleNumber(Stream stream) { return stream == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE; }

// A console shows UTF-16 whatever its code page; a file or a pipe gets UTF-8.
bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return ::GetConsoleMode(handle, &mode) != 0;
}

bool writeToConsole(HANDLE console, std::string_view utf8) {
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    for (std::size_t at = 0; at < wide.size();) {
        DWORD written = 0;
        if (!::WriteConsoleW(console, wide.data() + at, static_cast<DWORD>(wide.size() - at), &written, nullptr) ||
            written == 0)
            return false;
        at += written;
    }
    return true;
}

bool writeBytes(HANDLE handle, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

std::string terminalCodeset() { return "UTF-8"; }

// Straight to the handle: the C library's text mode would add a CR before each LF.
bool writeText(Stream stream, std::string_view text) {
    if (text.empty()) return true;
    const HANDLE handle = ::GetStdHandle(handleNumber(stream));
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
    return isConsole(handle) ? writeToConsole(handle, text) : writeBytes(handle, text);
}

bool flushOutput() { return true; }

void writeFixedError(std::string_view text) noexcept {
    const HANDLE handle = ::GetStdHandle(STD_ERROR_HANDLE);
    DWORD written = 0;
    if (handle && handle != INVALID_HANDLE_VALUE)
        ::WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

int dataOutputDescriptor() {
    ::_setmode(1, _O_BINARY);
    return 1;
}

}  // namespace quarvel_export
