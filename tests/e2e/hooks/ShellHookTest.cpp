// Program blocking with the real shell-hook library: this process stands in
// for the agent with a window of its class, installs the hook as the agent
// does, and answers the library's reports of new windows as the agent does.
#include "ProgramBlocking.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtTest.h"
#include <gtest/gtest.h>

namespace {

struct Report {
    HWND window;
    LPARAM lParam;
    DWORD process;
    std::string className;  // read when the report came
};
std::vector<Report> Reports;

LRESULT CALLBACK StandInAgent(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != MsgTaskMan || !MsgTaskMan) return DefWindowProcA(window, message, wParam, lParam);
    Report report = {HWND(wParam), lParam, 0, std::string(64, '\0')};
    GetWindowThreadProcessId(report.window, &report.process);
    report.className.resize(GetClassNameA(report.window, &report.className[0], 64));
    Reports.push_back(report);
    if (lParam == 0) CloseIfDisabled(report.window);
    return 0;
}

size_t TimesReported(HWND window)
{
    size_t times = 0;
    for (const Report& r : Reports) times += r.window == window;
    return times;
}

// The first reported window of the class in the process, or null.
HWND Reported(DWORD process, const char* className)
{
    for (const Report& r : Reports)
        if (r.process == process && r.className == className) return r.window;
    return nullptr;
}

// The reports come in order: once this process's new window is reported,
// so is every window made before it.
void DrainReports()
{
    HWND sentinel = CreateWindowA("STATIC", "sentinel", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(WaitFor([&] { return TimesReported(sentinel) > 0; }));
    DestroyWindow(sentinel);
}

class ShellHook : public ::testing::Test {
protected:
    // A program that runs before the hook is installed, then the agent's
    // window and the hook, installed a second time as a later enable would.
    static void SetUpTestSuite()
    {
        InitRuntimeEnvironment();
        late = CreateEventA(nullptr, TRUE, FALSE, "VtTest.LateWindow");
        lateProcess = StartProcess(QuoteArgument(BinDir() + "latewindow.exe") + " VtTest.LateWindow", &lateId);
        WaitFor([] { return (lateFirst = FindWindowA("latewindow", "latewindow")) != nullptr; });
        WNDCLASSA cls = {};
        cls.lpfnWndProc = StandInAgent;
        cls.hInstance = GetModuleHandleA(nullptr);
        cls.lpszClassName = "VTLOCK.AGENT";
        RegisterClassA(&cls);
        CreateWindowA("VTLOCK.AGENT", "VT Vantrel", 0, 0, 0, 0, 0, nullptr, nullptr, cls.hInstance, nullptr);
        StartProgramBlocking();
        auto install = reinterpret_cast<BOOL(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("vthooks.dll"), "installshellhook")));
        installedAgain = install && install();
    }
    static void TearDownTestSuite() { StopProcess(lateProcess); }
    void SetUp() override
    {
        ASSERT_TRUE(lateFirst && ProgramBlockingActive && installedAgain);
        Profile = TProfile();
    }

    // Runs bin\blockme.exe under the file name until blocking ends it or its
    // window is reported; then closes it. Its exit code: 0 when blocking
    // ended it, 7 when it was closed normally.
    DWORD RunProgram(const std::string& fileName)
    {
        const std::string path = NewTempDir("programs") + fileName;
        CopyFileA((BinDir() + "blockme.exe").c_str(), path.c_str(), FALSE);
        DWORD id = 0;
        ChildProcess process(StartProcess(QuoteArgument(path), &id));
        HWND window = nullptr;
        WaitFor([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0 || (window = Reported(id, "blockme")); },
                15000);
        if (window && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
            DrainReports();
            EXPECT_EQ(TimesReported(window), 1u) << "reported once, whatever the installs";
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
        DWORD code = STILL_ACTIVE;
        WaitForSingleObject(process, 10000);
        GetExitCodeProcess(process, &code);
        return code;
    }

    static HANDLE late, lateProcess;
    static DWORD lateId;
    static HWND lateFirst;
    static bool installedAgain;
};

HANDLE ShellHook::late, ShellHook::lateProcess;
DWORD ShellHook::lateId;
HWND ShellHook::lateFirst;
bool ShellHook::installedAgain;

TEST_F(ShellHook, ListedProgramsAreEndedWhenTheyOpenAWindow)
{
    const struct {
        const char* tasks;
        const char* fileName;
        DWORD exitCode;
    } cases[] = {
        {"BLOCKME.EXE      //Test program", "blockme.exe", 0},
        {"BLOCKME.EXE      //Test program", "BlockMe.exe", 0},
        {"VTBLOCK1.EXE      //Another name", "vtblock1.exe", 0},
        {"BLOCKME.EXE", "blockme.exe", 0},
        {"BLOCKME.EXE  //Two blanks only", "blockme.exe", 7},
        {"OTHER.EXE      //Somebody else", "blockme.exe", 7},
        {"blockme.exe      //Stored in lower case", "blockme.exe", 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.tasks) + " / " + c.fileName);
        Profile.Tasks = {"NOTEPAD.EXE", c.tasks};
        EXPECT_EQ(RunProgram(c.fileName), c.exitCode);
    }
    Profile.Tasks = {"BLOCKME.EXE      //First", "BLOCKME.EXE      //Second"};
    EXPECT_EQ(RunProgram("blockme.exe"), 0u) << "listed twice";
    StopProgramBlocking();
    EXPECT_EQ(RunProgram("blockme.exe"), 7u) << "blocking is off";
    StartProgramBlocking();
    EXPECT_EQ(RunProgram("blockme.exe"), 0u) << "blocking is on again";
}

TEST_F(ShellHook, AProgramRunningBeforeTheHookHasItsNextWindowReported)
{
    ASSERT_TRUE(SetEvent(late));
    HWND second = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (second = FindWindowA("latewindow", "latewindow 2")) != nullptr; }));
    EXPECT_TRUE(WaitFor([&] { return TimesReported(second) > 0; }));
    DrainReports();
    EXPECT_EQ(TimesReported(second), 1u);
    EXPECT_EQ(TimesReported(lateFirst), 0u) << "a window older than the hook was reported";
    for (const Report& r : Reports) EXPECT_EQ(r.lParam, 0);
}

TEST(ProcessNames, ToolhelpAndSystemInformationAgree)
{
    HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(UpperCase(GetWindowProcessName(window)), "E2E_HOOKS.EXE");
    EXPECT_EQ(UpperCase(ProcessNameFromSystemInformation(GetCurrentProcessId())), "E2E_HOOKS.EXE");
    EXPECT_EQ(ProcessNameFromSystemInformation(0xFFFFFFF0u), "");
    DestroyWindow(window);
}

}  // namespace
