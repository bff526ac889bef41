#include "tools/quarvel_export_signals.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace quarvel_export {
namespace {

constexpr int kCleaningSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The named temporary file, prepared before it is needed; it changes only while the
// cleaning signals are blocked, so the handler never sees it half written.
char* g_temporaryPath = nullptr;

void removeTemporaryAndEnd(int signal) {
    if (g_temporaryPath) ::unlink(g_temporaryPath);
    // The handler was reset to the default on entry, and the signal stays blocked
    // until the handler returns; then it ends the program as if never caught.
    ::raise(signal);
}

sigset_t cleaningSignals() {
    sigset_t set;
    ::sigemptyset(&set);
    for (const int signal : kCleaningSignals) ::sigaddset(&set, signal);
    return set;
}

// Replaces the prepared path with the signals blocked; gives the one it replaced.
char* exchangeTemporaryPath(char* path) {
    const sigset_t blocked = cleaningSignals();
    sigset_t previous;
    ::sigprocmask(SIG_BLOCK, &blocked, &previous);
    char* const replaced = g_temporaryPath;
    g_temporaryPath = path;
    ::sigprocmask(SIG_SETMASK, &previous, nullptr);
    return replaced;
}

}  // namespace

SignalCleanup::SignalCleanup() {
    ::signal(SIGXFSZ, SIG_IGN);
    for (const int signal : kCleaningSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
        struct sigaction cleaning {};
        cleaning.sa_handler = removeTemporaryAndEnd;
        cleaning.sa_flags = SA_RESETHAND;
        ::sigemptyset(&cleaning.sa_mask);
        ::sigaction(signal, &cleaning, nullptr);
    }
}

// Without memory for the copy the file cannot be cleaned up, but the export goes on.
void SignalCleanup::temporaryNamed(const std::string& path) noexcept {
    std::free(exchangeTemporaryPath(::strdup(path.c_str())));
}

void SignalCleanup::temporaryGone() noexcept { std::free(exchangeTemporaryPath(nullptr)); }

}  // namespace quarvel_export
