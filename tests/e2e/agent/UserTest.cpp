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

const char* const PoliciesKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const std::string Hive = "S-1-5-21-77-88-99-4242";

bool SendCopyData(WPARAM code, const std::string& text)
{
    COPYDATASTRUCT data = {0, DWORD(text.size() + 1), const_cast<char*>(text.c_str())};
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(FindAgent(), WM_COPYDATA, code, LPARAM(&data), SMTO_NORMAL, 10000, &result) != 0;
}

// The "no registry editor" restriction in a hive; -1 when unset.
long long RegistryTools(HKEY root, const std::string& prefix = "")
{
    DWORD value = 0, size = sizeof value;
    return RegGetValueA(root, (prefix + PoliciesKey).c_str(), "DisableRegistryTools", RRF_RT_REG_DWORD, nullptr,
                        &value, &size) == ERROR_SUCCESS ? (long long)value : -1;
}

// The size of the image the agent sends when it applies the profile again.
unsigned int AppliedImageBytes()
{
    unsigned int loads = QueryDriverState().LoadRequests;
    Broadcast("Vantrel.Start");
    VTLOCK_STATE state = {};
    EXPECT_TRUE(WaitFor([&] { return (state = QueryDriverState()).LoadRequests > loads; }));
    EXPECT_EQ(state.LoadRefused, 0u);
    return state.ImageBytes;
}

TEST(AgentUser, TemporaryFolderAndHiveFromCopyData)
{
    AgentBed bed;
    SetSettings(false, false, false);
    ProfileText profile = RulesProfile(1);
    profile.policies = {"0=1"};
    bed.WriteProfile("default.vtp", profile);
    HKEY hive;
    ASSERT_EQ(RegCreateKeyExA(HKEY_USERS, Hive.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hive, nullptr), 0);
    RegCloseKey(hive);
    RegDeleteKeyValueA(HKEY_USERS, (Hive + "\\" + PoliciesKey).c_str(), "DisableRegistryTools");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, PoliciesKey, "DisableRegistryTools");
    bed.StartAgent();

    // The folder is a built-in exception of the image: ten more characters in it, ten more bytes each time.
    ASSERT_TRUE(SendCopyData(CopyDataUserTemp, "C:\\VTNOWHERE\\TEMPA\\"));
    unsigned int shortBytes = AppliedImageBytes();
    ASSERT_TRUE(SendCopyData(CopyDataUserTemp, "C:\\VTNOWHERE\\TEMPA0123456789\\"));
    unsigned int longBytes = AppliedImageBytes();
    EXPECT_GT(longBytes, shortBytes);
    EXPECT_EQ((longBytes - shortBytes) % 10, 0u);
    for (WPARAM code : {0, 23913, 23915, 23916, 23918}) {
        SCOPED_TRACE(code);
        unsigned int loads = QueryDriverState().LoadRequests;
        ASSERT_TRUE(SendCopyData(code, "C:\\VTNOWHERE\\"));
        EXPECT_EQ(QueryDriverState().LoadRequests, loads) << "other codes do nothing";
        EXPECT_EQ(AppliedImageBytes(), longBytes);
    }

    // A hive that is not loaded is not taken, but the profile is applied all the same.
    unsigned int loads = QueryDriverState().LoadRequests;
    ASSERT_TRUE(SendCopyData(CopyDataUserSid, "21-77-88-99-9999"));
    EXPECT_EQ(QueryDriverState().LoadRequests, loads + 1);
    EXPECT_EQ(RegistryTools(HKEY_CURRENT_USER), 1);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, PoliciesKey, "DisableRegistryTools");
    ASSERT_TRUE(SendCopyData(CopyDataUserSid, Hive.substr(6)));
    EXPECT_EQ(QueryDriverState().LoadRequests, loads + 2);
    EXPECT_EQ(QueryDriverState().Started, 1u);
    EXPECT_EQ(RegistryTools(HKEY_USERS, Hive + "\\"), 1);
    EXPECT_EQ(RegistryTools(HKEY_CURRENT_USER), -1);
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
    EXPECT_TRUE(Ended(vtscc, 15000));
    EXPECT_EQ(ExitCodeOf(vtscc), 0u);
    VTLOCK_STATE after = QueryDriverState();
    EXPECT_EQ(after.LoadRequests, before.LoadRequests + 1) << "the user's hive was reported once";
    EXPECT_EQ(RunAndWait(QuoteArgument(bed.Dir() + "vtscc.exe")).exitCode, 0u);
    EXPECT_EQ(QueryDriverState().LoadRequests, after.LoadRequests) << "without /NTUSER it reports nothing";
}

std::string SeenUser;

// Each tick is "name:profiles applied so far".
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
    const struct {
        const char* name;
        const char* ticks;
    } cases[] = {
        {"same user", "alice:0 alice:0 alice:0"},
        {"one tick only", "bob:0 alice:0 bob:0 alice:0"},
        {"case counts", "Alice:0 Alice:1"},
        {"new user applied once and kept", "bob:0 bob:1 bob:1 bob:1"},
        {"back to the first user", "bob:0 bob:1 alice:1 alice:2 alice:2"},
        {"two different new names count as a change", "bob:0 carol:1 carol:1 bob:1 bob:2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StartupUserName = "alice";
        UserChangePending = false;
        unsigned int loads = QueryDriverState().LoadRequests;
        std::istringstream ticks(c.ticks);
        for (std::string tick; ticks >> tick;) {
            SCOPED_TRACE(tick);
            SeenUser = tick.substr(0, tick.find(':'));
            UserWatchTimerProc(nullptr, WM_TIMER, 0, 0);
            EXPECT_EQ(QueryDriverState().LoadRequests - loads, std::stoul(tick.substr(tick.find(':') + 1)));
        }
    }

    // An acting tick disables protection, then applies the profile for the new user.
    VTLOCK_STATE before = QueryDriverState();
    SeenUser = "dave";
    UserWatchTimerProc(nullptr, WM_TIMER, 0, 0);
    UserWatchTimerProc(nullptr, WM_TIMER, 0, 0);
    VTLOCK_STATE after = QueryDriverState();
    EXPECT_EQ(after.StopRequests, before.StopRequests + 2) << "disabled, then stopped before the new image";
    EXPECT_EQ(after.StartRequests, before.StartRequests + 1);
    EXPECT_EQ(StartupUserName, "dave");
    DisableProtection();
    CloseHandle(DriverHandle);
    DriverHandle = 0;
}

TEST(CopyDataText, ReadsOnlyWithinTheBlock)
{
    const std::string big(CopyDataMaxBytes + 1, 'x');
    const struct {
        const char* bytes;
        DWORD size;
        bool accepted;
        std::string text;
    } cases[] = {
        {"AB\0CD", 6, true, "AB"},
        {"ABCD", 3, true, "ABC"},
        {"", 1, true, ""},
        {"ABC", 0, false, "unchanged"},
        {nullptr, 10, false, "unchanged"},
        {big.c_str(), CopyDataMaxBytes, true, big.substr(1)},
        {big.c_str(), CopyDataMaxBytes + 1, false, "unchanged"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        COPYDATASTRUCT data = {0, c.size, const_cast<char*>(c.bytes)};
        std::string text = "unchanged";
        EXPECT_EQ(CopyDataText(&data, text), c.accepted);
        EXPECT_EQ(text, c.text);
    }
    std::string text;
    EXPECT_FALSE(CopyDataText(nullptr, text));
}

}  // namespace
