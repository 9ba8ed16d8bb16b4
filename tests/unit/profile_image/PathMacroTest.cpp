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
    struct Case {
        const char* text;
        const char* expanded;
    };
    const Case cases[] = {
        {"-%WINDIR%\\FONTS", "-C:\\WIN\\FONTS"},
        {"%SYSDIR%", "C:\\WIN\\SYS"},
        {"%PROGRAMFILES%\\X", "C:\\PF\\X"},
        {"%DESKTOP%", "C:\\ALL\\DESK"},
        {"%LOCALDESKTOP%", "C:\\ME\\DESK"},
        {"%START%", "C:\\ALL\\START"},
        {"%LOCALSTART%", "C:\\ME\\START"},
        {"%QLAUNCH%", "C:\\ME\\QL"},
        {"-%TEMP%X", "-C:\\TMP\\X"},
        {"-%WINDIR%\\%WINDIR%", "-C:\\WIN\\%WINDIR%"},
        {"-%windir%\\FONTS", "-%windir%\\FONTS"},
        {"-%WinDir%", "-%WinDir%"},
        {"-%DESKTOP%|%LOCALDESKTOP%|%START%|%LOCALSTART%", "-C:\\ALL\\DESK|C:\\ME\\DESK|C:\\ALL\\START|C:\\ME\\START"},
        {"-%WINDIR", "-%WINDIR"},
        {"", ""},
        {"-C:\\100%\\SURE", "-C:\\100%\\SURE"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expanded, ExpandMacros(c.text)) << c.text;
}

TEST(PathMacros, EmptyValueRemovesTheMacro)
{
    UseDistinctFolderValues();
    CommonDesktopDir.clear();
    EXPECT_EQ("-\\PUBLIC", ExpandMacros("-%DESKTOP%\\PUBLIC"));
}

TEST(PathMacros, OrderMattersOnlyWhenAValueHoldsAMacro)
{
    UseDistinctFolderValues();
    WindowsDir = "X%SYSDIR%";
    TempDir = "%WINDIR%";
    EXPECT_EQ("XC:\\WIN\\SYS", ExpandMacros("%WINDIR%"));
    EXPECT_EQ("%WINDIR%", ExpandMacros("%TEMP%"));
}

TEST(PathMacros, UserTempDirChangesOnlyForAPath)
{
    UserTempDir = "C:\\TMP";
    SetUserTempDir("");
    EXPECT_EQ("C:\\TMP", UserTempDir);
    SetUserTempDir("c:\\users\\bob\\Temp");
    EXPECT_EQ("c:\\users\\bob\\Temp", UserTempDir);
}

// A user's hive stood in for by a key of the test's own registry.
class UserHiveFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, HiveKey);
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, HiveKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &hive_, nullptr));
        savedHive_ = UserHiveKey;
        UserHiveKey = hive_;
        UseDistinctFolderValues();
    }

    void TearDown() override
    {
        UserHiveKey = savedHive_;
        RegCloseKey(hive_);
        RegDeleteTreeA(HKEY_CURRENT_USER, HiveKey);
    }

    void SetFolder(const char* name, const char* value)
    {
        ASSERT_TRUE(WriteRegString(hive_, ShellFoldersKey, name, value));
    }

    static constexpr const char* HiveKey = "Software\\VtTestHive";
    HKEY hive_ = nullptr;
    HKEY savedHive_ = nullptr;
};

TEST_F(UserHiveFolders, ReadsTheUsersFolders)
{
    SetFolder("Desktop", "C:\\Users\\bob\\Desktop");
    SetFolder("Programs", "C:\\Users\\bob\\Start Menu\\Programs");
    SetFolder("AppData", "C:\\Users\\bob\\AppData\\Roaming");
    LoadUserShellFolders();
    EXPECT_EQ("C:\\USERS\\BOB\\DESKTOP", DesktopDir);
    EXPECT_EQ("C:\\USERS\\BOB\\START MENU\\PROGRAMS", ProgramsDir);
    EXPECT_EQ("C:\\USERS\\BOB\\APPDATA\\ROAMING\\MICROSOFT\\INTERNET EXPLORER\\QUICK LAUNCH", QuickLaunchDir);
    EXPECT_EQ("C:\\ALL\\DESK", CommonDesktopDir);
    EXPECT_EQ("C:\\ALL\\START", CommonProgramsDir);
    EXPECT_EQ("-C:\\USERS\\BOB\\DESKTOP\\X", ExpandMacros("-%LOCALDESKTOP%\\X"));
}

TEST_F(UserHiveFolders, MissingValuesKeepThePreviousUsersFolders)
{
    SetFolder("Desktop", "C:\\Users\\ann\\Desktop");
    LoadUserShellFolders();
    EXPECT_EQ("C:\\USERS\\ANN\\DESKTOP", DesktopDir);
    EXPECT_EQ("C:\\ME\\START", ProgramsDir);
    EXPECT_EQ("C:\\ME\\QL", QuickLaunchDir);
}

TEST_F(UserHiveFolders, EmptyAllUsersFoldersTakeTheUsers)
{
    CommonDesktopDir.clear();
    CommonProgramsDir.clear();
    SetFolder("Desktop", "C:\\Users\\bob\\Desktop");
    SetFolder("Programs", "c:\\users\\bob\\programs");
    LoadUserShellFolders();
    EXPECT_EQ("C:\\USERS\\BOB\\DESKTOP", CommonDesktopDir);
    EXPECT_EQ("C:\\USERS\\BOB\\PROGRAMS", CommonProgramsDir);
    EXPECT_EQ("C:\\USERS\\BOB\\DESKTOP", ExpandMacros("%DESKTOP%"));
}

TEST_F(UserHiveFolders, OnlyLettersAToZAreUpperCased)
{
    SetFolder("Desktop", "C:\\Users\\j\xf6rg\\Desktop");
    LoadUserShellFolders();
    EXPECT_EQ("C:\\USERS\\J\xf6RG\\DESKTOP", DesktopDir);
}

TEST(UserShellFolders, StartFromTheCurrentUsersHive)
{
    InitRuntimeEnvironment();
    std::string appData;
    ASSERT_TRUE(ReadRegString(HKEY_CURRENT_USER, ShellFoldersKey, "AppData", appData));
    QuickLaunchDir.clear();
    LoadUserShellFolders();
    EXPECT_EQ(UpperCase(appData) + "\\MICROSOFT\\INTERNET EXPLORER\\QUICK LAUNCH", QuickLaunchDir);
}

}  // namespace
