#pragma once
// The names the safe writer gives its temporary files, and the removal of those
// whose writer is gone: a writer killed outright (or a power cut) cannot remove its
// own, so the next save to the same folder does.
#include <cstdint>
#include <optional>
#include <string>

namespace core {

// ".NAME.tmp-PID-NUMBER", NAME cut to its first 200 bytes.
std::string temporaryFileName(const std::string& target, long processId, std::uint64_t number);
// The writer's process id in a name of that form; nothing for any other name.
std::optional<long> temporaryFileWriter(const std::string& name);
// Removes the regular files in the folder (a descriptor) that are named as temporary
// files of a process that no longer runs. Best effort: what cannot be removed stays.
void removeStaleTemporaryFiles(int folder);

}  // namespace core
