// The driver's service, vtlock's control commands, and the channel to the driver with this process as agent.
#include "../agent_shared/AgentTest.h"
#include "Channel.h"
#include "DriverService.h"
#include "ManagerSupport.h"
#include "ProgramBlocking.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
using namespace agenttest;
namespace {
std::string DriverFile() { return SystemDir + "\\Drivers\\vtlock.sys"; }
TEST(DriverService, InstallAndUninstall) {
    InitRuntimeEnvironment();
    const std::string dir = InstallCopy(), vtlock = QuoteArgument(dir + "vtlock.exe");
    ASSERT_TRUE(WriteWholeFile(dir + "Profiles\\default.vtp", "profile"));
    ASSERT_TRUE(RunAndWait(vtlock + " /UNINSTALL").finished);
    ASSERT_TRUE(MoveFileA((dir + "vtlock.sys").c_str(), (dir + "vtlock.bak").c_str()));
    BoxAnswerer boxes;
    EXPECT_EQ(RunAndWait(vtlock + " /INSTALL").exitCode, 0u);
    ASSERT_EQ(boxes.WaitSeen(1).size(), 1u);
    EXPECT_EQ(ServiceConfig("VTLOCK"), "") << "nothing is made without the driver's file";
    ASSERT_TRUE(MoveFileA((dir + "vtlock.bak").c_str(), (dir + "vtlock.sys").c_str()));
    EXPECT_EQ(RunAndWait(vtlock + " /INSTALL").exitCode, 0u);
    EXPECT_EQ(ReadWholeFile(DriverFile()), ReadWholeFile(dir + "vtlock.sys"));
    // A kernel driver, started on demand, with normal error control.
    EXPECT_EQ(UpperCase(ServiceConfig("VTLOCK")), "1 3 1 VTLOCK: " + UpperCase(DriverFile()));
    // Ordinary users are shut out of the profiles, also of those made before.
    ExpectOnlyAdministrators(FileDacl(dir + "Profiles"), FILE_ALL_ACCESS, true);
    DaclView profile = FileDacl(dir + "Profiles\\default.vtp");
    if (profile.kept) ExpectOnlyAdministrators(profile, FILE_ALL_ACCESS, false);
    EXPECT_EQ(RunAndWait(vtlock + " /INSTALL").exitCode, 0u);
    ASSERT_EQ(boxes.WaitSeen(2).size(), 2u);
    for (const char* round : {"installed", "nothing to remove"}) {
        EXPECT_EQ(RunAndWait(vtlock + " /UNINSTALL").exitCode, 0u) << round;
        EXPECT_EQ(ServiceConfig("VTLOCK") + (Exists(DriverFile()) ? "file" : ""), "") << round;
    }
    std::vector<SeenBox> seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 2u) << "removing is silent";
    EXPECT_EQ(seen[0].text, "Cannot copy driver to system folder " + SystemDir + "\\Drivers :" +
                                SystemErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(seen[1].text, "Cannot create a service. System reports about following error: " +
                                SystemErrorText(ERROR_SERVICE_EXISTS));
    for (const SeenBox& box : seen) EXPECT_EQ(box.caption + ", " + box.icon, "Error, error");
}
// "/D:" carries the digest of the password as typed.
TEST(Commands, PostTheirMessagesInArgumentOrder) {
    InitRuntimeEnvironment();
    MessageListener listener;
    ProcessResult run = RunAndWait(QuoteArgument(InstallCopy() + "vtlock.exe") +
                                   " /E /toggle \"/d:Two Words\" unknown /EX /STOPAGENT /LOAD:x.vtp /NOTIFY:5 /D:");
    EXPECT_TRUE(run.finished && run.exitCode == 0);
    const std::pair<std::string, DWORD> expected[] = {{"Vantrel.Enable", 0}, {"Vantrel.Ask", 0},
        {"Vantrel.Disable", Command18("Two Words")}, {"Vantrel.StopAgent", 0}, {"Vantrel.Disable", Command18("")}};
    std::vector<HeardMessage> heard = HeardUpToMarker(listener);
    ASSERT_EQ(heard.size(), 5u);
    for (size_t i = 0; i < heard.size(); ++i) {
        EXPECT_EQ(heard[i].name + " " + std::to_string(heard[i].wParam) + " " + std::to_string(heard[i].lParam),
                  expected[i].first + " 0 " + std::to_string(expected[i].second)) << "only the low 32 bits carry a digest";
    }
}
TEST(Channel, ProfilesReachTheDriverAndFailuresAreReported) {
    InitRuntimeEnvironment();
    {
        AgentBed installed;
        StartNamedService("VTLOCK");
        ProfilesDir = NewTempDir("profiles");
        CreateProfileLists();
        ProfileText policies(0, {});
        policies.policies = {"0=1"};
        WriteWholeFile(ProfilesDir + "policies.vtp", policies.Plain());
        WriteWholeFile(ProfilesDir + "bad.vtp", ProfileText(0, {"XPAYROLL.XLS"}).Plain());  // no access code
        BoxAnswerer boxes;
        ASSERT_TRUE(OpenProtectionDriver());
        const struct { const char* name; unsigned int stops, loads, refused; } cases[] = {
            {"nobody.vtp", 0, 0, 0}, {"policies.vtp", 1, 0, 0}, {"bad.vtp", 1, 1, 1}};
        for (const auto& c : cases) {
            VTLOCK_STATE before = QueryDriverState();
            SendProfileToDriver(c.name);
            VTLOCK_STATE after = QueryDriverState();
            EXPECT_EQ(std::to_string(after.StopRequests - before.StopRequests) + " " +
                          std::to_string(after.LoadRequests - before.LoadRequests) + " " +
                          std::to_string(after.LoadRefused - before.LoadRefused),
                      std::to_string(c.stops) + " " + std::to_string(c.loads) + " " + std::to_string(c.refused))
                << c.name << ": stops, loads, refused loads";
        }
        CloseHandle(DriverHandle);
        std::vector<SeenBox> seen = boxes.WaitSeen(1);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, "Cannot send profile to driver: " + SystemErrorText(ERROR_INVALID_PARAMETER));
    }
    // A plain file stands in for a device that refuses every request.
    Profile = TProfile();
    Profile.Policies = {"0=1"};
    RegDeleteKeyValueA(HKEY_CURRENT_USER, PoliciesKey, "DisableRegistryTools");
    HANDLE refusing = CreateFileA((NewTempDir("device") + "device").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, 0, nullptr);
    DWORD returned = 0;
    ASSERT_FALSE(DeviceIoControl(refusing, VTLOCK_CTL_START, nullptr, 0, nullptr, 0, &returned, nullptr));
    const std::string refusal = SystemErrorText(GetLastError());
    BoxAnswerer boxes;
    DriverHandle = 0;
    EnableProtection();
    EXPECT_FALSE(ProtectionEnabled);
    EXPECT_EQ(RegistryTools(), -1);
    ProtectionEnabled = true;
    DisableProtection();
    EXPECT_TRUE(ProtectionEnabled);
    DriverHandle = refusing;
    EnableProtection();
    EXPECT_TRUE(ProtectionEnabled);
    DisableProtection();
    EXPECT_FALSE(ProtectionEnabled || ProgramBlockingActive);
    DriverHandle = 0;
    CloseHandle(refusing);
    std::vector<SeenBox> seen = boxes.WaitSeen(2);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, "Cannot enable protection: " + refusal);
    EXPECT_EQ(seen[1].text + " " + seen[1].icon, "Cannot disable protection: " + refusal + " error");
    // Opening names the step that failed.
    const struct { const char* name; DWORD start; bool file; std::string message; } cases[] = {  // start 0: none
        {"no service", 0, false, "Cannot open service. May be not enough access rights. System reports about "
                                 "following error: " + SystemErrorText(ERROR_SERVICE_DOES_NOT_EXIST)},
        {"no driver file", SERVICE_DEMAND_START, false, "Cannot start service: "},
        {"disabled", SERVICE_DISABLED, true, "Cannot open service handle: " + SystemErrorText(ERROR_FILE_NOT_FOUND)},
    };
    for (const auto& c : cases) {
        const size_t count = seen.size() + 1;
        UninstallDriverService();
        if (c.file) CopyFileA((BinDir() + "vtlock.sys").c_str(), DriverFile().c_str(), FALSE);
        SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        if (c.start)
            CloseServiceHandle(CreateServiceA(manager, "VTLOCK", "VTLOCK", SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER,
                                              c.start, SERVICE_ERROR_NORMAL, DriverFile().c_str(), nullptr, nullptr,
                                              nullptr, nullptr, nullptr));
        CloseServiceHandle(manager);
        EXPECT_FALSE(OpenProtectionDriver()) << c.name;
        EXPECT_EQ(DriverHandle, HANDLE(0)) << c.name;
        seen = boxes.WaitSeen(count);
        ASSERT_EQ(seen.size(), count) << c.name;
        EXPECT_EQ(seen.back().text.rfind(c.message, 0), 0u) << seen.back().text;
        EXPECT_EQ(seen.back().icon, "error") << c.name;
    }
    UninstallDriverService();
}
}  // namespace
