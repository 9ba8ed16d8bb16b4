// The whole road of one profile in one prefix, as a new administrator goes
// it: the driver and the agent service installed with the program's own
// switches, the manager opened for the first time, passwords and AutoStart
// set in Settings, a folder rule, a file rule, a restriction and a disabled
// program made in the tabs, the profile saved, the manager closed with
// protection enabled; then the agent enforces it, the toggle command
// switches it off, and the manager opened again shows the saved profile.
#include "../agent_shared/AgentTest.h"
#include "ManagerIds.h"
#include "ManagerSupport.h"
#include "Policies.h"
#include "RemoteWindows.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"

#include "Captured.h"

namespace {

using agenttest::AdminPassword;
using agenttest::FindAgent;
using agenttest::TogglePassword;

const char* const ExplorerPolicies = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

DWORD NoRunValue()
{
    DWORD value = 0, size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, ExplorerPolicies, "NoRun", RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
        return 0xFFFFFFFF;
    return value;
}

int RestrictionIndex(const std::string& caption)
{
    for (int i = 0; i < PolicyCount; ++i)
        if (caption == PolicyCaptions[i]) return i;
    return -1;
}

// The manager process and the windows of it that the road passes.
class Manager {
public:
    explicit Manager(const std::string& folder)
    {
        process_ = StartProcess(QuoteArgument(folder + "vtlock.exe"), &id_);
    }
    ~Manager() { StopProcess(process_); }
    Manager(const Manager&) = delete;
    Manager& operator=(const Manager&) = delete;

