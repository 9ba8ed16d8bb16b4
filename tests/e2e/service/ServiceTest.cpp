// The agent as the service "VTLOCKAGENT" on Windows NT and as a service
// process on Windows 95/98/ME: its installation with the autostart values,
// its start and stop, and a computer whose driver is missing.
#include "../agent_shared/AgentTest.h"
#include "RuntimeEnv.h"

using namespace agenttest;

namespace {

const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const RunServicesKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
const char* const NoService =
    "Cannot open service. May be not enough access rights. System reports about following error: ";

std::string MachineText(const char* key, const char* name)
{
    char text[1024] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return "<missing>";
    return text;
}

void StopAgentService()
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceA(manager, "VTLOCKAGENT", SERVICE_STOP) : nullptr;
    SERVICE_STATUS status;
    EXPECT_TRUE(service && ControlService(service, SERVICE_CONTROL_STOP, &status));
    if (service) CloseServiceHandle(service);
    if (manager) CloseServiceHandle(manager);
}

TEST(ServiceNt, InstallKeepsAnEarlierOneAndUninstallRemovesAll)
{
    AgentBed bed;
    RunAndWait(bed.Exe() + " /UNINSTALLSERVICE");
    BoxAnswerer boxes;
    EXPECT_EQ(RunAndWait(bed.Exe() + " /INSTALLSERVICE").exitCode, 0u);
    ServiceConfig config = QueryConfig("VTLOCKAGENT");
    EXPECT_EQ(config.type, 0x110u) << "interactive, in a process of its own";
    EXPECT_EQ(config.start, DWORD(SERVICE_AUTO_START));
    EXPECT_EQ(config.errorControl, DWORD(SERVICE_ERROR_NORMAL));
    EXPECT_EQ(config.command, bed.Dir() + "vtlock.exe -service");
    EXPECT_EQ(config.displayName, "Vantrel Service");
    const std::string sibling = "\"" + bed.Dir() + "vtscc.exe\" /NTUSER";
    EXPECT_EQ(MachineText(RunKey, "NTUserDispatcherVR"), sibling);

    EXPECT_EQ(RunAndWait(QuoteArgument(InstallCopy() + "vtlock.exe") + " /INSTALLSERVICE").exitCode, 0u);
    EXPECT_EQ(QueryConfig("VTLOCKAGENT").command, config.command);
    EXPECT_EQ(MachineText(RunKey, "NTUserDispatcherVR"), sibling);
    for (const char* round : {"installed", "nothing installed"}) {
        SCOPED_TRACE(round);
        EXPECT_EQ(RunAndWait(bed.Exe() + " /UNINSTALLSERVICE").exitCode, 0u);
        EXPECT_FALSE(QueryConfig("VTLOCKAGENT").found);
        EXPECT_EQ(MachineText(RunKey, "NTUserDispatcherVR"), "<missing>");
    }
    EXPECT_TRUE(boxes.Seen().empty());
}

// Stopped by the service control manager, then by "/STOPAGENT": protection
// is off and the agent gone when the service reports that it stopped.
TEST(ServiceNt, RunsTheAgentAndDisablesProtectionBeforeItStops)
{
    // The service's window is reachable only while an ordinary window process runs.
    ChildProcess keep(StartProcess(QuoteArgument(BinDir() + "vtkeep.exe")));
    AgentBed bed;
    SetSettings(false, false, false);
    bed.WriteProfile("default.vtp", RulesProfile(2));
    ProcessResult typed = RunAndWait(bed.Exe() + " -SERVICE", 15000);
    EXPECT_EQ(typed.finished && typed.exitCode == 0 && !FindAgent(), true) << "typed by hand it ends at once";
    RunAndWait(bed.Exe() + " /INSTALLSERVICE");
    for (const char* stop : {"the stop control", "/STOPAGENT"}) {
        SCOPED_TRACE(stop);
        ASSERT_TRUE(StartNamedService("VTLOCKAGENT"));
        ASSERT_TRUE(WaitFor([] { return QueryServiceState("VTLOCKAGENT") == SERVICE_RUNNING && FindAgent(); }));
        ChildProcess service(OpenServiceProcess("VTLOCKAGENT"));
        Broadcast("Vantrel.Start");
        ASSERT_TRUE(WaitStarted(1));
        if (std::string(stop) == "/STOPAGENT")
            EXPECT_EQ(RunAndWait(bed.Exe() + " /STOPAGENT").exitCode, 0u);
        else
            StopAgentService();
        VTLOCK_STATE whenStopped = {};
        bool goneWhenStopped = false;
        ASSERT_TRUE(WaitFor([&] {
            DWORD state = QueryServiceState("VTLOCKAGENT");
            whenStopped = QueryDriverState();
            goneWhenStopped = AgentGone();
            return state == SERVICE_STOPPED;
        }));
        EXPECT_EQ(whenStopped.Started, 0u);
        EXPECT_TRUE(goneWhenStopped) << "the agent's window and mutex";
        EXPECT_TRUE(Ended(service));
    }
    RunAndWait(bed.Exe() + " /UNINSTALLSERVICE");
}

