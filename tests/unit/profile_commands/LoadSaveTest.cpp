// Loading a profile into the window and saving it again, as the
// administrator does it: by the menu commands, with the boxes answered by
// the box answerer and the files read back with the profile reader.
#include "ProfileCommandsTest.h"
#include "RuntimeEnv.h"
#include "vrcmd.h"

namespace {

const char* const DefaultSummaryStart = "This profile will be used as DEFAULT (main) profile.\r\n\n";

std::string Summary(const std::string& first, int folders, int files, int tasks, bool ownPassword)
{
    return first + "\r\n\nThis profile contains restrictions for:\r\n" + std::to_string(folders) + " folders,\r\n" +
           std::to_string(files) + " files,\r\n" + std::to_string(tasks) + " tasks,\r\n31 policy restrictions.\r\n" +
           (ownPassword ? "To disable protection, user will use password, specified in the profile.\r\n"
                        : "To disable protection, user will use default toggle protection password.\r\n") +
           "\r\nIf something above is wrong, you can cancel saving, clicking NO button. Save profile?";
}

const ProfileSpec Sample = {{"-C:\\WINDOWS", "!%DESKTOP%", "&D:\\PRIVATE"},
                            {"-.TXT", "&SECRET.DOC"},
                            {"NOTEPAD.EXE      //Notepad"},
                            PolicyLines(std::vector<int>(32, 2)),
                            0};

}  // namespace

TEST_F(ProfileCommands, LoadingNamesTheUserAndTheTitleAfterTheFile) {
    struct Case {
        const char* fileName;  // written as that name
        int choice;
        const char* userName;
        const char* title;
    };
    const Case cases[] = {
        {"Default.Vtp", 1, "", " Vantrel  - Default profile"},
        {"DEFAULT.VTP", 1, "", " Vantrel  - Default profile"},
        {"alice.vtp", 0, "alice", " Vantrel  - alice"},
        {"Bob.VTP", 0, "Bob", " Vantrel  - Bob"},
        {"alice.txt", 0, "alice.txt", " Vantrel  - alice.txt"},
    };
    const std::string other = NewTempDir("other");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        const std::string path = other + c.fileName;
        ASSERT_TRUE(MoveFileExA(WriteProfile(other, "written", Sample).c_str(), path.c_str(),
                                MOVEFILE_REPLACE_EXISTING));
        ASSERT_TRUE(Form1->LoadProfileIntoWindow(path));
        EXPECT_EQ(Form1->RadioGroup1.ItemIndex(), c.choice);
        EXPECT_EQ(Form1->Edit1.Text(), c.userName);
        EXPECT_EQ(Form1->Edit1.Enabled(), c.choice == 0);
        EXPECT_EQ(Form1->Text(), c.title);
        DeleteFileA(path.c_str());
    }
    RemoveTree(other);
}

TEST_F(ProfileCommands, LoadingShowsTheProfilesOwnPasswordInTheOptions) {
    for (bool own : {true, false, true}) {
        ProfileSpec spec = Sample;
        spec.passwordHash = own ? Command18("own") : 0;
        ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles, "default", spec)));
        EXPECT_EQ(Form1->CheckBox1.Checked(), !own);
        EXPECT_EQ(IsWindowEnabled(Control(Form1Id::Label4)) != FALSE, own);
        EXPECT_EQ(IsWindowEnabled(Control(Form1Id::Button4)) != FALSE, own);
        EXPECT_EQ(Profile.OwnPassword, own);
    }
}

