// New profile and the wizard's template in the manager window: what the
// window and the profile hold after the administrator's clicks.
#include "ProfileCommandsTest.h"
#include "vrcmd.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

const ProfileSpec Sample = {{"-C:\\WINDOWS", "&D:\\PRIVATE"},
                            {"-.TXT", "&SECRET.DOC"},
                            {"NOTEPAD.EXE      //Notepad"},
                            PolicyLines(std::vector<int>(32, 0)),
                            0};

void ClickWizard(int id)
{
    SendMessageA(Wizard->FindById(id)->Handle(), BM_CLICK, 0, 0);
}

// Through the wizard from where it stands: the boxes clicked on their pages, then Finish.
void RunWizard(const std::vector<int>& boxes)
{
    while (Wizard->PageIndex() > 0) ClickWizard(WizardId::Button1);
    const std::vector<std::vector<int>> pages = {{}, {1, 2, 3, 4, 5}, {6, 7, 8, 9, 10, 11}, {12, 13, 14}, {}};
    for (size_t page = 0; page < pages.size(); ++page) {
        for (int box : boxes)
            for (int onPage : pages[page])
                if (box == onPage) ClickWizard(WizardId::CheckBox1 + box - 1);
        ClickWizard(WizardId::Button2);
    }
}

}  // namespace

TEST_F(ProfileCommands, NewProfileShowsTheWizardThenAsksAndEmptiesEverything) {
    ProfileSpec spec = Sample;
    spec.passwordHash = Command18("own");
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles, "alice", spec)));
    ClickRestriction(4);
    ASSERT_TRUE(Form1->ProfileChanged);

    // Whether the wizard was on the screen when the question came.
    std::atomic<int> wizardAtQuestion{-1};
    std::thread watch([&] {
        for (int i = 0; i < 500 && wizardAtQuestion < 0; ++i) {
            if (FindWindowA("#32770", "Save")) wizardAtQuestion = IsWindowVisible(Wizard->Handle()) ? 1 : 0;
            Sleep(10);
        }
    });
    BoxAnswerer answerer("no");
    Command(IDM_Newprofile1);
    watch.join();
    std::vector<SeenBox> seen = answerer.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Save");
    EXPECT_EQ(seen[0].text, "Profile was changed, but not saved. Save it now?");
    EXPECT_EQ(seen[0].icon, "question");
    EXPECT_EQ(wizardAtQuestion, 1);
    EXPECT_TRUE(IsWindowVisible(Wizard->Handle()));

    EXPECT_TRUE(Lines(Form1Id::ListBox1).empty());
    EXPECT_TRUE(Lines(Form1Id::ListBox2).empty());
    EXPECT_TRUE(Lines(Form1Id::ListBox3).empty());
    EXPECT_EQ(RestrictionStates(), std::vector<int>(32, 2));
    EXPECT_EQ(Profile.Policies, PolicyLines(std::vector<int>(32, 2)));
    EXPECT_TRUE(Profile.Folders.empty() && Profile.Files.empty() && Profile.Tasks.empty());
    EXPECT_TRUE(Profile.Options.empty());
    EXPECT_FALSE(Profile.OwnPassword);
    EXPECT_EQ(Profile.PasswordHash, 0u);
    EXPECT_FALSE(Form1->ProfileChanged);
    // What the window says of the profile's user and password stays.
    EXPECT_EQ(Form1->RadioGroup1.ItemIndex(), 0);
    EXPECT_EQ(Form1->Edit1.Text(), "alice");
    EXPECT_FALSE(Form1->CheckBox1.Checked());
    EXPECT_EQ(Form1->Text(), " Vantrel  - alice");
}

TEST_F(ProfileCommands, NewProfileWithoutEditsAsksNothing) {
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles, "default", Sample)));
    BoxAnswerer answerer("no");
    Command(IDM_Newprofile1);
    EXPECT_TRUE(answerer.Seen().empty());
    EXPECT_TRUE(Profile.Folders.empty());
}

TEST_F(ProfileCommands, FinishWithNothingCheckedAddsNothing) {
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles, "default", Sample)));
    const TextList folders = Profile.Folders, files = Profile.Files;
    const std::vector<std::string> ruleLines = Lines(Form1Id::ListBox1), fileLines = Lines(Form1Id::ListBox2);
    Command(IDM_ProfileCreationWizard1);
    RunWizard({});
    EXPECT_FALSE(IsWindowVisible(Wizard->Handle()));
    EXPECT_EQ(Profile.Folders, folders);
    EXPECT_EQ(Profile.Files, files);
    EXPECT_EQ(Lines(Form1Id::ListBox1), ruleLines);
    EXPECT_EQ(Lines(Form1Id::ListBox2), fileLines);
    EXPECT_EQ(RestrictionStates(), std::vector<int>(32, 0));
    EXPECT_FALSE(Form1->ProfileChanged);
}

TEST_F(ProfileCommands, TheWizardTwiceAppendsFileRulesTwiceButKeepsOneRulePerFolder) {
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles, "default", Sample)));
    Command(IDM_ProfileCreationWizard1);
    RunWizard({1, 10});
    Command(IDM_ProfileCreationWizard1);
    ASSERT_EQ(Wizard->PageIndex(), 4);
    ClickWizard(WizardId::Button2);
    auto count = [](const TextList& list, const std::string& line) {
        return std::count(list.begin(), list.end(), line);
    };
    EXPECT_EQ(count(Profile.Folders, "-%WINDIR%"), 1);
    EXPECT_EQ(Profile.Folders.size(), Sample.folders.size() + 1);
    EXPECT_EQ(count(Profile.Files, "-.HTM"), 2);
    EXPECT_EQ(count(Profile.Files, "-.HTML"), 2);
    EXPECT_EQ(Profile.Files.size(), Sample.files.size() + 4);
    EXPECT_EQ(Lines(Form1Id::ListBox1).size(), Profile.Folders.size());
    EXPECT_EQ(Lines(Form1Id::ListBox2).size(), Profile.Files.size());
}

TEST_F(ProfileCommands, TheWizardChecksItsRestrictionsWhateverTheirStateAndNoOthers) {
    std::vector<int> states(32, 0);
    states[15] = 0;  // "No DOS box/Command prompt" unchecked
    states[21] = 2;  // "Disable DOS real mode (Win 95/98)" grayed
    states[16] = 1;
    states[20] = 2;
    ProfileSpec spec = Sample;
    spec.policies = PolicyLines(states);
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles, "default", spec)));
    Command(IDM_ProfileCreationWizard1);
    RunWizard({14});
    states[15] = 1;
    states[21] = 1;
    EXPECT_EQ(RestrictionStates(), states);
}

TEST_F(ProfileCommands, NewProfileThenFinishGivesOnlyTheTemplate) {
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles, "default", Sample)));
    Command(IDM_Newprofile1);
    ASSERT_TRUE(IsWindowVisible(Wizard->Handle()));
    RunWizard({2, 13});
    EXPECT_EQ(Profile.Folders, TextList{"-%PROGRAMFILES%"});
    EXPECT_TRUE(Profile.Files.empty());
    EXPECT_TRUE(Profile.Tasks.empty());
    std::vector<int> states(32, 2);
    states[0] = 1;
    EXPECT_EQ(RestrictionStates(), states);
    EXPECT_EQ(Lines(Form1Id::ListBox1).size(), 1u);
    EXPECT_FALSE(Form1->ProfileChanged);
}
