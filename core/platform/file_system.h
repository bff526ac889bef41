#pragma once
// The few folder and file operations outside the safe writer and the readers: a
// private folder made as needed, when a file was last written, and a removal.
#include <cstdint>
#include <optional>
#include <string>

namespace core {

// What the system tells of an existing file.
struct FileStamp {
    bool regular = false;
    std::int64_t seconds = 0;      // last written, since 1970
    std::int64_t nanoseconds = 0;  // within that second
};

// Nothing when there is no such file (or it cannot be looked at).
std::optional<FileStamp> fileStamp(const std::string& path);

// Makes `folder` and each missing folder above it; the last one is for its owner
// only. Raises IoFailure.
void makePrivateFolders(const std::string& folder);

// Removes a file; one that is not there is no failure. Raises IoFailure.
void removeFileIfPresent(const std::string& path);

}  // namespace core
