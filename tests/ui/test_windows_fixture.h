#pragma once
// Both real windows, created as start-up creates them, answered by scripted dialogs.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <string>

#include "ui/Application.h"
#include "support/ScriptedDialogs.h"
#include "ui/StartUp.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"

namespace windowstest {

class WindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        static_cast<ui::Application*>(qApp)->setFailureDialogs(&dialogs);
        ui::createWindows(dialogs);
        startUpCalls = dialogs.calls;
        dialogs.clear();
    }
    void TearDown() override {
        ui::destroyWindows();
        static_cast<ui::Application*>(qApp)->setFailureDialogs(nullptr);
    }

    void showMainWindow() {
        ui::showMainWindow();
        QApplication::setActiveWindow(Form1);
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    }

    // The failure boxes shown so far, readable in a test's message.
    std::string failureTexts() const { return dialogs.failures().join(" | ").toStdString(); }

    ui::ScriptedDialogs dialogs;
    std::vector<ui::ScriptedDialogs::Call> startUpCalls;
};

}  // namespace windowstest
