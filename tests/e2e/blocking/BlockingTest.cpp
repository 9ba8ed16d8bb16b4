// Program blocking with the real shell-hook library: the test process owns a
// window of the agent's class, receives the library's reports and answers
// them as the agent does.
#include "ProgramBlocking.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtTest.h"

#include <gtest/gtest.h>
#include <set>

namespace {

std::set<HWND> Reported;

LRESULT CALLBACK StandInAgentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == MsgTaskMan && lParam == 0) {
        Reported.insert(reinterpret_cast<HWND>(wParam));
        CloseIfDisabled(reinterpret_cast<HWND>(wParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool IsProgramWindowOf(HWND window, DWORD processId) {
    char name[64] = {};
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    GetClassNameA(window, name, sizeof name);
    return owner == processId && std::string(name) == "blockme";
}

struct Outcome {
    bool ended = false;   // ended by the blocking, exit code 0
    bool ran = false;     // its window was reported and it kept running
};

class Blocking : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InitRuntimeEnvironment();
        WNDCLASSA cls = {};
        cls.lpfnWndProc = StandInAgentProc;
        cls.hInstance = GetModuleHandleA(nullptr);
        cls.lpszClassName = "VTLOCK.AGENT";
        RegisterClassA(&cls);
        agent = CreateWindowA("VTLOCK.AGENT", "VT Vantrel", 0, 0, 0, 0, 0, nullptr, nullptr, cls.hInstance, nullptr);
    }
    void SetUp() override {
        ASSERT_NE(agent, nullptr);
        folder = NewTempDir("programs");
        Profile = TProfile();
    }
    void TearDown() override { StopProgramBlocking(); }

    // Runs bin\blockme.exe under the given file name until it is ended or
    // has shown its window to the hook.
    Outcome RunProgram(const std::string& fileName) {
        Outcome outcome;
        std::string path = folder + fileName;
        CopyFileA((BinDir() + "blockme.exe").c_str(), path.c_str(), FALSE);
        DWORD processId = 0;
        HANDLE process = StartProcess(QuoteArgument(path), &processId);
        if (!process) return outcome;
        auto ended = [&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; };
        auto reported = [&] {
            for (HWND window : Reported)
                if (IsProgramWindowOf(window, processId)) return true;
            return false;
        };
        WaitFor([&] { return ended() || reported(); }, 15000);
        DWORD code = STILL_ACTIVE;
        if (ended()) {
            GetExitCodeProcess(process, &code);
            outcome.ended = code == 0;
        } else if (reported()) {
            outcome.ran = true;
            HWND window = FindWindowA("blockme", nullptr);
            PostMessageA(window, WM_CLOSE, 0, 0);
            WaitFor(ended);
            GetExitCodeProcess(process, &code);
            outcome.ran = code == 7;
        }
        StopProcess(process);
        return outcome;
    }

    static HWND agent;
    std::string folder;
};

HWND Blocking::agent = nullptr;

}  // namespace

TEST_F(Blocking, ListedProgramsAreEndedWhenTheyOpenAWindow) {
    struct Case { const char* tasks; const char* fileName; bool blocked; };
    const Case cases[] = {
        {"BLOCKME.EXE      //Test program", "blockme.exe", true},
        {"BLOCKME.EXE      //Test program", "BlockMe.exe", true},
        {"VTBLOCK1.EXE      //Another name", "vtblock1.exe", true},
        {"BLOCKME.EXE", "blockme.exe", true},
        {"BLOCKME.EXE  //Two blanks only", "blockme.exe", false},
        {"OTHER.EXE      //Somebody else", "blockme.exe", false},
        {"blockme.exe      //Stored in lower case", "blockme.exe", false},
    };
    StartProgramBlocking();
    ASSERT_TRUE(ProgramBlockingActive);
    for (const Case& c : cases) {
        Profile.Tasks = {c.tasks};
        Outcome outcome = RunProgram(c.fileName);
        EXPECT_EQ(outcome.ended, c.blocked) << c.tasks << " / " << c.fileName;
        EXPECT_EQ(outcome.ran, !c.blocked) << c.tasks << " / " << c.fileName;
    }
}

TEST_F(Blocking, ProgramListedTwiceIsEndedOnce) {
    Profile.Tasks = {"BLOCKME.EXE      //First", "BLOCKME.EXE      //Second"};
    StartProgramBlocking();
    EXPECT_TRUE(RunProgram("blockme.exe").ended);
}

TEST_F(Blocking, ProgramsRunWhileBlockingIsOffAndAreEndedAgainAfterwards) {
    Profile.Tasks = {"BLOCKME.EXE      //Test program"};
    StartProgramBlocking();
    StopProgramBlocking();
    EXPECT_FALSE(ProgramBlockingActive);
    EXPECT_TRUE(RunProgram("blockme.exe").ran);
    StartProgramBlocking();
    EXPECT_TRUE(RunProgram("blockme.exe").ended);
}

TEST_F(Blocking, ProcessNamesFromToolhelpAndSystemInformationAgree) {
    HWND window = agent;
    std::string name = GetWindowProcessName(window);
    EXPECT_EQ(UpperCase(name), "E2E_BLOCKING.EXE");
    EXPECT_EQ(UpperCase(ProcessNameFromSystemInformation(GetCurrentProcessId())), "E2E_BLOCKING.EXE");
    EXPECT_EQ(ProcessNameFromSystemInformation(0xFFFFFFF0u), "");
}
