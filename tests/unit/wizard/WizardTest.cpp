// The profile creation wizard under real windows: its buttons clicked and
// its keys pressed, what it shows read back from its controls and pixels.
#include "Application.h"
#include "ManagerIds.h"
#include "UWizard.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class WizardForm : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Application.Initialize(); }
    void SetUp() override
    {
        ASSERT_TRUE(wizard.Create());
        TemplateBuilder = [this] {
            ++builds;
            built = wizard.Boxes();
        };
        wizard.Show();
    }
    void TearDown() override { TemplateBuilder = nullptr; }

    HWND Window(int id) { return wizard.FindById(id)->Handle(); }
    void Click(int id) { SendMessageA(Window(id), BM_CLICK, 0, 0); }
    std::string TextOf(int id)
    {
        char text[256] = {};
        GetWindowTextA(Window(id), text, sizeof text);
        return text;
    }
    // The page whose sheet the user sees, -1 for none or several.
    int ShownPage()
    {
        int shown = -1;
        for (int page = 0; page < WizardPageCount; ++page)
            if (IsWindowVisible(Window(WizardId::Page0 + page))) shown = shown == -1 ? page : -2;
        return shown < 0 ? -1 : shown;
    }
    // Hands this thread's queued messages to the application, as its loop does.
    void Pump()
    {
        for (int round = 0; round < 5; ++round) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) Application.HandleMessage(msg, nullptr);
            Sleep(10);
        }
    }
    void PressKey(WORD key)
    {
        HWND focus = GetFocus();
        PostMessageA(focus, WM_KEYDOWN, key, 1);
        PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
        Pump();
    }
    RECT ScreenRect(HWND window)
    {
        RECT r = {};
        GetWindowRect(window, &r);
        return r;
    }

    TWizard wizard;
    int builds = 0;
    WizardBoxes built = {};
};

struct Step {
    int button;  // 0: none, the wizard as it opens
    int page;
    const char* title;
    const char* numeral;
    bool backEnabled;
    const char* nextCaption;
};

// How many of the numeral control's pixels show the face and the shadow colour.
struct NumeralPixels {
    int face = 0;
    int shadow = 0;
};

NumeralPixels CountNumeralPixels(HWND numerals)
{
    RedrawWindow(numerals, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT r = {};
    GetClientRect(numerals, &r);
    HDC dc = GetDC(numerals);
    NumeralPixels seen;
    for (int y = 0; y < r.bottom; y += 2)
        for (int x = 0; x < r.right; x += 2) {
            COLORREF c = GetPixel(dc, x, y);
            if (c == RGB(222, 235, 250)) ++seen.face;
            if (c == RGB(128, 160, 208)) ++seen.shadow;
        }
    ReleaseDC(numerals, dc);
    return seen;
}

}  // namespace

TEST_F(WizardForm, IsAFixedAlwaysOnTopWindowOfItsSize) {
    HWND window = wizard.Handle();
    EXPECT_EQ(wizard.Text(), "Quick start Wizard");
    RECT client = {};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 474);
    EXPECT_EQ(client.bottom, 326);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & WS_THICKFRAME);
    EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & WS_MAXIMIZEBOX);
}

TEST_F(WizardForm, TheHeaderStripCoversTheTabsSoOnlyTheButtonsChangePages) {
    HWND tabs = Window(WizardId::PageControl1);
    RECT client = {};
    GetClientRect(wizard.Handle(), &client);
    int tabsInWindow = 0;
    for (int page = 0; page < WizardPageCount; ++page) {
        RECT item = {};
        if (!SendMessageA(tabs, TCM_GETITEMRECT, page, reinterpret_cast<LPARAM>(&item))) continue;
        MapWindowPoints(tabs, wizard.Handle(), reinterpret_cast<POINT*>(&item), 2);
        if (!IntersectRect(&item, &item, &client)) continue;
        ++tabsInWindow;
        POINT centre = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        EXPECT_LE(item.bottom, 41) << "tab " << page;
        EXPECT_EQ(ChildWindowFromPointEx(wizard.Handle(), centre, CWP_SKIPINVISIBLE), Window(WizardId::Header))
            << "tab " << page;
    }
    EXPECT_GT(tabsInWindow, 0);
    EXPECT_FALSE(GetWindowLongA(tabs, GWL_STYLE) & WS_TABSTOP);
}

TEST_F(WizardForm, NextAndBackWalkThePagesWithTheirHeaders) {
    const int back = WizardId::Button1, next = WizardId::Button2;
    const Step steps[] = {
        {0, 0, "Profile Creation Wizard", "", false, "&Next>"},
        {next, 1, "Most important folders", "1", true, "&Next>"},
        {next, 2, "Protect file types", "2", true, "&Next>"},
        {next, 3, "System restrictions", "3", true, "&Next>"},
        {next, 4, "Profile template is ready", "4", true, "&Finish"},
        {back, 3, "System restrictions", "3", true, "&Next>"},
        {back, 2, "Protect file types", "2", true, "&Next>"},
        {back, 1, "Most important folders", "1", true, "&Next>"},
        {back, 0, "Profile Creation Wizard", "", false, "&Next>"},
        {back, 0, "Profile Creation Wizard", "", false, "&Next>"},  // disabled: nothing happens
    };
    int n = 0;
    for (const Step& step : steps) {
        if (step.button) Click(step.button);
        SCOPED_TRACE("step " + std::to_string(n++));
        EXPECT_EQ(ShownPage(), step.page);
        EXPECT_EQ(wizard.PageIndex(), step.page);
        EXPECT_EQ(TextOf(WizardId::HeaderTitle), step.title);
        EXPECT_EQ(TextOf(WizardId::Numerals), step.numeral);
        EXPECT_EQ(IsWindowEnabled(Window(back)) != FALSE, step.backEnabled);
        EXPECT_EQ(TextOf(next), step.nextCaption);
    }
    EXPECT_EQ(builds, 0);
    EXPECT_TRUE(IsWindowVisible(wizard.Handle()));
}

