// The agent's start and end: a single instance, the start-up profile that the
// settings choose, the ways it ends; and disabled programs, reported by the
// shell hook and ended by the agent.
#include "../agent_shared/AgentTest.h"
#include "ProgramBlocking.h"
#include "RuntimeEnv.h"

using namespace agenttest;

namespace {

TEST(Agent, StartsOnceWithTheChosenProfileAndStopsOnRequest)
{
    AgentBed bed;
    char user[256] = {};
    DWORD size = sizeof user;
    GetUserNameA(user, &size);
    const std::string own = bed.Dir() + "Profiles\\" + user + ".vtp";
    SetSettings(true, true, false);  // AutoStart, the user's own profile, no default one instead
    bed.WriteProfile(std::string(user) + ".vtp", RulesProfile(3, {"&.VT0", "&.VT1", "&.VT2"}));
    bed.WriteProfile("default.vtp", RulesProfile(1));
    VTLOCK_STATE before = QueryDriverState();
    bed.StartAgent();
    ASSERT_TRUE(WaitStarted(1));
    VTLOCK_STATE after = QueryDriverState();
    EXPECT_EQ(after.LoadRequests, before.LoadRequests + 1);
    EXPECT_EQ(after.LoadRefused, before.LoadRefused);
    EXPECT_EQ(after.FileStrings, 7u + 3u) << "the seven system files and the user's three rules";
    EXPECT_GE(after.FolderStrings, 3u + 6u);
    DWORD fixed = 0;  // every fixed or RAM drive is protected
    for (int drive = 0; drive < 26; ++drive) {
        const char root[] = {char('A' + drive), ':', '\\', 0};
        UINT type = GetLogicalDrives() & (1u << drive) ? GetDriveTypeA(root) : DRIVE_NO_ROOT_DIR;
        if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) fixed |= 1u << drive;
    }
    EXPECT_EQ(after.DriveMask, fixed);
    char caption[64] = {};
    GetWindowTextA(FindAgent(), caption, sizeof caption);
    EXPECT_STREQ(caption, "VT Vantrel");
    EXPECT_EQ(DWORD(GetWindowLongPtrA(FindAgent(), GWL_STYLE)) & (WS_VISIBLE | WS_POPUP | WS_CAPTION), DWORD(WS_POPUP));

    ProcessResult second = RunAndWait(bed.Exe() + " /AGENT", 15000);
    EXPECT_TRUE(second.finished && second.exitCode == 0) << "a second agent ends at once";
    EXPECT_EQ(FenceAgent().LoadRequests, after.LoadRequests + 1) << "the first agent answers, the second applied none";

    // Without the user's file, and no default one instead, no request applies anything.
    DeleteFileA(own.c_str());
    VTLOCK_STATE fenced = QueryDriverState();
    Broadcast("Vantrel.Stop");
    Broadcast("Vantrel.Enable");
    BoxAnswerer yes("yes");
    RunAndWait(bed.Exe() + " /TOGGLE");
    EXPECT_EQ(yes.WaitSeen(1).size(), 1u) << "the question was asked, so protection was off";
    EXPECT_TRUE(WaitSettled(FindAgent()));
    EXPECT_EQ(QueryDriverState().LoadRequests + QueryDriverState().StartRequests,
              fenced.LoadRequests + fenced.StartRequests);

    bed.WriteProfile(std::string(user) + ".vtp", RulesProfile(1));
    FenceAgent();
    EXPECT_EQ(RunAndWait(bed.Exe() + " /STOPAGENT").exitCode, 0u);
    EXPECT_TRUE(Ended(bed.Agent()));
    EXPECT_EQ(QueryDriverState().Started, 0u);
    EXPECT_TRUE(AgentGone());
    DeleteFileA(own.c_str());
}

// A program that runs before the agent has its old window ignored and its
// next one reported; then programs started under names listed or not.
TEST(Agent, DisabledProgramsAreEndedWhenTheyOpenAWindow)
{
    AgentBed bed;
    SetSettings(false, false, false);
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, "VtTest.LateWindow");
    ChildProcess late(StartProcess(QuoteArgument(BinDir() + "latewindow.exe") + " VtTest.LateWindow"));
    HWND old = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (old = FindWindowA("latewindow", "latewindow")) != nullptr; }));
    ProfileText profile = RulesProfile(1);
    profile.tasks = {"LATEWINDOW.EXE"};
    bed.WriteProfile("default.vtp", profile);
    VTLOCK_STATE before = QueryDriverState();
    bed.StartAgent();
    EXPECT_EQ(FenceAgent().StartRequests, before.StartRequests + 1) << "without AutoStart only the fence applied";
    Broadcast("Corvane2.TaskMan1", WPARAM(old), 1);
    Broadcast("Corvane2.TaskMan1", WPARAM(old), -1);
    FenceAgent();
    EXPECT_EQ(WaitForSingleObject(late, 0), DWORD(WAIT_TIMEOUT)) << "an old window, and reports with lParam not 0";
    SetEvent(event);
    EXPECT_TRUE(Ended(late)) << "ended by the agent, exit code 0";
    CloseHandle(event);

    const struct { const char* task; const char* fileName; bool ended; } cases[] = {
        {"BLOCKME.EXE      //Test program", "blockme.exe", true},
        {"BLOCKME.EXE      //Test program", "BlockMe.exe", true},
        {"VTBLOCK1.EXE      //Another name", "vtblock1.exe", true},
        {"", "blockme.exe", false},
        {"BLOCKME.EXE", "blockme.exe", true},
        {"BLOCKME.EXE  //Two blanks only", "blockme.exe", false},
        {"OTHER.EXE      //Somebody else", "blockme.exe", false},
        {"blockme.exe      //Stored in lower case", "blockme.exe", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(*c.task ? c.task : "protection off") + " / " + c.fileName);
        profile.tasks = {"NOTEPAD.EXE", *c.task ? c.task : cases[0].task};
        bed.WriteProfile("default.vtp", profile);
        FenceAgent();
        if (!*c.task) Broadcast("Vantrel.Stop");
        const std::string path = NewTempDir("programs") + c.fileName;
        CopyFileA((BinDir() + "blockme.exe").c_str(), path.c_str(), FALSE);
        ChildProcess program(StartProcess(QuoteArgument(path)));
        if (!c.ended && WaitForInputIdle(program, 10000) == 0) {
            FenceAgent();  // the window's report is handled
            EXPECT_EQ(WaitForSingleObject(program, 0), DWORD(WAIT_TIMEOUT));
            PostMessageA(FindWindowA("blockme", nullptr), WM_CLOSE, 0, 0);
        }
        EXPECT_TRUE(Ended(program, c.ended ? 0 : 7)) << "7: closed, 0: ended by the agent";
    }
}

TEST(ProcessNames, ToolhelpAndSystemInformationAgree)
{
    HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(UpperCase(GetWindowProcessName(window)), "E2E_AGENT.EXE");
    EXPECT_EQ(UpperCase(ProcessNameFromSystemInformation(GetCurrentProcessId())), "E2E_AGENT.EXE");
    EXPECT_EQ(ProcessNameFromSystemInformation(0xFFFFFFF0u), "");
    DestroyWindow(window);
}

}  // namespace
