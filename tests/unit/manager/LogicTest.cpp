// The manager's logic without windows: access kinds, folder and file rules,
// FindFolderAccess, drives and folders, program entries, profile users.
#include "AccessKinds.h"
#include "DriveList.h"
#include "FileRules.h"
#include "FolderAccess.h"
#include "FolderRules.h"
#include "FolderScan.h"
#include "ManagerTexts.h"
#include "ProgramEntry.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtTest.h"
#include <gtest/gtest.h>
#include <algorithm>
namespace {
// Access flags written "RHN": read only, hidden, no access; "-" for off.
AccessFlags F(const std::string& s) { return {s[0] == 'R', s[1] == 'H', s[2] == 'N'}; }
std::string S(const AccessFlags& f) { return {f.ReadOnly ? 'R' : '-', f.Hidden ? 'H' : '-', f.NoAccess ? 'N' : '-'}; }
// Each test starts with an empty profile and fixed macro folders, and gives both back.
class ManagerLogic : public ::testing::Test {
protected:
    void SetUp() override {
        for (const PathMacro& macro : PathMacros) saved_.push_back(*macro.variable);
        WindowsDir = "C:\\WINDOWS";
        TempDir = "C:\\TEMP\\";
        CreateProfileLists();
        FolderRulesChanged();
    }
    void TearDown() override {
        for (size_t i = 0; i < saved_.size(); ++i) *PathMacros[i].variable = saved_[i];
        CreateProfileLists();
        FolderRulesChanged();
    }
    std::vector<std::string> saved_;
};
}  // namespace
TEST(AccessKinds, CodesImagesTextsRadiosAndButtons) {
    const struct { const char *flags, *code; int image, folderRadio; const char* text; } kinds[] = {
        {"---", "+", 0, 0, "Full access (read/write)"},
        {"R--", "-", 1, 1, "Read only access"},
        {"--N", "&", 2, 3, "Access denied"},
        {"-H-", "!", 3, 2, "Hidden - not visible in the Explorer"},
        {"RH-", "@", 4, 4, "Read only access, invisible in the Explorer"},
        {"-HN", "#", 5, 5, "Access denied, invisible in the Explorer"},
    };
    for (const auto& k : kinds) {
        EXPECT_EQ(AccessCode(F(k.flags)) + "|" + AccessText(k.code), std::string(k.code) + "|" + k.text);
        EXPECT_EQ(S(FolderRadioFlags(k.folderRadio)) + S(ImageButtons(k.image)), std::string(k.flags) + k.flags);
        EXPECT_EQ((std::vector<int>{AccessImage(k.code), FolderRadioIndex(k.code), PressedButtonsImage(F(k.flags))}),
                  (std::vector<int>{k.image, k.folderRadio, k.image}))
            << k.code;
    }
    // Texts that are no code show nothing; the file dialog offers three kinds.
    for (const char* text : {"", "x", "++"})
        EXPECT_TRUE(AccessImage(text) == 0 && AccessText(text).empty() && FolderRadioIndex(text) == 0) << text;
    EXPECT_EQ(FileRadioCode(0) + FileRadioCode(1) + FileRadioCode(2) + FileRadioCode(3), "+-&+");
    EXPECT_EQ((std::vector<int>{FileRadioIndex("+"), FileRadioIndex("-"), FileRadioIndex("&"), FileRadioIndex("!")}),
              (std::vector<int>{0, 1, 2, -1}));
}
// Rules are upper-cased, placed by expanded path in byte order (bytes above 127 last) and one
// per stored path: a macro and its expansion are two rules.
TEST_F(ManagerLogic, FolderRulesArePlacedByExpandedPathAndRemovedByStoredPath) {
    for (const char* path :
         {"C:\\ZETA", "%windir%\\FONTS", "C:\\\xC4RGER", "%TEMP%", "c:\\windows", "%WINDIR%", "C:", ""})
        SetFolderRule(path, F("R--"));
    EXPECT_EQ((std::vector<int>{SetFolderRule("c:\\Windows\\System32", F("-H-")), SetFolderRule("C:\\", F("--N")),
                                SetFolderRule("C:\\B", F("R-N"))}), (std::vector<int>{6, 2, -1}));
    EXPECT_EQ(Profile.Folders, (TextList{"-", "-C:", "&C:\\", "-%TEMP%", "-C:\\WINDOWS", "-%WINDIR%",
                                         "-%WINDIR%\\FONTS", "!C:\\WINDOWS\\SYSTEM32", "-C:\\ZETA", "-C:\\\xC4RGER"}));
    // A loaded file's order: the same stored path is replaced where it is,
    // a new one goes in front of the first later entry.
    Profile.Folders = {"-C:\\M", "-C:\\B", "-C:\\Z", "!c:\\mixed", "&C:\\B"};
    EXPECT_TRUE(SetFolderRule("c:\\b", F("-H-")) == 1 && SetFolderRule("C:\\N", F("R--")) == 2);
    EXPECT_EQ(Profile.Folders, (TextList{"-C:\\M", "!C:\\B", "-C:\\N", "-C:\\Z", "!c:\\mixed", "&C:\\B"}));
    // A rule stored with lower case is never found.
    EXPECT_TRUE(RemoveFolderRule("c:\\b") && !RemoveFolderRule("c:\\mixed") && !RemoveFolderRule("C:\\WINDOWS"));
    EXPECT_TRUE(!RemoveFolderRuleAt(5) && RemoveFolderRuleAt(4));
    EXPECT_EQ(Profile.Folders, (TextList{"-C:\\M", "-C:\\N", "-C:\\Z", "!c:\\mixed"}));
    EXPECT_EQ(FolderRuleLine("#C:") + FolderRuleLine("?C:\\ODD") + FolderRuleLine(""),
              "C:   (Access denied, invisible in the Explorer)C:\\ODD   ()   ()");
}
// The last rule in list order whose expanded path starts the upper-cased
// path decides (a plain prefix, as the driver compares), also after an edit.
TEST_F(ManagerLogic, FindFolderAccessTakesTheLastRuleThatStartsThePath) {
    WindowsDir = "C:\\A";
    const struct { TextList rules; const char* path; int image; bool own; } cases[] = {
        {{"-C:\\A"}, "c:\\a\\x", 1, false},           {{"-C:\\A"}, "C:\\AB", 1, false},
        {{"-C:\\A"}, "c:\\A", 1, true},                 {{"-C:\\A"}, "C:\\", 0, false},
        {{"&C:\\A\\B", "-C:\\A"}, "C:\\A\\B\\X", 1, false}, {{"-C:\\A", "&C:\\A\\B"}, "C:\\A\\B", 2, true},
        {{"-C:\\A", "!C:\\A", "&C:"}, "C:\\A", 2, false}, {{"-c:\\a"}, "C:\\A", 0, false},
        {{"!%WINDIR%\\B", "-%WINDIR%"}, "C:\\A\\B", 1, false}, {{"!%WINDIR%", "-C:\\A\\"}, "C:\\A", 3, true},
        {{"@C:\\\xC4", "-D:"}, "c:\\\xC4\\\xE4", 4, false}, {{"#C:"}, "", 0, false},
    };
    for (const auto& c : cases) {
        Profile.Folders = c.rules;
        FolderRulesChanged();
        FolderAccess found = FindFolderAccess(c.path);
        EXPECT_TRUE(found.ImageIndex == c.image && found.OwnRule == c.own) << c.path << " " << c.rules[0];
    }
    Profile.Folders.clear();
    SetFolderRule("C:\\DATA", F("R--"));
    EXPECT_EQ(FindFolderAccess("c:\\data\\x").ImageIndex, 1);
    SetFolderRule("C:\\DATA", F("-H-"));  // as many rules as before: the call tells
    EXPECT_EQ(FindFolderAccess("C:\\DATA\\X").ImageIndex, 3);
    const std::string deep = "C:\\" + std::string(5000, 'D');
    Profile.Folders = {"-C:\\", "&" + deep};
    FolderRulesChanged();
    EXPECT_EQ(FindFolderAccess(deep + "\\E").ImageIndex, 2);
}
// The type descriptions come from the real HKEY_CLASSES_ROOT, each value
// read at most 256 bytes, and again at each refill.
TEST_F(ManagerLogic, FileRuleLinesDescribeTheirTypes) {
    const std::string keys[][2] = {{".vtt", "VtTestFile"}, {"VtTestFile", "Vantrel test document"},
                                   {".vtn", "VtNoDescription"}, {".vt1", "VtFits"}, {".vt2", "VtTooLong"},
                                   {"VtFits", std::string(255, 'd')}, {"VtTooLong", std::string(256, 'd')}};
    for (const auto& k : keys) RegSetValueA(HKEY_CLASSES_ROOT, k[0].c_str(), REG_SZ, k[1].c_str(), 0);
    Profile.Files = {"&.VTT", "-a.vtt", "+NOEXT", "-C:\\DIR.VTT\\FILE", "+.VTN", "-X.VT1", "-X.VT2", ""};
    EXPECT_EQ(FileRuleLines(), (TextList{".VTT  //    (Vantrel test document)    //  Access denied  //",
                                         "a.vtt  //    (Vantrel test document)    //  Read only access  //",
                                         "NOEXT  //  Unknown type  //  Full access (read/write)  //",
                                         "C:\\DIR.VTT\\FILE  //  Unknown type  //  Read only access  //",
                                         ".VTN  //  Unknown type  //  Full access (read/write)  //",
                                         "X.VT1  //    (" + std::string(255, 'd') + ")    //  Read only access  //",
                                         "X.VT2  //  Unknown type  //  Read only access  //",
                                         "  //  Unknown type  //    //"}));
    RegSetValueA(HKEY_CLASSES_ROOT, "VtTestFile", REG_SZ, "Renamed document", 0);
    EXPECT_EQ(FileRuleLines()[0], ".VTT  //    (Renamed document)    //  Access denied  //");
    EXPECT_EQ(FileRuleNameOfLine(FileRuleLines()[1]) + "|" + FileRuleNameOfLine("A / B"), "a.vtt|A / B");
}
TEST_F(ManagerLogic, FileRulesSortByTheUsersLocaleAndAreAddedFoundAndReplaced) {
    // Byte order would put upper case first and the accented letter (0xE9) last.
    Profile.Files = {"-Z.TXT", "-\xE9.TXT", "-e.TXT", "-F.TXT", "-E.TXT"};
    SortFileRules();
    // Entries added after a refill find their places at the next one.
    AddFileRules({"-a.txt", "-g"});
    SortFileRules();
    EXPECT_EQ(Profile.Files, (TextList{"-A.TXT", "-e.TXT", "-E.TXT", "-\xE9.TXT", "-F.TXT", "-G", "-Z.TXT"}));
    EXPECT_TRUE(FindFileRule("E.TXT") == 2 && FindFileRule("E.TXT", 3) == std::string::npos);
    EXPECT_TRUE(RemoveFileRule("e.TXT") && !RemoveFileRule("B.TXT"));
    EXPECT_TRUE(ReplaceFileRule(0, {"+new.txt", "-two"}) && !ReplaceFileRule(7, {"+x"}));
    EXPECT_EQ(Profile.Files, (TextList{"-E.TXT", "-\xE9.TXT", "-F.TXT", "-G", "-Z.TXT", "+new.txt", "-two"}));
    // The "Add a file" dialog: its entries from the edit box, and what Browse puts there.
    const struct { const char* text; int radio; TextList entries; } typed[] = {
        {"BOOT.INI", 1, {"-BOOT.INI"}}, {" \"A.TXT\" \"\" \"B\"", 2, {"&A.TXT", "&B"}},
        {" \"A.TXT\" \"B", 0, {"+A.TXT"}}, {" \"", 1, {}}, {"\"A.TXT\" \"B\"", 1, {"-\"A.TXT\" \"B\""}}};
    for (const auto& t : typed) EXPECT_EQ(AddedFileRuleEntries(t.text, t.radio), t.entries) << t.text;
    const struct { std::vector<std::string> chosen; bool typeBox; const char* text; } browsed[] = {
        {{"C:\\BOOT.INI"}, false, "BOOT.INI"}, {{"C:\\BOOT.INI"}, true, ".INI"}, {{"C:\\DIR.D\\NOEXT"}, true, ""},
        {{"D:FILE.TXT"}, false, "FILE.TXT"},   {{"C:\\A\\ONE.TXT", "C:\\A\\two"}, true, " \"ONE.TXT\" \"two\""},
    };
    for (const auto& b : browsed) {
        BrowsedFiles files = BrowsedFileText(b.chosen, b.typeBox);
        EXPECT_TRUE(files.Text == b.text && files.Multiple == (b.chosen.size() > 1)) << files.Text;
    }
}
TEST(DrivesAndFolders, DriveEntriesAndTheSubfoldersOfARealFolder) {
    EXPECT_EQ(DriveEntryText('C', "", DRIVE_FIXED) + DriveEntryText('D', "DVD 1", DRIVE_CDROM) + "|" +
                  DriveEntryText('A', "", DRIVE_REMOVABLE) + DriveEntryText('R', "", DRIVE_RAMDISK) + "|" +
                  DriveEntryText('N', "SHARE", DRIVE_REMOTE) + DriveEntryText('X', "", DRIVE_NO_ROOT_DIR),
              "[ C: ]    <Fixed drive>[ D: ]  (DVD 1)     <CD-ROM/DVD drive>|[ A: ]    <Removable drive>"
              "[ R: ]    <RAM disk drive>|[ N: ]  (SHARE) [ X: ]");
    std::vector<DriveEntry> drives = ReadDriveEntries();
    const DWORD mask = GetLogicalDrives();
    ASSERT_EQ(drives.size(), static_cast<size_t>(__builtin_popcount(mask)));
    const std::string c = drives[__builtin_popcount(mask & 3u)].Text;  // Wine's C: is fixed
    EXPECT_EQ(c.substr(0, 6) + c.substr(c.size() - 17), "[ C: ]    <Fixed drive>");
    EXPECT_TRUE(FirstFixedDrive({{"", DRIVE_REMOVABLE}, {"", DRIVE_FIXED}, {"", DRIVE_FIXED}}) == 1 &&
                FirstFixedDrive({{"", DRIVE_CDROM}}) == 0);
    const std::string top = NewTempDir("scan");
    for (const char* name : {"beta", "Alpha", "hidden", "empty", "beta\\inner"})
        CreateDirectoryA((top + name).c_str(), nullptr);
    SetFileAttributesA((top + "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    ASSERT_TRUE(WriteWholeFile(top + "file.txt", "x") && WriteWholeFile(top + "empty\\only a file", "x"));
    std::vector<std::string> names = ListSubfolders(top.substr(0, top.size() - 1));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "empty", "hidden"}));
    EXPECT_TRUE(HasSubfolders(top + "beta") && !HasSubfolders(top + "empty") && !HasSubfolders(top + "missing") &&
                ListSubfolders(top + "file.txt").empty());
    RemoveTree(top);
}
TEST(ProgramEntries, FromTheVersionInformationReadUpTo2048Bytes) {
    EXPECT_EQ(ProgramEntry(BinDir() + "verinfo_full.exe"),
              "VERINFO_FULL.EXE      // Vantrel test program  (Vantrel Test Makers)");
    // The agent takes the name from before the marker, also without a description.
    EXPECT_EQ(ProgramEntry(BinDir() + "verinfo_company.exe"), "VERINFO_COMPANY.EXE      //   (Vantrel Test Makers)");
    // The description runs past the first 2048 bytes, the company lies beyond
    // them; the platform's parser tells where the description starts.
    const std::string path = BinDir() + "verinfo_long.exe";
    const std::wstring wide(path.begin(), path.end());
    std::vector<BYTE> info(GetFileVersionInfoSizeW(wide.c_str(), nullptr));
    ASSERT_TRUE(GetFileVersionInfoW(wide.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    void* value = nullptr;
    UINT length = 0;
    VerQueryValueW(info.data(), L"\\StringFileInfo\\040904E4\\FileDescription", &value, &length);
    const size_t offset = (static_cast<BYTE*>(value) - info.data()) / sizeof(WCHAR);
    ASSERT_TRUE(offset > 900 && offset < VersionInfoUnits) << offset;
    std::string digits;
    while (digits.size() < 300) digits += "0123456789";
    EXPECT_EQ(ProgramEntry(path), "VERINFO_LONG.EXE      // " + digits.substr(0, VersionInfoUnits - offset));
}