TEST_F(WizardForm, FinishBuildsFromTheBoxesHidesAndReopensOnTheLastPage) {
    for (int i = 0; i < 2; ++i) Click(WizardId::Button2);
    Click(WizardId::CheckBox1 + 7 - 1);
    for (int i = 0; i < 2; ++i) Click(WizardId::Button2);
    Click(WizardId::Button2);  // "&Finish"
    EXPECT_EQ(builds, 1);
    EXPECT_FALSE(IsWindowVisible(wizard.Handle()));
    WizardBoxes expected = {};
    expected[6] = true;
    EXPECT_EQ(built, expected);

    wizard.Show();
    EXPECT_EQ(ShownPage(), 4);
    EXPECT_EQ(TextOf(WizardId::Button2), "&Finish");
    EXPECT_EQ(TextOf(WizardId::Numerals), "4");
    EXPECT_TRUE(IsWindowEnabled(Window(WizardId::Button1)));
    Click(WizardId::Button2);
    EXPECT_EQ(builds, 2);
    EXPECT_EQ(built, expected);
}

TEST_F(WizardForm, CancelEscAndTheCloseBoxHideWithoutBuildingAndKeepEverything) {
    Click(WizardId::Button2);
    Click(WizardId::CheckBox1 + 2 - 1);
    Click(WizardId::Button2);
    const std::vector<std::string> ways = {"Cancel", "Esc", "close box"};
    for (const std::string& way : ways) {
        wizard.Show();
        ASSERT_TRUE(IsWindowVisible(wizard.Handle())) << way;
        if (way == "Cancel") Click(WizardId::Button3);
        if (way == "Esc") {
            SetFocus(Window(WizardId::CheckBox1 + 7 - 1));
            PressKey(VK_ESCAPE);
        }
        if (way == "close box") {
            PostMessageA(wizard.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
            Pump();
        }
        EXPECT_FALSE(IsWindowVisible(wizard.Handle())) << way;
        EXPECT_EQ(wizard.PageIndex(), 2) << way;
        EXPECT_TRUE(wizard.CheckBox(2).Checked()) << way;
    }
    EXPECT_EQ(builds, 0);
}

TEST_F(WizardForm, EnterGoesOnAfterBackFromTheKeyboardDisabledItself) {
    Click(WizardId::Button2);
    SetFocus(Window(WizardId::CheckBox1));
    PressKey(VK_RETURN);  // the default button, Next
    EXPECT_EQ(wizard.PageIndex(), 2);
    Click(WizardId::Button1);
    SetFocus(Window(WizardId::Button1));
    PressKey(VK_RETURN);  // Back to page 0 disables the focused button
    EXPECT_EQ(wizard.PageIndex(), 0);
    EXPECT_EQ(GetFocus(), Window(WizardId::Button2));
    PressKey(VK_RETURN);
    EXPECT_EQ(wizard.PageIndex(), 1);
}

TEST_F(WizardForm, EachPageShowsItsBoxesInOrderInsideTheWindow) {
    const std::vector<std::vector<int>> boxesOfPage = {{}, {1, 2, 3, 4, 5}, {7, 6, 8, 9, 10, 11}, {13, 12, 14}, {}};
    RECT client = {};
    GetClientRect(wizard.Handle(), &client);
    MapWindowPoints(wizard.Handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    for (int page = 0; page < WizardPageCount; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        while (wizard.PageIndex() < page) Click(WizardId::Button2);
        HWND panel = Window(WizardId::PagePanel0 + page);
        RECT area = ScreenRect(panel);
        IntersectRect(&area, &area, &client);
        area.bottom = std::min(area.bottom, ScreenRect(Window(WizardId::Button1)).top);
        std::vector<int> shownBoxes;
        LONG lastBottom = area.top;
        for (HWND child = GetWindow(panel, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            EXPECT_TRUE(IsWindowVisible(child));
            RECT r = ScreenRect(child);
            EXPECT_GE(r.left, area.left);
            EXPECT_LE(r.right, area.right);
            EXPECT_GE(r.top, lastBottom) << "overlaps the row above";
            EXPECT_LE(r.bottom, area.bottom);
            lastBottom = r.bottom;
            int id = GetDlgCtrlID(child);
            if (id >= WizardId::CheckBox1 && id <= WizardId::CheckBox14) shownBoxes.push_back(id - WizardId::CheckBox1 + 1);
        }
        EXPECT_EQ(shownBoxes, boxesOfPage[static_cast<size_t>(page)]);
    }
}

TEST_F(WizardForm, TheNumeralIsDrawnTwiceInItsColoursFromPageOne) {
    HWND numerals = Window(WizardId::Numerals);
    NumeralPixels onFirst = CountNumeralPixels(numerals);
    EXPECT_EQ(onFirst.face, 0);
    EXPECT_EQ(onFirst.shadow, 0);
    Click(WizardId::Button2);
    Click(WizardId::Button2);
    NumeralPixels onSecond = CountNumeralPixels(numerals);
    EXPECT_GT(onSecond.face, 50);
    EXPECT_GT(onSecond.shadow, 10);
}
