// The manager's logic without windows: access kinds and buttons, folder and
// file rules, FindFolderAccess against the plain walk, drives and folders,
// disabled-program entries, and whom a loaded file is for.
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
#include <random>

namespace {

const AccessFlags Full = {false, false, false}, ReadOnly = {true, false, false}, Hidden = {false, true, false},
                  NoAccess = {false, false, true}, ReadOnlyHidden = {true, true, false},
                  HiddenNoAccess = {false, true, true}, ReadOnlyNoAccess = {true, false, true};

std::string Flags(const AccessFlags& f)
{
    return std::string(f.ReadOnly ? "R" : "-") + (f.Hidden ? "H" : "-") + (f.NoAccess ? "N" : "-");
}

// Each test starts with an empty profile and fixed macro folders, and gives both back.
class ManagerLogic : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const PathMacro& macro : PathMacros) saved_.push_back(*macro.variable);
        WindowsDir = "C:\\WINDOWS";
        TempDir = "C:\\TEMP\\";
        ProgramFilesDir = "C:\\PROGRAM FILES";
        CreateProfileLists();
        FolderRulesChanged();
    }
    void TearDown() override
    {
        for (size_t i = 0; i < saved_.size(); ++i) *PathMacros[i].variable = saved_[i];
        CreateProfileLists();
        FolderRulesChanged();
    }

private:
    std::vector<std::string> saved_;
};

}  // namespace

TEST(AccessKinds, CodesImagesTextsRadiosAndButtons)
{
    const struct {
        AccessFlags flags;
        const char* code;
        int image, folderRadio;
        const char* text;
    } kinds[] = {
        {Full, "+", 0, 0, "Full access (read/write)"},
        {ReadOnly, "-", 1, 1, "Read only access"},
        {NoAccess, "&", 2, 3, "Access denied"},
        {Hidden, "!", 3, 2, "Hidden - not visible in the Explorer"},
        {ReadOnlyHidden, "@", 4, 4, "Read only access, invisible in the Explorer"},
        {HiddenNoAccess, "#", 5, 5, "Access denied, invisible in the Explorer"},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.code);
        EXPECT_EQ(AccessCode(k.flags), k.code);
        EXPECT_EQ(AccessImage(k.code), k.image);
        EXPECT_EQ(AccessText(k.code), k.text);
        EXPECT_EQ(FolderRadioIndex(k.code), k.folderRadio);
        EXPECT_EQ(Flags(FolderRadioFlags(k.folderRadio)), Flags(k.flags));
        EXPECT_EQ(Flags(ImageButtons(k.image)), Flags(k.flags));
        EXPECT_EQ(PressedButtonsImage(k.flags), k.image);
    }
    // Read only with no access is no kind; texts that are no code show nothing.
    EXPECT_EQ(AccessCode(ReadOnlyNoAccess), "");
    EXPECT_EQ(PressedButtonsImage({true, true, true}), 0);
    for (const char* text : {"", "x", "++"})
        EXPECT_TRUE(AccessImage(text) == 0 && AccessText(text).empty() && FolderRadioIndex(text) == 0) << text;
    EXPECT_EQ(Flags(FolderRadioFlags(6)) + Flags(ImageButtons(6)) + Flags(FolderRadioFlags(-1)), "---------");
    // The file dialog offers three kinds.
    for (int radio : {0, 1, 2}) EXPECT_EQ(FileRadioIndex(FileRadioCode(radio)), radio);
    EXPECT_EQ(FileRadioCode(1) + FileRadioCode(2) + FileRadioCode(3), "-&+");
    EXPECT_EQ(FileRadioIndex("!"), -1);
}

TEST(AccessKinds, AButtonReleasesTheButtonsItCannotGoWith)
{
    const struct {
        AccessButton sender;
        AccessFlags pressedAfterToggle, kept;
    } clicks[] = {
        {AccessButton::NoAccess, ReadOnlyNoAccess, NoAccess},
        {AccessButton::ReadOnly, ReadOnlyNoAccess, ReadOnly},
        {AccessButton::NoAccess, HiddenNoAccess, HiddenNoAccess},
        {AccessButton::ReadOnly, {true, true, true}, ReadOnlyHidden},
        {AccessButton::Hidden, ReadOnlyHidden, ReadOnlyHidden},
        {AccessButton::FullAccess, HiddenNoAccess, Full},
    };
    for (const auto& c : clicks)
        EXPECT_EQ(Flags(ReleaseConflictingButtons(c.sender, c.pressedAfterToggle)), Flags(c.kept))
            << Flags(c.pressedAfterToggle);
}

