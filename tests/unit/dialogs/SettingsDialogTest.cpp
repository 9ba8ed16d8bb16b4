// The Settings dialog on its own: the switches as shown and given back, the
// third box following the second, the initial page, cancelling, the two
// pending passwords and the hints with their timing.
#include "Application.h"
#include "DialogForms.h"
#include "UQUPass.h"
#include "USettings.h"

#include <commctrl.h>

namespace {

class SettingsDialog : public DialogTest {};

struct Switches {
    bool autoStart, userControl, useDefault;
};

bool Checked(const TCheckBox& box) { return SendMessageA(box.Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

struct Outcome {
    int result = 0;
    Switches switches = {};
    std::string administrator, toggle;
};

// Runs the dialog with the script's steps; the passwords go in empty, as
// the Settings command passes them.
Outcome Execute(FormScript& script, Switches in, int page = StartupPage)
{
    Outcome out;
    out.switches = in;
    script.Start();
    out.result = ExecuteSettingsDialog(out.switches.autoStart, out.switches.userControl, out.switches.useDefault,
                                       out.administrator, out.toggle, page);
    return out;
}

// Types the password twice into the change dialog and presses OK, or Cancel when password is empty.
void EnterNewPassword(FormScript& script, const std::string& password)
{
    script.WaitShown(FQUPass->Handle()).Do([password] {
        if (password.empty()) {
            Click(FQUPass->Button2.Handle());
            return;
        }
        Type(FQUPass->Edit1.Handle(), password);
        Type(FQUPass->Edit2.Handle(), password);
        Click(FQUPass->Button1.Handle());
    });
    script.WaitUntil("the change dialog closed", [] { return !IsWindowVisible(FQUPass->Handle()); });
}

// Asked in UTF-16: the ANSI message gives at most 80 characters.
std::string ToolText(HWND tooltip, HWND control)
{
    wchar_t text[2048] = {};
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, sizeof text / sizeof text[0], reinterpret_cast<LPARAM>(&tool));
    char ansi[4096] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof ansi, nullptr, nullptr);
    return ansi;
}

int DelayTime(int which)
{
    return static_cast<int>(SendMessageA(Application.HintWindow(), TTM_GETDELAYTIME, which, 0));
}

}  // namespace

TEST_F(SettingsDialog, ShowsTheSwitchesAsStoredAndGivesThemBackOnOk) {
    const Switches cases[] = {
        {false, false, false}, {true, false, false}, {false, true, false}, {false, true, true},
        {true, true, true},    {false, false, true}, {true, false, true},  {false, false, false},
    };
    for (const Switches& in : cases) {
        Switches shown = {};
        bool thirdEnabled = false;
        FormScript script;
        script.WaitShown(Form3->Handle()).Do([&] {
            shown = {Checked(Form3->CheckBox3), Checked(Form3->CheckBox2), Checked(Form3->CheckBox5)};
            thirdEnabled = Form3->CheckBox5.Enabled();
            Click(Form3->Button1.Handle());
        });
        Outcome out = Execute(script, in);
        std::string name = std::to_string(in.autoStart) + std::to_string(in.userControl) + std::to_string(in.useDefault);
        EXPECT_EQ(out.result, 1) << name;
        EXPECT_EQ(shown.autoStart, in.autoStart) << name;
        EXPECT_EQ(shown.userControl, in.userControl) << name;
        EXPECT_EQ(shown.useDefault, in.useDefault) << name;
        EXPECT_EQ(thirdEnabled, in.userControl) << name;
        EXPECT_EQ(out.switches.autoStart, in.autoStart) << name;
        EXPECT_EQ(out.switches.userControl, in.userControl) << name;
        EXPECT_EQ(out.switches.useDefault, in.useDefault) << name;
    }
}

TEST_F(SettingsDialog, UncheckingUserControlClearsAndDisablesUseDefault) {
    bool uncheckedThird = true, disabledThird = true, recheckedThird = true, reenabledThird = false;
    FormScript script;
    script.WaitShown(Form3->Handle())
        .Do([] { Click(Form3->CheckBox2.Handle()); })
        .WaitUntil("UserControl unchecked", [] { return !Checked(Form3->CheckBox2); })
        .Do([&] {
            uncheckedThird = Checked(Form3->CheckBox5);
            disabledThird = !Form3->CheckBox5.Enabled();
            Click(Form3->CheckBox2.Handle());
        })
        .WaitUntil("UserControl checked", [] { return Checked(Form3->CheckBox2); })
        .Do([&] {
            recheckedThird = Checked(Form3->CheckBox5);
            reenabledThird = Form3->CheckBox5.Enabled();
            Click(Form3->Button1.Handle());
        });
    Outcome out = Execute(script, {false, true, true});
    EXPECT_FALSE(uncheckedThird);
    EXPECT_TRUE(disabledThird);
    EXPECT_FALSE(recheckedThird);
    EXPECT_TRUE(reenabledThird);
    EXPECT_TRUE(out.switches.userControl);
    EXPECT_FALSE(out.switches.useDefault);
}

