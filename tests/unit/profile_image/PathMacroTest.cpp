// Path macros: expansion rules and the per-user folders read from a hive.
#include "Policies.h"
#include "RegValues.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"

#include <gtest/gtest.h>

namespace {

void UseDistinctFolderValues()
{
    WindowsDir = "C:\\WIN";
    SystemDir = "C:\\WIN\\SYS";
    ProgramFilesDir = "C:\\PF";
    CommonDesktopDir = "C:\\ALL\\DESK";
    DesktopDir = "C:\\ME\\DESK";
    CommonProgramsDir = "C:\\ALL\\START";
    ProgramsDir = "C:\\ME\\START";
    QuickLaunchDir = "C:\\ME\\QL";
    TempDir = "C:\\TMP\\";
}

TEST(PathMacros, Expansion)
{
    UseDistinctFolderValues();
    const std::pair<const char*, const char*> cases[] = {
        {"-%WINDIR%\\FONTS", "-C:\\WIN\\FONTS"}, {"%SYSDIR%", "C:\\WIN\\SYS"}, {"%PROGRAMFILES%\\X", "C:\\PF\\X"},
        {"-%DESKTOP%|%LOCALDESKTOP%|%START%|%LOCALSTART%", "-C:\\ALL\\DESK|C:\\ME\\DESK|C:\\ALL\\START|C:\\ME\\START"},
        {"%QLAUNCH%", "C:\\ME\\QL"}, {"-%TEMP%X", "-C:\\TMP\\X"},
        {"-%WINDIR%\\%WINDIR%", "-C:\\WIN\\%WINDIR%"},  // the first occurrence only
        {"-%windir%\\%WinDir%", "-%windir%\\%WinDir%"}, {"-%WINDIR", "-%WINDIR"}, {"", ""},
        {"-C:\\100%\\SURE", "-C:\\100%\\SURE"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.second, ExpandMacros(c.first)) << c.first;
    CommonDesktopDir.clear();
    EXPECT_EQ("-\\PUBLIC", ExpandMacros("-%DESKTOP%\\PUBLIC"));
}

// A user's hive stood in for by a key of the test's own registry.
TEST(PathMacros, UsersFoldersFromTheHive)
{
    const char* const hiveKey = "Software\\VtTestHive";
    RegDeleteTreeA(HKEY_CURRENT_USER, hiveKey);
    HKEY hive = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, hiveKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &hive, nullptr));
    UserHiveKey = hive;
    UseDistinctFolderValues();
    // Missing values keep the previous user's folders.
    ASSERT_TRUE(WriteRegString(hive, ShellFoldersKey, "Desktop", "C:\\Users\\j\xf6rg\\Desktop"));
    LoadUserShellFolders();
    EXPECT_EQ("C:\\USERS\\J\xf6RG\\DESKTOP", DesktopDir);
    EXPECT_EQ("C:\\ME\\START", ProgramsDir);
    EXPECT_EQ("C:\\ME\\QL", QuickLaunchDir);
    EXPECT_EQ("C:\\ALL\\DESK", CommonDesktopDir);

    // Empty all-users folders take the user's.
    CommonDesktopDir.clear();
    CommonProgramsDir.clear();
    ASSERT_TRUE(WriteRegString(hive, ShellFoldersKey, "Programs", "c:\\users\\bob\\programs"));
    ASSERT_TRUE(WriteRegString(hive, ShellFoldersKey, "AppData", "C:\\Users\\bob\\AppData"));
    LoadUserShellFolders();
    EXPECT_EQ("C:\\USERS\\BOB\\PROGRAMS", ProgramsDir);
    EXPECT_EQ("C:\\USERS\\BOB\\APPDATA\\MICROSOFT\\INTERNET EXPLORER\\QUICK LAUNCH", QuickLaunchDir);
    EXPECT_EQ("C:\\USERS\\J\xf6RG\\DESKTOP", CommonDesktopDir);
    EXPECT_EQ("C:\\USERS\\BOB\\PROGRAMS", CommonProgramsDir);
    UserHiveKey = HKEY_CURRENT_USER;
    RegCloseKey(hive);
}

}  // namespace