TEST_F(ManagerLogic, FolderRulesAreUpperCasedPlacedByExpandedPathAndReplacedInPlace)
{
    // Sorted by expansion (%WINDIR% is C:\WINDOWS, %TEMP% C:\TEMP\), bytes above 127 last.
    // A macro and its expansion are two rules.
    for (const char* path : {"C:\\ZETA", "%windir%\\FONTS", "C:\\\xC4RGER", "%TEMP%", "c:\\windows", "%WINDIR%", "C:", ""})
        SetFolderRule(path, ReadOnly);
    EXPECT_EQ(SetFolderRule("c:\\Windows\\System32", Hidden), 6);
    EXPECT_EQ(SetFolderRule("C:\\", NoAccess), 2);
    EXPECT_EQ(Profile.Folders, (TextList{"-", "-C:", "&C:\\", "-%TEMP%", "-C:\\WINDOWS", "-%WINDIR%", "-%WINDIR%\\FONTS",
                                         "!C:\\WINDOWS\\SYSTEM32", "-C:\\ZETA", "-C:\\\xC4RGER"}));
    EXPECT_EQ(SetFolderRule("C:\\B", ReadOnlyNoAccess), -1);
    // A loaded file's order: the same stored path is replaced where it is,
    // a new one goes in front of the first later entry.
    Profile.Folders = {"-C:\\M", "-C:\\B", "-C:\\Z"};
    EXPECT_EQ(SetFolderRule("c:\\b", Hidden), 1);
    EXPECT_EQ(SetFolderRule("C:\\N", ReadOnly), 2);
    EXPECT_EQ(Profile.Folders, (TextList{"-C:\\M", "!C:\\B", "-C:\\N", "-C:\\Z"}));
}

TEST_F(ManagerLogic, FolderRulesAreRemovedByStoredPathAndListedWithTheirAccess)
{
    Profile.Folders = {"-C:\\A", "!c:\\mixed", "&C:\\A", "-%WINDIR%"};
    EXPECT_TRUE(RemoveFolderRule("c:\\a"));
    EXPECT_FALSE(RemoveFolderRule("c:\\mixed"));  // stored with lower case: never found
    EXPECT_FALSE(RemoveFolderRule("C:\\WINDOWS"));  // nor a macro by its expansion
    EXPECT_FALSE(RemoveFolderRuleAt(3));
    EXPECT_TRUE(RemoveFolderRuleAt(2));
    EXPECT_EQ(Profile.Folders, (TextList{"!c:\\mixed", "&C:\\A"}));
    EXPECT_EQ(FolderRuleLine("#C:"), "C:   (Access denied, invisible in the Explorer)");
    EXPECT_EQ(FolderRuleLine("?C:\\ODD"), "C:\\ODD   ()");
    EXPECT_EQ(FolderRuleLine(""), "   ()");
}

namespace {

// The walk the table stands in for: every rule in list order, a later
// match overriding an earlier one.
FolderAccess PlainWalk(const std::string& path)
{
    const std::string upper = UpperCase(path);
    FolderAccess access;
    for (const std::string& rule : Profile.Folders) {
        const std::string rulePath = ExpandMacros(EntryText(rule));
        if (upper.compare(0, rulePath.size(), rulePath) == 0 && upper.size() >= rulePath.size())
            access = {AccessImage(EntryCode(rule)), upper.size() == rulePath.size()};
    }
    return access;
}

}  // namespace

