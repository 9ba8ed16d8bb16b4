// The driver's service as a setup program installs it ("/INSTALL",
// "/UNINSTALL"), and the channel to the driver with this process in the
// agent's place: its messages when the driver is missing, broken or refuses,
// and what the agent's requests leave in the driver and the registry.
#include "../agent_shared/AgentTest.h"
#include "Channel.h"
#include "DriverService.h"
#include "ProgramBlocking.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"

using namespace agenttest;

namespace {

std::string DriverFile() { return SystemDir + "\\Drivers\\vtlock.sys"; }

TEST(DriverService, InstallAndUninstall)
{
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
    EXPECT_EQ(RunAndWait(vtlock + " /UNINSTALL").exitCode, 0u);
    EXPECT_EQ(ServiceConfig("VTLOCK"), "");
    EXPECT_FALSE(Exists(DriverFile()));
    EXPECT_EQ(RunAndWait(vtlock + " /UNINSTALL").exitCode, 0u) << "nothing to remove";

    std::vector<SeenBox> seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 2u) << "removing is silent";
    EXPECT_EQ(seen[0].text, "Cannot copy driver to system folder " + SystemDir + "\\Drivers :" +
                                SystemErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(seen[1].text, "Cannot create a service. System reports about following error: " +
                                SystemErrorText(ERROR_SERVICE_EXISTS));
    for (const SeenBox& box : seen) EXPECT_EQ(box.caption + ", " + box.icon, "Error, error");
}

TEST(BrokenChannel, OpeningNamesTheStepThatFailed)
{
    InitRuntimeEnvironment();
    const struct { const char* name; DWORD start; bool file; std::string message; } cases[] = {  // start 0: none
        {"no service", 0, false, "Cannot open service. May be not enough access rights. System reports about "
                                 "following error: " + SystemErrorText(ERROR_SERVICE_DOES_NOT_EXIST)},
        {"no driver file", SERVICE_DEMAND_START, false, "Cannot start service: "},
        {"disabled", SERVICE_DISABLED, true, "Cannot open service handle: " + SystemErrorText(ERROR_FILE_NOT_FOUND)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UninstallDriverService();
        if (c.file) CopyFileA((BinDir() + "vtlock.sys").c_str(), DriverFile().c_str(), FALSE);
        SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        if (c.start)
            CloseServiceHandle(CreateServiceA(manager, "VTLOCK", "VTLOCK", SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER,
                                              c.start, SERVICE_ERROR_NORMAL, DriverFile().c_str(), nullptr, nullptr,
                                              nullptr, nullptr, nullptr));
        CloseServiceHandle(manager);
        BoxAnswerer boxes;
        EXPECT_FALSE(OpenProtectionDriver());
        EXPECT_EQ(DriverHandle, HANDLE(0));
        std::vector<SeenBox> seen = boxes.WaitSeen(1);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text.rfind(c.message, 0), 0u) << seen[0].text;
        EXPECT_EQ(seen[0].icon, "error");
    }
    UninstallDriverService();
}

// A plain file stands in for a device that refuses every request.
TEST(BrokenChannel, RefusedRequestsAreReportedAndTheStateFollowsTheRequest)
{
    InitRuntimeEnvironment();
    Profile = TProfile();
    Profile.Policies = {"0=1"};
    RegDeleteKeyValueA(HKEY_CURRENT_USER, PoliciesKey, "DisableRegistryTools");
    HANDLE refusing = CreateFileA((NewTempDir("device") + "device").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, 0, nullptr);
    DWORD returned = 0;
    ASSERT_FALSE(DeviceIoControl(refusing, VTLOCK_CTL_START, nullptr, 0, nullptr, 0, &returned, nullptr));
    const std::string refusal = SystemErrorText(GetLastError());
    BoxAnswerer boxes;

    DriverHandle = 0;  // closed: nothing happens
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
    EXPECT_FALSE(ProtectionEnabled);
    EXPECT_FALSE(ProgramBlockingActive);
    DriverHandle = 0;
    CloseHandle(refusing);
    std::vector<SeenBox> seen = boxes.WaitSeen(2);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, "Cannot enable protection: " + refusal);
    EXPECT_EQ(seen[1].text, "Cannot disable protection: " + refusal);
    EXPECT_EQ(seen[1].icon, "error");
}

// This process plays the agent on the driver that "/INSTALL" installed.
TEST(Channel, ProfilesThatGiveNoImageOrABadOne)
{
    InitRuntimeEnvironment();
    AgentBed installed;
    StartNamedService("VTLOCK");
    ProfilesDir = NewTempDir("profiles");
    CreateProfileLists();
    ProfileText policies;
    policies.policies = {"0=1"};
    WriteWholeFile(ProfilesDir + "policies.vtp", PlainProfile(policies));
    WriteWholeFile(ProfilesDir + "bad.vtp", PlainProfile(RulesProfile(0, {"XPAYROLL.XLS"})));  // no access code
    BoxAnswerer boxes;
    ASSERT_TRUE(OpenProtectionDriver());
    const struct { const char* name; unsigned int stops, loads, refused; } cases[] = {
        {"nobody.vtp", 0, 0, 0}, {"policies.vtp", 1, 0, 0}, {"bad.vtp", 1, 1, 1}};
    for (const auto& c : cases) {
        VTLOCK_STATE before = QueryDriverState();
        SendProfileToDriver(c.name);
        VTLOCK_STATE after = QueryDriverState();
        EXPECT_EQ(after.StopRequests - before.StopRequests, c.stops) << c.name;
        EXPECT_EQ(after.LoadRequests - before.LoadRequests, c.loads) << c.name;
        EXPECT_EQ(after.LoadRefused - before.LoadRefused, c.refused) << c.name;
    }
    CloseHandle(DriverHandle);
    DriverHandle = 0;
    std::vector<SeenBox> seen = boxes.WaitSeen(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Cannot send profile to driver: " + SystemErrorText(ERROR_INVALID_PARAMETER));
}

}  // namespace