TEST_F(ProfileCommands, LoadingFillsEveryTabFromTheFile) {
    ProfileSpec spec = Sample;
    spec.policies[0] = "0=1";
    spec.policies[17] = "17=0";
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles, "default", spec)));
    EXPECT_EQ(Lines(Form1Id::ListBox1).size(), 3u);
    EXPECT_EQ(Lines(Form1Id::ListBox2).size(), 2u);
    EXPECT_EQ(Lines(Form1Id::ListBox3).size(), 1u);
    std::vector<int> states(32, 2);
    states[0] = 1;
    states[17] = 0;
    EXPECT_EQ(RestrictionStates(), states);

    // A profile without restriction lines leaves every restriction unchanged,
    // whatever the profile shown before set.
    spec.policies.clear();
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles, "default", spec)));
    EXPECT_EQ(RestrictionStates(), std::vector<int>(32, 2));

    // A line that cannot be read is reported; the lines before it are shown.
    spec.policies = {"3=1", "x=1", "4=1"};
    BoxAnswerer answerer("ok");
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles, "default", spec)));
    std::vector<SeenBox> seen = answerer.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Invalid restriction line in the profile: \"x=1\"");
    EXPECT_EQ(seen[0].icon, "error");
    states.assign(32, 2);
    states[3] = 1;
    EXPECT_EQ(RestrictionStates(), states);
}

TEST_F(ProfileCommands, AnUnreadableFileChangesNothingAndShowsNothing) {
    const std::string locked = WriteProfile(profiles, "locked", ProfileSpec{});
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles, "alice", Sample)));
    HANDLE hold = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    {
        BoxAnswerer answerer("ok", locked, true);
        Command(IDM_Openprofile1);
        std::vector<SeenBox> seen = answerer.Seen();
        ASSERT_EQ(seen.size(), 1u) << "only the open dialog";
    }
    CloseHandle(hold);
    EXPECT_FALSE(Form1->LoadProfileIntoWindow(profiles + "missing.vtp"));
    EXPECT_EQ(Form1->Text(), " Vantrel  - alice");
    EXPECT_EQ(Form1->Edit1.Text(), "alice");
    EXPECT_EQ(Lines(Form1Id::ListBox1).size(), 3u);
    EXPECT_EQ(Profile.Folders, Sample.folders);
}

// The open dialog starts in the profiles folder with "default.vtp" each
// time. (Wine's dialog refuses a name typed without its extension before it
// adds the default one, so every typed name here has its extension.)
TEST_F(ProfileCommands, OpenStartsInTheProfilesFolderWithTheDefaultProfileEachTime) {
    const std::string other = NewTempDir("other");
    WriteProfile(profiles, "default", Sample);
    WriteProfile(profiles, "alice", Sample);
    WriteProfile(other, "bob", Sample);
    ASSERT_TRUE(MoveFileA(WriteProfile(other, "written", Sample).c_str(), (other + "carol.txt").c_str()));
    struct Case {
        std::string typed;  // empty: Open pressed on what the dialog offers
        const char* title;
    };
    const Case cases[] = {
        {"", " Vantrel  - Default profile"},
        {other + "bob.vtp", " Vantrel  - bob"},
        {"", " Vantrel  - Default profile"},
        {"alice.vtp", " Vantrel  - alice"},
        {other + "carol.txt", " Vantrel  - carol.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        BoxAnswerer answerer("ok", c.typed, !c.typed.empty());
        Command(IDM_Openprofile1);
        std::vector<SeenBox> seen = answerer.Seen();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption, "Open");
        EXPECT_EQ(Form1->Text(), c.title);
        EXPECT_EQ(Profile.Folders, Sample.folders);
    }
    RemoveTree(other);
}

TEST_F(ProfileCommands, SaveWithChoiceZeroAndNoNameSavesTheDefaultProfile) {
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles, "alice", Sample)));
    DeleteFileA((profiles + "alice.vtp").c_str());
    Form1->Edit1.SetText("");
    BoxAnswerer answerer("yes");
    Command(IDM_Saveprofile1);
    std::vector<SeenBox> seen = answerer.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Save profile");
    EXPECT_EQ(seen[0].text, Summary("This profile will be used as DEFAULT (main) profile.", 3, 2, 1, false));
    EXPECT_EQ(seen[0].icon, "information");
    EXPECT_EQ(seen[0].buttons, "yes,no");
    ProfileSpec saved = ReadProfile(profiles + "default.vtp");
    EXPECT_EQ(saved.folders, Sample.folders);
    EXPECT_EQ(GetFileAttributesA((profiles + "alice.vtp").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ProfileCommands, TheSummaryCountsWhatTheProfileHolds) {
    struct Case {
        ProfileSpec spec;
        const char* userName;
        int folders, files, tasks;
    };
    ProfileSpec empty;
    ProfileSpec many = Sample;
    for (int i = 0; i < 12; ++i) many.folders.push_back("-C:\\F" + std::to_string(i));
    const Case cases[] = {{empty, "carol", 0, 0, 0}, {Sample, "dave", 3, 2, 1}, {many, "eve", 15, 2, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.userName);
        ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles, c.userName, c.spec)));
        BoxAnswerer answerer("no");
        Command(IDM_Saveprofile1);
        std::vector<SeenBox> seen = answerer.Seen();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, Summary(std::string("This profile will be used for user \"") + c.userName + "\".",
                                        c.folders, c.files, c.tasks, false));
    }
}

