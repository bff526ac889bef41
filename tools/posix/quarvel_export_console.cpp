#include "tools/quarvel_export_console.h"

#include <langinfo.h>
#include <unistd.h>

#include <cstdio>

namespace quarvel_export {
namespace {

std::FILE* fileOf(Stream stream) { return stream == Stream::Output ? stdout : stderr; }

}  // namespace

std::string terminalCodeset() { return ::nl_langinfo(CODESET); }

bool writeText(Stream stream, std::string_view text) {
    return std::fwrite(text.data(), 1, text.size(), fileOf(stream)) == text.size();
}

bool flushOutput() { return std::fflush(stdout) == 0 && !std::ferror(stdout); }

void writeFixedError(std::string_view text) noexcept {
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, text.data(), text.size());
}

int dataOutputDescriptor() { return STDOUT_FILENO; }

}  // namespace quarvel_export
