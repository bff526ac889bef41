#include "core/platform/process_start.h"

#include <signal.h>

#include <cstdlib>

namespace core {
namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

void failWritesPastFileSizeLimit() noexcept { ::signal(SIGXFSZ, SIG_IGN); }

bool graphicalSessionAvailable() { return isSet("QT_QPA_PLATFORM") || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY"); }

}  // namespace core
