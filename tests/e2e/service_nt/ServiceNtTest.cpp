// The agent as the NT service "VTLOCKAGENT": installation with its Run value,
// start and stop through the service control manager, removal.
#include "../agent_shared/AgentTest.h"

using namespace agenttest;

namespace {

const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string RunValue()
{
    char text[1024] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, RunKey, "NTUserDispatcherVR", RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS)
        return "<missing>";
    return text;
}

struct ServiceConfig {
    bool found = false;
    DWORD type = 0, start = 0, errorControl = 0;
    std::string command, displayName, account;
};

ServiceConfig AgentServiceConfig()
{
    ServiceConfig config;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceA(manager, "VTLOCKAGENT", SERVICE_QUERY_CONFIG) : nullptr;
    if (service) {
        std::vector<char> buffer(8192);
        auto* q = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
        DWORD needed = 0;
        if (QueryServiceConfigA(service, q, static_cast<DWORD>(buffer.size()), &needed)) {
            config.found = true;
            config.type = q->dwServiceType;
            config.start = q->dwStartType;
            config.errorControl = q->dwErrorControl;
            config.command = q->lpBinaryPathName ? q->lpBinaryPathName : "";
            config.displayName = q->lpDisplayName ? q->lpDisplayName : "";
            config.account = q->lpServiceStartName ? q->lpServiceStartName : "";
        }
        CloseServiceHandle(service);
    }
    if (manager)
        CloseServiceHandle(manager);
    return config;
}

// Starts or stops the service; the error code when that fails, else 0.
DWORD ControlAgentService(bool start)
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = manager ? OpenServiceA(manager, "VTLOCKAGENT", SERVICE_START | SERVICE_STOP) : nullptr;
    SERVICE_STATUS status;
    bool done = service && (start ? StartServiceA(service, 0, nullptr) : ControlService(service, SERVICE_CONTROL_STOP, &status));
    DWORD error = done ? 0 : GetLastError();
    if (service)
        CloseServiceHandle(service);
    if (manager)
        CloseServiceHandle(manager);
    return error;
}

class ServiceNt : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetSettings(false, false, false);
        RunAndWait(bed.Exe() + " /UNINSTALLSERVICE");
    }
    void TearDown() override { RunAndWait(bed.Exe() + " /UNINSTALLSERVICE"); }
    AgentBed bed;
};

TEST_F(ServiceNt, InstallCreatesTheServiceAndTheRunValue)
{
    BoxAnswerer answerer;
    EXPECT_EQ(RunAndWait(bed.Exe() + " /INSTALLSERVICE").exitCode, 0u);
    ServiceConfig config = AgentServiceConfig();
    ASSERT_TRUE(config.found);
    EXPECT_EQ(config.type, 0x110u);
    EXPECT_EQ(config.start, 2u);
    EXPECT_EQ(config.errorControl, 1u);
    EXPECT_EQ(config.command, bed.Dir() + "vtlock.exe -service");
    EXPECT_EQ(config.displayName, "Vantrel Service");
    EXPECT_EQ(RunValue(), "\"" + bed.Dir() + "vtscc.exe\" /NTUSER");
    EXPECT_TRUE(answerer.Seen().empty());
}

TEST_F(ServiceNt, InstallingTwiceSucceedsAndKeepsTheFirstRunText)
{
    EXPECT_EQ(RunAndWait(bed.Exe() + " /INSTALLSERVICE").exitCode, 0u);
    std::string first = RunValue();
    std::string moved = InstallCopy();
    BoxAnswerer answerer;
    ProcessResult second = RunAndWait(QuoteArgument(moved + "vtlock.exe") + " /INSTALLSERVICE");
    EXPECT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 0u);
    EXPECT_EQ(RunValue(), first);
    EXPECT_EQ(AgentServiceConfig().command, bed.Dir() + "vtlock.exe -service");
    EXPECT_TRUE(answerer.Seen().empty());
}

