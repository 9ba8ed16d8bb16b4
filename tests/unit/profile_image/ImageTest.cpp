// The path macros with the per-user folders read from a hive, and the driver image as the driver reads it:
// order, counts, the built-in exceptions and the other forms of real paths.
#include "RegValues.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "UserHive.h"
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
    // A user's hive, stood in for by a key of the test's own registry: a missing value keeps the previous user's
    // folder, an empty all-users folder takes the user's.
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VtTestHive");
    ASSERT_EQ(0, RegCreateKeyA(HKEY_CURRENT_USER, "Software\\VtTestHive", &UserHiveKey));
    ASSERT_TRUE(WriteRegString(UserHiveKey, ShellFoldersKey, "Desktop", "C:\\Users\\j\xf6rg\\Desktop") &&
                WriteRegString(UserHiveKey, ShellFoldersKey, "AppData", "C:\\Users\\bob\\AppData"));
    CommonDesktopDir.clear(), CommonProgramsDir.clear(), LoadUserShellFolders();
    EXPECT_EQ("-C:\\USERS\\J\xf6RG\\DESKTOP|C:\\USERS\\J\xf6RG\\DESKTOP|C:\\ME\\START|C:\\ME\\START|"
              "C:\\USERS\\BOB\\APPDATA\\MICROSOFT\\INTERNET EXPLORER\\QUICK LAUNCH",
              ExpandMacros("-%LOCALDESKTOP%|%DESKTOP%|%LOCALSTART%|%START%|%QLAUNCH%"));
    RegCloseKey(UserHiveKey), UserHiveKey = HKEY_CURRENT_USER;
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
        WindowsDir = "C:\\VTWIN", SystemDir = "C:\\VTWIN\\SYSTEM32", TempDir = "C:\\VTTEMP\\", UserTempDir = "C:\\VTUSER\\TEMP\\";
        ASSERT_TRUE(SetCurrentDirectoryA(dir_.c_str()));  // bare file names are looked up there
    }
    const std::string dir_ = NewTempDir("image");
};
TEST_F(DriverImageTest, RulesInTheirOrderAndARebuildFromScratch) {
    for (int i = 0; i < 300; ++i) Profile.Folders.push_back("-C:\\VTNONE\\F" + std::to_string(i));
    EXPECT_EQ(0u, BuiltImage().find(SystemFiles + "|-C:\\VTNONE\\F0|-C:\\VTNONE\\F1|"));
    EXPECT_EQ(0u, DriverImage.capacity() % 1024);
    // File names before file types; lines shorter than two characters and folder rules that expand to nothing
    // (a macro of an empty folder) left out; a name stored in lower case followed by its upper-case form.
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
// The builder as it was before it kept a table of entries: every rule searched anew, its long form entry by entry
// (the last one as given) and its short form by the system; the short form wins, and either only where it differs.
std::string ReferenceLongName(const std::string& folder, const std::string& name) {
    const bool drive = folder.empty() && name.size() == 2 && name[1] == ':' && isalpha(name[0] & 0xff);
    if (drive || name.find_first_of("*?") != std::string::npos) return name;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder.empty() ? name : folder + "\\" + name).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return name;
    FindClose(search);
    return entry.cFileName;
}
std::string ReferenceStrings(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        const std::string path = line.substr(1);
        std::string longForm;
        size_t start = 0;
        for (size_t slash; (slash = path.find('\\', start)) != std::string::npos; start = slash + 1)
            longForm += (longForm.empty() ? "" : "\\") + ReferenceLongName(longForm, path.substr(start, slash - start));
        if (start < path.size()) longForm += "\\" + path.substr(start);
        if (!longForm.empty() && longForm[0] == '\\') longForm.erase(0, 1);
        longForm = UpperCase(longForm);
        char buffer[MAX_PATH];
        const DWORD length = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
        const std::string shortForm = length > 0 && length < MAX_PATH ? UpperCase(std::string(buffer, length)) : path;
        const std::string alternate = shortForm != path ? shortForm : longForm != path ? longForm : "";
        text += line + "|" + (alternate.empty() ? "" : line.substr(0, 1) + alternate + "|");
    }
    return text;
}
// A tree of long and short names, spaces, mixed case, folders asked for many names and paths about the length
// limit; every rule's strings equal the old builder's, and where the row gives them, the ones written there.
TEST_F(DriverImageTest, RealPathsCarryTheirOtherFormAsBefore) {
    const std::string dir = UpperCase(dir_), longPath = dir + "LONG FOLDER NAME\\INNER DIRECTORY";
    for (const char* folder : {"Long Folder Name", "Long Folder Name\\Inner Directory", "MIXED Case",
                               "MIXED Case\\sub", "SHORT", "Many Names"})
        ASSERT_TRUE(CreateDirectoryA((dir_ + folder).c_str(), nullptr)) << folder;
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(WriteWholeFile(dir_ + "Many Names\\Entry " + std::to_string(i) + ".txt", "x"));
    for (const char* file : {"Long File Name.txt", "short.txt", ".xyz", "lower case name.dat"})
        ASSERT_TRUE(WriteWholeFile(dir_ + file, "x")) << file;
    // A chain of folders whose long form passes the 260-character limit, made through its short form.
    std::vector<std::string> longChain, shortChain;
    for (std::string longFolder = dir_, shortFolder = ShortOf(dir_); longFolder.size() < 330;) {
        const std::string name = "Long Path Component " + std::to_string(longChain.size());
        ASSERT_TRUE(CreateDirectoryA((shortFolder + name).c_str(), nullptr)) << shortFolder;
        longChain.push_back(UpperCase(longFolder += name)), longFolder += "\\";
        shortChain.push_back(shortFolder = ShortOf(shortFolder + name)), shortFolder += "\\";
    }
    const auto below = std::find_if(longChain.rbegin(), longChain.rend(), [](const auto& p) { return p.size() < 245; });
    ASSERT_TRUE(WriteWholeFile(*below + "\\" + std::string(258 - below->size(), 'F'), "x"));
    const size_t deeper = longChain.rend() - below + 1;
    const std::string shortPath = ShortOf(longPath), shortFile = ShortOf("LONG FILE NAME.TXT");
    const std::string mixedCase = "-" + dir_ + "Long Folder Name\\Inner Directory";
    ASSERT_TRUE(shortPath.find('~') != std::string::npos && shortFile.find('~') != std::string::npos) << shortPath;
    ProgramFilesDir = dir + "LONG FOLDER NAME";
    DesktopDir = dir_ + "MIXED Case";
    const std::pair<std::string, std::string> folders[] = {  // the rule, its strings in the image
        {"-" + longPath, "-" + longPath + "|-" + shortPath + "|"},
        {"&" + shortPath, "&" + shortPath + "|&" + ProgramFilesDir + shortPath.substr(shortPath.rfind('\\')) + "|"},
        {mixedCase, mixedCase + "|-" + shortPath + "|"},  // the short form wins
        {"-C:\\VT NO SUCH FOLDER\\SUB", "-C:\\VT NO SUCH FOLDER\\SUB|"},
        {"!" + shortPath + "\\NO\\DEEPER", "!" + shortPath + "\\NO\\DEEPER|!" + longPath + "\\NO\\DEEPER|"},
        {"-C:\\WINDOW?\\SYSTEM32", "-C:\\WINDOW?\\SYSTEM32|"},  // wildcards name no other folder
        {"-%PROGRAMFILES%\\INNER DIRECTORY", ""}, {"#%PROGRAMFILES%", ""}, {"@%LOCALDESKTOP%\\SUB", ""},
        {"-" + dir + "SHORT", ""}, {"-" + dir + "short", ""}, {"-" + dir + "MIXED CASE\\SUB", ""},
        {"-" + dir + "MANY NAMES", ""}, {"-" + dir + "MANY NAMES\\ENTRY 11.TXT\\NO", ""},
        {"-" + ProgramFilesDir + "\\", ""},
        {"-" + ProgramFilesDir + "\\\\INNER DIRECTORY", ""}, {"-" + ProgramFilesDir + "\\.\\INNER DIRECTORY", ""},
        {"-" + ProgramFilesDir + "/INNER DIRECTORY", ""},
        {"-c:\\", ""}, {"-C:", ""}, {"-" + below->substr(2), ""},
        {"-" + *below, ""}, {"-" + *below + "\\" + std::string(258 - below->size(), 'F'), ""},
        {"-" + longChain.back(), ""}, {"&" + shortChain.back(), ""}, {"!" + shortChain.back() + "\\NO SUCH", ""},
        // the long folder names too long to search by
        {"#" + *below + shortChain[deeper].substr(shortChain[deeper - 2].size()), ""},
    };
    // A folder asked for many names is read whole once: these ones come after the first searches, in its case on
    // disk and in others, beside names a search reads otherwise (a device, a trailing dot) and absent ones.
    const std::string entryOne = ShortOf(dir_ + "Many Names\\Entry 1.txt");
    const std::string many[] = {"Entry 4.txt", "ENTRY 5.TXT", "entry 6.txt", "NO SUCH 1", "Entry 7.txt", "Entry 10.txt",
                                "NUL", "ENTRY 2.TXT.", "NO SUCH 2", "Entry 8.txt\\NO", "Entry 9.txt ", "ENTRY~1.TXT",
                                "entry 3.txt", "Entry 0.txt", entryOne.substr(entryOne.rfind('\\') + 1)};
    const std::pair<std::string, std::string> files[] = {
        {"-LONG FILE NAME.TXT", "-LONG FILE NAME.TXT|-" + shortFile + "|"}, {"-long file name.txt", ""},
        {"&SHORT.TXT", ""}, {"&short.txt", "&short.txt|&SHORT.TXT|"}, {"-LOWER CASE NAME.DAT", ""}, {"-NO SUCH", ""},
        {"-NO SUCH 2", ""}, {"-Long File Name.txt", ""}, {"-lower case name.dat", ""}, {"-LONG~1.TXT", ""},
        {"-NUL", ""}, {"-.XYZ", ""}, {"-.xyz", ""}, {"-.EXE", "-.EXE|"}, {"-.exe", "-.exe|-.EXE|"}, {"+.T1", ""},
    };
    const auto take = [](const auto& rows, TextList& list) {  // where a row gives strings, the old builder's
        for (const auto& row : rows) {
            list.push_back(row.first);
            if (row.second.empty()) continue;
            EXPECT_EQ(row.second, ReferenceStrings({ExpandMacros(row.first)})) << row.first;
        }
    };
    take(files, Profile.Files), take(folders, Profile.Folders);
    for (const std::string& name : many) Profile.Folders.push_back("-" + dir_ + "Many Names\\" + name);
    std::vector<std::string> fileLines = SystemFileExceptions(), folderLines;
    fileLines.insert(fileLines.end(), Profile.Files.begin(), Profile.Files.end());
    for (const std::string& line : Profile.Folders) folderLines.push_back(ExpandMacros(line));
    for (const std::string& line : SystemFolderExceptions()) folderLines.push_back(line);
    const std::string image = BuiltImage();
    const std::string reference = ReferenceStrings(fileLines) + "|" + ReferenceStrings(folderLines) + "|";
    const size_t differs = std::mismatch(reference.begin(), reference.end(), image.begin(), image.end()).first -
                           reference.begin();
    EXPECT_EQ(reference, image) << "first difference: " << reference.substr(reference.rfind('|', differs) + 1, 300);
}
}  // namespace
