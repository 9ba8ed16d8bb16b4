// Editing the folder rules: upper case, one rule per stored path, order by
// expanded path, and the rule list's lines.
#include "ManagerLogicTest.h"
#include "FolderRules.h"

namespace {

const AccessFlags ReadOnly = {true, false, false};
const AccessFlags Hidden = {false, true, false};
const AccessFlags NoAccess = {false, false, true};
const AccessFlags Full = {false, false, false};

}  // namespace

using FolderRules = ManagerLogic;

TEST_F(FolderRules, DeeperFolderAddedFirstIsListedAfterItsParent)
{
    EXPECT_EQ(SetFolderRule("C:\\Windows\\System32", Hidden), 0);
    EXPECT_EQ(SetFolderRule("c:\\windows", ReadOnly), 0);
    EXPECT_EQ(Profile.Folders, (TextList{"-C:\\WINDOWS", "!C:\\WINDOWS\\SYSTEM32"}));
}

TEST_F(FolderRules, PlacesByExpandedPathInByteOrder)
{
    // Sorted by expansion: %WINDIR% stands for C:\WINDOWS, %TEMP% for C:\TEMP\.
    SetFolderRule("C:\\ZETA", ReadOnly);
    SetFolderRule("%WINDIR%\\FONTS", ReadOnly);
    SetFolderRule("C:\\", NoAccess);
    SetFolderRule("%TEMP%", Hidden);
    SetFolderRule("C:\\WINDOWS", ReadOnly);
    SetFolderRule("C:\\\xC4RGER", ReadOnly);  // above 127: after every ASCII letter
    SetFolderRule("C:", Full);
    EXPECT_EQ(Profile.Folders, (TextList{"+C:", "&C:\\", "!%TEMP%", "-C:\\WINDOWS", "-%WINDIR%\\FONTS",
                                         "-C:\\ZETA", "-C:\\\xC4RGER"}));
}

TEST_F(FolderRules, AnEntryOfTheSamePathIsReplacedInPlace)
{
    Profile.Folders = {"-C:\\B", "-C:\\A", "-C:\\C"};  // a loaded file's order
    EXPECT_EQ(SetFolderRule("c:\\a", Hidden), 1);
    EXPECT_EQ(Profile.Folders, (TextList{"-C:\\B", "!C:\\A", "-C:\\C"}));
    // Identity is by stored text: a macro and its expansion are two rules.
    Profile.Folders = {"-%WINDIR%"};
    EXPECT_EQ(SetFolderRule("%windir%", NoAccess), 0);
    EXPECT_EQ(SetFolderRule("C:\\WINDOWS", Hidden), 1);
    EXPECT_EQ(Profile.Folders, (TextList{"&%WINDIR%", "!C:\\WINDOWS"}));
}

TEST_F(FolderRules, InsertsInFrontOfTheFirstLaterEntryOfALoadedList)
{
    Profile.Folders = {"-C:\\M", "-C:\\B", "-C:\\Z"};
    EXPECT_EQ(SetFolderRule("C:\\N", ReadOnly), 2);
    EXPECT_EQ(SetFolderRule("C:\\A", ReadOnly), 0);
    EXPECT_EQ(Profile.Folders, (TextList{"-C:\\A", "-C:\\M", "-C:\\B", "-C:\\N", "-C:\\Z"}));
}

TEST_F(FolderRules, EmptyPathSortsFirst)
{
    SetFolderRule("C:", ReadOnly);
    EXPECT_EQ(SetFolderRule("", NoAccess), 0);
    EXPECT_EQ(Profile.Folders, (TextList{"&", "-C:"}));
    EXPECT_EQ(FindFolderAccess("D:\\ANYTHING").ImageIndex, 2);
    EXPECT_EQ(FindFolderAccess("C:\\ANYTHING").ImageIndex, 1);
}

TEST_F(FolderRules, ReadOnlyWithNoAccessIsRefused)
{
    Profile.Folders = {"-C:\\A"};
    EXPECT_EQ(SetFolderRule("C:\\A", {true, false, true}), -1);
    EXPECT_EQ(SetFolderRule("C:\\B", {true, true, true}), -1);
    EXPECT_EQ(Profile.Folders, (TextList{"-C:\\A"}));
}

TEST_F(FolderRules, RemovingByPathTakesTheFirstEntryOfThatStoredPath)
{
    Profile.Folders = {"-C:\\A", "!c:\\mixed", "&C:\\A", "-%WINDIR%"};
    EXPECT_TRUE(RemoveFolderRule("c:\\a"));
    EXPECT_EQ(Profile.Folders, (TextList{"!c:\\mixed", "&C:\\A", "-%WINDIR%"}));
    // A stored path with lower case is never found, nor a macro by its expansion.
    EXPECT_FALSE(RemoveFolderRule("c:\\mixed"));
    EXPECT_FALSE(RemoveFolderRule("C:\\WINDOWS"));
    EXPECT_EQ(Profile.Folders.size(), 3u);
    EXPECT_TRUE(RemoveFolderRule("%windir%"));
    EXPECT_FALSE(RemoveFolderRuleAt(2));
    EXPECT_TRUE(RemoveFolderRuleAt(0));
    EXPECT_EQ(Profile.Folders, (TextList{"&C:\\A"}));
}

TEST_F(FolderRules, TheTreeSeesEveryEdit)
{
    SetFolderRule("C:\\DATA", ReadOnly);
    EXPECT_EQ(FindFolderAccess("C:\\DATA\\X").ImageIndex, 1);
    SetFolderRule("C:\\DATA", Hidden);
    EXPECT_EQ(FindFolderAccess("C:\\DATA\\X").ImageIndex, 3);
    SetFolderRule("C:\\DATA\\X", NoAccess);
    EXPECT_TRUE(FindFolderAccess("C:\\DATA\\X").OwnRule);
    RemoveFolderRule("C:\\DATA\\X");
    EXPECT_FALSE(FindFolderAccess("C:\\DATA\\X").OwnRule);
    RemoveFolderRuleAt(0);
    EXPECT_EQ(FindFolderAccess("C:\\DATA\\X").ImageIndex, 0);
}

TEST_F(FolderRules, RuleListLines)
{
    const struct {
        const char* entry;
        const char* line;
    } lines[] = {
        {"-C:\\WINDOWS", "C:\\WINDOWS   (Read only access)"},
        {"#C:", "C:   (Access denied, invisible in the Explorer)"},
        {"+%PROGRAMFILES%\\X", "%PROGRAMFILES%\\X   (Full access (read/write))"},
        {"&", "   (Access denied)"},
        {"?C:\\ODD", "C:\\ODD   ()"},
        {"", "   ()"},
    };
    for (const auto& l : lines) EXPECT_EQ(FolderRuleLine(l.entry), l.line) << l.entry;
}
