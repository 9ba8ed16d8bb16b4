// The Windows 95/98/ME paths, in processes that Wine tells they run on
// Windows 98. In-process calls run in a child copy of this test executable.
#include "Channel.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtLockIoctl.h"
#include "VtTest.h"

#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <vector>

namespace {

const char* const ReportVariable = "VT_WIN98_REPORT";

void ReportAsWindows98(const std::string& exeName) {
    HKEY key = nullptr;
    std::string path = "Software\\Wine\\AppDefaults\\" + exeName;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    const char version[] = "win98";
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version), sizeof version);
    RegCloseKey(key);
}

std::string ThisExeName() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full = path;
    return full.substr(full.find_last_of('\\') + 1);
}

std::map<std::string, std::string> ReadReport(const std::string& path) {
    std::map<std::string, std::string> report;
    std::istringstream lines(ReadWholeFile(path));
    for (std::string line; std::getline(lines, line);) {
        size_t equals = line.find('=');
        if (equals != std::string::npos) report[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return report;
}

std::string CurrentDirectory() {
    char folder[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

}  // namespace

TEST(Windows98, InstallDoesNothing) {
    InitRuntimeEnvironment();
    ReportAsWindows98("vtlock.exe");
    std::string program = InstallCopy();
    BoxAnswerer boxes;
    ProcessResult run = RunAndWait(QuoteArgument(program + "vtlock.exe") + " /INSTALL");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_EQ(GetFileAttributesA((SystemDir + "\\Drivers\\vtlock.sys").c_str()), INVALID_FILE_ATTRIBUTES);
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    ASSERT_NE(manager, nullptr);
    SC_HANDLE service = OpenServiceA(manager, "VTLOCK", SERVICE_QUERY_STATUS);
    EXPECT_EQ(service, nullptr);
    if (service) CloseServiceHandle(service);
    CloseServiceHandle(manager);
}

TEST(Windows98, OpenDriverTriesTheVxdBesideTheProgram) {
    InitRuntimeEnvironment();
    ReportAsWindows98(ThisExeName());
    std::string report = NewTempDir("win98") + "report.txt";
    SetEnvironmentVariableA(ReportVariable, report.c_str());
    BoxAnswerer boxes;
    ProcessResult child = RunAndWait(QuoteArgument(BinDir() + ThisExeName()) + " --gtest_filter=Windows98Child.*");
    SetEnvironmentVariableA(ReportVariable, nullptr);
    ASSERT_TRUE(child.finished);
    EXPECT_EQ(child.exitCode, 0u) << "the child's own checks failed";

    std::map<std::string, std::string> seen = ReadReport(report);
    ASSERT_EQ(seen["nt"], "0") << "the child did not run as Windows 98";
    std::string folder = BinDir();
    folder.pop_back();
    EXPECT_EQ(UpperCase(seen["cwd"]), UpperCase(folder));
    std::vector<SeenBox> boxesSeen = boxes.WaitSeen(1);
    ASSERT_EQ(boxesSeen.size(), 1u);
    EXPECT_EQ(boxesSeen[0].text,
              "Cannot initialize protection driver: " + SystemErrorText(std::stoul(seen["code"])));
    EXPECT_EQ(boxesSeen[0].icon, "error");
    EXPECT_EQ(seen["sysbckup"], "1");
}

// Runs only as the child started above.
TEST(Windows98Child, OpenDriverAndBuildImage) {
    char report[MAX_PATH + 1] = {};
    if (!GetEnvironmentVariableA(ReportVariable, report, MAX_PATH)) GTEST_SKIP() << "runs as a child only";
    InitRuntimeEnvironment();
    std::ostringstream out;
    out << "nt=" << (IsWindowsNT ? 1 : 0) << "\n";

    SetCurrentDirectoryA(NewTempDir("elsewhere").c_str());
    EXPECT_FALSE(OpenProtectionDriver());
    EXPECT_EQ(DriverHandle, HANDLE(0));
    out << "cwd=" << CurrentDirectory() << "\n";
    HANDLE again = CreateFileA(VTLOCK_PATH_VXD, 0, 0, nullptr, 0, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    out << "code=" << GetLastError() << "\n";
    if (again != INVALID_HANDLE_VALUE) CloseHandle(again);

    Profile = TProfile();
    BuildDriverImage();
    std::string image(DriverImage.begin(), DriverImage.begin() + DriverImageSize);
    // The first folder string, right after the file section's terminator.
    std::string exception = std::string("\0\0+", 3) + WindowsDir + "\\SYSBCKUP" + std::string(1, '\0');
    out << "sysbckup=" << (image.find(exception) != std::string::npos ? 1 : 0) << "\n";
    ASSERT_TRUE(WriteWholeFile(report, out.str()));
}
