// The end of a Windows session as the editor's event loop hears of it.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/platform/session_end_signals.h"

namespace {

std::optional<std::intptr_t> answerTo(UINT message, WPARAM wParam) {
    MSG msg{};
    msg.message = message;
    msg.wParam = wParam;
    return core::SessionEndSignals::sessionEndAnswer(&msg);
}

TEST(WindowsSessionEnd, TheQueryIsAnsweredYesAndTheEndItselfIsTaken) {
    EXPECT_EQ(answerTo(WM_QUERYENDSESSION, 0), TRUE) << "the work goes into the recovery copy, so it may end";
    EXPECT_EQ(answerTo(WM_ENDSESSION, TRUE), 0);
    EXPECT_EQ(answerTo(WM_ENDSESSION, FALSE), std::nullopt) << "the session goes on after all";
    EXPECT_EQ(answerTo(WM_CLOSE, 0), std::nullopt);
    EXPECT_EQ(core::SessionEndSignals::sessionEndAnswer(nullptr), std::nullopt);
}

}  // namespace
