// The control commands of vtlock.exe as another program sees them: each
// posts its registered message to every top-level window in argument order,
// "/D:" with the digest of the password as typed, and the process ends with 0.
#include <gtest/gtest.h>
#include "ManagerSupport.h"
#include "RuntimeEnv.h"
#include "vrcmd.h"

TEST(Commands, PostTheirMessagesInArgumentOrder)
{
    InitRuntimeEnvironment();
    MessageListener listener;
    ProcessResult run = RunAndWait(QuoteArgument(InstallCopy() + "vtlock.exe") +
                                   " /E /toggle \"/d:Two Words\" unknown /EX /STOPAGENT /LOAD:x.vtp /NOTIFY:5 /D:");
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    const std::pair<std::string, DWORD> expected[] = {{"Vantrel.Enable", 0},
                                                      {"Vantrel.Ask", 0},
                                                      {"Vantrel.Disable", Command18("Two Words")},
                                                      {"Vantrel.StopAgent", 0},
                                                      {"Vantrel.Disable", Command18("")}};
    std::vector<HeardMessage> heard = HeardUpToMarker(listener);
    ASSERT_EQ(heard.size(), 5u);
    for (size_t i = 0; i < heard.size(); ++i) {
        EXPECT_EQ(heard[i].name, expected[i].first);
        EXPECT_EQ(heard[i].wParam, 0u);
        EXPECT_EQ(DWORD(heard[i].lParam), expected[i].second) << "only the low 32 bits carry the digest";
    }
}