TEST_F(ManagerLogic, FindFolderAccessGivesThePlainWalksAnswerForRandomRulesAndPaths)
{
    // Macro folders that are prefixes of each other, one empty, one holding
    // lower case and another macro's name.
    WindowsDir = "C:\\A";
    TempDir = "C:\\AB\\";
    CommonDesktopDir = "";
    QuickLaunchDir = "C:\\a%WINDIR%";
    std::mt19937 random(20240611);
    auto below = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    auto join = [&](const TextList& tokens, size_t most) {
        std::string path;
        for (size_t n = below(most + 1); n > 0; --n) path += tokens[below(tokens.size())];
        return path;
    };
    const TextList codes = {"+", "-", "!", "&", "@", "#", "x"};
    const TextList ruleTokens = {"C:", "\\", "A", "B", "AB", "a", "%WINDIR%", "%TEMP%", "%windir%", "%DESKTOP%",
                                 "%QLAUNCH%", "\xC4", "%"};
    const TextList pathTokens = {"C:", "\\", "A", "B", "a", "b", "AB", "\xC4", "\xE4", "%"};
    size_t compared = 0, matched = 0, own = 0;
    for (int list = 0; list < 4000; ++list) {
        TextList& rules = Profile.Folders;
        rules.clear();
        for (size_t n = below(14); n > 0; --n) {
            size_t kind = below(10);
            if (kind == 0) rules.push_back("");
            else if (kind < 3 && !rules.empty()) rules.push_back(codes[below(7)] + EntryText(rules[below(rules.size())]));
            else rules.push_back(codes[below(7)] + join(ruleTokens, 5));
        }
        FolderRulesChanged();
        // Random paths, and the rules' own paths with prefixes and tails, so
        // that exact and partial matches are frequent.
        TextList paths = {""};
        for (int n = 0; n < 20; ++n) paths.push_back(join(pathTokens, 6));
        for (const std::string& rule : rules) {
            const std::string expanded = ExpandMacros(EntryText(rule));
            paths.push_back(expanded);
            paths.push_back(expanded.substr(0, below(expanded.size() + 1)));
            paths.push_back(expanded + TextList{"\\A", "B", "a"}[below(3)]);
        }
        for (const std::string& path : paths) {
            FolderAccess expected = PlainWalk(path), found = FindFolderAccess(path);
            ASSERT_EQ(found.ImageIndex, expected.ImageIndex) << "list " << list << " path " << path;
            ASSERT_EQ(found.OwnRule, expected.OwnRule) << "list " << list << " path " << path;
            ++compared;
            matched += expected.ImageIndex != 0;
            own += expected.OwnRule;
        }
    }
    // The generator has to reach the interesting cases for the comparison to mean something.
    EXPECT_GT(compared, 100000u);
    EXPECT_GT(matched, compared / 10);
    EXPECT_GT(own, compared / 20);
}

TEST_F(ManagerLogic, FindFolderAccessFollowsEveryEdit)
{
    SetFolderRule("C:\\DATA", ReadOnly);
    EXPECT_EQ(FindFolderAccess("c:\\data\\x").ImageIndex, 1);
    SetFolderRule("C:\\DATA", Hidden);
    EXPECT_EQ(FindFolderAccess("C:\\DATA\\X").ImageIndex, 3);
    SetFolderRule("C:\\DATA\\X", NoAccess);
    EXPECT_TRUE(FindFolderAccess("C:\\DATA\\X").OwnRule);
    RemoveFolderRule("C:\\DATA\\X");
    EXPECT_FALSE(FindFolderAccess("C:\\DATA\\X").OwnRule);
    Profile.Folders.clear();  // directly: noticed by the length
    EXPECT_EQ(FindFolderAccess("C:\\DATA").ImageIndex, 0);
    Profile.Folders = {"!%WINDIR%"};
    WindowsDir = "D:\\WIN";
    FolderRulesChanged();
    EXPECT_EQ(FindFolderAccess("D:\\WIN").ImageIndex, 3);
    const std::string deep = "C:\\" + std::string(5000, 'D');
    Profile.Folders = {"-C:\\", "&" + deep};
    EXPECT_EQ(FindFolderAccess(deep + "\\E").ImageIndex, 2);
}

namespace {

void SetClassesDefault(const std::string& subkey, const std::string& value)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

}  // namespace

TEST_F(ManagerLogic, FileRuleLinesDescribeTheTypesFromTheRegistryReadAgainAtEachRefill)
{
    SetClassesDefault(".vtt", "VtTestFile");
    SetClassesDefault("VtTestFile", "Vantrel test document");
    SetClassesDefault(".vtn", "VtNoDescription");
    SetClassesDefault(".vt1", "VtFits");
    SetClassesDefault("VtFits", std::string(255, 'd'));
    SetClassesDefault(".vt2", "VtTooLong");
    SetClassesDefault("VtTooLong", std::string(256, 'd'));
    Profile.Files = {"&.VTT", "-a.vtt", "+NOEXT", "-C:\\DIR.VTT\\FILE", "+.VTN", "-X.VT1", "-X.VT2", ""};
    EXPECT_EQ(FileRuleLines(), (TextList{
                                   ".VTT  //    (Vantrel test document)    //  Access denied  //",
                                   "a.vtt  //    (Vantrel test document)    //  Read only access  //",
                                   "NOEXT  //  Unknown type  //  Full access (read/write)  //",
                                   "C:\\DIR.VTT\\FILE  //  Unknown type  //  Read only access  //",
                                   ".VTN  //  Unknown type  //  Full access (read/write)  //",
                                   "X.VT1  //    (" + std::string(255, 'd') + ")    //  Read only access  //",
                                   "X.VT2  //  Unknown type  //  Read only access  //",
                                   "  //  Unknown type  //    //",
                               }));
    SetClassesDefault("VtTestFile", "Renamed document");
    EXPECT_EQ(FileRuleLines()[0], ".VTT  //    (Renamed document)    //  Access denied  //");
    EXPECT_EQ(FileRuleNameOfLine(FileRuleLines()[1]), "a.vtt");
    EXPECT_EQ(FileRuleNameOfLine("A / B"), "A / B");
}

