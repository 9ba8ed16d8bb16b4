// The dialogs as the administrator uses them: the two password dialogs, the
// Settings command with what it stores, and the About box.
#include "AboutBox.h"
#include "AdminPasswordPrompt.h"
#include "CommandLibrary.h"
#include "ManagerForms.h"
#include "PasswordChangeDialog.h"
#include "RegValues.h"
#include "SettingsDialog.h"
#include "vrcmd.h"
#include <commctrl.h>
namespace {
const std::string Longest(VRCMD_TYPED_PASSWORD_MAX, 'p');  // what the toggle dialog takes
std::string Mask(HWND edit) { return SendMessageA(edit, EM_GETPASSWORDCHAR, 0, 0) == '*' ? "*" : "-"; }
// The change dialog opened with the button, the password typed twice, OK; Cancel for none.
void EnterNewPassword(FormScript& script, TButton& button, const std::string& password) {
    TPasswordChangeDialog& dialog = *PasswordChangeDialog;
    script.Do([&button] { Click(button.Handle()); }).WaitShown(dialog.Handle()).Do([&dialog, password] {
        Type(dialog.PasswordEdit.Handle(), password);
        Type(dialog.VerificationEdit.Handle(), password);
        Click((password.empty() ? dialog.CancelButton : dialog.OkButton).Handle());
    });
    script.WaitUntil("the change dialog closed", [&dialog] { return !IsWindowVisible(dialog.Handle()); });
}
// The Settings dialog's three boxes, then whether the third takes clicks.
std::string ShownSwitches() {
    TSettingsDialog& dialog = *SettingsDialog;
    std::string text;
    for (TCheckBox* box : {&dialog.AutoStartCheckBox, &dialog.UserControlCheckBox, &dialog.UseDefaultCheckBox})
        text += Checked(box->Handle()) ? "1" : "0";
    return text + (dialog.UseDefaultCheckBox.Enabled() ? "+" : "-");
}
}  // namespace
// Only OK gives the typed text, Esc and the close box none (Enter and the Cancel button are the
// pair the other dialogs share). It is modal, keeps the text, hides the typing and takes what the
// toggle dialog takes.
TEST_F(ManagerForms, TheAdministratorPasswordDialogGivesTheTypedTextOnlyForOk) {
    TAdminPasswordPrompt& prompt = *AdminPasswordPrompt;
    HWND field = prompt.PasswordEdit.Handle();
    const struct { std::function<void()> close; std::string typed, result; } cases[] = {
        {[&] { Click(prompt.OkButton.Handle()); }, Longest + "45", Longest},
        {[] { PressKey(VK_ESCAPE); }, "Esc", ""},
        {[&] { PostMessageA(prompt.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }, "the close box", ""},
    };
    std::vector<std::string> seen;  // at each show: the text, the mask, the focus, whether modal
    for (const auto& c : cases) {
        FormScript script;
        script.WaitShown(prompt.Handle())
            .Do([&] {
                seen.push_back(WindowText(field) + Mask(field) + (seen.empty() && GetFocus() == field ? " focus" : "") +
                               (IsWindowEnabled(ManagerWindow->Handle()) ? "" : " modal"));
                SetWindowTextA(field, "");
                Type(field, c.typed);
            })
            .Do(c.close)
            .Start();
        EXPECT_EQ(QueryAdministratorPassword(), c.result) << c.typed;
        EXPECT_TRUE(!IsWindowVisible(prompt.Handle()) && IsWindowEnabled(ManagerWindow->Handle())) << c.typed;
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"* focus modal", Longest + "* modal", "Esc* modal"}));
    EXPECT_EQ(WindowText(prompt.Handle()) + "|" + WindowText(prompt.PromptLabel.Handle()),
              "Enter administrator's password|Access to Vantrel profile manager is protected by password. "
              "Enter Vantrel administrator's password to continue.");
}
// Empty and different passwords are refused, keeping the fields; each show starts afresh;
// without Hide typing the second field is cleared and not asked for.
TEST_F(ManagerForms, ThePasswordChangeDialogGivesTheTwiceTypedPassword) {
    TPasswordChangeDialog& dialog = *PasswordChangeDialog;
    HWND first = dialog.PasswordEdit.Handle(), second = dialog.VerificationEdit.Handle();
    HWND hide = dialog.HideTypingCheckBox.Handle();
    std::vector<std::string> looks;  // the fields, Hide typing, the second field on, the masks, the focus
    auto look = [&] {
        looks.push_back(WindowText(first) + "|" + WindowText(second) + (Checked(hide) ? "|hide" : "|show") +
                        (IsWindowEnabled(second) ? "|second|" : "|no second|") + Mask(first) + Mask(second) +
                        (GetFocus() == first ? " focus" : ""));
    };
    auto ok = [&] { Click(dialog.OkButton.Handle()); };
    BoxAnswerer answerer("ok");
    FormScript script;
    script.WaitShown(dialog.Handle())
        .Do([&] { look(); ok(); })
        .WaitBoxesAnswered(answerer, 1)
        .Do([&] { Type(second, "secret"); ok(); })
        .WaitBoxesAnswered(answerer, 2)
        .Do([&] { SetWindowTextA(second, ""); Type(first, "Mixed Case 1"); Type(second, "Mixed Case 1"); })
        .Do([] { PressKey(VK_RETURN); })
        .WaitShown(dialog.Handle())
        .Do([&] { look(); Type(first, "seen"); Type(second, "typo"); Click(hide); })
        .WaitUntil("typing shown", [&] { return !Checked(hide); })
        .Do([&] { look(); ok(); })
        .WaitShown(dialog.Handle())
        .Do([&] { look(); Click(hide); Type(first, "abc"); Click(hide); })
        .WaitUntil("typing hidden", [&] { return Checked(hide); })
        .Do([&] { look(); ok(); })
        .WaitBoxesAnswered(answerer, 3)
        .Do([&] { Type(second, "abc"); ok(); })
        // Every password set here must also be typeable into the toggle dialog.
        .WaitShown(dialog.Handle())
        .Do([&] { Type(first, Longest + "45"); Type(second, Longest + "45"); ok(); });
    script.Start();
    for (const char* password : {"Mixed Case 1", "seen", "abc", Longest.c_str()})
        EXPECT_EQ(QueryNewPassword(), password);
    const std::string fresh = "||hide|second|** focus", empty = "Change password|Password cannot be empty.|warning|ok";
    EXPECT_EQ(looks, (std::vector<std::string>{fresh, fresh, "seen||show|no second|--", fresh, "abc||hide|second|**"}));
    EXPECT_EQ(ShownBoxes(answerer), (std::vector<std::string>{empty, empty,
                                                              "Settings|First and second password fields are not "
                                                              "identical. Enter password again.|warning|ok"}));
    EXPECT_EQ(WindowText(dialog.Handle()), "Change password");
}
// Opened on the Startup page with the switches as stored, the third following the second; only
// OK stores them (also an unused UseDefault) and the last password entered with each button.
// Where the registry refuses them, each failure is shown and nothing counts as stored.
TEST_F(ManagerForms, SettingsStoreTheSwitchesAndPasswordsOnlyOnOk) {
    using namespace SettingsDialogId;
    // before, after: AutoStart, UserControl, UseDefault as loaded and as stored ("-": none); shown:
    // the boxes and whether the third takes clicks, at show and before closing; locked: the keys
    // read-only; close: the button, 0 for Enter.
    const struct {
        const char* before; std::vector<int> clicks; bool passwords, locked; int close; const char *shown, *after;
    } cases[] = {
        {"101", {}, false, false, 0, "101- 101-", "101"},
        {"---", {AutoStartCheckBox, UserControlCheckBox}, true, false, CancelButton, "000- 110+", "---"},
        {"---", {AutoStartCheckBox, UserControlCheckBox, UseDefaultCheckBox}, true, false, OkButton, "000- 111+", "111"},
        {"011", {UserControlCheckBox, UserControlCheckBox}, false, false, OkButton, "011+ 010+", "010"},
        {"---", {AutoStartCheckBox}, true, true, OkButton, "000- 100-", "---"},
    };
    const char* const names[] = {"AutoStart", "UserControl", "UseDefault"};
    const std::vector<std::string> refusals = {
        "Error|Cannot store the administrator password.|error|ok",
        "Error|Cannot store the default toggle protection password.|error|ok",
        "Error|Cannot save settings: " + SystemErrorText(ERROR_ACCESS_DENIED) + "|error|ok"};
    const char *const readOnly = "D:P(A;CI;KR;;;WD)", *const open = "D:P(A;CI;KA;;;SY)(A;CI;KA;;;BA)";
    std::string administrator = "kept", toggle = "kept";
    SetPasswords("kept", "kept");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, SettingsKey);
        GlobalSettings = {c.before[0] == '1', c.before[1] == '1', c.before[2] == '1', c.before[0] != '-'};
        for (const char* key : {SettingsKey, VRCMD_STORE_KEY})
            ASSERT_TRUE(SetKeyDacl(HKEY_LOCAL_MACHINE, key, c.locked ? readOnly : open));
        std::string shown;
        int page = -1;
        BoxAnswerer answerer("ok");
        FormScript script;
        script.WaitShown(SettingsDialog->Handle()).Do([&] {
            page = static_cast<int>(SendMessageA(SettingsDialog->Pages.Handle(), TCM_GETCURSEL, 0, 0));
            shown = ShownSwitches();
            for (int id : c.clicks) SendMessageA(SettingsDialog->FindById(id)->Handle(), BM_CLICK, 0, 0);
            shown += " " + ShownSwitches() + " ";
            if (c.passwords) ClickTab(SettingsDialog->Pages.Handle(), PasswordsPage);
        });
        if (c.passwords) {
            EnterNewPassword(script, SettingsDialog->AdminPasswordButton, "first admin");
            EnterNewPassword(script, SettingsDialog->AdminPasswordButton, "second admin");
            EnterNewPassword(script, SettingsDialog->TogglePasswordButton, Longest + "20");
            EnterNewPassword(script, SettingsDialog->TogglePasswordButton, "");
        }
        script.Do([&] { c.close ? Click(SettingsDialog->FindById(c.close)->Handle()) : PressKey(VK_RETURN); }).Start();
        if (c.passwords) Click(ManagerWindow->SettingsButton.Handle());
        else Command(IDM_Settings);
        EXPECT_TRUE(PumpUntil([&] { return script.Finished() && !IsWindowVisible(SettingsDialog->Handle()); }));
        EXPECT_EQ(ShownBoxes(answerer, c.locked ? 3 : 0, c.locked ? 10000 : 500),
                  c.locked ? refusals : std::vector<std::string>{});
        SetKeyDacl(HKEY_LOCAL_MACHINE, SettingsKey, open);
        for (const char* name : names) {
            DWORD value = 0;
            shown += ReadRegDword(HKEY_LOCAL_MACHINE, SettingsKey, name, value) ? std::to_string(value) : "-";
        }
        EXPECT_EQ(shown, std::string(c.shown) + " " + c.after);
        EXPECT_TRUE(GlobalSettings.SettingsStored == (c.after[0] != '-') &&
                    GlobalSettings.AutoStart == (c.after[0] == '1') && page == StartupPage);
        if (c.passwords && c.after[0] != '-') administrator = "second admin", toggle = Longest;
        EXPECT_TRUE(LibBool(Command14(administrator.c_str())) && LibBool(Command19(toggle.c_str())));
    }
    SetKeyDacl(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY, open);
}
// The About box's version and the icon set's credit (its links are the shell test's); Esc
// closes it. Help without a help file says so.
TEST_F(ManagerForms, TheAboutBoxShowsItsTextsAndHelpSaysWhenThereIsNone) {
    TAboutBox& box = *AboutBox;
    Command(IDM_About);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(box.Handle()) && GetFocus() == box.CloseButton.Handle(); }));
    EXPECT_EQ(WindowText(box.VersionLabel.Handle()) + "|" + WindowText(box.Notice.Handle()),
              "version 1.0|Icons: famfamfam Silk, Creative Commons Attribution 2.5");
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(box.Handle()); }));
    BoxAnswerer answerer("ok");
    Command(IDM_Help);
    EXPECT_EQ(ShownBoxes(answerer), std::vector<std::string>{"Help|Help file not found|warning|ok"});
}
