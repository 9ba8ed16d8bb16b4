// The manager started as an administrator starts it: with no administrator
// password it opens at once and stops protection; a cancelled password ends
// it with the message and without stopping protection.
#include "ManagerIds.h"
#include "ManagerSupport.h"
#include "RemoteWindows.h"
#include "RuntimeEnv.h"

#include <gtest/gtest.h>
#include <commctrl.h>

namespace {

class StartSequence : public ::testing::Test {
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
    void StartManager() { manager = StartProcess(QuoteArgument(folder + "vtlock.exe"), &managerId); }

    std::string folder;
    HANDLE manager = nullptr;
    DWORD managerId = 0;
};

}  // namespace

TEST_F(StartSequence, WithoutAdministratorPasswordOpensAtOnceAndStopsProtection) {
    MessageListener listener;
    BoxAnswerer answerer("cancel");
    StartManager();
    ASSERT_TRUE(manager);
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (window = ShownWindow(managerId, "TForm1")) != nullptr; }));
    std::vector<HeardMessage> heard = listener.WaitHeard(1);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].name, "Vantrel.Stop");
    EXPECT_EQ(heard[0].wParam, 0u);
    EXPECT_EQ(heard[0].lParam, 0);
    EXPECT_TRUE(answerer.Seen().empty());
    EXPECT_EQ(ShownWindow(managerId, "TFQPass"), nullptr);
    // No default profile yet: the design caption stays; the fourth tab is open.
    EXPECT_EQ(WindowText(window), "VT Vantrel");
    HWND tabs = GetDlgItem(window, Form1Id::PageControl1);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 3);
}

TEST_F(StartSequence, CancelledAdministratorPasswordEndsTheProgramWithoutStoppingProtection) {
    SetPasswords("secret", nullptr);
    MessageListener listener;
    BoxAnswerer answerer("ok");
    StartManager();
    ASSERT_TRUE(manager);
    // The password dialog, when it shows, is cancelled with its close box.
    bool ended = WaitFor([&] {
        if (HWND dialog = ShownWindow(managerId, "TFQPass")) PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return WaitForSingleObject(manager, 0) == WAIT_OBJECT_0;
    }, 20000);
    ASSERT_TRUE(ended);
    DWORD code = 1;
    GetExitCodeProcess(manager, &code);
    EXPECT_EQ(code, 0u);
    std::vector<SeenBox> seen = answerer.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Vantrel");
    EXPECT_EQ(seen[0].text, "Administrator's password is incorrect.");
    EXPECT_EQ(seen[0].icon, "information");
    EXPECT_EQ(seen[0].buttons, "ok");
    EXPECT_TRUE(HeardUpToMarker(listener).empty());
}
