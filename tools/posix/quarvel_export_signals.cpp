#include "tools/quarvel_export_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace quarvel_export {
namespace {

constexpr int kCleaningSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The named temporary file, its folder and name prepared before they are needed; they
// change only while the cleaning signals are blocked, so the handler never sees them
// half written.
int g_temporaryFolder = -1;
char* g_temporaryName = nullptr;

void removeTemporaryAndEnd(int signal) {
    if (g_temporaryName) ::unlinkat(g_temporaryFolder, g_temporaryName, 0);
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

// Replaces the prepared file with the signals blocked; gives the name it replaced.
char* exchangeTemporary(int folder, char* name) {
    const sigset_t blocked = cleaningSignals();
    sigset_t previous;
    ::sigprocmask(SIG_BLOCK, &blocked, &previous);
    char* const replaced = g_temporaryName;
    g_temporaryFolder = folder;
    g_temporaryName = name;
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
void SignalCleanup::temporaryNamed(int folder, const std::string& name) noexcept {
    std::free(exchangeTemporary(folder, ::strdup(name.c_str())));
}

void SignalCleanup::temporaryGone() noexcept { std::free(exchangeTemporary(-1, nullptr)); }

}  // namespace quarvel_export
