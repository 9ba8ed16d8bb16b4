// The manager started as an administrator starts it: with no administrator
// password it opens at once and stops protection; a cancelled password ends
// it with the message and without stopping protection.
#include "ManagerIds.h"
#include "ManagerSupport.h"
#include "RuntimeEnv.h"

#include <gtest/gtest.h>
#include <commctrl.h>

namespace {

struct Found {
    DWORD process;
    const char* className;
    HWND window;
};

BOOL CALLBACK FindOne(HWND window, LPARAM param)
{
    auto* found = reinterpret_cast<Found*>(param);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != found->process || lstrcmpA(name, found->className) != 0 || !IsWindowVisible(window)) return TRUE;
    found->window = window;
    return FALSE;
}

// A shown top-level window of the class in the process, or null.
HWND ShownWindow(DWORD process, const char* className)
{
    Found found = {process, className, nullptr};
    EnumWindows(FindOne, reinterpret_cast<LPARAM>(&found));
    return found.window;
}

std::string Title(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

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
    EXPECT_EQ(Title(window), "VT Vantrel");
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
