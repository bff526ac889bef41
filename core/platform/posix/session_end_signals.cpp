#include "core/platform/session_end_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace core {
namespace {

int wakeFds[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// Async-signal-safe: one byte into the pipe, errno kept.
void onSessionEnd(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(wakeFds[1], &byte, 1);
    errno = saved;
}

}  // namespace

SessionEndSignals::SessionEndSignals() {
    if (::pipe2(wakeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        wakeFds[0] = wakeFds[1] = -1;
        return;
    }
    for (const int number : kSignals) {
        struct sigaction previous {};
        if (::sigaction(number, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = onSessionEnd;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(number, &action, nullptr);
    }
}

SessionEndSignals::~SessionEndSignals() {
    for (const int number : kSignals) {
        struct sigaction current {};
        if (::sigaction(number, nullptr, &current) == 0 && current.sa_handler == onSessionEnd)
            ::signal(number, SIG_DFL);
    }
    for (int& fd : wakeFds) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

int SessionEndSignals::descriptor() const noexcept { return wakeFds[0]; }

void SessionEndSignals::drain() noexcept {
    char bytes[16];
    while (wakeFds[0] >= 0 && ::read(wakeFds[0], bytes, sizeof bytes) > 0) {
    }
}

// Sessions end by signals here.
std::optional<std::intptr_t> SessionEndSignals::sessionEndAnswer(const void*) noexcept { return std::nullopt; }

}  // namespace core
