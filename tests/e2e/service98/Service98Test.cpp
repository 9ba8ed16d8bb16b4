// The Windows 95/98/ME branches, with the program told it runs on Windows 98:
// the RunServices value, and "-SERVICE" running the agent itself.
#include "../agent_shared/AgentTest.h"

using namespace agenttest;

namespace {

const char* const RunServicesKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";

std::string RunServicesValue()
{
    char text[1024] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, RunServicesKey, "VantrelAgent", RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS)
        return "<missing>";
    return text;
}

class Service98 : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = InstallCopy();
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\vtlock.exe", 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win98"), 6);
        RegCloseKey(key);
    }
    static std::string Exe() { return QuoteArgument(dir + "vtlock.exe"); }
    static std::string dir;
};
std::string Service98::dir;

TEST_F(Service98, InstallWritesRunServicesAndUninstallRemovesIt)
{
    BoxAnswerer answerer;
    EXPECT_EQ(RunAndWait(Exe() + " /INSTALLSERVICE").exitCode, 0u);
    EXPECT_EQ(RunServicesValue(), dir + "vtlock.exe -SERVICE");
    EXPECT_FALSE(ServiceExists("VTLOCKAGENT")) << "no NT service on Windows 98";
    char run[16] = {};
    DWORD size = sizeof run;
    EXPECT_NE(RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                           "NTUserDispatcherVR", RRF_RT_REG_SZ, nullptr, run, &size),
              ERROR_SUCCESS);

    EXPECT_EQ(RunAndWait(Exe() + " /UNINSTALLSERVICE").exitCode, 0u);
    EXPECT_EQ(RunServicesValue(), "<missing>");
    EXPECT_EQ(RunAndWait(Exe() + " /UNINSTALLSERVICE").exitCode, 0u) << "nothing to remove";
    EXPECT_TRUE(answerer.Seen().empty());
}

TEST_F(Service98, ServiceRunsTheAgentWhichCannotLoadTheVxd)
{
    BoxAnswerer answerer;
    ProcessResult run = RunAndWait(Exe() + " -SERVICE");
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    std::vector<SeenBox> seen = answerer.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text.rfind("Cannot initialize protection driver: ", 0), 0u) << seen[0].text;
    EXPECT_EQ(seen[0].icon, "error");
    EXPECT_EQ(FindAgent(), nullptr);
}

}  // namespace
