// The manager's two start-up values at work, seen from another process:
// "/LOAD:" opens the named profile (the wizard when it cannot be read) and
// "/NOTIFY:" announces each successful save to every top-level window.
#include "../agent_shared/AgentTest.h"
#include "ManagerIds.h"
#include "ManagerSupport.h"
#include "RemoteWindows.h"
#include "RuntimeEnv.h"

namespace {

using agenttest::PlainProfile;
using agenttest::ProfileText;

class StartupValues : public ::testing::Test {
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
        RemoveTree(folder);
    }
    // Starts the manager with the arguments and waits until its window is shown.
    HWND StartManager(const std::string& arguments)
    {
        StopProcess(manager);
        manager = StartProcess(QuoteArgument(folder + "vtlock.exe") + " " + arguments, &managerId);
        HWND window = nullptr;
        EXPECT_TRUE(WaitFor([&] { return (window = ShownWindow(managerId, "TForm1")) != nullptr; }, 20000));
        return window;
    }
    std::string DefaultProfile() const { return folder + "Profiles\\default.vtp"; }

    std::string folder;
    HANDLE manager = nullptr;
    DWORD managerId = 0;
};

ProfileText Rules()
{
    ProfileText p;
    p.folders = {"-C:\\WINDOWS", "&D:\\SHOP"};
    p.files = {"-.TXT"};
    return p;
}

}  // namespace

TEST_F(StartupValues, LoadOpensTheNamedProfileKeepingTheCaseOfItsPath) {
    const std::string other = NewTempDir("Shop Data");
    ASSERT_TRUE(WriteWholeFile(other + "Alice.vtp", PlainProfile(Rules())));
    for (const std::string& option : {std::string("/LOAD:"), std::string("/load:")}) {
        SCOPED_TRACE(option);
        HWND window = StartManager(QuoteArgument(option + other + "Alice.vtp"));
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(WaitFor([&] { return WindowText(window) == " Vantrel  - Alice"; })) << WindowText(window);
        EXPECT_EQ(WindowText(FindControl(window, Form1Id::Edit1)), "Alice");
        EXPECT_EQ(ListLines(FindControl(window, Form1Id::ListBox1)).size(), 2u);
        EXPECT_EQ(ListLines(FindControl(window, Form1Id::ListBox2)).size(), 1u);
        EXPECT_EQ(ShownWindow(managerId, "TWizard"), nullptr);
    }
    RemoveTree(other);
}

TEST_F(StartupValues, LoadOfAFileThatCannotBeReadOpensTheWizard) {
    ASSERT_TRUE(WriteWholeFile(DefaultProfile(), PlainProfile(Rules())));
    BoxAnswerer answerer("cancel");
    HWND window = StartManager("/LOAD:" + folder + "missing.vtp");
    ASSERT_NE(window, nullptr);
    HWND wizard = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (wizard = ShownWindow(managerId, "TWizard")) != nullptr; }));
    EXPECT_EQ(WindowText(wizard), "Quick start Wizard");
    // Not the default profile either: the tabs stay empty.
    EXPECT_EQ(WindowText(window), "VT Vantrel");
    EXPECT_TRUE(ListLines(FindControl(window, Form1Id::ListBox1)).empty());
    EXPECT_TRUE(answerer.Seen().empty());
}

TEST_F(StartupValues, NotifyAnnouncesEachSuccessfulSaveWithItsValue) {
    struct Case {
        const char* argument;
        long long value;  // 0: nothing is announced
    };
    const Case cases[] = {{"/NOTIFY:0", 0}, {"/NOTIFY:12", 12}, {"/NOTIFY:$1F", 31}, {"/notify:-7", -7}};
    MessageListener listener;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument);
        SetFileAttributesA(DefaultProfile().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(DefaultProfile().c_str());
        HWND window = StartManager(c.argument);
        ASSERT_NE(window, nullptr);
        HeardUpToMarker(listener);
        size_t heardBefore = listener.Heard().size();

        // Two saves that succeed, then one that the writer refuses.
        BoxAnswerer answerer("yes");
        for (int save = 1; save <= 3; ++save) {
            if (save == 3) {
                ASSERT_TRUE(SetFileAttributesA(DefaultProfile().c_str(), FILE_ATTRIBUTE_READONLY));
            }
            PostMessageA(window, WM_COMMAND, IDM_Saveprofile1, 0);
            size_t boxes = save == 3 ? 4 : static_cast<size_t>(save);
            ASSERT_EQ(answerer.WaitSeen(boxes).size(), boxes);
            ASSERT_TRUE(WaitSettled(window));
        }
        EXPECT_EQ(answerer.Seen().back().text.rfind("Cannot save profile: ", 0), 0u);

        std::vector<HeardMessage> heard = HeardUpToMarker(listener);
        std::vector<long long> saved;
        for (size_t i = heardBefore; i < heard.size(); ++i)
            if (heard[i].name == "Vantrel.Saved") {
                EXPECT_EQ(heard[i].wParam, 0u);
                saved.push_back(static_cast<int>(heard[i].lParam));
            }
        const std::vector<long long> expected = c.value ? std::vector<long long>{c.value, c.value}
                                                        : std::vector<long long>{};
        EXPECT_EQ(saved, expected);
    }
}
