#pragma once
// The operating system's error codes as the editor's I/O failure numbers.
#include <string>

namespace core {

// `folderExists` tells a missing file (2) from a missing folder (3) for the
// "no such entry" errors. Unlisted errors keep their own number.
int ioFailureNumber(int osError, bool folderExists);

// The same, deciding `folderExists` from the folder that holds `path`.
int ioFailureNumberForPath(int osError, const std::string& path);

// The folder part of `path` ("." when it has none).
std::string folderOf(const std::string& path);

}  // namespace core
