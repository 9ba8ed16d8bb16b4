// The profile manager answers a person: real keys and clicks from the X
// server (xdotool) reach it and do what its menu, toolbar and lists promise.
#include "ManagerIds.h"
#include "ManagerSupport.h"
#include "RemoteWindows.h"
#include "RuntimeEnv.h"

#include <gtest/gtest.h>

namespace {

class XInput : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitRuntimeEnvironment(); }
    // The manager opened at once (no administrator password), in front.
    void SetUp() override
    {
        SetPasswords(nullptr, nullptr);
        folder = InstallCopy();
        manager = StartProcess(QuoteArgument(folder + "vtlock.exe"), &managerId);
        window = Wait("TForm1");
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(WaitSettled(window));
        ASSERT_TRUE(XFocus(window));
    }
    void TearDown() override
    {
        StopProcess(manager);
        RemoveTree(folder);
    }
    HWND Wait(const char* className)
    {
        HWND shown = nullptr;
        WaitFor([&] { return (shown = ShownWindow(managerId, className)) != nullptr; }, 20000);
        return shown;
    }
    // A real left click at a point of a control's client area.
    static bool Click(HWND control, POINT at)
    {
        ClientToScreen(control, &at);
        return XClick(at.x, at.y);
    }
    static bool ClickMiddle(HWND control)
    {
        RECT r = {};
        GetClientRect(control, &r);
        return Click(control, POINT{r.right / 2, r.bottom / 2});
    }

    std::string folder;
    HANDLE manager = nullptr;
    DWORD managerId = 0;
    HWND window = nullptr;
};

// A shortcut key or the toolbar button, and the message it broadcasts.
struct ProtectionInput {
    const char* keys;  // null: a click on "Disable protection"
    const char* heard;
};

}  // namespace

TEST_F(XInput, ProtectionKeysAndButtonBroadcast) {
    const ProtectionInput table[] = {{"F6", "Vantrel.Start"}, {"ctrl+F6", "Vantrel.Stop"}, {nullptr, "Vantrel.Stop"}};
    for (const ProtectionInput& row : table) {
        SCOPED_TRACE(row.keys ? row.keys : "click");
        MessageListener listener;  // after the start's own "Vantrel.Stop"
        if (row.keys)
            ASSERT_TRUE(XKeys(row.keys));
        else
            ASSERT_TRUE(ClickMiddle(FindControl(window, Form1Id::StopButton)));
        // xdotool may end before the manager has read the input: the message
        // is waited for, then the marker shows that no other came.
        ASSERT_EQ(listener.WaitHeard(1).size(), 1u);
        std::vector<HeardMessage> heard = HeardUpToMarker(listener);
        ASSERT_EQ(heard.size(), 1u);
        EXPECT_EQ(heard[0].name, row.heard);
    }
}

TEST_F(XInput, F1WithoutHelpFileSaysSo) {
    BoxAnswerer answerer("ok");
    ASSERT_TRUE(XKeys("F1"));
    std::vector<SeenBox> seen = answerer.WaitSeen(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Help");
    EXPECT_EQ(seen[0].text, "Help file not found");
}

TEST_F(XInput, EscapeAndEnterCloseTheAboutBox) {
    for (const char* key : {"Escape", "Return"}) {
        SCOPED_TRACE(key);
        ASSERT_TRUE(XKeys("alt+h a"));  // Help, About
        HWND about = Wait("TFAbout");
        ASSERT_NE(about, nullptr);
        ASSERT_TRUE(XKeys(key));
        EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(about); }));
    }
}

TEST_F(XInput, AltF4AsksToVerifyTheSettingsFirst) {
    BoxAnswerer answerer("ok");
    ASSERT_TRUE(XKeys("alt+F4"));
    std::vector<SeenBox> seen = answerer.WaitSeen(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Warning");
    EXPECT_EQ(seen[0].text, "You have not specified required start parameters. Please verify settings.");
    HWND settings = Wait("TForm3");
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(XKeys("Escape"));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(settings); }));
    EXPECT_EQ(WaitForSingleObject(manager, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "closed unasked";
}

TEST_F(XInput, ClicksOnARestrictionsBoxGoThroughItsThreeStates) {
    HWND tabs = FindControl(window, Form1Id::PageControl1);
    RECT tab = RemoteRect(tabs, TCM_GETITEMRECT, 2);  // "Restrictions"
    ASSERT_TRUE(Click(tabs, POINT{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2}));
    HWND checks = FindControl(window, Form1Id::CheckListBox1);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(checks) != FALSE; }));
    ASSERT_TRUE(ClickMiddle(FindControl(window, Form1Id::Button11)));  // "Uncheck all"
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(checks, LB_GETITEMDATA, 0, 0) == 0; }));
    RECT item = {};
    SendMessageA(checks, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    for (LRESULT state : {2, 1, 0}) {  // grayed, checked, unchecked
        ASSERT_TRUE(Click(checks, POINT{item.left + 8, (item.top + item.bottom) / 2}));
        EXPECT_TRUE(WaitFor([&] { return SendMessageA(checks, LB_GETITEMDATA, 0, 0) == state; }, 5000))
            << "after the click, expected state " << state;
    }
}
