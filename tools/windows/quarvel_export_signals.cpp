#include "tools/quarvel_export_signals.h"

#include <windows.h>

namespace quarvel_export {
namespace {

// What Windows itself ends a program with on Ctrl+C.
constexpr UINT kControlCExit = 0xC000013A;

// Ctrl+C, Ctrl+Break or a closed console window end the export at once, as the
// signals do on POSIX systems. The temporary file is marked for removal from the
// moment it exists, so ending the process is all the cleaning there is.
BOOL WINAPI endOnControl(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT: ::TerminateProcess(::GetCurrentProcess(), kControlCExit); return TRUE;
        default: return FALSE;
    }
}

}  // namespace

SignalCleanup::SignalCleanup() { ::SetConsoleCtrlHandler(endOnControl, TRUE); }

// No named temporary file needs a handler's help here.
void SignalCleanup::temporaryNamed(int, const std::string&) noexcept {}
void SignalCleanup::temporaryGone() noexcept {}

}  // namespace quarvel_export