TEST_F(ManagerLogic, FileRulesSortByTheUsersLocaleAndAreAddedFoundAndReplaced)
{
    // Byte order would put upper case first and the accented letter (0xE9) last.
    Profile.Files = {"-Z.TXT", "-\xE9.TXT", "-e.TXT", "-F.TXT", "-E.TXT"};
    SortFileRules();
    // Entries added after a refill find their places at the next one.
    AddFileRules({"-a.txt", "-g"});
    SortFileRules();
    EXPECT_EQ(Profile.Files, (TextList{"-A.TXT", "-e.TXT", "-E.TXT", "-\xE9.TXT", "-F.TXT", "-G", "-Z.TXT"}));
    EXPECT_EQ(FindFileRule("E.TXT"), 2u);
    EXPECT_EQ(FindFileRule("E.TXT", 3), std::string::npos);
    EXPECT_TRUE(RemoveFileRule("e.TXT"));
    EXPECT_FALSE(RemoveFileRule("B.TXT"));
    EXPECT_TRUE(ReplaceFileRule(0, {"+new.txt", "-two"}));
    EXPECT_FALSE(ReplaceFileRule(7, {"+x"}));
    EXPECT_EQ(Profile.Files, (TextList{"-E.TXT", "-\xE9.TXT", "-F.TXT", "-G", "-Z.TXT", "+new.txt", "-two"}));
}

TEST(FileRuleDialog, EntriesFromTheEditBoxAndWhatBrowsePutsThere)
{
    const struct {
        const char* text;
        int radio;
        TextList entries;
    } typed[] = {
        {"BOOT.INI", 1, {"-BOOT.INI"}},
        {" \"A.TXT\" \"\" \"B\"", 2, {"&A.TXT", "&B"}},
        {" \"A.TXT\" \"B", 0, {"+A.TXT"}},
        {" \"", 1, {}},
        {"\"A.TXT\" \"B\"", 1, {"-\"A.TXT\" \"B\""}},
    };
    for (const auto& t : typed) EXPECT_EQ(AddedFileRuleEntries(t.text, t.radio), t.entries) << t.text;
    const struct {
        std::vector<std::string> chosen;
        bool typeBox;
        const char* text;
    } browsed[] = {
        {{"C:\\BOOT.INI"}, false, "BOOT.INI"},
        {{"C:\\BOOT.INI"}, true, ".INI"},
        {{"C:\\DIR.D\\NOEXT"}, true, ""},
        {{"D:FILE.TXT"}, false, "FILE.TXT"},
        {{"C:\\A\\ONE.TXT", "C:\\A\\two"}, true, " \"ONE.TXT\" \"two\""},
    };
    for (const auto& b : browsed) {
        BrowsedFiles files = BrowsedFileText(b.chosen, b.typeBox);
        EXPECT_EQ(files.Text, b.text) << b.chosen.front();
        EXPECT_EQ(files.Multiple, b.chosen.size() > 1) << b.chosen.front();
    }
}

