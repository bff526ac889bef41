#pragma once
// What a signal does to quarvel-export: a file-size limit makes the write fail
// (EFBIG, I/O failure 112) instead of ending the program, and an interrupt, a
// termination or a hang-up first removes a named temporary file beside the output,
// then ends the program by that signal as usual.
#include <string>

#include "core/platform/atomic_file.h"

namespace quarvel_export {

class SignalCleanup final : public core::TemporaryNameListener {
public:
    // Installs the handlers, for the life of the process; a signal that was ignored
    // when the program started stays ignored.
    SignalCleanup();
    SignalCleanup(const SignalCleanup&) = delete;
    SignalCleanup& operator=(const SignalCleanup&) = delete;

    void temporaryNamed(int folder, const std::string& name) noexcept override;
    void temporaryGone() noexcept override;
};

}  // namespace quarvel_export
