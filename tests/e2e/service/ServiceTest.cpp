// The agent as the service "VTLOCKAGENT" on Windows NT and as a service process on Windows 98.
#include "../agent_shared/AgentTest.h"
#include "RuntimeEnv.h"
using namespace agenttest;
const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// Installed from two copies, the first stays; once stopped, protection is off and the agent gone.
TEST(ServiceNt, InstallRunStopAndRemove) {
    // The service's window is reachable only while an ordinary window process runs.
    ChildProcess keep(StartProcess(QuoteArgument(BinDir() + "msglisten.exe")));
    AgentBed bed;
    SetSettings(false, false, false);
    bed.WriteProfile("default.vtp", ProfileText(2));
    EXPECT_TRUE(RunAndWait(bed.Exe() + " -SERVICE", 15000).exitCode == 0 && !FindAgent()) << "typed by hand it ends";
    RunAndWait(bed.Exe() + " /UNINSTALLSERVICE");
    {
        BoxAnswerer quiet;
        const std::string command = "\"" + bed.Dir() + "vtlock.exe\" -service";
        for (const std::string& dir : {bed.Dir(), InstallCopy()}) {
            EXPECT_EQ(RunAndWait(QuoteArgument(dir + "vtlock.exe") + " /INSTALLSERVICE").exitCode, 0u);
            // Interactive in a process of its own (0x110), started with Windows, normal error control; quoted,
            // also where an earlier version left the line unquoted.
            EXPECT_EQ(ServiceConfig("VTLOCKAGENT"), "272 2 1 Vantrel Service: " + command);
            EXPECT_EQ(MachineText(RunKey, "NTUserDispatcherVR"), "\"" + bed.Dir() + "vtscc.exe\" /NTUSER");
            if (dir == bed.Dir()) ServiceConfig("VTLOCKAGENT", false, bed.Dir() + "vtlock.exe -service");  // as of old
        }
        for (const bool byCommand : {false, true}) {
            ASSERT_TRUE(StartNamedService("VTLOCKAGENT"));
            ASSERT_TRUE(WaitFor([] { return QueryServiceState("VTLOCKAGENT") == SERVICE_RUNNING && FindAgent(); }));
            ChildProcess service(OpenServiceProcess("VTLOCKAGENT"));
            FenceAgent();
            if (!byCommand) ServiceConfig("VTLOCKAGENT", true);  // the stop control
            else EXPECT_EQ(RunAndWait(bed.Exe() + " /STOPAGENT").exitCode, 0u);
            ASSERT_TRUE(WaitFor([] { return QueryServiceState("VTLOCKAGENT") == SERVICE_STOPPED; }));
            EXPECT_TRUE(QueryDriverState().Started == 0 && AgentGone() && Ended(service)) << "protection, agent";
        }
        // Where an agent runs already, the service reports that it stopped; the running agent goes on.
        bed.StartAgent();
        StartNamedService("VTLOCKAGENT");  // Wine's start fails when the service stops before it answers
        DWORD code = 0;
        EXPECT_TRUE(WaitFor([&] { return QueryServiceState("VTLOCKAGENT", &code) == SERVICE_STOPPED; }));
        EXPECT_EQ(code, DWORD(ERROR_SERVICE_ALREADY_RUNNING));
        EXPECT_TRUE(FindAgent() && WaitForSingleObject(bed.Agent(), 0) == WAIT_TIMEOUT);
        bed.CloseAgent();
        EXPECT_TRUE(quiet.Seen().empty());
    }
    RunAndWait(bed.Exe() + " /UNINSTALL");
    ASSERT_TRUE(StartNamedService("VTLOCKAGENT"));
    // Its driver message waits for an answer, so the service runs till then.
    ASSERT_TRUE(WaitFor([] { return ServiceProcessId("VTLOCKAGENT") != 0; }));
    ChildProcess service(OpenServiceProcess("VTLOCKAGENT"));
    BoxAnswerer boxes;
    ASSERT_EQ(boxes.WaitSeen(1).size(), 1u);
    DWORD exitCode = 0;
    bool gone = false;
    ASSERT_TRUE(WaitFor([&] {
        const bool stopped = QueryServiceState("VTLOCKAGENT", &exitCode) == SERVICE_STOPPED;
        return (gone = AgentGone()), stopped;
    }));
    EXPECT_TRUE(exitCode != 0 && Ended(service));
    EXPECT_TRUE(gone) << "the failed agent gave up its mutex before the service reported that it stopped";
    EXPECT_TRUE(RunAndWait(bed.Exe() + " /AGENT /INSTALL").exitCode == 0 && boxes.WaitSeen(2).size() == 2);
    EXPECT_TRUE(AgentGone());
    EXPECT_NE(ServiceConfig("VTLOCK"), "");
    for (const char* round : {"installed", "nothing installed"}) {
        EXPECT_EQ(RunAndWait(bed.Exe() + " /UNINSTALLSERVICE").exitCode, 0u) << round;
        EXPECT_EQ(ServiceConfig("VTLOCKAGENT") + MachineText(RunKey, "NTUserDispatcherVR"), "<missing>") << round;
    }
    EXPECT_EQ(boxes.Seen().size(), 2u) << "removing is silent";
}
// The program is told it runs on Windows 98: no services, a RunServices value, and an agent that finds no VxD.
TEST(Service98, RunServicesValueAndAnAgentLookingForItsVxd) {
    const std::string dir = InstallCopy(), vtlock = QuoteArgument(dir + "vtlock.exe");
    const char *const appKey = "Software\\Wine\\AppDefaults\\vtlock.exe",
               *const runServices = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
    RunAndWait(vtlock + " /UNINSTALLSERVICE /UNINSTALL");
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, appKey, "Version", REG_SZ, "win98", 6), ERROR_SUCCESS);
    BoxAnswerer boxes;
    ChildProcess agent(StartProcess(vtlock + " -SERVICE"));
    std::vector<SeenBox> seen = boxes.WaitSeen(1);
    EXPECT_EQ(seen.empty() ? "" : seen[0].icon + " " + seen[0].text.substr(0, 37),
              "error Cannot initialize protection driver: ");
    EXPECT_TRUE(Ended(agent));
    EXPECT_EQ(RunAndWait(vtlock + " /INSTALLSERVICE /INSTALL").exitCode, 0u);
    EXPECT_EQ(MachineText(runServices, "VantrelAgent"), "\"" + dir + "vtlock.exe\" -SERVICE");
    EXPECT_EQ(ServiceConfig("VTLOCKAGENT") + ServiceConfig("VTLOCK") + MachineText(RunKey, "NTUserDispatcherVR"),
              "<missing>") << "no services on Windows 98";
    for (const char* round : {"installed", "nothing installed"}) {
        EXPECT_EQ(RunAndWait(vtlock + " /UNINSTALLSERVICE").exitCode, 0u) << round;
        EXPECT_EQ(MachineText(runServices, "VantrelAgent"), "<missing>") << round;
    }
    EXPECT_EQ(boxes.Seen().size(), 1u) << "installing and removing are silent";
    RegDeleteTreeA(HKEY_CURRENT_USER, appKey);
}
