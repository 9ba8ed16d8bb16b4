// The command-line scan: which rows each argument runs, in which order and
// with which value, and the "/NOTIFY:" number. What the actions do, and that
// each action switch alone keeps the manager closed, is checked end to end
// (tests/e2e/protection, service and manager).
#include <gtest/gtest.h>
#include "CommandLine.h"
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

// The real table's rows, in its order, with actions that only record.
template <size_t... Rows>
std::vector<SwitchRow> RecordingTable(std::index_sequence<Rows...>)
{
    return {SwitchRow{SwitchTable()[Rows].text, SwitchTable()[Rows].kind, RecordRow<Rows>,
                      SwitchTable()[Rows].setsHandled}...};
}

TEST(SwitchScan, RunsMatchingRowsInArgumentOrder)
{
    ASSERT_EQ(12u, SwitchTable().size());
    const std::vector<SwitchRow> recording = RecordingTable(std::make_index_sequence<12>());
    const struct {
        Args args;
        Calls calls;
        bool handled;
    } cases[] = {
        {{}, {}, false},
        {{"/install", "/UnInstall", "/stopagent", "/Agent", "-service", "/InstallService", "/uninstallservice", "/toggle"},
         {"/INSTALL=", "/UNINSTALL=", "/STOPAGENT=", "/AGENT=", "-SERVICE=", "/INSTALLSERVICE=", "/UNINSTALLSERVICE=",
          "/TOGGLE="},
         true},
        {{"/e"}, {"/E="}, true},
        {{"/d:Secret Word", "/D:"}, {"/D:=Secret Word", "/D:="}, true},
        {{"/load:c:\\Data\\Shop.vtp", "/NOTIFY:$1f", "/LOAD:"}, {"/LOAD:=c:\\Data\\Shop.vtp", "/NOTIFY:=$1f", "/LOAD:="}, false},
        {{"/SERVICE", "/EX", "/AGENTS", "/E ", "/LOAD", "hello", "INSTALL"}, {}, false},
        {{"/E", "/NOTIFY:5", "x", "/TOGGLE", "/D:pw", "/TOGGLE"}, {"/E=", "/NOTIFY:=5", "/TOGGLE=", "/D:=pw", "/TOGGLE="},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "no arguments" : c.args[0]);
        Recorded.clear();
        EXPECT_EQ(c.handled, ScanArguments(c.args, recording));
        EXPECT_EQ(c.calls, Recorded);
    }
}

TEST(SwitchScan, NotifyNumber)
{
    const std::pair<const char*, int> cases[] = {
        {"31", 31},       {"$1F", 31},        {"$1f", 31},          {"0x1f", 31},         {"0XaB", 171},
        {"12abc", 12},    {"-5", -5},         {"+7", 7},            {" \t 42", 42},       {"  -$10", -16},
        {"-0x10", -16},   {"abc", 0},         {"", 0},              {"$", 0},             {"0x", 0},
        {"$G", 0},        {"- 5", 0},         {"12 34", 12},        {"09", 9},            {"2147483647", INT_MAX},
        {"2147483648", INT_MIN}, {"4294967295", -1}, {"4294967301", 5}, {"$100000001", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(c.second, ReadNotifyNumber(c.first)) << '"' << c.first << '"';
}

}  // namespace
