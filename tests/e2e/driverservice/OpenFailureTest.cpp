// Opening the protection channel when the driver's service is missing,
// broken or disabled: each failing step names itself to the user.
#include "Channel.h"
#include "DriverService.h"
#include "RuntimeEnv.h"
#include "VtTest.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// Creates "VTLOCK" as the installer would, but pointing at the given file.
bool CreateDriverService(const std::string& binaryPath, DWORD startType) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) return false;
    SC_HANDLE service = CreateServiceA(manager, "VTLOCK", "VTLOCK", SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER,
                                       startType, SERVICE_ERROR_NORMAL, binaryPath.c_str(), nullptr, nullptr,
                                       nullptr, nullptr, nullptr);
    if (service) CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return service != nullptr;
}

class OpenFailure : public ::testing::Test {
protected:
    void SetUp() override {
        InitRuntimeEnvironment();
        UninstallDriverService();
        DriverHandle = 0;
    }
    void TearDown() override { UninstallDriverService(); }

    // Opens the channel in this process and returns the one message shown.
    std::string OpenAndReadMessage() {
        BoxAnswerer boxes;
        EXPECT_FALSE(OpenProtectionDriver());
        EXPECT_EQ(DriverHandle, HANDLE(0));
        std::vector<SeenBox> seen = boxes.WaitSeen(1);
        if (seen.size() != 1) return "(" + std::to_string(seen.size()) + " messages)";
        EXPECT_EQ(seen[0].icon, "error");
        return seen[0].text;
    }
};

}  // namespace

TEST_F(OpenFailure, ServiceNotInstalled) {
    EXPECT_EQ(OpenAndReadMessage(),
              "Cannot open service. May be not enough access rights. System reports about following error: " +
                  SystemErrorText(ERROR_SERVICE_DOES_NOT_EXIST));
}

TEST_F(OpenFailure, DriverFileMissing) {
    ASSERT_TRUE(CreateDriverService(SystemDir + "\\Drivers\\vtlock.sys", SERVICE_DEMAND_START));
    std::string text = OpenAndReadMessage();
    EXPECT_EQ(text.rfind("Cannot start service: ", 0), 0u) << text;
    EXPECT_GT(text.size(), std::string("Cannot start service: ").size()) << "the system's text follows";
}

TEST_F(OpenFailure, DisabledServicePassesStartAndFailsAtTheDevice) {
    std::string target = SystemDir + "\\Drivers\\vtlock.sys";
    ASSERT_TRUE(CopyFileA((BinDir() + "vtlock.sys").c_str(), target.c_str(), FALSE));
    ASSERT_TRUE(CreateDriverService(target, SERVICE_DISABLED));
    EXPECT_EQ(OpenAndReadMessage(), "Cannot open service handle: " + SystemErrorText(ERROR_FILE_NOT_FOUND));
}