TEST_F(ProfileCommands, NoInTheSummarySavesNothing) {
    const std::string path = WriteProfile(profiles, "default", Sample);
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(path));
    const std::string before = ReadWholeFile(path);
    ClickRestriction(3);
    ASSERT_TRUE(Form1->ProfileChanged);
    BoxAnswerer answerer("no");
    Command(IDM_Saveprofile1);
    EXPECT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(ReadWholeFile(path), before);
    EXPECT_TRUE(Form1->ProfileChanged);
}

TEST_F(ProfileCommands, WithoutTheDefaultPasswordAndNoOwnOneSaveRefuses) {
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles, "alice", Sample)));
    DeleteFileA((profiles + "alice.vtp").c_str());
    SendMessageA(Control(Form1Id::CheckBox1), BM_CLICK, 0, 0);
    ASSERT_FALSE(Form1->CheckBox1.Checked());
    BoxAnswerer answerer("ok");
    Command(IDM_Saveprofile1);
    std::vector<SeenBox> seen = answerer.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "User password");
    EXPECT_EQ(seen[0].text,
              "User password is not specified. Go to \"Profile options\" tab and enter correct user password or "
              "enable default password for this profile.");
    EXPECT_EQ(seen[0].icon, "warning");
    EXPECT_EQ(GetFileAttributesA((profiles + "alice.vtp").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ProfileCommands, TheDefaultPasswordBoxStoresNoPasswordEvenAfterOneWasSet) {
    ProfileSpec spec = Sample;
    spec.passwordHash = Command18("own");
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles, "alice", spec)));
    ASSERT_FALSE(Form1->CheckBox1.Checked());
    {
        BoxAnswerer answerer("yes");
        Command(IDM_Saveprofile1);
        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_EQ(answerer.Seen()[0].text, Summary("This profile will be used for user \"alice\".", 3, 2, 1, true));
    }
    EXPECT_EQ(ReadProfile(profiles + "alice.vtp").passwordHash, Command18("own"));

    ASSERT_TRUE(Form1->LoadProfileIntoWindow(profiles + "alice.vtp"));
    SendMessageA(Control(Form1Id::CheckBox1), BM_CLICK, 0, 0);
    ASSERT_TRUE(Form1->CheckBox1.Checked());
    BoxAnswerer answerer("yes");
    Command(IDM_Saveprofile1);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(ReadProfile(profiles + "alice.vtp").passwordHash, 0u);
}

TEST_F(ProfileCommands, AProfileOpenedElsewhereIsSavedIntoTheProfilesFolder) {
    const std::string other = NewTempDir("elsewhere");
    const std::string opened = WriteProfile(other, "frank", Sample);
    const std::string before = ReadWholeFile(opened);
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(opened));
    ClickRestriction(0);
    BoxAnswerer answerer("yes");
    Command(IDM_Saveprofile1);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(ReadWholeFile(opened), before);
    EXPECT_EQ(ReadProfile(profiles + "frank.vtp").policies[0], "0=1");
    EXPECT_FALSE(Form1->ProfileChanged);
    RemoveTree(other);
}

