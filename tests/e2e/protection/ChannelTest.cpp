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
bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

const char* const PoliciesKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

// The "no registry editor" restriction in this user's hive; -1 when unset.
long long RegistryTools()
{
    DWORD value = 0, size = sizeof value;
    return RegGetValueA(HKEY_CURRENT_USER, PoliciesKey, "DisableRegistryTools", RRF_RT_REG_DWORD, nullptr, &value,
                        &size) == ERROR_SUCCESS ? (long long)value : -1;
}

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
    EXPECT_FALSE(QueryConfig("VTLOCK").found) << "nothing is made without the driver's file";

    ASSERT_TRUE(MoveFileA((dir + "vtlock.bak").c_str(), (dir + "vtlock.sys").c_str()));
    EXPECT_EQ(RunAndWait(vtlock + " /INSTALL").exitCode, 0u);
    EXPECT_EQ(ReadWholeFile(DriverFile()), ReadWholeFile(dir + "vtlock.sys"));
    ServiceConfig config = QueryConfig("VTLOCK");
    EXPECT_EQ(config.type, DWORD(SERVICE_KERNEL_DRIVER));
    EXPECT_EQ(config.start, DWORD(SERVICE_DEMAND_START));
    EXPECT_EQ(config.errorControl, DWORD(SERVICE_ERROR_NORMAL));
    EXPECT_EQ(config.displayName, "VTLOCK");
    EXPECT_EQ(UpperCase(config.command), UpperCase(DriverFile()));
    // Ordinary users are shut out of the profiles, also of those made before.
    ExpectOnlyAdministrators(FileDacl(dir + "Profiles"), FILE_ALL_ACCESS, true);
    DaclView profile = FileDacl(dir + "Profiles\\default.vtp");
    if (profile.kept) ExpectOnlyAdministrators(profile, FILE_ALL_ACCESS, false);

    EXPECT_EQ(RunAndWait(vtlock + " /INSTALL").exitCode, 0u);
    ASSERT_EQ(boxes.WaitSeen(2).size(), 2u);
    EXPECT_EQ(RunAndWait(vtlock + " /UNINSTALL").exitCode, 0u);
    EXPECT_FALSE(QueryConfig("VTLOCK").found);
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
    const struct {
        const char* name;
        DWORD start;  // 0: no service
        bool file;
        std::string message;
    } cases[] = {
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

class Channel : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitRuntimeEnvironment();
        AgentBed installed;
        StartNamedService("VTLOCK");
        ProfilesDir = NewTempDir("profiles");
        CreateProfileLists();
        ASSERT_TRUE(OpenProtectionDriver());
        EXPECT_TRUE(boxes.Seen().empty()) << "a second start of the running driver is no error";
    }
    void TearDown() override
    {
        CloseHandle(DriverHandle);
        DriverHandle = 0;
    }
    void Write(const std::string& name, const ProfileText& p) { WriteWholeFile(ProfilesDir + name, PlainProfile(p)); }

    BoxAnswerer boxes;
};

TEST_F(Channel, ProfilesReachTheDriverAsTheirImages)
{
    Write("rules.vtp", RulesProfile(2, {"&PAYROLL.XLS", "-.DOC"}));
    Write("bad.vtp", RulesProfile(0, {"XPAYROLL.XLS"}));  // no access code
    VTLOCK_STATE before = QueryDriverState();
    SendProfileToDriver("rules.vtp");
    VTLOCK_STATE sent = QueryDriverState();
    EXPECT_EQ(sent.StopRequests, before.StopRequests + 1) << "the driver is stopped before it gets an image";
    EXPECT_EQ(sent.LoadRequests - sent.LoadRefused, before.LoadRequests - before.LoadRefused + 1);
    EXPECT_EQ(sent.ImageBytes, DriverImageSize);
    EXPECT_EQ(sent.FileStrings, 9u) << "seven system files and the two rules";
    EXPECT_EQ(sent.FolderStrings, VtLockImageField(DriverImage.data(), VTLOCK_IMAGE_OFF_NFOLDERS));

    SendProfileToDriver("bad.vtp");
    VTLOCK_STATE refused = QueryDriverState();
    EXPECT_EQ(refused.LoadRefused, sent.LoadRefused + 1);
    EXPECT_EQ(refused.ImageBytes, sent.ImageBytes);
    std::vector<SeenBox> seen = boxes.WaitSeen(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Cannot send profile to driver: " + SystemErrorText(ERROR_INVALID_PARAMETER));

    SendProfileToDriver("nobody.vtp");
    VTLOCK_STATE none = QueryDriverState();
    EXPECT_EQ(none.StopRequests + none.LoadRequests, refused.StopRequests + refused.LoadRequests)
        << "a profile that cannot be read sends nothing";
}

TEST_F(Channel, EnableAndDisableWithAProfileOfPoliciesOnly)
{
    ProfileText policies;
    policies.policies = {"0=1"};
    policies.tasks = {"NOPROGRAM.EXE      //Not a real program"};
    Write("policies.vtp", policies);
    DWORD fixed = 0;  // the fixed and RAM drives
    for (int drive = 0; drive < 26; ++drive) {
        char root[] = {char('A' + drive), ':', '\\', 0};
        UINT type = GetLogicalDrives() & (1u << drive) ? GetDriveTypeA(root) : DRIVE_NO_ROOT_DIR;
        if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) fixed |= 1u << drive;
    }
    VTLOCK_STATE before = QueryDriverState();
    SendProfileToDriver("policies.vtp");
    VTLOCK_STATE sent = QueryDriverState();
    EXPECT_EQ(sent.LoadRequests, before.LoadRequests) << "no image without folder or file rules";
    EXPECT_EQ(sent.StopRequests, before.StopRequests + 1);

    EnableProtection();
    VTLOCK_STATE enabled = QueryDriverState();
    EXPECT_TRUE(ProtectionEnabled && ProgramBlockingActive);
    EXPECT_EQ(enabled.Started, 1u);
    EXPECT_EQ(enabled.MaskRequests, sent.MaskRequests + 1);
    EXPECT_EQ(enabled.DriveMask, fixed);
    EXPECT_EQ(RegistryTools(), 1);

    DisableProtection();
    EXPECT_FALSE(ProtectionEnabled || ProgramBlockingActive);
    EXPECT_EQ(QueryDriverState().Started, 0u);
    EXPECT_EQ(RegistryTools(), 0);
    EXPECT_TRUE(boxes.Seen().empty());
}

}  // namespace
