// The profile commands as the administrator gives them: a profile loaded
// into every tab, Open, Save with its summary and refusals, and a save that
// fails; the boxes answered by the box answerer, the files read back.
#include "CommandLibrary.h"
#include "ManagerForms.h"

namespace {

const ProfileSpec Sample = {{"-C:\\WINDOWS", "!%DESKTOP%", "&D:\\PRIVATE"},
                            {"-.TXT", "&SECRET.DOC"},
                            {"NOTEPAD.EXE      //Notepad"},
                            PolicyLines(std::vector<int>(32, 2))};

std::string Summary(const std::string& first, bool ownPassword)
{
    return "Save profile|" + first +
           "\r\n\nThis profile contains restrictions for:\r\n3 folders,\r\n2 files,\r\n1 tasks,\r\n"
           "31 policy restrictions.\r\nTo disable protection, user will use " +
           (ownPassword ? "password, specified in the profile." : "default toggle protection password.") +
           "\r\n\r\nIf something above is wrong, you can cancel saving, clicking NO button. Save profile?"
           "|information|yes,no";
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

// Every tab shows the file; the options tell whom it is for and which
// password it has; the tree's top node shows one level deep again.
TEST_F(ManagerForms, LoadingShowsTheFileInEveryTabAndNamesItsUser)
{
    std::vector<int> states(32, 2), gray(32, 2), third(32, 2);
    states[0] = 1;
    states[17] = 0;
    third[3] = 1;
    const struct {
        const char* file;
        uint32_t hash;
        TextList policies;
        int choice;
        const char *user, *title;
        std::vector<int> states;
    } cases[] = {
        {"Default.Vtp", 0, PolicyLines(states), 1, "", " Vantrel  - Default profile", states},
        // Restrictions without a line show grayed, not as the profile before left them.
        {"alice.vtp", Command18("own"), {}, 0, "alice", " Vantrel  - alice", gray},
        // A line that cannot be read is reported; the lines before it are shown.
        {"Bob.VTP", 0, {"3=1", "x=1", "4=1"}, 0, "Bob", " Vantrel  - Bob", third},
    };
    TTreeView& tree = Form1->FolderPage.TreeView1;
    BoxAnswerer answerer("ok");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        HTREEITEM opened = nullptr;
        for (HTREEITEM child = tree.FirstChild(tree.TopItem()); child && !opened; child = tree.NextSibling(child))
            if (tree.HasChildren(child)) opened = child;
        tree.Expand(opened);
        ASSERT_TRUE(opened && tree.Expanded(opened)) << "no folder with subfolders on the drive";
        ProfileSpec spec = Sample;
        spec.passwordHash = c.hash;
        spec.policies = c.policies;
        ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles + c.file, spec)));
        EXPECT_EQ(Form1->RadioGroup1.ItemIndex(), c.choice);
        EXPECT_TRUE(Form1->Edit1.Text() == c.user && Form1->Edit1.Enabled() == (c.choice == 0));
        EXPECT_EQ(Form1->Text(), c.title);
        const bool own = c.hash != 0;
        EXPECT_TRUE(Form1->CheckBox1.Checked() != own && Profile.OwnPassword == own);
        EXPECT_TRUE(Form1->Label4.Enabled() == own && Form1->Button4.Enabled() == own);
        EXPECT_EQ((std::vector<size_t>{LineCount(Form1Id::ListBox1), LineCount(Form1Id::ListBox2),
                                       LineCount(Form1Id::ListBox3)}),
                  (std::vector<size_t>{3, 2, 1}));
        EXPECT_EQ(RestrictionStates(), c.states);
        EXPECT_TRUE(tree.Expanded(tree.TopItem()));
        for (HTREEITEM child = tree.FirstChild(tree.TopItem()); child; child = tree.NextSibling(child))
            EXPECT_FALSE(tree.Expanded(child)) << tree.NodeText(child);
    }
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(Shown(answerer.Seen()[0]), "Error|Invalid restriction line in the profile: \"x=1\"|error|ok");
}

// The open dialog starts in the profiles folder with "default.vtp" each
// time; a file that cannot be read changes nothing and shows nothing.
// (Wine's dialog refuses a name typed without its extension.)
TEST_F(ManagerForms, OpenStartsInTheProfilesFolderWithTheDefaultProfileEachTime)
{
    const std::string other = NewTempDir("other");
    WriteProfile(profiles + "default.vtp", Sample);
    WriteProfile(profiles + "alice.vtp", Sample);
    WriteProfile(other + "bob.vtp", Sample);
    const std::string locked = WriteProfile(profiles + "locked.vtp", {});
    const struct {
        std::string typed;  // empty: Open pressed on what the dialog offers
        const char* title;
    } cases[] = {{other + "bob.vtp", " Vantrel  - bob"},
                 {"", " Vantrel  - Default profile"},
                 {"alice.vtp", " Vantrel  - alice"},
                 {locked, " Vantrel  - alice"}};
    HANDLE hold = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        BoxAnswerer answerer("ok", c.typed, !c.typed.empty());
        Command(IDM_Openprofile1);
        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_EQ(answerer.Seen()[0].caption, "Open");
        EXPECT_EQ(Form1->Text(), c.title);
        EXPECT_EQ(Profile.Folders, Sample.folders);
    }
    CloseHandle(hold);
    EXPECT_FALSE(Form1->LoadProfileIntoWindow(profiles + "missing.vtp"));
    EXPECT_EQ(Form1->Text() + "|" + Form1->Edit1.Text(), " Vantrel  - alice|alice");
    EXPECT_EQ(LineCount(Form1Id::ListBox1), 3u);
    RemoveTree(other);
}

