// Who is logged on, as the agent learns it: the user's temporary folder and
// hive sent with WM_COPYDATA, by hand and by vtscc.exe; and the user watch,
// run in this process with a stand-in user name.
#include "../agent_shared/AgentTest.h"
#include "Agent.h"
#include "Channel.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include <sstream>

using namespace agenttest;

namespace {

const std::string Hive = "S-1-5-21-77-88-99-4242";

bool SendCopyData(WPARAM code, const std::string& text)
{
    COPYDATASTRUCT data = {0, DWORD(text.size() + 1), const_cast<char*>(text.c_str())};
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(FindAgent(), WM_COPYDATA, code, LPARAM(&data), SMTO_NORMAL, 10000, &result) != 0;
}

TEST(AgentUser, TemporaryFolderAndHiveFromCopyData)
{
    AgentBed bed;
    SetSettings(false, false, false);
    ProfileText profile = RulesProfile(1);
    profile.policies = {"0=1"};
    bed.WriteProfile("default.vtp", profile);
    ASSERT_EQ(RegSetKeyValueA(HKEY_USERS, Hive.c_str(), nullptr, REG_SZ, "", 1), 0);
    RegDeleteKeyValueA(HKEY_USERS, (Hive + "\\" + PoliciesKey).c_str(), "DisableRegistryTools");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, PoliciesKey, "DisableRegistryTools");
    bed.StartAgent();

    // The folder is a built-in exception of the image: ten more characters in it, ten more bytes each time.
    ASSERT_TRUE(SendCopyData(CopyDataUserTemp, "C:\\VTNOWHERE\\TEMPA\\"));
    const unsigned int shortBytes = FenceAgent().ImageBytes;
    ASSERT_TRUE(SendCopyData(CopyDataUserTemp, "C:\\VTNOWHERE\\TEMPA0123456789\\"));
    const unsigned int longBytes = FenceAgent().ImageBytes;
    EXPECT_GT(longBytes, shortBytes);
    EXPECT_EQ((longBytes - shortBytes) % 10, 0u);
    for (WPARAM code : {0, 23913, 23915, 23916, 23918}) {
        SCOPED_TRACE(code);
        unsigned int loads = QueryDriverState().LoadRequests;
        ASSERT_TRUE(SendCopyData(code, "C:\\VTNOWHERE\\"));
        EXPECT_EQ(QueryDriverState().LoadRequests, loads) << "other codes do nothing";
        EXPECT_EQ(FenceAgent().ImageBytes, longBytes);
    }

    // A hive that is not loaded is not taken, but the profile is applied all the same.
    unsigned int loads = QueryDriverState().LoadRequests;
    ASSERT_TRUE(SendCopyData(CopyDataUserSid, "21-77-88-99-9999"));
    EXPECT_EQ(QueryDriverState().LoadRequests, loads + 1);
    EXPECT_EQ(RegistryTools(), 1);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, PoliciesKey, "DisableRegistryTools");
    ASSERT_TRUE(SendCopyData(CopyDataUserSid, Hive.substr(6)));
    EXPECT_EQ(QueryDriverState().LoadRequests, loads + 2);
    EXPECT_EQ(QueryDriverState().Started, 1u);
    EXPECT_EQ(RegistryTools(HKEY_USERS, Hive + "\\"), 1);
    EXPECT_EQ(RegistryTools(), -1) << "not in this user's hive";
    bed.CloseAgent();
    EXPECT_EQ(RegistryTools(HKEY_USERS, Hive + "\\"), 0) << "closing switches the restrictions off in that hive";
}

TEST(AgentUser, VtsccReportsTheUserToALateAgent)
{
    AgentBed bed;
    SetSettings(false, false, false);
    bed.WriteProfile("default.vtp", RulesProfile(1));
    ChildProcess vtscc(StartProcess(QuoteArgument(bed.Dir() + "vtscc.exe") + " /NTUSER"));
    EXPECT_EQ(WaitForSingleObject(vtscc, 1000), DWORD(WAIT_TIMEOUT)) << "it waits while there is no agent";
    VTLOCK_STATE before = QueryDriverState();
    bed.StartAgent();
    EXPECT_TRUE(Ended(vtscc, 0, 15000));
    VTLOCK_STATE after = QueryDriverState();
    EXPECT_EQ(after.LoadRequests, before.LoadRequests + 1) << "the user's hive was reported once";
    EXPECT_EQ(RunAndWait(QuoteArgument(bed.Dir() + "vtscc.exe")).exitCode, 0u);
    EXPECT_EQ(QueryDriverState().LoadRequests, after.LoadRequests) << "without /NTUSER it reports nothing";
}

std::string SeenUser;

// Each tick is "name:profiles applied so far"; each one applied was disabled first.
TEST(UserWatch, ANewNameMustBeSeenOnTwoTicksInARow)
{
    AgentBed installed;
    SetSettings(false, false, false);
    InitRuntimeEnvironment();
    LoadSettings();
    ProfilesDir = NewTempDir("profiles");
    CreateProfileLists();
    WriteWholeFile(ProfilesDir + "default.vtp", PlainProfile(RulesProfile(2)));
    StartNamedService("VTLOCK");
    ASSERT_TRUE(OpenProtectionDriver());
    AgentUserNameSource = [] { return SeenUser; };
    const char* const cases[] = {
        "alice:0 alice:0 alice:0",         "bob:0 alice:0 bob:0 alice:0",       "Alice:0 Alice:1",
        "bob:0 bob:1 bob:1 bob:1",         "bob:0 bob:1 alice:1 alice:2 alice:2", "bob:0 carol:1 carol:1 bob:1 bob:2",
    };
    for (const char* ticks : cases) {
        SCOPED_TRACE(ticks);
        StartupUserName = "alice";
        UserChangePending = false;
        VTLOCK_STATE before = QueryDriverState();
        std::istringstream words(ticks);
        for (std::string tick; words >> tick;) {
            SeenUser = tick.substr(0, tick.find(':'));
            UserWatchTimerProc(nullptr, WM_TIMER, 0, 0);
            VTLOCK_STATE now = QueryDriverState();
            EXPECT_EQ(now.LoadRequests - before.LoadRequests, std::stoul(tick.substr(tick.find(':') + 1))) << tick;
            EXPECT_EQ(now.StopRequests - before.StopRequests, 2 * (now.LoadRequests - before.LoadRequests)) << tick;
        }
    }
    DisableProtection();
    CloseHandle(DriverHandle);
    DriverHandle = 0;
}

TEST(CopyDataText, ReadsOnlyWithinTheBlock)
{
    const std::string big(CopyDataMaxBytes + 1, 'x');
    const struct { const char* bytes; DWORD size; std::string text; } cases[] = {  // "unchanged": refused
        {"AB\0CD", 6, "AB"}, {"ABCD", 3, "ABC"}, {"", 1, ""}, {"ABC", 0, "unchanged"}, {nullptr, 10, "unchanged"},
        {big.c_str(), CopyDataMaxBytes, big.substr(1)}, {big.c_str(), CopyDataMaxBytes + 1, "unchanged"}};
    for (const auto& c : cases) {
        COPYDATASTRUCT data = {0, c.size, const_cast<char*>(c.bytes)};
        std::string text = "unchanged";
        EXPECT_EQ(CopyDataText(&data, text), c.text != "unchanged") << c.size;
        EXPECT_EQ(text, c.text) << c.size;
    }
    std::string text;
    EXPECT_FALSE(CopyDataText(nullptr, text));
}

}  // namespace
