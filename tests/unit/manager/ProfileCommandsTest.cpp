// The profile commands: Open into every tab, Save with its summary and
// refusals, a save that fails, New profile and the wizard.
#include "CommandLibrary.h"
#include "ManagerForms.h"
#include "ProfileWizard.h"
#include <algorithm>
namespace {
const ProfileText Sample = {{"-C:\\WINDOWS", "!%DESKTOP%", "&D:\\PRIVATE"}, {"-.TXT", "&SECRET.DOC"},
                            {"NOTEPAD.EXE      //Notepad"}, PolicyLines(std::vector<int>(32, 2))};
std::string Summary(const std::string& first, bool ownPassword) {
    return "Save profile|" + first +
           "\r\n\nThis profile contains restrictions for:\r\n3 folders,\r\n2 files,\r\n1 tasks,\r\n"
           "31 policy restrictions.\r\nTo disable protection, user will use " +
           (ownPassword ? "password, specified in the profile." : "default toggle protection password.") +
           "\r\n\r\nIf something above is wrong, you can cancel saving, clicking NO button. Save profile?"
           "|information|yes,no";
}
bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
HWND Window(int id) { return ProfileWizard->FindById(id)->Handle(); }
void ClickWizard(int id) { SendMessageA(Window(id), BM_CLICK, 0, 0); }
bool WizardShown() { return IsWindowVisible(ProfileWizard->Handle()) != FALSE; }
TextList Sorted(TextList list) {
    std::sort(list.begin(), list.end());
    return list;
}
// Through the wizard from its first page: the boxes clicked on their pages,
// then Finish. Each page as shown: "title|numeral|boxes|back|Next's caption".
std::vector<std::string> RunWizard(const std::vector<int>& boxes) {
    std::vector<std::string> pages;
    while (ProfileWizard->PageIndex() > 0) ClickWizard(ProfileWizardId::BackButton);
    for (int page = 0; page < WizardPageCount; ++page, ClickWizard(ProfileWizardId::NextButton)) {
        std::string shown = WindowText(Window(ProfileWizardId::HeaderTitle)) + "|" + WindowText(Window(ProfileWizardId::Numerals));
        shown += "|";
        HWND box = GetWindow(Window(ProfileWizardId::PagePanel0 + page), GW_CHILD);
        for (; box; box = GetWindow(box, GW_HWNDNEXT)) {
            const int n = GetDlgCtrlID(box) - ProfileWizardId::FirstBox + 1;
            if (n < 1 || n > 14 || !IsWindowVisible(box)) continue;
            shown += std::to_string(n) + " ";
            if (std::count(boxes.begin(), boxes.end(), n)) ClickWizard(GetDlgCtrlID(box));
        }
        pages.push_back(shown + (IsWindowEnabled(Window(ProfileWizardId::BackButton)) ? "|back|" : "||") +
                        WindowText(Window(ProfileWizardId::NextButton)));
    }
    return pages;
}
}  // namespace
// Every tab shows the opened file; the options tell whom it is for and which password it has.
// A file that cannot be read changes nothing.
TEST_F(ManagerForms, OpenShowsTheFileInEveryTabAndNamesItsUser) {
    const std::string other = NewTempDir("other"), locked = WriteProfile(profiles + "locked.vtp", {});
    std::vector<int> states(32, 2), gray(32, 2), third(32, 2);
    states[0] = third[3] = 1;
    states[17] = 0;
    // The default profile is the one the dialog offers; restrictions without a line show
    // grayed; of a line that cannot be read, the lines before it are shown.
    const struct { std::string file; uint32_t hash; TextList policies; std::string user; std::vector<int> states; }
        cases[] = {{other + "alice.vtp", Command18("own"), {}, "alice", gray},
                   {profiles + "default.vtp", 0, PolicyLines(states), "", states},
                   {profiles + "Bob.VTP", 0, {"3=1", "x=1", "4=1"}, "Bob", third}};
    const std::string BadLine = "Error|Invalid restriction line in the profile: \"x=1\"|error|ok";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ProfileText text = Sample;
        text.passwordHash = c.hash;
        text.policies = c.policies;
        WriteProfile(c.file, text);
        BoxAnswerer answerer("ok", c.file, !c.user.empty());
        Command(IDM_OpenProfile);
        const std::vector<SeenBox> seen = answerer.Seen();  // the open dialog, then any error
        EXPECT_EQ(seen.size() > 1 ? Shown(seen.back()) : "", c.policies.size() == 3 ? BadLine : "");
        EXPECT_TRUE(ManagerWindow->ProfileUserChoice.ItemIndex() == (c.user.empty() ? 1 : 0) &&
                    ManagerWindow->UserNameEdit.Text() == c.user &&
                    ManagerWindow->UserNameEdit.Enabled() == !c.user.empty());
        EXPECT_EQ(ManagerWindow->Text(), " Vantrel  - " + (c.user.empty() ? "Default profile" : c.user));
        EXPECT_FALSE(ManagerWindow->ProfileChanged);
        const bool own = c.hash != 0;
        EXPECT_TRUE(ManagerWindow->OtherPasswordBox.Checked() != own && Profile.OwnPassword == own);
        EXPECT_TRUE(ManagerWindow->OtherPasswordLabel.Enabled() == own &&
                    ManagerWindow->ChangePasswordButton.Enabled() == own);
        EXPECT_EQ(
            (std::vector<size_t>{LineCount(ManagerWindowId::FolderRuleList), LineCount(ManagerWindowId::FileRuleList),
                                 LineCount(ManagerWindowId::ProgramList)}),
            (std::vector<size_t>{3, 2, 1}));
        EXPECT_EQ(RestrictionStates(), c.states);
    }
    HANDLE hold = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    BoxAnswerer answerer("ok", locked, true);
    Command(IDM_OpenProfile);
    CloseHandle(hold);
    EXPECT_EQ(answerer.Seen().size(), 1u) << "only the open dialog";
    EXPECT_TRUE(ManagerWindow->Text() == " Vantrel  - Bob" && RestrictionStates() == third);
    EXPECT_EQ(Profile.Folders, Sample.folders);
    RemoveTree(other);
}
// Save asks with the summary, writes what the window shows into the
// profiles folder and refuses a profile without any toggle password.
TEST_F(ManagerForms, SaveAsksWithTheSummaryAndWritesWhatTheWindowShows) {
    const std::string other = NewTempDir("elsewhere");
    ProfileText text = Sample;
    text.passwordHash = Command18("secret");
    const std::string saved = profiles + "grace.vtp";
    ASSERT_TRUE(ManagerWindow->LoadProfileIntoWindow(WriteProfile(other + "grace.vtp", text)));
    for (int index : {0, 5, 5, 31}) ClickRestriction(index);
    const std::vector<int> shown = RestrictionStates();
    const TProfile window = Profile;
    MessageListener listener;
    for (const char* answer : {"no", "yes"}) {
        BoxAnswerer answerer(answer);
        Command(IDM_SaveProfile);
        EXPECT_EQ(ShownBoxes(answerer), Texts{Summary("This profile will be used for user \"grace\".", true)});
        EXPECT_TRUE(ManagerWindow->ProfileChanged == (answer[0] == 'n') && Exists(saved) == (answer[0] == 'y'));
    }
    EXPECT_TRUE(HeardUpToMarker(listener).empty());  // without "/NOTIFY:" no save is announced
    ASSERT_TRUE(LoadProfile(saved));
    EXPECT_TRUE(Profile.Folders == window.Folders && Profile.Files == window.Files && Profile.Tasks == window.Tasks);
    EXPECT_EQ(Profile.Policies, PolicyLines(shown));
    EXPECT_EQ(Profile.Options, (TextList{"PWD=" + std::to_string(Command18("secret")), "[END1]"}));
    // The default password box stores no password, also after one was set (over
    // the file saved before); without it and without an own password the save is refused.
    ASSERT_TRUE(ManagerWindow->LoadProfileIntoWindow(saved));
    for (bool stored : {true, false}) {
        SendMessageA(Control(ManagerWindowId::OtherPasswordBox), BM_CLICK, 0, 0);
        BoxAnswerer answerer("yes");
        Command(IDM_SaveProfile);
        ASSERT_EQ(answerer.Seen().size(), 1u);
        if (stored) {
            ASSERT_TRUE(LoadProfile(saved));
            EXPECT_EQ(Profile.Options, (TextList{"PWD=0", "[END1]"}));
        } else {
            EXPECT_EQ(Shown(answerer.Seen()[0]),
                      "User password|User password is not specified. Go to \"Profile options\" tab and enter correct "
                      "user password or enable default password for this profile.|warning|ok");
        }
    }
    // Save as default empties the name and chooses the default profile, also when declined.
    SendMessageA(Control(ManagerWindowId::OtherPasswordBox), BM_CLICK, 0, 0);
    BoxAnswerer answerer("no");
    Command(IDM_SaveProfileAsDefault);
    EXPECT_EQ(ShownBoxes(answerer), Texts{Summary("This profile will be used as DEFAULT (main) profile.", false)});
    EXPECT_TRUE(ManagerWindow->UserNameEdit.Text().empty() && ManagerWindow->ProfileUserChoice.ItemIndex() == 1 &&
                !ManagerWindow->UserNameEdit.Enabled());
    EXPECT_FALSE(Exists(profiles + "default.vtp"));
    RemoveTree(other);
}
// A refused save, also of a name outside the profiles folder or of no name, shows the
// message and keeps the file and the edits; the close, Exit and Start protection ask
// again and stop there.
TEST_F(ManagerForms, AFailedSaveKeepsTheFileAndTheEditsAndTheCloseAsksAgain) {
    const std::string path = WriteProfile(profiles + "default.vtp", Sample), outside = NewTempDir("outside");
    ASSERT_TRUE(ManagerWindow->LoadProfileIntoWindow(path));
    const std::string before = ReadWholeFile(path);
    ClickRestriction(7);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::string refused = "Cannot save profile: " + SystemErrorText(ERROR_ACCESS_DENIED) + "|error";
    const std::string invalid = "Cannot save profile: " + SystemErrorText(ERROR_INVALID_NAME) + "|error";
    const struct { std::string user; const std::string& message; } cases[] = {
        {"..\\escaped", invalid}, {"../escaped", invalid}, {outside + "escaped", invalid}, {"a:b", invalid},
        {"", refused}};
    for (const auto& c : cases) {
        ManagerWindow->ProfileUserChoice.SetItemIndex(c.user.empty() ? 1 : 0);
        ManagerWindow->UserNameEdit.SetText(c.user);
        BoxAnswerer answerer("yes");
        Command(IDM_SaveProfile);
        std::vector<SeenBox> seen = answerer.WaitSeen(2);
        ASSERT_EQ(seen.size(), 2u) << c.user;
        EXPECT_EQ(seen[1].text + "|" + seen[1].icon, c.message) << c.user;
        EXPECT_TRUE(ManagerWindow->ProfileChanged) << c.user;
    }
    {
        ManagerWindow->ProfileUserChoice.SetItemIndex(0);  // for a user, of no name
        BoxAnswerer answerer("yes");
        Command(IDM_SaveProfile);
        EXPECT_EQ(ShownBoxes(answerer), Texts{"Save profile|User name is not specified. Go to \"Profile options\" tab "
                                              "and enter the user name or choose the default profile.|warning|ok"});
        ManagerWindow->ProfileUserChoice.SetItemIndex(1);
    }
    EXPECT_FALSE(Exists(outside + "escaped.vtp") || Exists(profiles + "..\\escaped.vtp"));
    MessageListener listener;
    for (const std::function<void()>& attempt : std::vector<std::function<void()>>{
             [] { ManagerWindow->Close(); }, [] { Command(IDM_Exit); }, [] { Command(IDM_StartProtection); }}) {
        BoxAnswerer answerer("yes");
        attempt();
        std::vector<SeenBox> seen = answerer.Seen();
        ASSERT_EQ(seen.size(), 3u);
        EXPECT_EQ(seen[0].text + "|" + seen[1].caption + "|" + seen[2].text + "|" + seen[2].icon,
                  "Profile was changed, but not saved. Save it now?|Save profile|" + refused);
        EXPECT_TRUE(IsWindowVisible(ManagerWindow->Handle()) && ManagerWindow->ProfileChanged);
    }
    EXPECT_TRUE(HeardUpToMarker(listener).empty());  // the agent was not asked to start
    EXPECT_EQ(ReadWholeFile(path), before);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveTree(outside);
}
// New profile shows the wizard on top, asks, empties all but the user.
// Finish adds the boxes' template and marks the profile changed; Cancel, Esc and the close box add nothing.
TEST_F(ManagerForms, NewProfileAndTheWizardsTemplate) {
    ProfileText text = {{"-C:\\WINDOWS"}, {"-.TXT"}, {"NOTEPAD.EXE"}, PolicyLines(std::vector<int>(32, 0)), 77};
    ASSERT_TRUE(ManagerWindow->LoadProfileIntoWindow(WriteProfile(profiles + "alice.vtp", text)));
    ClickRestriction(4);
    BoxAnswerer answerer("no");
    for (int time = 0; time < 2; ++time) Command(IDM_NewProfile);  // the second time: nothing to ask
    EXPECT_EQ(ShownBoxes(answerer), Texts{"Save|Profile was changed, but not saved. Save it now?|question|yes,no"});
    EXPECT_TRUE(WizardShown() && (GetWindowLongA(ProfileWizard->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST));
    EXPECT_EQ(WindowText(ProfileWizard->Handle()), "Quick start Wizard");
    EXPECT_TRUE(!LineCount(ManagerWindowId::FolderRuleList) && !LineCount(ManagerWindowId::FileRuleList) &&
                !LineCount(ManagerWindowId::ProgramList));
    std::vector<int> states(32, 2);
    EXPECT_TRUE(RestrictionStates() == states && Profile.Policies == PolicyLines(states));
    EXPECT_TRUE(Profile.Folders.empty() && Profile.Files.empty() && Profile.Tasks.empty() && Profile.Options.empty());
    EXPECT_TRUE(!Profile.OwnPassword && Profile.PasswordHash == 0 && !ManagerWindow->ProfileChanged &&
                !ManagerWindow->OtherPasswordBox.Checked());
    EXPECT_EQ(ManagerWindow->UserNameEdit.Text() + "|" + ManagerWindow->Text(), "alice| Vantrel  - alice");
    EXPECT_EQ(RunWizard({2, 6, 7, 10, 13}),
              (std::vector<std::string>{"Profile Creation Wizard||||&Next>",
                                        "Most important folders|1|1 2 3 4 5 |back|&Next>",
                                        "Protect file types|2|7 6 8 9 10 11 |back|&Next>",
                                        "System restrictions|3|13 12 14 |back|&Next>",
                                        "Profile template is ready|4||back|&Finish"}));
    const TextList programs = {"-.EXE", "-.COM", "-.BAT", "-.PIF", "-.SCR", "-.DLL", "-.OCX",
                               "-.AX",  "-.SYS", "-.VXD", "-.386", "-.HTM", "-.HTML"};
    EXPECT_TRUE(!WizardShown() && Sorted(Profile.Files) == Sorted(programs));
    Command(IDM_ProfileWizard);  // where it was left
    EXPECT_TRUE(ProfileWizard->PageIndex() == 4 && WindowText(Window(ProfileWizardId::NextButton)) == "&Finish");
    ClickWizard(ProfileWizardId::NextButton);
    TextList files = Sorted(programs);
    files.insert(files.end(), programs.begin(), programs.end());
    EXPECT_EQ(Sorted(Profile.Files), Sorted(files));
    EXPECT_EQ(Profile.Folders, TextList{"-%PROGRAMFILES%"});
    states[0] = 1;
    EXPECT_EQ(RestrictionStates(), states);
    // Every box the other way round: the other half of the template.
    Command(IDM_ProfileWizard);
    RunWizard({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14});
    files.insert(files.end(), {"-.TXT", "-.DOC", "-.PDF", "-.RTF", "-.CHM", "-.HLP", "-.JPG", "-.JPEG", "-.GIF",
                               "-.PNG", "-.TIF", "-NTLDR", "-AUTOEXEC.BAT", "-BOOTFONT.BIN", "-NTDETECT.COM",
                               "-BOOT.INI", "-BOOTSECT.DOS", "-CONFIG.SYS", "-IO.SYS", "-MSDOS.SYS", "-DRVSPACE.BIN",
                               "-COMMAND.COM"});
    EXPECT_EQ(Sorted(Profile.Files), Sorted(files));
    EXPECT_EQ(Sorted(Profile.Folders), (TextList{"-%DESKTOP%", "-%LOCALDESKTOP%", "-%LOCALSTART%", "-%PROGRAMFILES%",
                                                 "-%QLAUNCH%", "-%START%", "-%WINDIR%"}));
    for (int item : {1, 2, 3, 4, 5, 6, 8, 10, 11, 12, 13, 15, 21, 29, 30, 31}) states[item] = 1;
    EXPECT_EQ(RestrictionStates(), states);
    EXPECT_TRUE(LineCount(ManagerWindowId::FolderRuleList) == 7 &&
                LineCount(ManagerWindowId::FileRuleList) == files.size());
    EXPECT_TRUE(ManagerWindow->ProfileChanged);
    Command(IDM_ProfileWizard);
    ClickWizard(ProfileWizardId::BackButton);
    ClickWizard(ProfileWizardId::BackButton);
    const std::function<void()> closes[] = {
        [] { ClickWizard(ProfileWizardId::CancelButton); },
        [] { SetFocus(Window(ProfileWizardId::FirstBox + 7)); PressKey(VK_ESCAPE); },
        [] { PostMessageA(ProfileWizard->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (const auto& close : closes) {
        Command(IDM_ProfileWizard);
        close();
        EXPECT_TRUE(PumpUntil([] { return !WizardShown(); }));
        EXPECT_TRUE(ProfileWizard->PageIndex() == 2 && ProfileWizard->Box(8).Checked());
        EXPECT_EQ(Profile.Files.size(), files.size());
    }
}
