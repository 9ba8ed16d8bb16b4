// The driver's service, vtlock's control commands without an agent, and the channel to the driver with this process
// as agent.
#include "../agent_shared/AgentTest.h"
#include "Channel.h"
#include "DriverService.h"
#include "ManagerSupport.h"
#include "ProgramBlocking.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
using namespace agenttest;
std::string DriverFile() { return SystemDir + "\\Drivers\\vtlock.sys"; }
TEST(DriverService, InstallAndUninstall) {
    InitRuntimeEnvironment();
    const std::string dir = InstallCopy(), vtlock = QuoteArgument(dir + "vtlock.exe");
    ASSERT_TRUE(WriteWholeFile(dir + "Profiles\\default.vtp", "profile"));
    ASSERT_TRUE(RunAndWait(vtlock + " /UNINSTALL").finished);
    ASSERT_TRUE(MoveFileA((dir + "vtlock.sys").c_str(), (dir + "vtlock.bak").c_str()));
    BoxAnswerer boxes;
    EXPECT_EQ(RunAndWait(vtlock + " /INSTALL").exitCode, 1u) << "a failed command tells the setup program";
    EXPECT_TRUE(boxes.WaitSeen(1).size() == 1 && ServiceConfig("VTLOCK").empty()) << "nothing made without the file";
    ASSERT_TRUE(MoveFileA((dir + "vtlock.bak").c_str(), (dir + "vtlock.sys").c_str()));
    EXPECT_EQ(RunAndWait(vtlock + " /INSTALL").exitCode, 0u);
    EXPECT_EQ(ReadWholeFile(DriverFile()), ReadWholeFile(dir + "vtlock.sys"));
    // A kernel driver, started on demand, with normal error control.
    EXPECT_EQ(UpperCase(ServiceConfig("VTLOCK")), "1 3 1 VTLOCK: " + UpperCase(DriverFile()));
    // Ordinary users are shut out of the profiles, also of those made before.
    ExpectOnlyAdministrators(FileDacl(dir + "Profiles"), FILE_ALL_ACCESS, true);
    DaclView profile = FileDacl(dir + "Profiles\\default.vtp");
    if (profile.kept) ExpectOnlyAdministrators(profile, FILE_ALL_ACCESS, false);
    EXPECT_EQ(RunAndWait(vtlock + " /INSTALL").exitCode, 1u);
    ASSERT_EQ(boxes.WaitSeen(2).size(), 2u);
    for (const char* round : {"installed", "nothing to remove"}) {
        EXPECT_EQ(RunAndWait(vtlock + " /UNINSTALL").exitCode, 0u) << round;
        EXPECT_EQ(ServiceConfig("VTLOCK") + (Exists(DriverFile()) ? "file" : ""), "") << round;
    }
    std::vector<SeenBox> seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 2u) << "removing is silent";
    EXPECT_EQ(seen[0].caption + ", " + seen[0].icon + ": " + seen[0].text + "\n" + seen[1].icon + " " + seen[1].text,
              "Error, error: Cannot copy driver to system folder " + SystemDir + "\\Drivers :" +
                  SystemErrorText(ERROR_FILE_NOT_FOUND) + "\nerror Cannot create a service. System reports about "
                  "following error: " + SystemErrorText(ERROR_SERVICE_EXISTS));
}
// Without an agent each command says so, in argument order, and fails; nothing is broadcast, a password least of all.
TEST(Commands, SayWhenNoAgentAnswersAndBroadcastNothing) {
    InitRuntimeEnvironment();
    MessageListener listener;
    BoxAnswerer boxes;
    ProcessResult run = RunAndWait(QuoteArgument(InstallCopy() + "vtlock.exe") +
                                   " /E /toggle \"/d:Two Words\" unknown /EX /STOPAGENT /LOAD:x.vtp /NOTIFY:5 /D:");
    EXPECT_TRUE(run.finished && run.exitCode == 2) << "2: the first failure, no agent";
    std::vector<SeenBox> seen = boxes.WaitSeen(5);
    std::string said;
    for (const SeenBox& box : seen) said += box.caption + ": " + box.text + " (" + box.icon + ")\n";
    const std::string none = "The Vantrel agent is not running. (error)\n";
    EXPECT_EQ(said, "Vantrel: " + none + "Vantrel: " + none + "Disable protection: " + none + "Vantrel: " + none +
                        "Disable protection: Password is incorrect. (information)\n");
    EXPECT_TRUE(HeardUpToMarker(listener).empty());
}
TEST(Channel, ProfilesReachTheDriverAndFailuresAreReported) {
    InitRuntimeEnvironment();
    AgentBed installed;
    StartNamedService("VTLOCK");
    ProfilesDir = NewTempDir("profiles");
    CreateProfileLists();
    WriteWholeFile(ProfilesDir + "rules.vtp", ProfileText(2, {"&.VTX"}).Plain());
    WriteWholeFile(ProfilesDir + "policies.vtp", ProfileText(0, {}, {"0=1"}).Plain());
    WriteWholeFile(ProfilesDir + "bad.vtp", ProfileText(0, {"XPAYROLL.XLS"}, {"0=1"}).Plain());  // no access code
    BoxAnswerer boxes;
    ASSERT_TRUE(OpenProtectionDriver());
    // Every profile replaces the driver's rules: one without rules, one that cannot be read, and one whose image
    // the driver refuses (then followed by the empty profile's) leave only the seven built-in file strings.
    const struct { const char* name; unsigned int loads, refused, files; size_t policies; } sent[] = {
        {"rules.vtp", 1, 0, 8, 0}, {"policies.vtp", 1, 0, 7, 1}, {"rules.vtp", 1, 0, 8, 0},
        {"nobody.vtp", 1, 0, 7, 0}, {"rules.vtp", 1, 0, 8, 0}, {"bad.vtp", 2, 1, 7, 1}};
    for (const auto& c : sent) {  // stops, loads, refused, file strings, policies in force
        VTLOCK_STATE before = QueryDriverState();
        SendProfileToDriver(c.name);
        VTLOCK_STATE after = QueryDriverState();
        EXPECT_EQ((std::vector<size_t>{after.StopRequests - before.StopRequests,
                                       after.LoadRequests - before.LoadRequests, after.LoadRefused - before.LoadRefused,
                                       after.FileStrings, Profile.Policies.size()}),
                  (std::vector<size_t>{1, c.loads, c.refused, c.files, c.policies})) << c.name;
    }
    CloseHandle(DriverHandle);
    // A closed channel does nothing; a plain file stands in for a device that refuses every request.
    Profile = TProfile();
    Profile.Policies = {"0=1"};
    RegDeleteKeyValueA(HKEY_CURRENT_USER, PoliciesKey, "DisableRegistryTools");
    HANDLE refusing = CreateFileA((NewTempDir("device") + "device").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, 0, nullptr);
    DWORD returned = 0;
    ASSERT_FALSE(DeviceIoControl(refusing, VTLOCK_CTL_START, nullptr, 0, nullptr, 0, &returned, nullptr));
    const std::string refusal = SystemErrorText(GetLastError());
    DriverHandle = 0;
    EnableProtection();
    EXPECT_TRUE(!ProtectionEnabled && RegistryTools() == -1);
    ProtectionEnabled = true;
    DisableProtection();
    EXPECT_TRUE(ProtectionEnabled);
    DriverHandle = refusing;
    EnableProtection();
    const bool enabled = ProtectionEnabled;
    DisableProtection();
    EXPECT_TRUE(enabled && !ProtectionEnabled && !ProgramBlockingActive);
    DriverHandle = 0;
    CloseHandle(refusing);
    // Without the driver's service, opening says so.
    UninstallDriverService();
    EXPECT_FALSE(OpenProtectionDriver() || DriverHandle);
    const std::string said[] = {"Cannot send profile to driver: " + SystemErrorText(ERROR_INVALID_PARAMETER),
        "Cannot enable protection: " + refusal, "Cannot disable protection: " + refusal, "Cannot open service. May be "
        "not enough access rights. System reports about following error: " +
        SystemErrorText(ERROR_SERVICE_DOES_NOT_EXIST)};
    std::vector<SeenBox> seen = boxes.WaitSeen(4);
    ASSERT_EQ(seen.size(), 4u);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(seen[i].icon + " " + seen[i].text.substr(0, said[i].size()), "error " + said[i]);
}
