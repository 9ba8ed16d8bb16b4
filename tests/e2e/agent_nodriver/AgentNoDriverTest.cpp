// The agent on a computer whose driver is not installed: the driver message,
// an end with 0 that leaves the place free for the next agent, and what
// follows it on the command line. The cases run in this order in one prefix;
// the last one installs the driver.
#include "../agent_shared/AgentTest.h"
#include "RuntimeEnv.h"

using namespace agenttest;

namespace {

const char* const NoServicePrefix =
    "Cannot open service. May be not enough access rights. System reports about following error: ";

class AgentNoDriver : public ::testing::Test {
protected:
    static void SetUpTestSuite() { dir = InstallCopy(); }
    static std::string Exe() { return QuoteArgument(dir + "vtlock.exe"); }
    static std::string dir;
};
std::string AgentNoDriver::dir;

TEST_F(AgentNoDriver, TheServiceStopsWithAnErrorAndAnAgentStartedThenShowsTheMessage)
{
    ASSERT_FALSE(DriverServiceExists());
    ChildProcess keep(StartProcess(QuoteArgument(BinDir() + "vtkeep.exe")));
    RunAndWait(Exe() + " /INSTALLSERVICE");
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = OpenServiceA(manager, "VTLOCKAGENT", SERVICE_START);
    ASSERT_NE(service, nullptr);
    EXPECT_TRUE(StartServiceA(service, 0, nullptr));
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    // Its driver message waits for an answer, so the service runs till then.
    WaitFor([] { return ServiceProcessId("VTLOCKAGENT") != 0; });
    ChildProcess serviceProcess(OpenServiceProcess("VTLOCKAGENT"));
    ASSERT_NE(serviceProcess, nullptr);

    BoxAnswerer answerer;
    std::vector<SeenBox> seen = answerer.WaitSeen(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text.rfind(NoServicePrefix, 0), 0u) << seen[0].text;
    DWORD exitCode = 0;
    ASSERT_TRUE(WaitFor([&] { return QueryServiceState("VTLOCKAGENT", &exitCode) == SERVICE_STOPPED; }))
        << "a service without its agent does not stay running";
    EXPECT_NE(exitCode, 0u);

    // Started at once, the agent does not take the stopped one for a first agent.
    ProcessResult run = RunAndWait(Exe() + " /AGENT");
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    seen = answerer.WaitSeen(2);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, NoServicePrefix + SystemErrorText(ERROR_SERVICE_DOES_NOT_EXIST));
    EXPECT_EQ(seen[1].icon, "error");
    EXPECT_TRUE(AgentGone());
    EXPECT_TRUE(ProcessEnded(serviceProcess));
    RunAndWait(Exe() + " /UNINSTALLSERVICE");
}

TEST_F(AgentNoDriver, InstallAfterAFailedAgentRuns)
{
    BoxAnswerer answerer;
    ProcessResult run = RunAndWait(Exe() + " /AGENT /INSTALL");
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(answerer.Seen().size(), 1u) << "only the driver message";
    EXPECT_TRUE(DriverServiceExists());

    // With the driver in place the same command runs the agent.
    ChildProcess agent(StartProcess(Exe() + " /AGENT"));
    EXPECT_TRUE(WaitFor([] { return FindAgent() != nullptr; }));
    EXPECT_NE(QueryDriverState().Size, 0u);
    PostMessageA(FindAgent(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(ProcessEnded(agent));
}

}  // namespace
