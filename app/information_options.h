#pragma once
// The two options the editor answers without opening a window: --help and --version.
#include <cstdio>
#include <optional>

namespace app {

// When the first argument is exactly "--help" or "--version", prints the answer to
// `out` and returns the exit status (1 when it cannot be written). Otherwise returns
// nothing: the first argument, if any, is a project path.
std::optional<int> answerInformationOption(int argc, char** argv, std::FILE* out);

}  // namespace app
