// The user watch, run in this process with a replaceable user name and
// ticks called directly, against the real driver; and the copy-data reader.
#include "../agent_shared/AgentTest.h"
#include "Agent.h"
#include "Channel.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"

using namespace agenttest;

namespace {

std::string SeenUserName;
std::string FakeUserName() { return SeenUserName; }

class UserWatch : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        AgentBed bed;  // installs the driver's service
        SetSettings(false, false, false);
        InitRuntimeEnvironment();
        LoadSettings();
        ProfilesDir = NewTempDir("profiles");
        CreateProfileLists();
        WriteWholeFile(ProfilesDir + "default.vtp", PlainProfile(RulesProfile(2)));
        ASSERT_TRUE(OpenProtectionDriver());
        AgentUserNameSource = FakeUserName;
    }
};

struct Tick {
    const char* user;
    unsigned int applied;  // profiles sent so far
};

struct WatchCase {
    const char* name;
    std::vector<Tick> ticks;
};

TEST_F(UserWatch, ANewNameMustBeSeenOnTwoTicksInARow)
{
    const WatchCase cases[] = {
        {"same user", {{"alice", 0}, {"alice", 0}, {"alice", 0}}},
        {"one tick only", {{"bob", 0}, {"alice", 0}, {"bob", 0}, {"alice", 0}}},
        {"case counts", {{"Alice", 0}, {"Alice", 1}}},
        {"new user applied once and kept", {{"bob", 0}, {"bob", 1}, {"bob", 1}, {"bob", 1}, {"bob", 1}}},
        {"back to the first user", {{"bob", 0}, {"bob", 1}, {"alice", 1}, {"alice", 2}, {"alice", 2}}},
        {"two different new names count as a change", {{"bob", 0}, {"carol", 1}, {"carol", 1}, {"bob", 1}, {"bob", 2}}},
    };
    for (const WatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        StartupUserName = "alice";
        UserChangePending = false;
        unsigned int loads = QueryDriverState().LoadRequests;
        for (size_t i = 0; i < c.ticks.size(); ++i) {
            SCOPED_TRACE("tick " + std::to_string(i + 1) + " sees " + c.ticks[i].user);
            SeenUserName = c.ticks[i].user;
            UserWatchTimerProc(nullptr, WM_TIMER, 0, 0);
            EXPECT_EQ(QueryDriverState().LoadRequests - loads, c.ticks[i].applied);
        }
    }
}

TEST_F(UserWatch, AnActingTickDisablesThenAppliesAgain)
{
    StartupUserName = "alice";
    UserChangePending = false;
    ApplyStartupProfile();
    ASSERT_TRUE(ProtectionEnabled);
    VTLOCK_STATE before = QueryDriverState();
    SeenUserName = "dave";
    UserWatchTimerProc(nullptr, WM_TIMER, 0, 0);
    UserWatchTimerProc(nullptr, WM_TIMER, 0, 0);
    VTLOCK_STATE after = QueryDriverState();
    EXPECT_EQ(after.StopRequests, before.StopRequests + 2) << "disable, then the stop before the new image";
    EXPECT_EQ(after.LoadRequests, before.LoadRequests + 1);
    EXPECT_EQ(after.StartRequests, before.StartRequests + 1);
    EXPECT_EQ(after.Started, 1u);
    EXPECT_EQ(StartupUserName, "dave");
}

struct TextCase {
    const char* name;
    const char* bytes;
    DWORD size;
    bool accepted;
    std::string text;
};

TEST(CopyDataText, ReadsOnlyWithinTheBlock)
{
    char noZero[4] = {'A', 'B', 'C', 'D'};
    std::string big(CopyDataMaxBytes + 1, 'x');
    const TextCase cases[] = {
        {"text with its 0", "C:\\T\\", 6, true, "C:\\T\\"},
        {"stops at the first 0", "AB\0CD", 6, true, "AB"},
        {"no 0 within the size", noZero, 4, true, "ABCD"},
        {"size shorter than the text", "ABCDEF", 3, true, "ABC"},
        {"empty text", "", 1, true, ""},
        {"size 0", "ABC", 0, false, ""},
        {"null pointer", nullptr, 10, false, ""},
        {"oversized", big.c_str(), CopyDataMaxBytes + 1, false, ""},
        {"largest accepted", big.c_str(), CopyDataMaxBytes, true, std::string(CopyDataMaxBytes, 'x')},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        COPYDATASTRUCT data = {};
        data.cbData = c.size;
        data.lpData = const_cast<char*>(c.bytes);
        std::string text = "unchanged";
        EXPECT_EQ(CopyDataText(&data, text), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(text, c.text);
        }
    }
    std::string text;
    EXPECT_FALSE(CopyDataText(nullptr, text));
}

}  // namespace