TEST_F(ProfileCommands, SaveAsDefaultEmptiesTheNameAndChoosesDefaultEvenWhenDeclined) {
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles, "alice", Sample)));
    BoxAnswerer answerer("no");
    Command(IDM_Saveprofileasdefault1);
    std::vector<SeenBox> seen = answerer.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text.rfind(DefaultSummaryStart, 0), 0u) << seen[0].text;
    EXPECT_EQ(Form1->Edit1.Text(), "");
    EXPECT_EQ(Form1->RadioGroup1.ItemIndex(), 1);
    EXPECT_FALSE(Form1->Edit1.Enabled());
    EXPECT_EQ(GetFileAttributesA((profiles + "default.vtp").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ProfileCommands, TheSavedFileHoldsExactlyWhatTheWindowShows) {
    ProfileSpec spec = Sample;
    spec.passwordHash = Command18("secret");
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles, "grace", spec)));
    DeleteFileA((profiles + "grace.vtp").c_str());
    for (int index : {0, 5, 5, 31}) ClickRestriction(index);
    const std::vector<int> shown = RestrictionStates();
    ASSERT_EQ(shown.size(), 32u);
    const TextList folders = Profile.Folders, files = Profile.Files, tasks = Profile.Tasks;
    BoxAnswerer answerer("yes");
    Command(IDM_Saveprofile1);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    ProfileSpec saved = ReadProfile(profiles + "grace.vtp");
    EXPECT_EQ(saved.folders, folders);
    EXPECT_EQ(saved.files, files);
    EXPECT_EQ(saved.tasks, tasks);
    EXPECT_EQ(saved.policies, PolicyLines(shown));
    EXPECT_EQ(saved.passwordHash, Command18("secret"));
    EXPECT_EQ(Lines(Form1Id::ListBox3).size(), saved.tasks.size());
}

TEST_F(ProfileCommands, AFailedSaveKeepsTheFileAndTheEditsAndTheCloseAsksAgain) {
    const std::string path = WriteProfile(profiles, "default", Sample);
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(path));
    const std::string before = ReadWholeFile(path);
    ClickRestriction(7);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::string refused = "Cannot save profile: " + SystemErrorText(ERROR_ACCESS_DENIED);
    {
        BoxAnswerer answerer("yes");
        Command(IDM_Saveprofile1);
        std::vector<SeenBox> seen = answerer.WaitSeen(2);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[1].text, refused);
        EXPECT_EQ(seen[1].icon, "error");
    }
    EXPECT_TRUE(Form1->ProfileChanged);
    EXPECT_EQ(ReadWholeFile(path), before);

    // Twice: the close sequence offers to save, the save fails again, the
    // window stays open with the edits, and the next close asks again.
    for (int attempt = 0; attempt < 2; ++attempt) {
        BoxAnswerer answerer("yes");
        Form1->Close();
        std::vector<SeenBox> seen = answerer.WaitSeen(3);
        ASSERT_EQ(seen.size(), 3u);
        EXPECT_EQ(seen[0].caption, "Save");
        EXPECT_EQ(seen[0].text, "Profile was changed, but not saved. Save it now?");
        EXPECT_EQ(seen[1].caption, "Save profile");
        EXPECT_EQ(seen[2].text, refused);
        EXPECT_TRUE(IsWindowVisible(Form1->Handle()));
        EXPECT_TRUE(Form1->ProfileChanged);
    }
    EXPECT_EQ(ReadWholeFile(path), before);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ProfileCommands, AUserNameThatNamesAnotherFolderIsRefusedAsTheSystemRefusesIt) {
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles, "alice", Sample)));
    ClickRestriction(2);
    const std::string outside = NewTempDir("outside");
    for (const std::string& name : {std::string("..\\") + "escaped", outside + "escaped", std::string("a:b")}) {
        SCOPED_TRACE(name);
        Form1->Edit1.SetText(name);
        BoxAnswerer answerer("yes");
        Command(IDM_Saveprofile1);
        std::vector<SeenBox> seen = answerer.WaitSeen(2);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[1].text, "Cannot save profile: " + SystemErrorText(ERROR_INVALID_NAME));
        EXPECT_TRUE(Form1->ProfileChanged);
    }
    EXPECT_EQ(GetFileAttributesA((outside + "escaped.vtp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA((profiles + "..\\escaped.vtp").c_str()), INVALID_FILE_ATTRIBUTES);
    RemoveTree(outside);
}
