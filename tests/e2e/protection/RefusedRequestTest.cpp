// Requests that the device refuses: the user is told, and the protection
// state still follows the request. A plain file stands in for a device that
// answers every control code with an error.
#include "Channel.h"
#include "Policies.h"
#include "ProgramBlocking.h"
#include "RegValues.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtTest.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class RefusingDevice : public ::testing::Test {
protected:
    void SetUp() override {
        InitRuntimeEnvironment();
        saved = DriverHandle;
        std::string path = NewTempDir("device") + "device.bin";
        refusing = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(refusing, INVALID_HANDLE_VALUE);
        DWORD returned = 0;
        ASSERT_FALSE(DeviceIoControl(refusing, 172, nullptr, 0, nullptr, 0, &returned, nullptr));
        refusal = SystemErrorText(GetLastError());
        DriverHandle = refusing;
        Profile = TProfile();
    }
    void TearDown() override {
        DriverHandle = saved;
        CloseHandle(refusing);
        ProtectionEnabled = false;
    }

    HANDLE saved = 0;
    HANDLE refusing = INVALID_HANDLE_VALUE;
    std::string refusal;
};

}  // namespace

TEST_F(RefusingDevice, RefusedStartIsReportedAndProtectionCountsAsEnabled) {
    BoxAnswerer boxes;
    EnableProtection();
    std::vector<SeenBox> seen = boxes.WaitSeen(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Cannot enable protection: " + refusal);
    EXPECT_EQ(seen[0].icon, "error");
    EXPECT_TRUE(ProtectionEnabled);
}

TEST_F(RefusingDevice, RefusedStopIsReportedAndProtectionCountsAsDisabled) {
    ProtectionEnabled = true;
    BoxAnswerer boxes;
    DisableProtection();
    std::vector<SeenBox> seen = boxes.WaitSeen(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Cannot disable protection: " + refusal);
    EXPECT_FALSE(ProtectionEnabled);
    EXPECT_FALSE(ProgramBlockingActive);
}

TEST_F(RefusingDevice, ClosedChannelDoesNothing) {
    DriverHandle = 0;
    Profile.Policies = {"0=1"};
    BoxAnswerer boxes;
    EnableProtection();
    EXPECT_FALSE(ProtectionEnabled);
    ProtectionEnabled = true;
    DisableProtection();
    EXPECT_TRUE(ProtectionEnabled);
    DWORD value = 0;
    EXPECT_FALSE(ReadRegDword(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                              "DisableRegistryTools", value));
    EXPECT_TRUE(boxes.Seen().empty());
}