    // The shown window of the class, waited for.
    HWND Wait(const char* className)
    {
        HWND window = nullptr;
        WaitFor([&] { return (window = ShownWindow(id_, className)) != nullptr; }, 20000);
        return window;
    }
    bool Gone(const char* className)
    {
        return WaitFor([&] { return ShownWindow(id_, className) == nullptr; });
    }
    bool Ended() { return WaitForSingleObject(process_, 20000) == WAIT_OBJECT_0; }

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

void Click(HWND top, int id)
{
    PostMessageA(FindControl(top, id), BM_CLICK, 0, 0);
}

void SetText(HWND top, int id, const std::string& text)
{
    SendMessageA(FindControl(top, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool Checked(HWND top, int id)
{
    return SendMessageA(FindControl(top, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// "Change password...": the new password typed twice, then OK.
void ChangePassword(Manager& manager, HWND settings, int button, const std::string& password)
{
    Click(settings, button);
    HWND dialog = manager.Wait("TFQUPass");
    ASSERT_NE(dialog, nullptr);
    SetText(dialog, QUPassId::Edit1, password);
    SetText(dialog, QUPassId::Edit2, password);
    Click(dialog, QUPassId::Button1);
    ASSERT_TRUE(manager.Gone("TFQUPass"));
}

void MenuCommand(HWND window, int id)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

class WholeRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitRuntimeEnvironment(); }
    void SetUp() override { folder = InstallCopy(); }
    void TearDown() override
    {
        RunAndWait(QuoteArgument(folder + "vtlock.exe") + " /STOPAGENT");
        StopProcess(keep);
    }

    void Install();
    void SetUpSettings(Manager& manager, HWND window);
    void MakeRules(Manager& manager, HWND window);

    std::string folder;
    HANDLE keep = nullptr;
    std::string program;  // the program the profile disables
};

void WholeRoad::Install()
{
    // The service's window is reachable only while an ordinary window process runs.
    keep = StartProcess(QuoteArgument(BinDir() + "vtkeep.exe"));
    ASSERT_EQ(RunAndWait(QuoteArgument(folder + "vtlock.exe") + " /INSTALL").exitCode, 0u);
    ASSERT_EQ(RunAndWait(QuoteArgument(folder + "vtlock.exe") + " /INSTALLSERVICE").exitCode, 0u);
    ASSERT_TRUE(StartNamedService("VTLOCKAGENT"));
    ASSERT_TRUE(WaitFor([] { return QueryServiceState("VTLOCKAGENT") == SERVICE_RUNNING && FindAgent(); }, 20000));
}

void WholeRoad::SetUpSettings(Manager& manager, HWND window)
{
    MenuCommand(window, IDM_Settings1);
    HWND settings = manager.Wait("TForm3");
    ASSERT_NE(settings, nullptr);
    if (!Checked(settings, SettingsId::CheckBox3)) Click(settings, SettingsId::CheckBox3);
    ASSERT_TRUE(WaitFor([&] { return Checked(settings, SettingsId::CheckBox3); }));
    ClickRemoteTab(FindControl(settings, SettingsId::PageControl1), 1);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(FindControl(settings, SettingsId::PasswordsSheet)); }));
    ChangePassword(manager, settings, SettingsId::Button3, AdminPassword);
    ChangePassword(manager, settings, SettingsId::Button4, TogglePassword);
    Click(settings, SettingsId::Button1);
    ASSERT_TRUE(manager.Gone("TForm3"));
}

void WholeRoad::MakeRules(Manager& manager, HWND window)
{
    // Folder protection: C:\WINDOWS read-only with the access button.
    MenuCommand(window, IDM_Folderprotection1);
    HWND tree = FindControl(window, Form1Id::TreeView1);
    HTREEITEM windows = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        HTREEITEM root = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        return (windows = FindTreeChild(tree, root, "windows")) != nullptr;
    }));
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(windows));
    Click(window, Form1Id::SpeedButton1);
    HWND rules = FindControl(window, Form1Id::ListBox1);
    ASSERT_TRUE(WaitFor([&] { return ListLines(rules).size() == 1; }));

    // File protection: every .TXT file read-only.
    MenuCommand(window, IDM_Fileprotection1);
    Click(window, Form1Id::Button1);
    HWND addFile = manager.Wait("TAddFileDlg");
    ASSERT_NE(addFile, nullptr);
    SetText(addFile, AddFileDlgId::Edit1, "readme.txt");
    Click(addFile, AddFileDlgId::CheckBox1);  // the type of the file: ".txt"
    Click(addFile, AddFileDlgId::RadioGroup1 + 1 + 1);  // "Read-only access"
    Click(addFile, AddFileDlgId::Button2);
    ASSERT_TRUE(manager.Gone("TAddFileDlg"));
    ASSERT_TRUE(WaitFor([&] { return ListLines(FindControl(window, Form1Id::ListBox2)).size() == 1; }));

    // Restrictions: the Run command, from grayed to checked with one click on its box.
    MenuCommand(window, IDM_Restrictions1);
    HWND checks = FindControl(window, Form1Id::CheckListBox1);
    const int noRun = RestrictionIndex("Disable Run command of Start menu");
    ASSERT_GE(noRun, 0);
    ASSERT_EQ(ListLines(checks).at(static_cast<size_t>(noRun)), "Disable Run command of Start menu");
    SendMessageA(checks, LB_SETTOPINDEX, noRun, 0);
    // The system carries a list box's own messages across processes itself.
    RECT item = {};
    SendMessageA(checks, LB_GETITEMRECT, static_cast<WPARAM>(noRun), reinterpret_cast<LPARAM>(&item));
    PostClick(checks, POINT{item.left + 8, (item.top + item.bottom) / 2});
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(checks, LB_GETITEMDATA, noRun, 0) == 1; }));

    // Disabled programs: one program chosen in the open dialog.
    MenuCommand(window, IDM_Restrictedprograms1);
    BoxAnswerer chooser(std::vector<BoxReply>{OpenFileReply({program})});
    Click(window, Form1Id::Button13);
    ASSERT_TRUE(WaitFor([&] { return ListLines(FindControl(window, Form1Id::ListBox3)).size() == 1; }));
}

}  // namespace

