// The runtime environment as a process prepares it: registry values read, system
// and shell folders, the system's error texts. Elsewhere: a DWORD as written
// and the folders a fresh process starts with (tests/unit/profile_settings);
// deleting values, the family and the registered messages end to end
// (tests/e2e/service, protection and agent).
#include <gtest/gtest.h>
#include "RegValues.h"
#include "RuntimeEnv.h"
#include <cstring>

namespace {

const std::string Key = "Software\\VtStartupTest";

TEST(RegValues, ReadsWhateverTheType)
{
    const std::string longest(1023, 'v'), tooLong(1024, 'v');
    const struct {
        DWORD type;
        std::string bytes;
        long long dword;   // -1: the number read fails
        const char* text;  // null: the text read fails
    } cases[] = {
        {REG_DWORD, std::string("AB\0\0", 4), 0x4241, "AB"},
        {REG_SZ, std::string("AB\0", 3), 0x4241, "AB"},  // shorter data fills the low bytes
        {REG_SZ, std::string("ABCDEFG\0", 8), -1, "ABCDEFG"},
        {REG_BINARY, "xyz", 0x7A7978, "xyz"},  // no 0 byte: the text ends with the data
        {REG_BINARY, std::string("ab\0cd", 5), -1, "ab"},
        {REG_BINARY, "", 0, ""},
        {REG_EXPAND_SZ, std::string("%TEMP%\\x\0", 9), -1, "%TEMP%\\x"},
        {REG_MULTI_SZ, std::string("one\0two\0\0", 9), -1, "one"},
        {REG_SZ, longest + '\0', -1, longest.c_str()},
        {REG_SZ, tooLong + '\0', -1, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 20));
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_CURRENT_USER, Key.c_str(), "V", c.type, c.bytes.data(),
                                                 DWORD(c.bytes.size())));
        DWORD number = 0x5A5A5A5A;
        EXPECT_EQ(c.dword >= 0, ReadRegDword(HKEY_CURRENT_USER, Key, "V", number));
        EXPECT_EQ(c.dword >= 0 ? DWORD(c.dword) : 0x5A5A5A5Au, number);
        // A long text read just before leaves its bytes where a read past the
        // data's end would find them.
        std::string text(1000, 'q');
        ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, Key, "Long", text));
        ASSERT_TRUE(ReadRegString(HKEY_CURRENT_USER, Key, "Long", text));
        EXPECT_EQ(c.text != nullptr, ReadRegString(HKEY_CURRENT_USER, Key, "V", text));
        EXPECT_EQ(c.text ? c.text : std::string(1000, 'q'), text);
    }
    // A text is stored with its terminating 0 byte, as other programs expect it.
    for (const std::string stored : {"", "abc"}) {
        ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, Key, "T", stored));
        char data[16];
        DWORD type = 0, size = sizeof data;
        EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, Key.c_str(), "T", RRF_RT_ANY | RRF_NOEXPAND, &type,
                                              data, &size));
        EXPECT_EQ(std::make_pair(DWORD(REG_SZ), stored + '\0'), std::make_pair(type, std::string(data, size)));
    }
}

const char* const CurrentVersionKey = "Software\\Microsoft\\Windows\\CurrentVersion";

// Writes the value, or deletes it when text is null.
void Put(HKEY root, const char* subkey, const char* name, const char* text)
{
    if (!text) RegDeleteKeyValueA(root, subkey, name);
    else RegSetKeyValueA(root, subkey, name, REG_SZ, text, DWORD(strlen(text) + 1));
}

// Only the letters a to z are upper-cased, and a side without its folder
// takes the other side's; the system's folders are taken upper-cased.
TEST(RuntimeEnv, FoldersAndTheGapRule)
{
    Put(HKEY_LOCAL_MACHINE, CurrentVersionKey, "ProgramFilesDir", "d:\\programme \xE9t\xE9");
    Put(HKEY_CURRENT_USER, ShellFoldersKey, "AppData", "c:\\users\\jos\xE9\\appdata");
    const struct {
        const char *commonDesktop, *desktop, *commonPrograms, *programs;  // null: value missing
        std::vector<std::string> want;  // the four folders in the same order
    } cases[] = {
        {"c:\\all\\Desk-\xE0\xC9", "c:\\me\\desk", "c:\\all\\progs", "c:\\me\\progz 1_2",
         {"C:\\ALL\\DESK-\xE0\xC9", "C:\\ME\\DESK", "C:\\ALL\\PROGS", "C:\\ME\\PROGZ 1_2"}},
        {nullptr, "c:\\d", nullptr, "c:\\p", {"C:\\D", "C:\\D", "C:\\P", "C:\\P"}},
        {"c:\\cd", nullptr, "c:\\cp", nullptr, {"C:\\CD", "C:\\CD", "C:\\CP", "C:\\CP"}},
        {"", "c:\\d", "c:\\cp", "", {"C:\\D", "C:\\D", "C:\\CP", "C:\\CP"}},
        {nullptr, nullptr, nullptr, nullptr, {"", "", "", ""}},
    };
    for (const auto& c : cases) {
        Put(HKEY_LOCAL_MACHINE, ShellFoldersKey, "Common Desktop", c.commonDesktop);
        Put(HKEY_CURRENT_USER, ShellFoldersKey, "Desktop", c.desktop);
        Put(HKEY_LOCAL_MACHINE, ShellFoldersKey, "Common Programs", c.commonPrograms);
        Put(HKEY_CURRENT_USER, ShellFoldersKey, "Programs", c.programs);
        InitRuntimeEnvironment();
        EXPECT_EQ(c.want, (std::vector<std::string>{CommonDesktopDir, DesktopDir, CommonProgramsDir, ProgramsDir}));
    }
    EXPECT_EQ("D:\\PROGRAMME \xE9T\xE9", ProgramFilesDir);
    EXPECT_EQ("C:\\USERS\\JOS\xE9\\APPDATA\\MICROSOFT\\INTERNET EXPLORER\\QUICK LAUNCH", QuickLaunchDir);
    char system[MAX_PATH] = {}, windows[MAX_PATH] = {}, temp[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    GetWindowsDirectoryA(windows, MAX_PATH);
    GetTempPathA(MAX_PATH, temp);
    EXPECT_EQ((std::vector<std::string>{UpperCase(system), UpperCase(windows), UpperCase(temp), UpperCase(temp)}),
              (std::vector<std::string>{SystemDir, WindowsDir, TempDir, UserTempDir}));
}

// The texts are Wine's: the system's message without its full stop and line end.
TEST(RuntimeEnv, SystemErrorTexts)
{
    EXPECT_EQ("File not found", SystemErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ("Access denied", SystemErrorText(ERROR_ACCESS_DENIED));
    EXPECT_EQ("", SystemErrorText(0x2FFFFFF1));
}

}  // namespace
