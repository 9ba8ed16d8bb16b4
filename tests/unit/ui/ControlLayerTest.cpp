// The control layer under real windows: modal results from the keyboard and
// the close box, the three-state check list clicked at its box, anchors.
#include "Application.h"
#include "Button.h"
#include "CheckListBox.h"
#include "Edit.h"
#include "Form.h"
#include "Panel.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Runs the queued actions one per timer tick while a modal loop pumps.
std::vector<std::function<void()>> Pending;

void CALLBACK RunPending(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (Pending.empty()) {
        KillTimer(nullptr, timer);
        return;
    }
    std::function<void()> next = Pending.front();
    Pending.erase(Pending.begin());
    next();
}

void PressKey(WORD key)
{
    HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

// An edit, then OK (default, result 1) and Cancel (cancel, result 2) on a panel.
class TTestDialog : public TForm {
public:
    TTestDialog()
    {
        CreateForm("TTestDialog", "Test dialog", 300, 120, TBorderStyle::Dialog);
        Edit1.Create(this, 100, "", 10, 10, 200);
        Panel1.Create(this, 101, 0, 60, 300, 60);
        Button1.Create(&Panel1, 102, "OK", 120, 20, 75, 25);
        Button1.SetDefault();
        Button1.OnClick = [this](TControl*) { SetModalResult(mrOk); };
        Button2.Create(&Panel1, 103, "Cancel", 205, 20, 75, 25);
        Button2.SetCancel();
        Button2.OnClick = [this](TControl*) { SetModalResult(mrCancel); };
    }
    TEdit Edit1;
    TPanel Panel1;
    TButton Button1;
    TButton Button2;
};

class ControlLayer : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Application.Initialize();
    }
    void SetUp() override { Pending.clear(); }
};

int RunModal(TForm& form, const std::vector<std::function<void()>>& actions)
{
    Pending = actions;
    SetTimer(nullptr, 0, 50, RunPending);
    return form.ShowModal();
}

}  // namespace

TEST_F(ControlLayer, ModalResultFollowsTheKeysAndTheCloseBox) {
    struct Case {
        const char* name;
        std::vector<WORD> keys;  // 0 stands for the close box
        int result;
    };
    const Case cases[] = {
        {"Enter in the edit field clicks the default button", {VK_RETURN}, mrOk},
        {"Esc clicks the cancel button", {VK_ESCAPE}, mrCancel},
        {"Tab to OK, Enter", {VK_TAB, VK_RETURN}, mrOk},
        {"Tab twice to Cancel, Enter clicks the focused button", {VK_TAB, VK_TAB, VK_RETURN}, mrCancel},
        {"the close box", {0}, mrCancel},
    };
    TTestDialog dialog;
    for (const Case& c : cases) {
        std::vector<std::function<void()>> actions = {[&dialog] { dialog.Edit1.SetFocus(); }};
        for (WORD key : c.keys)
            actions.push_back([&dialog, key] {
                if (key) PressKey(key);
                else PostMessageA(dialog.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
            });
        EXPECT_EQ(RunModal(dialog, actions), c.result) << c.name;
        EXPECT_FALSE(IsWindowVisible(dialog.Handle())) << c.name;
    }
}

TEST_F(ControlLayer, ModalDialogDisablesTheOtherWindowsUntilItCloses) {
    TForm main;
    main.CreateForm("TTestMain", "Main", 200, 100, TBorderStyle::Sizeable);
    main.Show();
    TTestDialog dialog;
    bool disabledMeanwhile = false;
    RunModal(dialog, {[&] { disabledMeanwhile = !IsWindowEnabled(main.Handle()); }, [] { PressKey(VK_ESCAPE); }});
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(main.Handle()));
}

TEST_F(ControlLayer, ClickOnTheBoxCyclesUncheckedGrayedChecked) {
    TForm form;
    form.CreateForm("TTestCheckList", "Check list", 300, 200, TBorderStyle::Dialog);
    TCheckListBox list;
    list.Create(&form, 100, 10, 10, 280, 180);
    list.SetAllowGrayed(true);
    for (const char* text : {"first", "second", "third"}) list.Add(text);
    int clicks = 0;
    list.OnClickCheck = [&](TControl*) { ++clicks; };
    form.Show();

    auto clickAt = [&](int x, int y) {
        SendMessageA(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageA(list.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    };
    auto stateSeen = [&](int index) { return SendMessageA(list.Handle(), LB_GETITEMDATA, index, 0); };
    RECT box = list.BoxRect(1);
    int x = (box.left + box.right) / 2, y = (box.top + box.bottom) / 2;
    const LRESULT cycle[] = {cbGrayed, cbChecked, cbUnchecked, cbGrayed};
    for (LRESULT expected : cycle) {
        clickAt(x, y);
        EXPECT_EQ(stateSeen(1), expected);
    }
    EXPECT_EQ(clicks, 4);
    EXPECT_EQ(stateSeen(0), cbUnchecked);
    EXPECT_EQ(stateSeen(2), cbUnchecked);

    // A click on the text selects the line and leaves its box alone.
    clickAt(box.right + 40, y);
    EXPECT_EQ(stateSeen(1), cbGrayed);
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_EQ(clicks, 4);
}

TEST_F(ControlLayer, AnchoredControlsFollowTheClientAreaOthersStay) {
    TForm form;
    form.CreateForm("TTestAnchors", "Anchors", 300, 200, TBorderStyle::Sizeable);
    TPanel panel;
    panel.Create(&form, 100, 10, 10, 280, 180);
    panel.SetAnchors(akLeft | akTop | akRight | akBottom);
    TButton corner, fixed;
    corner.Create(&panel, 101, "Corner", 190, 145, 80, 25);
    corner.SetAnchors(akRight | akBottom);
    fixed.Create(&panel, 102, "Fixed", 10, 145, 80, 25);
    TEdit wide;
    wide.Create(&panel, 103, "", 10, 10, 260);
    wide.SetAnchors(akLeft | akTop | akRight);

    form.SetClientSize(400, 300);
    auto bounds = [](const TControl& c) {
        RECT r = c.BoundsRect();
        return std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top};
    };
    EXPECT_EQ(bounds(panel), (std::vector<LONG>{10, 10, 380, 280}));
    EXPECT_EQ(bounds(corner), (std::vector<LONG>{290, 245, 80, 25}));
    EXPECT_EQ(bounds(fixed), (std::vector<LONG>{10, 145, 80, 25}));
    EXPECT_EQ(bounds(wide)[2], 360);
}
