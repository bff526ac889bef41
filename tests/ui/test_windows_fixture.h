#pragma once
// Both real windows, created as start-up creates them, answered by scripted dialogs,
// with a folder for the files a test writes.
#include <QApplication>
#include <QDir>
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
        ASSERT_TRUE(stateHome.isValid());
        // Each test keeps its recovery copies apart, in a folder of its own: given as
        // XDG_STATE_HOME on POSIX systems and LOCALAPPDATA on Windows, whose variables
        // Qt sets in the ANSI code page, so its name is ASCII.
        qputenv("XDG_STATE_HOME", stateFolder().toUtf8());
        qputenv("LOCALAPPDATA", QDir::toNativeSeparators(stateFolder()).toLocal8Bit());
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
    // The user's state folder as the recovery copies see it.
    QString stateFolder() const { return stateHome.filePath(QStringLiteral("state")); }

    QTemporaryDir folder;  // for the files a test writes
    QTemporaryDir stateHome{QDir::tempPath() + QStringLiteral("/quarvel-state-XXXXXX")};
    TForm1* form = nullptr;
    TForm2* settings = nullptr;
};

}  // namespace windowstest
