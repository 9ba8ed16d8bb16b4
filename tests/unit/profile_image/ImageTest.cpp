// The path macros with the per-user folders read from a hive, and the driver image as the driver reads it:
// order, counts, the built-in exceptions and the other forms of real paths.
#include "Policies.h"
#include "RegValues.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtLockIoctl.h"
#include "VtTest.h"
#include <gtest/gtest.h>
#include <algorithm>
namespace {
TEST(PathMacros, ExpansionAndTheUsersFolders) {
    WindowsDir = "C:\\WIN"; SystemDir = "C:\\WIN\\SYS"; ProgramFilesDir = "C:\\PF"; QuickLaunchDir = "C:\\ME\\QL";
    CommonDesktopDir = "C:\\ALL\\DESK"; DesktopDir = "C:\\ME\\DESK"; TempDir = "C:\\TMP\\";
    CommonProgramsDir = "C:\\ALL\\START"; ProgramsDir = "C:\\ME\\START";
    const std::pair<const char*, const char*> cases[] = {
        {"-%WINDIR%\\FONTS", "-C:\\WIN\\FONTS"}, {"%SYSDIR%", "C:\\WIN\\SYS"}, {"%PROGRAMFILES%\\X", "C:\\PF\\X"},
        {"-%DESKTOP%|%LOCALDESKTOP%|%START%|%LOCALSTART%", "-C:\\ALL\\DESK|C:\\ME\\DESK|C:\\ALL\\START|C:\\ME\\START"},
        {"%QLAUNCH%", "C:\\ME\\QL"}, {"-%TEMP%X", "-C:\\TMP\\X"},
        {"-%WINDIR%\\%WINDIR%", "-C:\\WIN\\%WINDIR%"},  // the first occurrence only
        {"-%windir%\\%WinDir%", "-%windir%\\%WinDir%"}, {"-%WINDIR", "-%WINDIR"}, {"", ""},
        {"-C:\\100%\\SURE", "-C:\\100%\\SURE"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.second, ExpandMacros(c.first)) << c.first;
    // A user's hive is stood in for by a key of the test's own registry.
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VtTestHive");
    ASSERT_EQ(0, RegCreateKeyA(HKEY_CURRENT_USER, "Software\\VtTestHive", &UserHiveKey));
    // Missing values keep the previous user's folders.
    ASSERT_TRUE(WriteRegString(UserHiveKey, ShellFoldersKey, "Desktop", "C:\\Users\\j\xf6rg\\Desktop"));
    LoadUserShellFolders();
    EXPECT_EQ("-C:\\USERS\\J\xf6RG\\DESKTOP|C:\\ALL\\DESK|C:\\ME\\START|C:\\ME\\QL",
              ExpandMacros("-%LOCALDESKTOP%|%DESKTOP%|%LOCALSTART%|%QLAUNCH%"));
    // Empty all-users folders take the user's; a macro of an empty folder is dropped.
    CommonDesktopDir.clear(); CommonProgramsDir.clear();
    ASSERT_TRUE(WriteRegString(UserHiveKey, ShellFoldersKey, "Programs", "c:\\users\\bob\\programs"));
    ASSERT_TRUE(WriteRegString(UserHiveKey, ShellFoldersKey, "AppData", "C:\\Users\\bob\\AppData"));
    LoadUserShellFolders();
    EXPECT_EQ("C:\\USERS\\BOB\\PROGRAMS|C:\\USERS\\BOB\\APPDATA\\MICROSOFT\\INTERNET EXPLORER\\QUICK LAUNCH|"
              "C:\\USERS\\J\xf6RG\\DESKTOP|C:\\USERS\\BOB\\PROGRAMS", ExpandMacros("%LOCALSTART%|%QLAUNCH%|%DESKTOP%|%START%"));
    RegCloseKey(UserHiveKey); UserHiveKey = HKEY_CURRENT_USER; CommonDesktopDir.clear();
    EXPECT_EQ("-\\PUBLIC", ExpandMacros("-%DESKTOP%\\PUBLIC"));
}

// With the system folders set to ones that exist nowhere (SetUp), no system string gets another form from the
// disk and every expected image is exact.
const std::string SystemFiles = "+USER.DAT|+SYSTEM.DAT|+WIN386.SWP|+NTUSER.DAT|+NTUSER.DAT.LOG|+HIBERFIL.SYS|+PAGEFILE.SYS|";
const std::string SystemFolders = "+C:\\VTWIN\\SPOOL|+C:\\VTWIN\\REPAIR|+C:\\VTWIN\\SYSTEM32\\CONFIG|"
                                  "+C:\\VTWIN\\SYSTEM32\\SPOOL|+C:\\VTTEMP|+C:\\VTUSER\\TEMP|";

// The strings after the image's header once the driver's own check accepts it, each followed by "|": the file
// strings, "|", the folder strings, "|".
std::string BuiltImage() {
    BuildDriverImage();
    EXPECT_LE(DriverImageSize, DriverImage.size());
    EXPECT_EQ(VTLOCK_IMAGE_OK, VtLockCheckImage(DriverImage.data(), DriverImageSize, nullptr));
    std::string text(DriverImage.begin() + VTLOCK_IMAGE_HEADER_SIZE, DriverImage.begin() + DriverImageSize);
    std::replace(text.begin(), text.end(), '\0', '|');
    return text;
}

struct DriverImageTest : ::testing::Test {
    void SetUp() override {
        InitRuntimeEnvironment(), CreateProfileLists();
        WindowsDir = "C:\\VTWIN";
        SystemDir = "C:\\VTWIN\\SYSTEM32";
        TempDir = "C:\\VTTEMP\\";
        UserTempDir = "C:\\VTUSER\\TEMP\\";
        ASSERT_TRUE(SetCurrentDirectoryA(dir_.c_str()));  // bare file names are looked up there
    }
    const std::string dir_ = NewTempDir("image");
};

TEST_F(DriverImageTest, RulesInTheirOrderAndARebuildFromScratch) {
    for (int i = 0; i < 300; ++i) Profile.Folders.push_back("-C:\\VTNONE\\F" + std::to_string(i));
    EXPECT_EQ(0u, BuiltImage().find(SystemFiles + "|-C:\\VTNONE\\F0|-C:\\VTNONE\\F1|"));
    EXPECT_EQ(0u, DriverImage.capacity() % 1024);
    // File names before file types; lines shorter than two characters and folder rules that expand to nothing
    // left out; a name stored in lower case followed by its upper-case form.
    CreateProfileLists();
    Profile.Files = {"-.EXE", "&NTLDR", "-", "", "+.BAT", "-AUTOEXEC.BAT", "&", "-autoexec.bat"};
    Profile.Folders = {"-%WINDIR%\\FONTS", "", "%DESKTOP%", "#C:\\VTDATA", "-"};
    CommonDesktopDir.clear();
    EXPECT_EQ(SystemFiles + "&NTLDR|-AUTOEXEC.BAT|-autoexec.bat|-AUTOEXEC.BAT|-.EXE|+.BAT||-C:\\VTWIN\\FONTS|" +
                  "#C:\\VTDATA|-|" + SystemFolders + "|", BuiltImage());
    CreateProfileLists();
    EXPECT_EQ(SystemFiles + "|" + SystemFolders + "|", BuiltImage());
}

std::string ShortOf(const std::string& path) {
    char buffer[MAX_PATH];
    return UpperCase(std::string(buffer, GetShortPathNameA(path.c_str(), buffer, MAX_PATH)));
}

TEST_F(DriverImageTest, RealPathsCarryTheirOtherForm) {
    ASSERT_TRUE(WriteWholeFile(dir_ + "Long File Name.txt", "x"));
    ASSERT_TRUE(CreateDirectoryA((dir_ + "Long Folder Name").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((dir_ + "Long Folder Name\\Inner Directory").c_str(), nullptr));
    const std::string longPath = UpperCase(dir_) + "LONG FOLDER NAME\\INNER DIRECTORY", shortPath = ShortOf(longPath);
    const std::string shortFile = ShortOf("LONG FILE NAME.TXT"), mixedCase = "-" + dir_ + "Long Folder Name\\Inner Directory";
    ASSERT_TRUE(shortPath.find('~') != std::string::npos && shortFile.find('~') != std::string::npos) << shortPath;
    // The last component is taken as it is, so a short path keeps its short last name.
    const std::string longOfShort = longPath.substr(0, longPath.rfind('\\')) + shortPath.substr(shortPath.rfind('\\'));
    const std::pair<std::string, std::string> cases[] = {  // the rule, its strings in the image
        {"-" + longPath, "-" + longPath + "|-" + shortPath + "|"},
        {"&" + shortPath, "&" + shortPath + "|&" + longOfShort + "|"},
        {mixedCase, mixedCase + "|-" + shortPath + "|"},  // the short form wins
        {"-C:\\VT NO SUCH FOLDER\\SUB", "-C:\\VT NO SUCH FOLDER\\SUB|"},  // no other form
        {"!" + shortPath + "\\NO SUCH\\DEEPER", "!" + shortPath + "\\NO SUCH\\DEEPER|!" + longPath + "\\NO SUCH\\DEEPER|"},
        {"-C:\\WINDOW?\\SYSTEM32", "-C:\\WINDOW?\\SYSTEM32|"},  // wildcards name no other folder
    };
    std::string expected = SystemFiles + "-LONG FILE NAME.TXT|-" + shortFile + "||";
    for (const auto& c : cases) Profile.Folders.push_back(c.first), expected += c.second;
    Profile.Files = {"-LONG FILE NAME.TXT"};
    EXPECT_EQ(expected + SystemFolders + "|", BuiltImage());
}
}  // namespace