TEST(DrivesAndFolders, DriveEntriesAndTheSubfoldersOfARealFolder)
{
    EXPECT_EQ(DriveEntryText('C', "", DRIVE_FIXED), "[ C: ]    <Fixed drive>");
    EXPECT_EQ(DriveEntryText('D', "DVD 1", DRIVE_CDROM), "[ D: ]  (DVD 1)     <CD-ROM/DVD drive>");
    EXPECT_EQ(DriveEntryText('A', "", DRIVE_REMOVABLE) + DriveEntryText('R', "", DRIVE_RAMDISK),
              "[ A: ]    <Removable drive>[ R: ]    <RAM disk drive>");
    EXPECT_EQ(DriveEntryText('N', "SHARE", DRIVE_REMOTE) + DriveEntryText('X', "", DRIVE_NO_ROOT_DIR),
              "[ N: ]  (SHARE) [ X: ]");
    std::vector<DriveEntry> drives = ReadDriveEntries();
    DWORD mask = GetLogicalDrives();
    ASSERT_EQ(drives.size(), static_cast<size_t>(__builtin_popcount(mask)));
    const size_t c = static_cast<size_t>(__builtin_popcount(mask & 3u));  // Wine's C: is fixed
    EXPECT_EQ(drives[c].Text.substr(0, 6) + drives[c].Text.substr(drives[c].Text.size() - 17),
              "[ C: ]    <Fixed drive>");
    EXPECT_EQ(FirstFixedDrive({{"", DRIVE_REMOVABLE}, {"", DRIVE_FIXED}, {"", DRIVE_FIXED}}), 1);
    EXPECT_EQ(FirstFixedDrive({{"", DRIVE_CDROM}}), 0);

    const std::string top = NewTempDir("scan");
    for (const char* name : {"beta", "Alpha", "hidden", "empty", "beta\\inner"})
        CreateDirectoryA((top + name).c_str(), nullptr);
    SetFileAttributesA((top + "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    WriteWholeFile(top + "file.txt", "x");
    WriteWholeFile(top + "empty\\only a file", "x");
    std::vector<std::string> names = ListSubfolders(top.substr(0, top.size() - 1));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "empty", "hidden"}));
    EXPECT_TRUE(HasSubfolders(top + "beta"));
    EXPECT_FALSE(HasSubfolders(top + "empty") || HasSubfolders(top + "missing"));
    EXPECT_TRUE(ListSubfolders(top + "file.txt").empty());
    RemoveTree(top);
}

TEST(ProgramEntries, FromTheVersionInformationReadUpTo2048Bytes)
{
    EXPECT_EQ(ProgramEntry(BinDir() + "verinfo_full.exe"),
              "VERINFO_FULL.EXE      // Vantrel test program  (Vantrel Test Makers)");
    EXPECT_EQ(ProgramEntry(BinDir() + "no such program.exe"), "NO SUCH PROGRAM.EXE");
    // The description starts inside the first 2048 bytes and runs past them;
    // the company name lies wholly beyond them. The platform's own parser
    // tells where the description starts.
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
    for (int i = 0; i < 30; ++i) digits += "0123456789";
    EXPECT_EQ(ProgramEntry(path), "VERINFO_LONG.EXE      // " + digits.substr(0, VersionInfoUnits - offset));
}

TEST(ProgramEntries, ValuesEndAtANullOrAtTheEndOfTheUnits)
{
    using namespace std::string_literals;
    const struct {
        std::wstring units;
        const char* description;
    } cases[] = {
        {L"CompanyName\0\0Maker\0..FileDescription\0\0Editor\0"s, "      // Editor  (Maker)"},
        {L"FileDescription\0\0Caf\u00e9"s, "      // Caf\xe9"},
        {L"FileDescription"s, "      // "},
        {L"FileDescriptio"s, ""},
        {L"xxCompanyName\0\0Cut"s, "      //   (Cut)"},
        {L""s, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VersionDescription(c.units.data(), c.units.size()), c.description) << c.description;
}

TEST(ManagerTexts, WhomALoadedFileIsFor)
{
    const struct {
        const char* file;
        const char* user;  // null: the default profile
    } cases[] = {
        {"C:\\VANTREL\\PROFILES\\default.vtp", nullptr},
        {"D:DEFAULT.VTP", nullptr},
        {"C:\\P\\Bob.VtP", "Bob"},
        {"C:\\P\\alice.txt", "alice.txt"},
        {"C:\\P\\x.vtp.vtp", "x.vtp"},
        {"C:\\P\\default.vtp.bak", "default.vtp.bak"},
        {"C:\\default.vtp\\carol", "carol"},
        {"C:\\P\\.vtp", ""},
        {"vtp", "vtp"},
    };
    for (const auto& c : cases) {
        ProfileUser user = ProfileUserOfFile(c.file);
        EXPECT_EQ(user.IsDefault, c.user == nullptr) << c.file;
        EXPECT_EQ(user.UserName, c.user ? c.user : "") << c.file;
    }
}
