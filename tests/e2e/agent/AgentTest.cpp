// The agent's start and end: a single instance, the start-up profile that the
// settings choose, window reports of disabled programs, and the ways it ends.
#include "../agent_shared/AgentTest.h"

using namespace agenttest;

namespace {

std::string UserProfile()
{
    char name[256] = {};
    DWORD size = sizeof name;
    GetUserNameA(name, &size);
    return std::string(name) + ".vtp";
}

TEST(Agent, StartsOnceWithTheChosenProfileAndStopsOnRequest)
{
    AgentBed bed;
    SetSettings(true, true, false);  // AutoStart, the user's own profile, no default one instead
    bed.WriteProfile(UserProfile(), RulesProfile(3, {"&.VT0", "&.VT1", "&.VT2"}));
    bed.WriteProfile("default.vtp", RulesProfile(1));
    VTLOCK_STATE before = QueryDriverState();
    bed.StartAgent();
    ASSERT_TRUE(WaitStarted(1));
    VTLOCK_STATE after = QueryDriverState();
    EXPECT_EQ(after.LoadRequests, before.LoadRequests + 1);
    EXPECT_EQ(after.LoadRefused, before.LoadRefused);
    EXPECT_EQ(after.FileStrings, 7u + 3u) << "the seven system files and the user's three rules";
    EXPECT_GE(after.FolderStrings, 3u + 6u);
    EXPECT_NE(after.DriveMask & (1u << 2), 0u) << "drive C: is protected";

    HWND agent = FindAgent();
    char caption[64] = {};
    GetWindowTextA(agent, caption, sizeof caption);
    EXPECT_STREQ(caption, "VT Vantrel");
    EXPECT_FALSE(IsWindowVisible(agent));
    EXPECT_EQ(DWORD(GetWindowLongPtrA(agent, GWL_STYLE)) & (WS_POPUP | WS_CAPTION), DWORD(WS_POPUP));
    DWORD owner = 0;
    GetWindowThreadProcessId(agent, &owner);
    EXPECT_EQ(owner, GetProcessId(bed.Agent()));

    ProcessResult second = RunAndWait(bed.Exe() + " /AGENT", 15000);
    EXPECT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 0u);
    EXPECT_EQ(FenceAgent().LoadRequests, after.LoadRequests + 1) << "the first agent answers, the second applied nothing";

    // Without the user's file, and no default one instead, no request applies anything.
    bed.RemoveProfile(UserProfile());
    VTLOCK_STATE fenced = QueryDriverState();
    Broadcast("Vantrel.Stop");
    Broadcast("Vantrel.Enable");
    BoxAnswerer yes("yes");
    RunAndWait(bed.Exe() + " /TOGGLE");
    EXPECT_EQ(yes.WaitSeen(1).size(), 1u) << "the question was asked, so protection was off";
    EXPECT_TRUE(WaitSettled(FindAgent()));
    VTLOCK_STATE none = QueryDriverState();
    EXPECT_EQ(none.LoadRequests, fenced.LoadRequests);
    EXPECT_EQ(none.StartRequests, fenced.StartRequests);

    bed.WriteProfile(UserProfile(), RulesProfile(1));
    FenceAgent();
    EXPECT_EQ(RunAndWait(bed.Exe() + " /STOPAGENT").exitCode, 0u);
    ASSERT_TRUE(Ended(bed.Agent()));
    EXPECT_EQ(ExitCodeOf(bed.Agent()), 0u);
    EXPECT_EQ(QueryDriverState().Started, 0u);
    EXPECT_TRUE(AgentGone());
    bed.RemoveProfile(UserProfile());
}

TEST(Agent, WaitsForARequestWithoutAutoStartAndDisablesWhenClosed)
{
    AgentBed bed;
    SetSettings(false, false, false);
    bed.WriteProfile("default.vtp", RulesProfile(2));
    VTLOCK_STATE before = QueryDriverState();
    bed.StartAgent();
    VTLOCK_STATE fenced = FenceAgent();
    EXPECT_EQ(fenced.LoadRequests, before.LoadRequests + 1) << "only the fence applied the profile";
    EXPECT_EQ(fenced.StartRequests, before.StartRequests + 1);

    Broadcast("Vantrel.Stop");
    ASSERT_TRUE(WaitStarted(0));
    EXPECT_EQ(RunAndWait(bed.Exe() + " /E").exitCode, 0u);
    EXPECT_TRUE(WaitDriver([&](const VTLOCK_STATE& s) { return s.Started && s.LoadRequests > fenced.LoadRequests; }));
    PostMessageA(FindAgent(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(Ended(bed.Agent()));
    EXPECT_EQ(ExitCodeOf(bed.Agent()), 0u);
    EXPECT_EQ(QueryDriverState().Started, 0u);
}

TEST(Agent, WindowReportsCloseDisabledProgramsOnlyWithLParamZero)
{
    ChildProcess blockme(StartProcess(QuoteArgument(BinDir() + "blockme.exe")));
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (window = FindWindowA("blockme", "blockme")) != nullptr; }));
    AgentBed bed;
    ProfileText profile = RulesProfile(1);
    profile.tasks = {"BLOCKME.EXE      // a program users may not run"};
    bed.WriteProfile("default.vtp", profile);
    SetSettings(true, false, false);
    bed.StartAgent();
    ASSERT_TRUE(WaitStarted(1));

    Broadcast("Corvane2.TaskMan1", reinterpret_cast<WPARAM>(window), 1);
    FenceAgent();
    EXPECT_EQ(WaitForSingleObject(blockme, 0), DWORD(WAIT_TIMEOUT)) << "lParam 1 does nothing";
    Broadcast("Corvane2.TaskMan1", reinterpret_cast<WPARAM>(window), 0);
    EXPECT_TRUE(Ended(blockme));
    EXPECT_EQ(ExitCodeOf(blockme), 0u) << "the process was ended";
}

}  // namespace