// Save asks with the summary, writes what the window shows into the
// profiles folder and refuses a profile without any toggle password.
TEST_F(ManagerForms, SaveAsksWithTheSummaryAndWritesWhatTheWindowShows)
{
    const std::string other = NewTempDir("elsewhere");
    ProfileSpec spec = Sample;
    spec.passwordHash = Command18("secret");
    const std::string opened = WriteProfile(other + "grace.vtp", spec), saved = profiles + "grace.vtp";
    const std::string before = ReadWholeFile(opened);
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(opened));
    for (int index : {0, 5, 5, 31}) ClickRestriction(index);
    const std::vector<int> shown = RestrictionStates();
    const TProfile window = Profile;
    for (const char* answer : {"no", "yes"}) {
        BoxAnswerer answerer(answer);
        Command(IDM_Saveprofile1);
        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_EQ(Shown(answerer.Seen()[0]), Summary("This profile will be used for user \"grace\".", true));
        EXPECT_EQ(Form1->ProfileChanged, answer[0] == 'n');
        EXPECT_EQ(Exists(saved), answer[0] == 'y');
    }
    EXPECT_EQ(ReadWholeFile(opened), before);
    ASSERT_TRUE(LoadProfile(saved));
    EXPECT_TRUE(Profile.Folders == window.Folders && Profile.Files == window.Files && Profile.Tasks == window.Tasks);
    EXPECT_EQ(Profile.Policies, PolicyLines(shown));
    EXPECT_EQ(Profile.Options, (TextList{"PWD=" + std::to_string(Command18("secret")), "[END1]"}));

    // The default password box stores no password, also after one was set;
    // without it and without an own password the save is refused.
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(saved));
    for (const char* expected : {"yes", "User password"}) {
        SendMessageA(Control(Form1Id::CheckBox1), BM_CLICK, 0, 0);
        BoxAnswerer answerer("yes");
        Command(IDM_Saveprofile1);
        ASSERT_EQ(answerer.Seen().size(), 1u);
        if (expected[0] == 'y') {
            EXPECT_EQ(answerer.Seen()[0].caption, "Save profile");
            ASSERT_TRUE(LoadProfile(saved));
            EXPECT_EQ(Profile.Options, (TextList{"PWD=0", "[END1]"}));
        } else {
            EXPECT_EQ(Shown(answerer.Seen()[0]),
                      "User password|User password is not specified. Go to \"Profile options\" tab and enter correct "
                      "user password or enable default password for this profile.|warning|ok");
        }
    }
    // Save as default empties the name and chooses the default profile, also when declined.
    SendMessageA(Control(Form1Id::CheckBox1), BM_CLICK, 0, 0);
    BoxAnswerer answerer("no");
    Command(IDM_Saveprofileasdefault1);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(Shown(answerer.Seen()[0]), Summary("This profile will be used as DEFAULT (main) profile.", false));
    EXPECT_TRUE(Form1->Edit1.Text().empty() && Form1->RadioGroup1.ItemIndex() == 1 && !Form1->Edit1.Enabled());
    EXPECT_FALSE(Exists(profiles + "default.vtp"));
    RemoveTree(other);
}

// A save the writer refuses, or a user name that would leave the profiles
// folder, shows the system's message, keeps the old file and the edits,
// and the close sequence asks again.
TEST_F(ManagerForms, AFailedSaveKeepsTheFileAndTheEditsAndTheCloseAsksAgain)
{
    const std::string path = WriteProfile(profiles + "default.vtp", Sample), outside = NewTempDir("outside");
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(path));
    const std::string before = ReadWholeFile(path);
    ClickRestriction(7);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::string refused = "Cannot save profile: " + SystemErrorText(ERROR_ACCESS_DENIED) + "|error";
    const std::string invalid = "Cannot save profile: " + SystemErrorText(ERROR_INVALID_NAME) + "|error";
    const struct { std::string user; const std::string& message; } cases[] = {
        {"..\\escaped", invalid}, {outside + "escaped", invalid}, {"a:b", invalid}, {"", refused}};
    for (const auto& c : cases) {
        Form1->RadioGroup1.SetItemIndex(c.user.empty() ? 1 : 0);
        Form1->Edit1.SetText(c.user);
        BoxAnswerer answerer("yes");
        Command(IDM_Saveprofile1);
        std::vector<SeenBox> seen = answerer.WaitSeen(2);
        ASSERT_EQ(seen.size(), 2u) << c.user;
        EXPECT_EQ(seen[1].text + "|" + seen[1].icon, c.message) << c.user;
        EXPECT_TRUE(Form1->ProfileChanged) << c.user;
    }
    EXPECT_FALSE(Exists(outside + "escaped.vtp") || Exists(profiles + "..\\escaped.vtp"));
    for (int attempt = 0; attempt < 2; ++attempt) {
        BoxAnswerer answerer("yes");
        Form1->Close();
        std::vector<SeenBox> seen = answerer.WaitSeen(3);
        ASSERT_EQ(seen.size(), 3u);
        EXPECT_EQ(seen[0].text + "|" + seen[1].caption + "|" + seen[2].text + "|" + seen[2].icon,
                  "Profile was changed, but not saved. Save it now?|Save profile|" + refused);
        EXPECT_TRUE(IsWindowVisible(Form1->Handle()) && Form1->ProfileChanged);
    }
    EXPECT_EQ(ReadWholeFile(path), before);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveTree(outside);
}