TEST_F(ServiceNt, UninstallRemovesEverythingAlsoWhenNothingIsInstalled)
{
    RunAndWait(bed.Exe() + " /INSTALLSERVICE");
    BoxAnswerer answerer;
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round == 1 ? "installed" : "nothing installed");
        ProcessResult removed = RunAndWait(bed.Exe() + " /UNINSTALLSERVICE");
        EXPECT_TRUE(removed.finished);
        EXPECT_EQ(removed.exitCode, 0u);
        EXPECT_FALSE(ServiceExists("VTLOCKAGENT"));
        EXPECT_EQ(RunValue(), "<missing>");
    }
    EXPECT_TRUE(answerer.Seen().empty());
}

TEST_F(ServiceNt, ServiceTypedByHandEndsAtOnce)
{
    ProcessResult run = RunAndWait(bed.Exe() + " -SERVICE", 15000);
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(FindAgent(), nullptr);
}

TEST_F(ServiceNt, TheServiceRunsTheAgentAndAStopDisablesProtectionFirst)
{
    // The service's window is reachable only while an ordinary window process runs.
    ChildProcess keep(StartProcess(QuoteArgument(BinDir() + "vtkeep.exe")));
    bed.WriteProfile("default.vtp", RulesProfile(2));
    RunAndWait(bed.Exe() + " /INSTALLSERVICE");
    ASSERT_EQ(ControlAgentService(true), 0u);
    ASSERT_TRUE(WaitFor([] { return QueryServiceState("VTLOCKAGENT") == SERVICE_RUNNING && FindAgent() != nullptr; }));
    ChildProcess service(OpenServiceProcess("VTLOCKAGENT"));

    unsigned int loads = QueryDriverState().LoadRequests;
    Broadcast("Vantrel.Start");
    ASSERT_TRUE(WaitDriver([&](const VTLOCK_STATE& s) { return s.Started == 1 && s.LoadRequests == loads + 1; }));

    ASSERT_EQ(ControlAgentService(false), 0u);
    VTLOCK_STATE whenStopped = {};
    bool goneWhenStopped = false;
    ASSERT_TRUE(WaitFor([&] {
        DWORD state = QueryServiceState("VTLOCKAGENT");
        whenStopped = QueryDriverState();
        goneWhenStopped = AgentGone();
        return state == SERVICE_STOPPED || state == 0;
    }));
    EXPECT_EQ(whenStopped.Started, 0u) << "protection was off when the service reported stopped";
    EXPECT_TRUE(goneWhenStopped) << "the agent's window and mutex were gone when the service reported stopped";
    EXPECT_TRUE(ProcessEnded(service));
}

TEST_F(ServiceNt, StopAgentAlsoStopsTheService)
{
    ChildProcess keep(StartProcess(QuoteArgument(BinDir() + "vtkeep.exe")));
    SetSetting("AutoStart", 1);
    bed.WriteProfile("default.vtp", RulesProfile(2));
    RunAndWait(bed.Exe() + " /INSTALLSERVICE");
    ASSERT_EQ(ControlAgentService(true), 0u);
    ASSERT_TRUE(WaitDriver([](const VTLOCK_STATE& s) { return s.Started == 1; }));
    ASSERT_TRUE(WaitFor([] { return FindAgent() != nullptr; }));
    ChildProcess service(OpenServiceProcess("VTLOCKAGENT"));

    EXPECT_EQ(RunAndWait(bed.Exe() + " /STOPAGENT").exitCode, 0u);
    bool goneWhenStopped = false;
    EXPECT_TRUE(WaitFor([&] {
        DWORD s = QueryServiceState("VTLOCKAGENT");
        goneWhenStopped = AgentGone();
        return s == SERVICE_STOPPED || s == 0;
    }));
    EXPECT_EQ(QueryDriverState().Started, 0u);
    EXPECT_TRUE(goneWhenStopped) << "the agent's window and mutex were gone when the service reported stopped";
    EXPECT_TRUE(ProcessEnded(service));
}

}  // namespace