TEST(ServiceNt, WithoutTheDriverTheServiceStopsWithAnError)
{
    ChildProcess keep(StartProcess(QuoteArgument(BinDir() + "vtkeep.exe")));
    const std::string vtlock = QuoteArgument(InstallCopy() + "vtlock.exe");
    RunAndWait(vtlock + " /UNINSTALL /INSTALLSERVICE");
    ASSERT_FALSE(QueryConfig("VTLOCK").found);
    ASSERT_TRUE(StartNamedService("VTLOCKAGENT"));
    // Its driver message waits for an answer, so the service runs till then.
    WaitFor([] { return ServiceProcessId("VTLOCKAGENT") != 0; });
    ChildProcess service(OpenServiceProcess("VTLOCKAGENT"));
    ASSERT_NE(service, nullptr);
    BoxAnswerer boxes;
    ASSERT_EQ(boxes.WaitSeen(1).size(), 1u);
    DWORD exitCode = 0;
    ASSERT_TRUE(WaitFor([&] { return QueryServiceState("VTLOCKAGENT", &exitCode) == SERVICE_STOPPED; }));
    EXPECT_NE(exitCode, 0u);
    EXPECT_TRUE(Ended(service));

    // An agent started at once does not take the stopped one for a first agent,
    // and what follows it on the command line runs.
    ProcessResult run = RunAndWait(vtlock + " /AGENT /INSTALL");
    EXPECT_EQ(run.finished && run.exitCode == 0, true);
    std::vector<SeenBox> seen = boxes.WaitSeen(2);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text.rfind(NoService, 0), 0u) << seen[0].text;
    EXPECT_EQ(seen[1].text, NoService + SystemErrorText(ERROR_SERVICE_DOES_NOT_EXIST));
    EXPECT_EQ(seen[1].icon, "error");
    EXPECT_TRUE(AgentGone());
    EXPECT_TRUE(QueryConfig("VTLOCK").found);
    RunAndWait(vtlock + " /UNINSTALLSERVICE");
}

// The program is told it runs on Windows 98.
TEST(Service98, RunServicesValueAndAnAgentLookingForItsVxd)
{
    const std::string dir = InstallCopy(), vtlock = QuoteArgument(dir + "vtlock.exe");
    const char* const appKey = "Software\\Wine\\AppDefaults\\vtlock.exe";
    RunAndWait(vtlock + " /UNINSTALLSERVICE /UNINSTALL");
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, appKey, "Version", REG_SZ, "win98", 6), ERROR_SUCCESS);
    {
        BoxAnswerer boxes;
        EXPECT_EQ(RunAndWait(vtlock + " /INSTALLSERVICE /INSTALL").exitCode, 0u);
        EXPECT_EQ(MachineText(RunServicesKey, "VantrelAgent"), dir + "vtlock.exe -SERVICE");
        EXPECT_FALSE(QueryConfig("VTLOCKAGENT").found) << "no services on Windows 98";
        EXPECT_FALSE(QueryConfig("VTLOCK").found);
        EXPECT_EQ(MachineText(RunKey, "NTUserDispatcherVR"), "<missing>");
        for (const char* round : {"installed", "nothing installed"}) {
            SCOPED_TRACE(round);
            EXPECT_EQ(RunAndWait(vtlock + " /UNINSTALLSERVICE").exitCode, 0u);
            EXPECT_EQ(MachineText(RunServicesKey, "VantrelAgent"), "<missing>");
        }
        EXPECT_TRUE(boxes.Seen().empty());
    }

    // Started elsewhere, the agent looks for the VxD in its own folder.
    char started[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, started);
    const std::string elsewhere = NewTempDir("elsewhere");
    SetCurrentDirectoryA(elsewhere.c_str());
    DWORD id = 0;
    ChildProcess agent(StartProcess(vtlock + " -SERVICE", &id));
    SetCurrentDirectoryA(started);
    ASSERT_TRUE(WaitFor([&] { return ShownWindow(id, "#32770") != nullptr; }));
    EXPECT_TRUE(RemoveDirectoryA(elsewhere.c_str())) << "the agent still stands in the folder it was started in";
    BoxAnswerer boxes;
    std::vector<SeenBox> seen = boxes.WaitSeen(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text.rfind("Cannot initialize protection driver: ", 0), 0u) << seen[0].text;
    EXPECT_EQ(seen[0].icon, "error");
    EXPECT_TRUE(Ended(agent));
    EXPECT_EQ(ExitCodeOf(agent), 0u);
    RegDeleteTreeA(HKEY_CURRENT_USER, appKey);
}

}  // namespace
