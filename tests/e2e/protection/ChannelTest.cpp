// The protection channel against the real driver: the test process plays the
// agent, with the driver installed by "/INSTALL" and profiles saved to disk.
#include "Channel.h"
#include "Policies.h"
#include "ProgramBlocking.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtLockIoctl.h"
#include "VtTest.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

const char* const SystemPolicyKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

VTLOCK_STATE DriverState() {
    VTLOCK_STATE state = {};
    DWORD returned = 0;
    EXPECT_TRUE(DeviceIoControl(DriverHandle, VTLOCK_CTL_QUERY_STATE, nullptr, 0, &state, sizeof state, &returned,
                                nullptr));
    return state;
}

uint32_t ImageField(uint32_t offset) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | DriverImage[offset + i];
    return value;
}

long long PolicyValue(const std::string& name) {
    DWORD value = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SystemPolicyKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return -1;
    DWORD size = sizeof value;
    LONG status = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? value : -1;
}

void SaveTestProfile(const std::string& name, const TProfile& content) {
    Profile = content;
    ASSERT_TRUE(SaveProfile(name, 0));
    Profile = TProfile();
}

class Channel : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InitRuntimeEnvironment();
        std::string program = InstallCopy();
        ProcessResult install = RunAndWait(QuoteArgument(program + "vtlock.exe") + " /INSTALL");
        ASSERT_TRUE(install.finished);
        ProfilesDir = NewTempDir("profiles");
        BoxAnswerer boxes;
        opened = OpenProtectionDriver();
        unexpected = boxes.Seen();
    }
    void SetUp() override {
        ASSERT_TRUE(opened);
        ASSERT_TRUE(unexpected.empty()) << unexpected[0].text;
        ASSERT_NE(DriverHandle, HANDLE(0));
    }

    static bool opened;
    static std::vector<SeenBox> unexpected;
};

bool Channel::opened = false;
std::vector<SeenBox> Channel::unexpected;

}  // namespace

TEST_F(Channel, ProfileWithRulesIsSentAsItsImage) {
    TProfile rules;
    rules.Folders = {"-C:\\VTDATA", "&%WINDIR%\\SECRET"};
    rules.Files = {"&PAYROLL.XLS", "-.DOC"};
    SaveTestProfile("rules", rules);
    VTLOCK_STATE before = DriverState();
    SendProfileToDriver("rules.vtp");
    VTLOCK_STATE after = DriverState();
    EXPECT_EQ(Profile.Folders, rules.Folders) << "the profile was loaded from its file";
    EXPECT_EQ(after.StopRequests, before.StopRequests + 1);
    EXPECT_EQ(after.LoadRequests, before.LoadRequests + 1);
    EXPECT_EQ(after.LoadRefused, before.LoadRefused);
    EXPECT_EQ(after.ImageBytes, DriverImageSize);
    EXPECT_EQ(after.FileStrings, ImageField(VTLOCK_IMAGE_OFF_NFILES));
    EXPECT_EQ(after.FolderStrings, ImageField(VTLOCK_IMAGE_OFF_NFOLDERS));
    EXPECT_GE(after.FileStrings, 9u) << "seven system exceptions and two rules";
}

TEST_F(Channel, MalformedImageIsRefusedAndThePreviousStays) {
    TProfile good;
    good.Files = {"&PAYROLL.XLS"};
    SaveTestProfile("good", good);
    SendProfileToDriver("good.vtp");
    VTLOCK_STATE accepted = DriverState();

    TProfile bad;
    bad.Files = {"XPAYROLL.XLS"};  // no access code: the driver refuses the image
    SaveTestProfile("bad", bad);
    BoxAnswerer boxes;
    SendProfileToDriver("bad.vtp");
    std::vector<SeenBox> seen = boxes.WaitSeen(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Cannot send profile to driver: " + SystemErrorText(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(seen[0].icon, "error");
    VTLOCK_STATE after = DriverState();
    EXPECT_EQ(after.LoadRefused, accepted.LoadRefused + 1);
    EXPECT_EQ(after.ImageBytes, accepted.ImageBytes);
    EXPECT_EQ(after.FileStrings, accepted.FileStrings);
}

TEST_F(Channel, ProfileThatCannotBeLoadedSendsNothing) {
    VTLOCK_STATE before = DriverState();
    SendProfileToDriver("nobody.vtp");
    VTLOCK_STATE after = DriverState();
    EXPECT_EQ(after.StopRequests, before.StopRequests);
    EXPECT_EQ(after.LoadRequests, before.LoadRequests);
}

TEST_F(Channel, PoliciesOnlyProfileSendsNoImageButEnables) {
    TProfile policies;
    policies.Policies = {"0=1"};
    policies.Tasks = {"NOPROGRAM.EXE      //Not a real program"};
    SaveTestProfile("policies", policies);
    BoxAnswerer boxes;
    VTLOCK_STATE before = DriverState();
    SendProfileToDriver("policies.vtp");
    VTLOCK_STATE sent = DriverState();
    EXPECT_EQ(sent.LoadRequests, before.LoadRequests);
    EXPECT_EQ(sent.StopRequests, before.StopRequests + 1);
    EXPECT_EQ(sent.Started, 0u);

    EnableProtection();
    VTLOCK_STATE enabled = DriverState();
    EXPECT_TRUE(ProtectionEnabled);
    EXPECT_TRUE(ProgramBlockingActive);
    EXPECT_EQ(enabled.Started, 1u);
    EXPECT_EQ(enabled.MaskRequests, sent.MaskRequests + 1);
    EXPECT_EQ(enabled.DriveMask, GetProtectedDriveMask());
    EXPECT_EQ(PolicyValue("DisableRegistryTools"), 1);

    DisableProtection();
    VTLOCK_STATE disabled = DriverState();
    EXPECT_FALSE(ProtectionEnabled);
    EXPECT_FALSE(ProgramBlockingActive);
    EXPECT_EQ(disabled.Started, 0u);
    EXPECT_EQ(PolicyValue("DisableRegistryTools"), 0);
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(Channel, DriveMaskHoldsExactlyTheFixedAndRamDrives) {
    DWORD mask = GetProtectedDriveMask();
    DWORD present = GetLogicalDrives();
    for (int drive = 0; drive < 26; ++drive) {
        char root[] = {static_cast<char>('A' + drive), ':', '\\', 0};
        UINT type = (present & (1u << drive)) ? GetDriveTypeA(root) : DRIVE_NO_ROOT_DIR;
        bool wanted = type == DRIVE_FIXED || type == DRIVE_RAMDISK;
        EXPECT_EQ((mask >> drive) & 1u, wanted ? 1u : 0u) << root << " type " << type;
    }
    EXPECT_EQ(mask & ~present, 0u);
}

TEST_F(Channel, SecondStartOfTheRunningDriverIsNoError) {
    BoxAnswerer boxes;
    HANDLE second = 0;
    bool opened = StartDriverAndOpenDevice(second);
    std::vector<SeenBox> seen = boxes.Seen();
    EXPECT_TRUE(opened) << (seen.empty() ? std::string() : seen[0].text);
    if (opened) CloseHandle(second);
    EXPECT_TRUE(seen.empty());
}
