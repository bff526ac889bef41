#pragma once
// Both real windows, created as start-up creates them, answered by scripted dialogs,
// with a folder for the files a test writes.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <string>

#include "support/ScriptedDialogs.h"
#include "ui/main_window/StartUp.h"
#include "ui/main_window/Unit1.h"
#include "ui/settings_window/Unit2.h"
#include "ui/toolkit/Application.h"

namespace windowstest {

class WindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        // Each test keeps its recovery copies apart, in its own folder.
        qputenv("XDG_STATE_HOME", QFile::encodeName(folder.filePath(QStringLiteral("state"))));
        static_cast<ui::Application*>(qApp)->setFailureDialogs(&dialogs);
        ui::createWindows(dialogs);
        form = Form1;
        settings = Form2;
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
    QTemporaryDir folder;  // for the files a test writes
    TForm1* form = nullptr;
    TForm2* settings = nullptr;
};

}  // namespace windowstest
