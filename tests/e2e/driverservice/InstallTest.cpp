// "/INSTALL" and "/UNINSTALL" of the protection driver's service, run as an
// administrator's setup program would run them.
#include "RuntimeEnv.h"
#include "VtTest.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct ServiceConfig {
    bool exists = false;
    DWORD type = 0, start = 0, errorControl = 0;
    std::string binaryPath, displayName;
};

ServiceConfig QueryDriverService() {
    ServiceConfig config;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return config;
    SC_HANDLE service = OpenServiceA(manager, "VTLOCK", SERVICE_QUERY_CONFIG);
    if (service) {
        std::vector<BYTE> buffer(8192);
        DWORD needed = 0;
        auto* info = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
        if (QueryServiceConfigA(service, info, static_cast<DWORD>(buffer.size()), &needed)) {
            config.exists = true;
            config.type = info->dwServiceType;
            config.start = info->dwStartType;
            config.errorControl = info->dwErrorControl;
            config.binaryPath = info->lpBinaryPathName ? info->lpBinaryPathName : "";
            config.displayName = info->lpDisplayName ? info->lpDisplayName : "";
        }
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return config;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class DriverInstall : public ::testing::Test {
protected:
    void SetUp() override {
        InitRuntimeEnvironment();
        program = InstallCopy();
        ASSERT_TRUE(FileExists(program + "vtlock.sys"));
        ASSERT_TRUE(RunAndWait(Command("/UNINSTALL")).finished);
        ASSERT_FALSE(QueryDriverService().exists);
    }
    std::string Command(const std::string& arg) const { return QuoteArgument(program + "vtlock.exe") + " " + arg; }
    std::string Target() const { return SystemDir + "\\Drivers\\vtlock.sys"; }

    std::string program;
};

}  // namespace

// It also keeps ordinary users out of the profiles folder made before, and
// out of the profile already in it.
TEST_F(DriverInstall, InstallCopiesTheDriverAndCreatesItsService) {
    ASSERT_TRUE(WriteWholeFile(program + "Profiles\\default.vtp", "profile"));
    BoxAnswerer boxes;
    ProcessResult run = RunAndWait(Command("/INSTALL"));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_EQ(ReadWholeFile(Target()), ReadWholeFile(program + "vtlock.sys"));
    ServiceConfig config = QueryDriverService();
    ASSERT_TRUE(config.exists);
    EXPECT_EQ(config.type, DWORD(SERVICE_KERNEL_DRIVER));
    EXPECT_EQ(config.start, DWORD(SERVICE_DEMAND_START));
    EXPECT_EQ(config.errorControl, DWORD(SERVICE_ERROR_NORMAL));
    EXPECT_EQ(config.displayName, "VTLOCK");
    EXPECT_EQ(UpperCase(config.binaryPath), UpperCase(Target()));
    ExpectOnlyAdministrators(FileDacl(program + "Profiles"), FILE_ALL_ACCESS, true);
    DaclView profile = FileDacl(program + "Profiles\\default.vtp");
    if (profile.kept)
        ExpectOnlyAdministrators(profile, FILE_ALL_ACCESS, false);
}

TEST_F(DriverInstall, SecondInstallReportsTheExistingService) {
    ASSERT_TRUE(RunAndWait(Command("/INSTALL")).finished);
    BoxAnswerer boxes;
    ProcessResult run = RunAndWait(Command("/INSTALL"));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    std::vector<SeenBox> seen = boxes.WaitSeen(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Cannot create a service. System reports about following error: " +
                                SystemErrorText(ERROR_SERVICE_EXISTS));
    EXPECT_EQ(seen[0].caption, "Error");
    EXPECT_EQ(seen[0].icon, "error");
    EXPECT_TRUE(QueryDriverService().exists);
}

TEST_F(DriverInstall, InstallWithoutTheDriverFileShowsTheCopyMessage) {
    ASSERT_TRUE(DeleteFileA((program + "vtlock.sys").c_str()));
    BoxAnswerer boxes;
    ASSERT_TRUE(RunAndWait(Command("/INSTALL")).finished);
    std::vector<SeenBox> seen = boxes.WaitSeen(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Cannot copy driver to system folder " + SystemDir + "\\Drivers :" +
                                SystemErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(seen[0].icon, "error");
    EXPECT_FALSE(QueryDriverService().exists);
    EXPECT_FALSE(FileExists(Target()));
}

TEST_F(DriverInstall, UninstallRemovesServiceAndFileSilently) {
    ASSERT_TRUE(RunAndWait(Command("/INSTALL")).finished);
    ASSERT_TRUE(QueryDriverService().exists);
    BoxAnswerer boxes;
    ProcessResult run = RunAndWait(Command("/UNINSTALL"));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_FALSE(QueryDriverService().exists);
    EXPECT_FALSE(FileExists(Target()));
    ASSERT_TRUE(RunAndWait(Command("/UNINSTALL")).finished) << "nothing installed any more";
    EXPECT_TRUE(boxes.Seen().empty());
}
