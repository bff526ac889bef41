#pragma once
// The names the safe writer gives its temporary files: the writer's process id in
// the name tells a later save whether the file was left behind.
#include <cstdint>
#include <optional>
#include <string>

namespace core {

// ".NAME.tmp-PID-NUMBER", NAME cut to its first 200 bytes.
std::string temporaryFileName(const std::string& target, long processId, std::uint64_t number);
// The writer's process id in a name of that form; nothing for any other name.
std::optional<long> temporaryFileWriter(const std::string& name);

}  // namespace core