TEST_F(SettingsDialog, OpensOnTheInitialPage) {
    for (int page : {PasswordsPage, StartupPage, PasswordsPage}) {
        int active = -1;
        bool startupShown = false, passwordsShown = false;
        FormScript script;
        script.WaitShown(Form3->Handle()).Do([&] {
            active = static_cast<int>(SendMessageA(Form3->PageControl1.Handle(), TCM_GETCURSEL, 0, 0));
            startupShown = IsWindowVisible(Form3->CheckBox3.Handle()) != FALSE;
            passwordsShown = IsWindowVisible(Form3->Button3.Handle()) != FALSE;
            PressKey(VK_ESCAPE);
        });
        Execute(script, {false, false, false}, page);
        EXPECT_EQ(active, page);
        EXPECT_EQ(startupShown, page == StartupPage) << page;
        EXPECT_EQ(passwordsShown, page == PasswordsPage) << page;
    }
}

TEST_F(SettingsDialog, CancelGivesBackNothing) {
    struct Case {
        const char* name;
        std::function<void()> cancel;
    };
    const Case cases[] = {
        {"Cancel", [] { Click(Form3->Button2.Handle()); }},
        {"Esc", [] { PressKey(VK_ESCAPE); }},
        {"the close box", [] { PostMessageA(Form3->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Case& c : cases) {
        FormScript script;
        script.WaitShown(Form3->Handle())
            .Do([] {
                for (TCheckBox* box : {&Form3->CheckBox3, &Form3->CheckBox2}) Click(box->Handle());
                ClickTab(Form3->PageControl1.Handle(), PasswordsPage);
            })
            .WaitUntil("the Passwords page", [] { return IsWindowVisible(Form3->Button3.Handle()) != FALSE; })
            .Do([] { Click(Form3->Button3.Handle()); });
        EnterNewPassword(script, "forgotten");
        script.Do(c.cancel);
        Outcome out = Execute(script, {false, false, false});
        EXPECT_EQ(out.result, 2) << c.name;
        EXPECT_FALSE(out.switches.autoStart || out.switches.userControl || out.switches.useDefault) << c.name;
        EXPECT_EQ(out.administrator, "") << c.name;
    }
}

TEST_F(SettingsDialog, EachButtonKeepsItsLastEnteredPasswordForOneRun) {
    FormScript script;
    script.WaitShown(Form3->Handle()).Do([] { Click(Form3->Button3.Handle()); });
    EnterNewPassword(script, "first admin");
    script.Do([] { Click(Form3->Button3.Handle()); });
    EnterNewPassword(script, "second admin");
    script.Do([] { Click(Form3->Button4.Handle()); });
    EnterNewPassword(script, "first toggle");
    script.Do([] { Click(Form3->Button4.Handle()); });
    EnterNewPassword(script, "");
    script.Do([] { Click(Form3->Button1.Handle()); });
    script.WaitShown(Form3->Handle()).Do([] { Click(Form3->Button1.Handle()); });
    Outcome out = Execute(script, {false, false, false}, PasswordsPage);
    EXPECT_EQ(out.result, 1);
    EXPECT_EQ(out.administrator, "second admin");
    EXPECT_EQ(out.toggle, "first toggle");

    Outcome next = Execute(script, {false, false, false}, PasswordsPage);
    EXPECT_EQ(next.result, 1);
    EXPECT_EQ(next.administrator, "");
    EXPECT_EQ(next.toggle, "");
}

TEST_F(SettingsDialog, ShowsItsHintsWithLongerTimingOnlyWhileOpen) {
    Application.SetHintPause(500);
    Application.SetHintHidePause(2500);
    int initial = 0, autoPop = 0;
    std::string autoStartHint, userControlHint, useDefaultHint;
    FormScript script;
    script.WaitShown(Form3->Handle()).Do([&] {
        initial = DelayTime(TTDT_INITIAL);
        autoPop = DelayTime(TTDT_AUTOPOP);
        autoStartHint = ToolText(Application.HintWindow(), Form3->CheckBox3.Handle());
        userControlHint = ToolText(Application.HintWindow(), Form3->CheckBox2.Handle());
        useDefaultHint = ToolText(Application.HintWindow(), Form3->CheckBox5.Handle());
        Click(Form3->Button2.Handle());
    });
    Execute(script, {false, false, false});
    EXPECT_EQ(initial, 1000);
    EXPECT_EQ(autoPop, 10000);
    EXPECT_EQ(DelayTime(TTDT_INITIAL), 500);
    EXPECT_EQ(DelayTime(TTDT_AUTOPOP), 2500);
    EXPECT_EQ(Application.HintPause(), 500);
    EXPECT_EQ(Application.HintHidePause(), 2500);
    EXPECT_EQ(autoStartHint,
              "When checked, protection will be enabled at each Windows startup.\r\n"
              "To disable/re-enable protection, you can use \"Toggle protection\" shortcut on desktop.");
    EXPECT_EQ(userControlHint,
              "Used only, when you wish to create separate profiles for each user account.\r\n"
              "When this checkbox is checked, the system will load a profile\r\n"
              "prepared specially for logged user; and contrary, when it is not checked,\r\n"
              "a default profile will be loaded (not depending on logged user).");
    EXPECT_EQ(useDefaultHint,
              "If checked, a default profile will be loaded when no specific profile for\r\n"
              "user was prepared.");
}
