// The manager installed afresh and started from that copy, as an
// administrator starts it; shared by the end-to-end tests of the manager.
#pragma once
#include "ManagerIds.h"
#include "ManagerSupport.h"
#include "RemoteWindows.h"
#include "RuntimeEnv.h"
#include <gtest/gtest.h>
class InstalledManager : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitRuntimeEnvironment(); }
    void SetUp() override {
        SetPasswords(nullptr, nullptr);
        folder = InstallCopy();
    }
    void TearDown() override {
        StopProcess(manager);
        RemoveTree(folder);
    }
    // Started under the program's file name (a copy of vtlock.exe beside it), with a token as its user.
    void Start(const std::string& arguments = "", const std::string& program = "vtlock.exe", HANDLE token = nullptr) {
        StopProcess(manager);
        CopyFileA((folder + "vtlock.exe").c_str(), (folder + program).c_str(), TRUE);
        manager = StartProcess(QuoteArgument(folder + program) + " " + arguments, &managerId, token);
        ASSERT_TRUE(manager);
    }
    // The manager's shown window of the class, null when none shows in time.
    HWND Wait(const char* className) {
        HWND window = nullptr;
        WaitFor([&] { return (window = ShownWindow(managerId, className)) != nullptr; }, 20000);
        return window;
    }
    std::string folder;
    HANDLE manager = nullptr;
    DWORD managerId = 0;
};
