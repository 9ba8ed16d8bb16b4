// The manager started as an administrator starts it, driven by control
// identifiers: its start sequence, "/LOAD:" and "/NOTIFY:", and the road of
// a profile from the manager through the agent service to the driver.
#include "ManagerIds.h"
#include "ManagerSupport.h"
#include "RegValues.h"
#include "RemoteWindows.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

void Click(HWND top, int id) { PostMessageA(FindControl(top, id), BM_CLICK, 0, 0); }
void SetText(HWND top, int id, const std::string& text)
{
    SendMessageA(FindControl(top, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
void MenuCommand(HWND window, int id) { PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
size_t LineCount(HWND window, int id) { return ListLines(FindControl(window, id)).size(); }

class ManagerRun : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitRuntimeEnvironment(); }
    void SetUp() override
    {
        SetPasswords(nullptr, nullptr);
        folder = InstallCopy();
    }
    void TearDown() override
    {
        StopProcess(manager);
        if (keep) RunAndWait(QuoteArgument(folder + "vtlock.exe") + " /STOPAGENT");
        StopProcess(keep);
        RemoveTree(folder);
    }
    void Start(const std::string& arguments = "")
    {
        StopProcess(manager);
        manager = StartProcess(QuoteArgument(folder + "vtlock.exe") + " " + arguments, &managerId);
        ASSERT_TRUE(manager);
    }
    HWND Wait(const char* className)
    {
        HWND window = nullptr;
        WaitFor([&] { return (window = ShownWindow(managerId, className)) != nullptr; }, 20000);
        return window;
    }
    std::string DefaultProfile() const { return folder + "Profiles\\default.vtp"; }

    std::string folder;
    HANDLE manager = nullptr, keep = nullptr;
    DWORD managerId = 0;
};

}  // namespace

// Without an administrator password it opens at once and stops protection;
// a wrong password ends it, protection untouched. It shows the default profile.
TEST_F(ManagerRun, TheStartSequenceAsksForTheAdministratorsPassword)
{
    // typed: null when not asked; title: null when the program ends.
    const struct { const char *stored, *typed, *title; } cases[] = {
        {nullptr, nullptr, "VT Vantrel"}, {"secret", "secret", " Vantrel  - Default profile"},
        {"secret", "Secret", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed ? c.typed : "not asked");
        SetPasswords(c.stored, nullptr);
        ASSERT_TRUE(!c.stored || SaveProfileFile(DefaultProfile(), 0));
        MessageListener listener;
        BoxAnswerer answerer("ok");
        Start();
        if (c.typed) {
            HWND ask = Wait("TFQPass");
            ASSERT_NE(ask, nullptr);
            SetText(ask, QPassId::Edit1, c.typed);
            Click(ask, QPassId::Button1);
        }
        if (c.title) {
            HWND window = Wait("TForm1");
            ASSERT_NE(window, nullptr);
            EXPECT_TRUE(WaitFor([&] { return WindowText(window) == c.title; })) << WindowText(window);
            std::vector<HeardMessage> heard = listener.WaitHeard(1);
            ASSERT_EQ(heard.size(), 1u);
            EXPECT_TRUE(heard[0].name == "Vantrel.Stop" && heard[0].wParam == 0 && heard[0].lParam == 0);
            EXPECT_TRUE(answerer.Seen().empty());
            continue;
        }
        ASSERT_EQ(WaitForSingleObject(manager, 20000), WAIT_OBJECT_0);
        ASSERT_EQ(answerer.Seen().size(), 1u);
        const SeenBox box = answerer.Seen()[0];
        EXPECT_EQ(box.caption + "|" + box.text + "|" + box.icon + "|" + box.buttons,
                  "Vantrel|Administrator's password is incorrect.|information|ok");
        EXPECT_TRUE(HeardUpToMarker(listener).empty());
    }
}

// "/LOAD:" opens the named profile, or else the wizard; "/NOTIFY:" announces
// each successful save with its value to every top-level window.
TEST_F(ManagerRun, TheStartUpValuesLoadAndNotify)
{
    const std::string other = NewTempDir("Shop Data"), saved = folder + "Profiles\\Alice.vtp";
    Profile = TProfile();
    Profile.Folders = {"-C:\\WINDOWS", "&D:\\SHOP"};
    ASSERT_TRUE(SaveProfileFile(other + "Alice.vtp", 0) && SaveProfileFile(DefaultProfile(), 0));
    {
        MessageListener listener;
        Start(QuoteArgument("/load:" + other + "Alice.vtp") + " /NOTIFY:-7");
        HWND window = Wait("TForm1");
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(WaitFor([&] { return WindowText(window) == " Vantrel  - Alice"; })) << WindowText(window);
        EXPECT_TRUE(LineCount(window, Form1Id::ListBox1) == 2 && !ShownWindow(managerId, "TWizard"));
        HeardUpToMarker(listener);
        const size_t heardBefore = listener.Heard().size();
        // Two saves that succeed, then one that the writer refuses.
        BoxAnswerer answerer("yes");
        for (size_t boxes : {1, 2, 4}) {
            ASSERT_TRUE(boxes < 4 || SetFileAttributesA(saved.c_str(), FILE_ATTRIBUTE_READONLY));
            MenuCommand(window, IDM_Saveprofile1);
            ASSERT_EQ(answerer.WaitSeen(boxes).size(), boxes);
            ASSERT_TRUE(WaitSettled(window));
        }
        EXPECT_EQ(answerer.Seen().back().text.rfind("Cannot save profile: ", 0), 0u);
        std::vector<HeardMessage> heard = HeardUpToMarker(listener);
        std::vector<std::string> announced;
        for (auto m = heard.begin() + heardBefore; m < heard.end(); ++m)
            announced.push_back(m->name + " " + std::to_string(m->wParam) + " " + std::to_string(m->lParam));
        EXPECT_EQ(announced, (std::vector<std::string>{"Vantrel.Saved 0 -7", "Vantrel.Saved 0 -7"}));
        SetFileAttributesA(saved.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    BoxAnswerer answerer("cancel");
    Start(QuoteArgument("/LOAD:" + folder + "missing.vtp"));
    HWND window = Wait("TForm1");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(Wait("TWizard")), "Quick start Wizard");
    EXPECT_TRUE(WindowText(window) == "VT Vantrel" && LineCount(window, Form1Id::ListBox1) == 0);
    EXPECT_TRUE(answerer.Seen().empty());
    RemoveTree(other);
}

// The road of a profile: driver and agent service installed by the program,
// rules made in the manager's tabs, saved, protection enabled at exit; the
// agent has the driver enforce them.
TEST_F(ManagerRun, FromTheManagerToTheDriverAndBack)
{
    // The service's window is reachable only while an ordinary window process runs.
    keep = StartProcess(QuoteArgument(BinDir() + "vtkeep.exe"));
    const std::string vtlock = QuoteArgument(folder + "vtlock.exe");
    ASSERT_EQ(RunAndWait(vtlock + " /INSTALL").exitCode, 0u);
    ASSERT_EQ(RunAndWait(vtlock + " /INSTALLSERVICE").exitCode, 0u);
    ASSERT_TRUE(StartNamedService("VTLOCKAGENT"));
    ASSERT_TRUE(WaitFor([] { return QueryServiceState("VTLOCKAGENT") == SERVICE_RUNNING &&
                                    FindWindowA("VTLOCK.AGENT", nullptr); }, 20000));
    const std::string program = NewTempDir("programs") + "roadblock.exe";
    ASSERT_TRUE(CopyFileA((BinDir() + "verinfo_full.exe").c_str(), program.c_str(), FALSE));

    // Settings stored once and, while the manager runs, both passwords.
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, SettingsKey, "AutoStart", 0));
    Start();
    HWND window = Wait("TForm1");
    ASSERT_NE(window, nullptr) << "the manager opens without asking for a password";
    SetPasswords("admin", "toggle");

    // Folder protection: C:\WINDOWS read-only with the access button.
    MenuCommand(window, IDM_Folderprotection1);
    HWND tree = FindControl(window, Form1Id::TreeView1);
    HTREEITEM windows = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        return (windows = FindTreeChild(tree, TreeView_GetRoot(tree), "windows")) != nullptr;
    }));
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(windows));
    Click(window, Form1Id::SpeedButton1);
    ASSERT_TRUE(WaitFor([&] { return LineCount(window, Form1Id::ListBox1) == 1; }));
    // File protection: every .TXT file read-only.
    MenuCommand(window, IDM_Fileprotection1);
    Click(window, Form1Id::Button1);
    HWND addFile = Wait("TAddFileDlg");
    ASSERT_NE(addFile, nullptr);
    SetText(addFile, AddFileDlgId::Edit1, "readme.txt");
    Click(addFile, AddFileDlgId::CheckBox1);            // the type of the file: ".txt"
    Click(addFile, AddFileDlgId::RadioGroup1 + 1 + 1);  // "Read-only access"
    Click(addFile, AddFileDlgId::Button2);
    ASSERT_TRUE(WaitFor([&] { return !ShownWindow(managerId, "TAddFileDlg"); }));
    ASSERT_TRUE(WaitFor([&] { return LineCount(window, Form1Id::ListBox2) == 1; }));
    // Disabled programs: one program chosen in the open dialog.
    MenuCommand(window, IDM_Restrictedprograms1);
    {
        BoxAnswerer chooser(std::vector<BoxReply>{OpenFileReply({program})});
        Click(window, Form1Id::Button13);
        ASSERT_TRUE(WaitFor([&] { return LineCount(window, Form1Id::ListBox3) == 1; }));
    }
    // Saved, then closed with protection enabled.
    BoxAnswerer answerer("yes");
    MenuCommand(window, IDM_Saveprofile1);
    ASSERT_EQ(answerer.WaitSeen(1).size(), 1u);
    ASSERT_TRUE(WaitSettled(window));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(answerer.WaitSeen(3).back().text, "Enable protection at exit from the program?");
    ASSERT_EQ(WaitForSingleObject(manager, 20000), WAIT_OBJECT_0);

    // The agent holds the saved profile: the image the driver reports is
    // the one this profile file makes, and the agent ends the program.
    ASSERT_TRUE(LoadProfile(DefaultProfile()));
    EXPECT_EQ(Profile.Folders, TextList{"-C:\\WINDOWS"});
    EXPECT_EQ(Profile.Files, TextList{"-.TXT"});
    EXPECT_EQ(Profile.Tasks, TextList{"ROADBLOCK.EXE      // Vantrel test program  (Vantrel Test Makers)"});
    BuildDriverImage();
    ASSERT_TRUE(WaitFor([] { return QueryDriverState().Started == 1; }, 20000));
    VTLOCK_STATE state = QueryDriverState();
    EXPECT_EQ(state.ImageBytes, DriverImageSize);
    EXPECT_EQ(state.FileStrings, VtLockImageField(DriverImage.data(), VTLOCK_IMAGE_OFF_NFILES));
    EXPECT_EQ(state.FolderStrings, VtLockImageField(DriverImage.data(), VTLOCK_IMAGE_OFF_NFOLDERS));
    EXPECT_TRUE(RunAndWait(QuoteArgument(program), 20000).finished) << "the disabled program was not ended";
}
