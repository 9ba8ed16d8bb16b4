// What a process prepares at start: the command-line scan, registry values read and written, the shell folders,
// the system's error texts. What the switches' actions do is checked end to end (tests/e2e).
#include <gtest/gtest.h>
#include "CommandLine.h"
#include "Roles.h"
#include "RegValues.h"
#include "RuntimeEnv.h"
#include <climits>
#include <utility>
namespace {
std::vector<std::string> Recorded;  // "SWITCH=value" per action run
template <size_t Row>
int RecordRow(const std::string& value) {
    Recorded.push_back(SwitchTable()[Row].text + ("=" + value));
    return value == "fail" ? static_cast<int>(Row) + 1 : 0;
}
// The real table's rows, in its order, with actions that only record.
template <size_t... Rows>
std::vector<SwitchRow> RecordingTable(std::index_sequence<Rows...>) {
    const auto& t = SwitchTable();
    return {SwitchRow{t[Rows].text, t[Rows].kind, RecordRow<Rows>, t[Rows].setsHandled}...};
}
TEST(SwitchScan, RunsMatchingRowsInArgumentOrder) {
    ASSERT_EQ(12u, SwitchTable().size());
    const std::vector<SwitchRow> recording = RecordingTable(std::make_index_sequence<12>());
    const struct { std::vector<std::string> args, calls; bool handled; int exitCode = 0; } cases[] = {
        {{}, {}, false},
        {{"/install", "/UnInstall", "/stopagent", "/Agent", "-service", "/InstallService", "/uninstallservice", "/toggle"},
         {"/INSTALL=", "/UNINSTALL=", "/STOPAGENT=", "/AGENT=", "-SERVICE=", "/INSTALLSERVICE=", "/UNINSTALLSERVICE=",
          "/TOGGLE="}, true},
        {{"/e"}, {"/E="}, true},
        {{"/d:Secret Word", "/D:"}, {"/D:=Secret Word", "/D:="}, true},
        {{"/E", "/D:fail", "/LOAD:fail"}, {"/E=", "/D:=fail", "/LOAD:=fail"}, true, 11},  // the first failure's code
        {{"/load:c:\\Data\\Shop.vtp", "/NOTIFY:$1f", "/LOAD:"}, {"/LOAD:=c:\\Data\\Shop.vtp", "/NOTIFY:=$1f", "/LOAD:="},
         false},
        {{"/SERVICE", "/EX", "/AGENTS", "/E ", "/LOAD", "hello", "INSTALL"}, {}, false},
        {{"/E", "/NOTIFY:5", "x", "/TOGGLE", "/D:pw", "/TOGGLE"}, {"/E=", "/NOTIFY:=5", "/TOGGLE=", "/D:=pw", "/TOGGLE="},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "no arguments" : c.args[0]);
        Recorded.clear();
        const ScanResult scan = ScanArguments(c.args, recording);
        EXPECT_EQ(c.handled, scan.handled);
        EXPECT_EQ(c.exitCode, scan.exitCode);
        EXPECT_EQ(c.calls, Recorded);
    }
}
TEST(SwitchScan, NotifyNumber) {
    const std::pair<const char*, int> cases[] = {
        {"31", 31}, {"$1F", 31}, {"$1f", 31}, {"0x1f", 31}, {"0XaB", 171}, {"12abc", 12}, {"-5", -5}, {"+7", 7},
        {" \t 42", 42}, {"  -$10", -16}, {"-0x10", -16}, {"abc", 0}, {"", 0}, {"$", 0}, {"0x", 0}, {"$G", 0},
        {"- 5", 0}, {"12 34", 12}, {"09", 9}, {"2147483647", INT_MAX}, {"2147483648", INT_MIN}, {"4294967295", -1},
        {"4294967301", 5}, {"$100000001", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(c.second, ReadNotifyNumber(c.first)) << '"' << c.first << '"';
}
const std::string Key = "Software\\VtStartupTest";
TEST(RegValues, ReadsWhateverTheTypeAndWritesTextsWithTheirNull) {
    const std::string longest(1023, 'v'), tooLong(1024, 'v');
    const struct { DWORD type; std::string bytes; long long dword; const char* text; } cases[] = {  // -1, null: fails
        {REG_DWORD, std::string("AB\0\0", 4), 0x4241, "AB"},
        {REG_SZ, std::string("AB\0", 3), 0x4241, "AB"},  // shorter data fills the low bytes
        {REG_SZ, std::string("ABCDEFG\0", 8), -1, "ABCDEFG"},
        {REG_BINARY, "xyz", 0x7A7978, "xyz"},  // no 0 byte: the text ends with the data
        {REG_BINARY, std::string("ab\0cd", 5), -1, "ab"}, {REG_BINARY, "", 0, ""},
        {REG_EXPAND_SZ, std::string("%TEMP%\\x\0", 9), -1, "%TEMP%\\x"},
        {REG_MULTI_SZ, std::string("one\0two\0\0", 9), -1, "one"},
        {REG_SZ, longest + '\0', -1, longest.c_str()}, {REG_SZ, tooLong + '\0', -1, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 20));
        ASSERT_EQ(0, RegSetKeyValueA(HKEY_CURRENT_USER, Key.c_str(), "V", c.type, c.bytes.data(), DWORD(c.bytes.size())));
        DWORD number = 0x5A5A5A5A;
        EXPECT_EQ(c.dword >= 0, ReadRegDword(HKEY_CURRENT_USER, Key, "V", number));
        EXPECT_EQ(c.dword >= 0 ? DWORD(c.dword) : 0x5A5A5A5Au, number);
        // A long text read just before leaves its bytes where a read past the data's end would find them.
        std::string text(1000, 'q');
        ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, Key, "L", text) && ReadRegString(HKEY_CURRENT_USER, Key, "L", text));
        EXPECT_EQ(c.text != nullptr, ReadRegString(HKEY_CURRENT_USER, Key, "V", text));
        EXPECT_EQ(c.text ? c.text : std::string(1000, 'q'), text);
    }
    for (const std::string stored : {"", "abc"}) {  // other programs expect the terminating 0 byte
        ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, Key, "T", stored));
        char data[16];
        DWORD type = 0, size = sizeof data;
        EXPECT_EQ(0, RegGetValueA(HKEY_CURRENT_USER, Key.c_str(), "T", RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size));
        EXPECT_EQ(std::make_pair(DWORD(REG_SZ), stored + '\0'), std::make_pair(type, std::string(data, size)));
    }
}
// Only a to z are upper-cased, and a side without its folder takes the other side's.
TEST(RuntimeEnv, FoldersAndErrorTexts) {
    WriteRegString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", "d:\\pf \xE9t\xE9");
    WriteRegString(HKEY_CURRENT_USER, ShellFoldersKey, "AppData", "c:\\users\\jos\xE9\\appdata");
    const char* const names[] = {"Common Desktop", "Desktop", "Common Programs", "Programs"};  // all users': HKLM
    const std::vector<const char*> cases[][2] = {  // the values (null: missing), the folders
        {{"c:\\all\\Desk-\xE0\xC9", "c:\\me\\desk", "c:\\all\\progs", "c:\\me\\progz 1_2"},
         {"C:\\ALL\\DESK-\xE0\xC9", "C:\\ME\\DESK", "C:\\ALL\\PROGS", "C:\\ME\\PROGZ 1_2"}},
        {{nullptr, "c:\\d", "c:\\cp", nullptr}, {"C:\\D", "C:\\D", "C:\\CP", "C:\\CP"}},
        {{"c:\\cd", "", "", "c:\\p"}, {"C:\\CD", "C:\\CD", "C:\\P", "C:\\P"}},
        {{nullptr, nullptr, nullptr, nullptr}, {"", "", "", ""}},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 4; ++i) {
            HKEY root = i % 2 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
            if (c[0][i]) WriteRegString(root, ShellFoldersKey, names[i], c[0][i]);
            else DeleteRegValue(root, ShellFoldersKey, names[i]);
        }
        InitRuntimeEnvironment();
        const std::vector<std::string> want(c[1].begin(), c[1].end());
        EXPECT_EQ(want, (std::vector<std::string>{CommonDesktopDir, DesktopDir, CommonProgramsDir, ProgramsDir}));
    }
    EXPECT_EQ("D:\\PF \xE9T\xE9", ProgramFilesDir);
    EXPECT_EQ("C:\\USERS\\JOS\xE9\\APPDATA\\MICROSOFT\\INTERNET EXPLORER\\QUICK LAUNCH", QuickLaunchDir);
    // Wine's texts, without the full stop and line end.
    EXPECT_EQ("File not found|Access denied|", SystemErrorText(ERROR_FILE_NOT_FOUND) + "|" +
                                                  SystemErrorText(ERROR_ACCESS_DENIED) + "|" + SystemErrorText(0x2FFFFFF1));
}
}  // namespace