TEST_F(WholeRoad, FromTheManagerToTheDriverAndBack) {
    Install();
    program = NewTempDir("programs") + "roadblock.exe";
    ASSERT_TRUE(CopyFileA((BinDir() + "blockme.exe").c_str(), program.c_str(), FALSE));

    {
        Manager manager(folder);
        HWND window = manager.Wait("TForm1");
        ASSERT_NE(window, nullptr) << "the manager opens without asking for a password";
        SetUpSettings(manager, window);
        MakeRules(manager, window);

        BoxAnswerer answerer("yes");
        MenuCommand(window, IDM_Saveprofile1);
        std::vector<SeenBox> seen = answerer.WaitSeen(1);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption, "Save profile");
        ASSERT_TRUE(WaitSettled(window));
        // Closing: the verification, then "Enable protection at exit from the program?".
        PostMessageA(window, WM_CLOSE, 0, 0);
        seen = answerer.WaitSeen(3);
        ASSERT_EQ(seen.size(), 3u);
        EXPECT_EQ(seen[1].caption, "Settings");
        EXPECT_EQ(seen[1].text.rfind("IMPORTANT! Please verify your settings:\r\n\n"
                                     "  - protection WILL BE ENABLED at Windows startup;",
                                     0),
                  0u);
        EXPECT_EQ(seen[2].text, "Enable protection at exit from the program?");
        ASSERT_TRUE(manager.Ended());
    }

    // The agent holds the saved profile: the image the driver reports is
    // the one this profile file makes.
    ASSERT_TRUE(LoadProfile(folder + "Profiles\\default.vtp"));
    EXPECT_EQ(Profile.Folders, TextList{"-C:\\WINDOWS"});
    ASSERT_EQ(Profile.Files.size(), 1u);
    EXPECT_EQ(UpperCase(Profile.Files[0]), "-.TXT");
    ASSERT_EQ(Profile.Tasks.size(), 1u);
    EXPECT_EQ(Profile.Tasks[0].rfind("ROADBLOCK.EXE", 0), 0u);
    BuildDriverImage();
    ASSERT_TRUE(agenttest::WaitDriver([](const VTLOCK_STATE& s) { return s.Started == 1; }, 20000));
    VTLOCK_STATE state = QueryDriverState();
    EXPECT_EQ(state.ImageBytes, DriverImageSize);
    EXPECT_EQ(state.FileStrings, VtLockImageField(DriverImage.data(), VTLOCK_IMAGE_OFF_NFILES));
    EXPECT_EQ(state.FolderStrings, VtLockImageField(DriverImage.data(), VTLOCK_IMAGE_OFF_NFOLDERS));
    CapturedRun shown = RunCaptured(QuoteArgument(BinDir() + "vtstate.exe"));
    EXPECT_NE(shown.output.find(std::to_string(state.FileStrings) + " file strings, " +
                                std::to_string(state.FolderStrings) + " folder strings"),
              std::string::npos)
        << shown.output;
    EXPECT_EQ(NoRunValue(), 1u);
    ProcessResult blocked = RunAndWait(QuoteArgument(program), 20000);
    EXPECT_TRUE(blocked.finished) << "the disabled program was not ended";

    // "/TOGGLE" with the toggle password typed into its dialog.
    {
        BoxAnswerer answerer("ok", TogglePassword, true);
        EXPECT_EQ(RunAndWait(QuoteArgument(folder + "vtlock.exe") + " /TOGGLE").exitCode, 0u);
        EXPECT_TRUE(agenttest::WaitDriver([](const VTLOCK_STATE& s) { return s.Started == 0; }, 20000));
        EXPECT_EQ(answerer.Seen().size(), 1u);
    }
    EXPECT_EQ(NoRunValue(), 0u);
    HANDLE free = StartProcess(QuoteArgument(program));
    ASSERT_NE(free, nullptr);
    EXPECT_EQ(WaitForSingleObject(free, 3000), static_cast<DWORD>(WAIT_TIMEOUT)) << "still ended with protection off";
    StopProcess(free);

    // The manager again: the administrator password first, then the profile.
    Manager manager(folder);
    HWND ask = manager.Wait("TFQPass");
    ASSERT_NE(ask, nullptr);
    SetText(ask, QPassId::Edit1, AdminPassword);
    Click(ask, QPassId::Button1);
    HWND window = manager.Wait("TForm1");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitFor([&] { return WindowText(window) == " Vantrel  - Default profile"; }));
    EXPECT_EQ(ListLines(FindControl(window, Form1Id::ListBox1)).size(), 1u);
    EXPECT_EQ(ListLines(FindControl(window, Form1Id::ListBox2)).size(), 1u);
    EXPECT_EQ(ListLines(FindControl(window, Form1Id::ListBox3)).size(), 1u);
    const int noRun = RestrictionIndex("Disable Run command of Start menu");
    EXPECT_EQ(SendMessageA(FindControl(window, Form1Id::CheckListBox1), LB_GETITEMDATA, noRun, 0), 1);
}
