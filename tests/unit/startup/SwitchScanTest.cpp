// The command-line scan: which rows each argument runs, in which order, with
// which value, and what the real value switches leave for the manager.
#include <gtest/gtest.h>
#include "CommandLine.h"
#include "RuntimeEnv.h"
#include "VtTest.h"
#include <climits>
#include <utility>

namespace {

using Args = std::vector<std::string>;
using Calls = std::vector<std::string>;  // "SWITCH=value" per action run

Calls Recorded;

template <size_t Row>
void RecordRow(const std::string& value)
{
    Recorded.push_back(std::string(SwitchTable()[Row].text) + "=" + value);
}

template <size_t... Rows>
std::vector<SwitchRow> RecordingTable(std::index_sequence<Rows...>)
{
    return {SwitchRow{SwitchTable()[Rows].text, SwitchTable()[Rows].kind, RecordRow<Rows>,
                      SwitchTable()[Rows].setsHandled}...};
}

// The real table's switches, in its order, with actions that only record.
const std::vector<SwitchRow>& Recording()
{
    static const std::vector<SwitchRow> table = RecordingTable(std::make_index_sequence<12>());
    return table;
}

struct ScanCase {
    const char* name;
    Args args;
    Calls calls;
    bool handled;
};

TEST(SwitchScan, RunsMatchingRowsInArgumentOrder)
{
    ASSERT_EQ(12u, SwitchTable().size());
    const ScanCase cases[] = {
        {"no arguments", {}, {}, false},
        {"install", {"/INSTALL"}, {"/INSTALL="}, true},
        {"lower case whole switch", {"/toggle"}, {"/TOGGLE="}, true},
        {"mixed case", {"/UnInstallService"}, {"/UNINSTALLSERVICE="}, true},
        {"service takes a hyphen", {"-service"}, {"-SERVICE="}, true},
        {"service with a slash is unknown", {"/SERVICE"}, {}, false},
        {"/EX is no switch", {"/EX"}, {}, false},
        {"/AGENTS is no switch", {"/AGENTS"}, {}, false},
        {"whole switch with trailing blank", {"/E "}, {}, false},
        {"unknown words", {"hello", "/X", "INSTALL"}, {}, false},
        {"accented letters are not upper-cased", {"/\xE9"}, {}, false},
        {"enable", {"/e"}, {"/E="}, true},
        {"stop agent", {"/stopagent"}, {"/STOPAGENT="}, true},
        {"load keeps the path's case", {"/LOAD:c:\\Data\\Shop.vtp"}, {"/LOAD:=c:\\Data\\Shop.vtp"}, false},
        {"lower-case load", {"/load:x.vtp"}, {"/LOAD:=x.vtp"}, false},
        {"empty load", {"/LOAD:"}, {"/LOAD:="}, false},
        {"load without colon is unknown", {"/LOAD"}, {}, false},
        {"two loads", {"/LOAD:a.vtp", "/load:B.vtp"}, {"/LOAD:=a.vtp", "/LOAD:=B.vtp"}, false},
        {"load then install", {"/LOAD:x.vtp", "/INSTALL"}, {"/LOAD:=x.vtp", "/INSTALL="}, true},
        {"notify value kept as given", {"/notify:$1f"}, {"/NOTIFY:=$1f"}, false},
        {"disable password keeps its case", {"/d:Secret Word"}, {"/D:=Secret Word"}, true},
        {"disable with empty password", {"/D:"}, {"/D:="}, true},
        {"install then install service",
         {"/INSTALL", "/INSTALLSERVICE"},
         {"/INSTALL=", "/INSTALLSERVICE="},
         true},
        {"order kept across kinds",
         {"/E", "/NOTIFY:5", "/TOGGLE", "/D:pw", "/STOPAGENT"},
         {"/E=", "/NOTIFY:=5", "/TOGGLE=", "/D:=pw", "/STOPAGENT="},
         true},
        {"unknown arguments between switches", {"x", "/AGENT", "y"}, {"/AGENT="}, true},
        {"repeated switch runs twice", {"/TOGGLE", "/TOGGLE"}, {"/TOGGLE=", "/TOGGLE="}, true},
    };
    for (const ScanCase& c : cases) {
        SCOPED_TRACE(c.name);
        Recorded.clear();
        EXPECT_EQ(c.handled, ScanArguments(c.args, Recording()));
        EXPECT_EQ(c.calls, Recorded);
    }
}

struct NotifyCase {
    const char* text;
    int value;
};

TEST(SwitchScan, NotifyNumber)
{
    const NotifyCase cases[] = {
        {"31", 31},         {"$1F", 31},           {"$1f", 31},          {"0x1f", 31},
        {"0X1F", 31},       {"12abc", 12},         {"-5", -5},           {"+7", 7},
        {"   42", 42},      {"  -$10", -16},       {"-0x10", -16},       {"abc", 0},
        {"", 0},            {"   ", 0},            {"$", 0},             {"0x", 0},
        {"0xg1", 0},        {"$G", 0},             {"- 5", 0},           {"12 34", 12},
        {"1e3", 1},         {"007", 7},            {"2147483647", INT_MAX}, {"2147483648", INT_MIN},
        {"4294967295", -1}, {"4294967296", 0},     {"4294967301", 5},    {"0xFFFFFFFF", -1},
        {"$100000001", 1},  {"-2147483648", INT_MIN},
    };
    for (const NotifyCase& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        EXPECT_EQ(c.value, ReadNotifyNumber(c.text));
    }
}

struct ValueCase {
    const char* name;
    Args args;
    std::string path;
    int notify;
};

TEST(SwitchScan, ValueSwitchesOfTheRealTable)
{
    const ValueCase cases[] = {
        {"path case kept", {"/LOAD:c:\\Data\\Shop.vtp"}, "c:\\Data\\Shop.vtp", 0},
        {"last load wins", {"/load:first.vtp", "/LOAD:second.vtp"}, "second.vtp", 0},
        {"empty load", {"/LOAD:"}, "", 0},
        {"notify hex", {"/NOTIFY:$1F"}, "", 31},
        {"notify C hex", {"/notify:0x1f"}, "", 31},
        {"notify digits then letters", {"/NOTIFY:12abc"}, "", 12},
        {"notify negative", {"/NOTIFY:-5"}, "", -5},
        {"notify letters", {"/NOTIFY:abc"}, "", 0},
        {"notify empty", {"/NOTIFY:"}, "", 0},
        {"last notify wins", {"/NOTIFY:3", "/NOTIFY:4"}, "", 4},
        {"both", {"/NOTIFY:9", "unknown", "/LOAD:p.vtp"}, "p.vtp", 9},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.name);
        StartupProfilePath.clear();
        SaveNotifyValue = 0;
        EXPECT_FALSE(ScanArguments(c.args, SwitchTable()));
        EXPECT_EQ(c.path, StartupProfilePath);
        EXPECT_EQ(c.notify, SaveNotifyValue);
    }
}

TEST(SwitchScan, RealTablePostsRequestsToAllWindows)
{
    InitRuntimeEnvironment();
    MessageListener listener;
    EXPECT_TRUE(ScanArguments({"/toggle", "/e", "/StopAgent"}, SwitchTable()));
    std::vector<HeardMessage> heard = listener.WaitHeard(3);
    ASSERT_EQ(3u, heard.size());
    const char* const names[] = {"Vantrel.Ask", "Vantrel.Enable", "Vantrel.StopAgent"};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(names[i], heard[i].name);
        EXPECT_EQ(0u, heard[i].wParam);
        EXPECT_EQ(0, heard[i].lParam);
    }
}

}  // namespace
