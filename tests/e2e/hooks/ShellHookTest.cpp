// vthooks.dll as the agent uses it: this process plays the agent with a
// window of class "VTLOCK.AGENT", installs the hook and watches the
// "Corvane2.TaskMan1" reports for windows of other programs.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "VtTest.h"

namespace {

struct Report {
    HWND window;
    LPARAM lParam;
};

UINT TaskMessage;
std::vector<Report> Reports;

LRESULT CALLBACK AgentProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == TaskMessage && TaskMessage != 0) {
        Reports.push_back({reinterpret_cast<HWND>(wParam), lParam});
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

DWORD ProcessOf(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

size_t TimesReported(HWND window)
{
    size_t times = 0;
    for (const Report& r : Reports) times += r.window == window;
    return times;
}

// The top-level window with this title that belongs to the process.
HWND WaitForWindow(const char* title, DWORD processId)
{
    HWND found = nullptr;
    WaitFor([&] {
        found = FindWindowA(nullptr, title);
        return found && ProcessOf(found) == processId;
    });
    return found;
}

// Creates a window in this process and waits for its report. Every report
// posted before it is in the queue ahead of it, so once it arrives all
// earlier reports have been counted.
bool DrainReports()
{
    HWND sentinel = CreateWindowA("STATIC", "sentinel", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    bool seen = WaitFor([&] { return TimesReported(sentinel) > 0; });
    DestroyWindow(sentinel);
    return seen;
}

class ShellHook : public ::testing::Test {
protected:
    // A program started before the hook, the agent window, then the hook
    // installed twice, as repeated enable requests of the agent would.
    static void SetUpTestSuite()
    {
        TaskMessage = RegisterWindowMessageA("Corvane2.TaskMan1");
        WNDCLASSA cls = {};
        cls.lpfnWndProc = AgentProc;
        cls.hInstance = GetModuleHandleA(nullptr);
        cls.lpszClassName = "VTLOCK.AGENT";
        RegisterClassA(&cls);
        agent_ = CreateWindowA("VTLOCK.AGENT", "", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, cls.hInstance,
                               nullptr);

        lateEvent_ = CreateEventA(nullptr, TRUE, FALSE, "VtTest.LateWindow");
        lateProcess_ = StartProcess("\"" + BinDir() + "latewindow.exe\" VtTest.LateWindow", &lateId_);
        lateFirst_ = WaitForWindow("latewindow", lateId_);

        HMODULE library = LoadLibraryA((BinDir() + "vthooks.dll").c_str());
        auto install = reinterpret_cast<BOOL(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(library, "installshellhook")));
        if (install) {
            firstInstall_ = install();
            secondInstall_ = install();
        }
    }

    static void TearDownTestSuite()
    {
        StopProcess(lateProcess_);
        if (lateEvent_) CloseHandle(lateEvent_);
        if (agent_) DestroyWindow(agent_);
    }

    void SetUp() override
    {
        ASSERT_TRUE(agent_);
        ASSERT_TRUE(lateFirst_) << "latewindow.exe did not open its window";
        ASSERT_TRUE(firstInstall_) << "installshellhook missing or failed";
        ASSERT_TRUE(secondInstall_);
    }

    static HWND agent_;
    static HANDLE lateEvent_;
    static HANDLE lateProcess_;
    static DWORD lateId_;
    static HWND lateFirst_;
    static BOOL firstInstall_;
    static BOOL secondInstall_;
};

HWND ShellHook::agent_;
HANDLE ShellHook::lateEvent_;
HANDLE ShellHook::lateProcess_;
DWORD ShellHook::lateId_;
HWND ShellHook::lateFirst_;
BOOL ShellHook::firstInstall_;
BOOL ShellHook::secondInstall_;

TEST_F(ShellHook, NewProgramWindowIsReportedOnceWithItsHandle)
{
    std::string program = BinDir() + "blockme.exe";
    const char* title = "blockme";
    if (GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES) {
        program = "notepad.exe";
        title = "Untitled - Notepad";
    }
    DWORD processId = 0;
    ChildProcess process(StartProcess("\"" + program + "\"", &processId));
    ASSERT_TRUE(process);
    HWND window = WaitForWindow(title, processId);
    ASSERT_TRUE(window);
    EXPECT_TRUE(WaitFor([&] { return TimesReported(window) > 0; })) << "the program's window was not reported";

    WaitForInputIdle(process, 5000);
    ASSERT_TRUE(DrainReports());
    size_t fromProgram = 0;
    for (const Report& r : Reports) {
        if (!IsWindow(r.window) || ProcessOf(r.window) != processId) continue;
        ++fromProgram;
        EXPECT_EQ(r.lParam, 0);
        EXPECT_EQ(TimesReported(r.window), 1u) << "reported more than once: two hooks installed";
    }
    EXPECT_GE(fromProgram, 1u);
}

TEST_F(ShellHook, ProgramRunningBeforeTheHookHasItsNextWindowReported)
{
    ASSERT_TRUE(SetEvent(lateEvent_));
    HWND second = WaitForWindow("latewindow 2", lateId_);
    ASSERT_TRUE(second);
    EXPECT_TRUE(WaitFor([&] { return TimesReported(second) > 0; })) << "the new window was not reported";
    ASSERT_TRUE(DrainReports());
    EXPECT_EQ(TimesReported(second), 1u);
    EXPECT_EQ(TimesReported(lateFirst_), 0u) << "a window older than the hook was reported";
    for (const Report& r : Reports) {
        if (r.window == second) {
            EXPECT_EQ(r.lParam, 0);
        }
    }
}

}  // namespace
