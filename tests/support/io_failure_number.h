#pragma once
// The number of the I/O failure an action raises; 0 when it raises none.
#include <functional>

#include "core/text/failures.h"

namespace testsupport {

inline int ioNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const core::IoFailure& failure) {
        return failure.number();
    }
    return 0;
}

}  // namespace testsupport
