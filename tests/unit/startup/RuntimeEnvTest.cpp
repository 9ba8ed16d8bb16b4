// The runtime environment as a process prepares it: the system folders, the
// shell-folder values with the gap rule, and the system's error texts. The
// folders a process starts with are checked in a fresh process (tests/unit/
// profile_settings); the operating-system family and the registered messages
// end to end (tests/e2e/protection98, service98; commands, agent_start, hooks).
#include <gtest/gtest.h>
#include "RuntimeEnv.h"
#include <cstring>

namespace {

const char* const CurrentVersionKey = "Software\\Microsoft\\Windows\\CurrentVersion";

// Writes the value, or deletes it when text is null.
void Put(HKEY root, const char* subkey, const char* name, const char* text)
{
    if (!text) RegDeleteKeyValueA(root, subkey, name);
    else RegSetKeyValueA(root, subkey, name, REG_SZ, text, DWORD(strlen(text) + 1));
}

struct FolderCase {
    const char *commonDesktop, *desktop, *commonPrograms, *programs;  // null: value missing
    std::vector<std::string> want;  // the four folders in the same order
};

// Only the letters a to z are upper-cased, and a side without its folder
// takes the other side's; the system's folders are taken upper-cased.
TEST(RuntimeEnv, FoldersAndTheGapRule)
{
    Put(HKEY_LOCAL_MACHINE, CurrentVersionKey, "ProgramFilesDir", "d:\\programme \xE9t\xE9");
    Put(HKEY_CURRENT_USER, ShellFoldersKey, "AppData", "c:\\users\\jos\xE9\\appdata");
    const FolderCase cases[] = {
        {"c:\\all\\Desk-\xE0\xC9", "c:\\me\\desk", "c:\\all\\progs", "c:\\me\\progs 1_2",
         {"C:\\ALL\\DESK-\xE0\xC9", "C:\\ME\\DESK", "C:\\ALL\\PROGS", "C:\\ME\\PROGS 1_2"}},
        {nullptr, "c:\\d", nullptr, "c:\\p", {"C:\\D", "C:\\D", "C:\\P", "C:\\P"}},
        {"c:\\cd", nullptr, "c:\\cp", nullptr, {"C:\\CD", "C:\\CD", "C:\\CP", "C:\\CP"}},
        {"", "c:\\d", "c:\\cp", "", {"C:\\D", "C:\\D", "C:\\CP", "C:\\CP"}},
        {nullptr, nullptr, nullptr, nullptr, {"", "", "", ""}},
    };
    for (const FolderCase& c : cases) {
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
