// The agent's start and end: the start-up profile, a single instance, and the
// ways it stops.
#include "../agent_shared/AgentTest.h"

using namespace agenttest;

namespace {

class AgentStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetSettings(false, false, false);
        bed.WriteProfile("default.vtp", RulesProfile(3));
    }
    AgentBed bed;
};

TEST_F(AgentStart, AutoStartAppliesTheDefaultProfileAtStart)
{
    SetSetting("AutoStart", 1);
    VTLOCK_STATE before = QueryDriverState();
    bed.StartAgent();
    ASSERT_TRUE(WaitDriver([&](const VTLOCK_STATE& s) { return s.Started == 1; }));
    VTLOCK_STATE after = QueryDriverState();
    EXPECT_EQ(after.LoadRequests, before.LoadRequests + 1);
    EXPECT_EQ(after.LoadRefused, before.LoadRefused);
    EXPECT_EQ(after.FileStrings, 8u);  // seven system files and "&.VTX"
    EXPECT_GE(after.FolderStrings, 3u + 6u);
    EXPECT_NE(after.DriveMask & (1u << 2), 0u) << "drive C: is protected";
}

TEST_F(AgentStart, WithoutAutoStartNothingIsSentAtStart)
{
    VTLOCK_STATE before = QueryDriverState();
    bed.StartAgent();
    ASSERT_TRUE(SyncAgent());
    VTLOCK_STATE after = QueryDriverState();
    EXPECT_EQ(after.Started, 0u);
    EXPECT_EQ(after.LoadRequests, before.LoadRequests);
    EXPECT_EQ(after.StartRequests, before.StartRequests);
}

TEST_F(AgentStart, ASecondAgentEndsAtOnceAndTheFirstGoesOn)
{
    SetSetting("AutoStart", 1);
    bed.StartAgent();
    ASSERT_TRUE(WaitDriver([](const VTLOCK_STATE& s) { return s.Started == 1; }));
    VTLOCK_STATE before = QueryDriverState();

    ProcessResult second = RunAndWait(bed.Exe() + " /AGENT", 15000);
    EXPECT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 0u);

    EXPECT_EQ(WaitForSingleObject(bed.Agent(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    VTLOCK_STATE after = FenceAgent();
    EXPECT_EQ(after.LoadRequests, before.LoadRequests) << "the second agent applied nothing";
    EXPECT_EQ(after.Started, 0u) << "the first agent still answers";
}

TEST_F(AgentStart, StopAgentDisablesProtectionAndEndsTheProcess)
{
    SetSetting("AutoStart", 1);
    bed.StartAgent();
    ASSERT_TRUE(WaitDriver([](const VTLOCK_STATE& s) { return s.Started == 1; }));

    ProcessResult command = RunAndWait(bed.Exe() + " /STOPAGENT");
    EXPECT_EQ(command.exitCode, 0u);
    ASSERT_TRUE(ProcessEnded(bed.Agent()));
    EXPECT_EQ(ExitCodeOf(bed.Agent()), 0u);
    EXPECT_EQ(QueryDriverState().Started, 0u);
    EXPECT_TRUE(AgentGone());
}

TEST_F(AgentStart, CloseDisablesProtectionAndEndsTheProcess)
{
    SetSetting("AutoStart", 1);
    bed.StartAgent();
    ASSERT_TRUE(WaitDriver([](const VTLOCK_STATE& s) { return s.Started == 1; }));

    PostMessageA(FindAgent(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(ProcessEnded(bed.Agent()));
    EXPECT_EQ(ExitCodeOf(bed.Agent()), 0u);
    EXPECT_EQ(QueryDriverState().Started, 0u);
}

TEST_F(AgentStart, WindowReportsCloseDisabledProgramsOnlyWithLParamZero)
{
    ChildProcess blockme(StartProcess(QuoteArgument(BinDir() + "blockme.exe")));
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (window = FindWindowA("blockme", "blockme")) != nullptr; }));
    ProfileText profile = RulesProfile(1);
    profile.tasks = {"BLOCKME.EXE      // a program users may not run"};
    bed.WriteProfile("default.vtp", profile);
    SetSetting("AutoStart", 1);
    bed.StartAgent();
    ASSERT_TRUE(WaitDriver([](const VTLOCK_STATE& s) { return s.Started == 1; }));

    Broadcast("Corvane2.TaskMan1", reinterpret_cast<WPARAM>(window), 1);
    FenceAgent();
    EXPECT_EQ(WaitForSingleObject(blockme, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "lParam 1 does nothing";

    Broadcast("Vantrel.Start");  // the fence switched blocking off
    ASSERT_TRUE(WaitDriver([](const VTLOCK_STATE& s) { return s.Started == 1; }));
    Broadcast("Corvane2.TaskMan1", reinterpret_cast<WPARAM>(window), 0);
    EXPECT_TRUE(ProcessEnded(blockme));
    EXPECT_EQ(ExitCodeOf(blockme), 0u) << "the process was ended";
}

TEST_F(AgentStart, TheWindowHasTheAgentsClassCaptionAndStyle)
{
    bed.StartAgent();
    HWND agent = FindAgent();
    char caption[64] = {};
    GetWindowTextA(agent, caption, sizeof caption);
    EXPECT_STREQ(caption, "VT Vantrel");
    EXPECT_FALSE(IsWindowVisible(agent));
    LONG_PTR style = GetWindowLongPtrA(agent, GWL_STYLE);
    EXPECT_NE(style & WS_POPUP, 0);
    EXPECT_EQ(style & WS_CAPTION, 0);
    DWORD owner = 0;
    GetWindowThreadProcessId(agent, &owner);
    EXPECT_EQ(owner, bed.AgentId());
    EXPECT_TRUE(AgentMutexExists());
}

}  // namespace
