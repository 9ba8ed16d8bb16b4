// The wizard's template: what the boxes add and how it lands in a profile.
#include "ManagerLogicTest.h"
#include "WizardTemplate.h"

namespace {

class CheckList : public PolicyCheckList {
public:
    CheckList() : states(PolicyCount, 2) {}
    int ItemCount() const override { return static_cast<int>(states.size()); }
    int ItemState(int index) const override { return states.at(index); }
    void SetItemState(int index, int state) override { states.at(index) = state; }
    std::vector<int> states;
};

WizardBoxes Checked(std::initializer_list<int> boxes)
{
    WizardBoxes result = {};
    for (int box : boxes) result[box - 1] = true;
    return result;
}

WizardBoxes AllChecked()
{
    WizardBoxes result;
    result.fill(true);
    return result;
}

}  // namespace

using WizardTemplate = ManagerLogic;

TEST_F(WizardTemplate, NothingCheckedAddsNothing)
{
    Profile.Folders = {"-C:\\A"};
    Profile.Files = {"&.X"};
    CheckList list;
    list.states[3] = 0;
    ApplyProfileTemplate(MakeProfileTemplate(WizardBoxes{}), list);
    EXPECT_EQ(Profile.Folders, (TextList{"-C:\\A"}));
    EXPECT_EQ(Profile.Files, (TextList{"&.X"}));
    EXPECT_EQ(list.states[3], 0);
}

TEST_F(WizardTemplate, FileTypeBoxesInTheBuildersOrder)
{
    // Box 7 (programs) comes before box 6 (drivers); .DRV and .BMP, named in
    // the captions, get no rule.
    EXPECT_EQ(MakeProfileTemplate(Checked({6, 7})).FileRules,
              (TextList{"-.EXE", "-.COM", "-.BAT", "-.PIF", "-.SCR", "-.DLL", "-.OCX", "-.AX", "-.SYS", "-.VXD",
                        "-.386"}));
    EXPECT_EQ(MakeProfileTemplate(Checked({9})).FileRules, (TextList{"-.JPG", "-.JPEG", "-.GIF", "-.PNG", "-.TIF"}));
    EXPECT_EQ(MakeProfileTemplate(Checked({8, 10})).FileRules,
              (TextList{"-.TXT", "-.DOC", "-.PDF", "-.RTF", "-.CHM", "-.HLP", "-.HTM", "-.HTML"}));
    EXPECT_EQ(MakeProfileTemplate(Checked({11})).FileRules,
              (TextList{"-NTLDR", "-AUTOEXEC.BAT", "-BOOTFONT.BIN", "-NTDETECT.COM", "-BOOT.INI", "-BOOTSECT.DOS",
                        "-CONFIG.SYS", "-IO.SYS", "-MSDOS.SYS", "-DRVSPACE.BIN", "-COMMAND.COM"}));
}

TEST_F(WizardTemplate, RestrictionBoxesCheckTheirItemsOnly)
{
    EXPECT_EQ(MakeProfileTemplate(Checked({13})).CheckedRestrictions, (std::vector<int>{0}));
    EXPECT_EQ(MakeProfileTemplate(Checked({14})).CheckedRestrictions, (std::vector<int>{15, 21}));
    CheckList list;
    list.states[1] = 0;   // unchecked by the user
    list.states[7] = 0;   // outside the wizard's items
    list.states[9] = 1;
    ApplyProfileTemplate(MakeProfileTemplate(Checked({12})), list);
    std::vector<int> expected(PolicyCount, 2);
    for (int item : {1, 2, 3, 4, 5, 6, 8, 10, 11, 12, 13, 29, 30, 31}) expected[item] = 1;
    expected[7] = 0;
    expected[9] = 1;
    EXPECT_EQ(list.states, expected);
}

TEST_F(WizardTemplate, TwiceOnOneProfile)
{
    Profile.Folders = {"&C:\\", "-C:\\ZZZ"};
    Profile.Files = {"+.KEEP"};
    CheckList list;
    const ProfileTemplate t = MakeProfileTemplate(AllChecked());
    ApplyProfileTemplate(t, list);
    ApplyProfileTemplate(t, list);
    // One rule per folder, stored with its macro and placed by its expansion.
    EXPECT_EQ(Profile.Folders,
              (TextList{"&C:\\", "-%PROGRAMFILES%", "-%START%", "-%LOCALDESKTOP%", "-%QLAUNCH%", "-%LOCALSTART%",
                        "-%DESKTOP%", "-%WINDIR%", "-C:\\ZZZ"}));
    // File rules appended each time.
    ASSERT_EQ(Profile.Files.size(), 1 + 2 * t.FileRules.size());
    EXPECT_EQ(Profile.Files[1], "-.EXE");
    EXPECT_EQ(Profile.Files[1 + t.FileRules.size()], "-.EXE");
    EXPECT_EQ(Profile.Files.back(), "-COMMAND.COM");
    for (int item : {0, 1, 15, 21, 31}) EXPECT_EQ(list.states[item], 1) << item;
    for (int item : {7, 9, 14, 16, 20, 22}) EXPECT_EQ(list.states[item], 2) << item;
}
