#include "core/platform/process_start.h"

namespace core {

// Windows has no file-size signal: a write past a quota simply fails.
void failWritesPastFileSizeLimit() noexcept {}

// A Windows program always runs on a desktop.
bool graphicalSessionAvailable() { return true; }

}  // namespace core
