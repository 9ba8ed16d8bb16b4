// The dialogs as the administrator uses them: the two password dialogs, the
// Settings command with what it stores, and the About box.
#include "CommandLibrary.h"
#include "ManagerForms.h"
#include "RegValues.h"
#include "UAbout.h"
#include "UQAPass.h"
#include "UQUPass.h"
#include "USettings.h"
#include "vrcmd.h"
#include <commctrl.h>
namespace {
const std::string Longest(VRCMD_TYPED_PASSWORD_MAX, 'p');  // what the toggle dialog takes
std::string Mask(HWND edit) { return SendMessageA(edit, EM_GETPASSWORDCHAR, 0, 0) == '*' ? "*" : "-"; }
HWND First() { return FQUPass->Edit1.Handle(); }
HWND Second() { return FQUPass->Edit2.Handle(); }
HWND HideTyping() { return FQUPass->CheckBox1.Handle(); }
// The change dialog's fields, Hide typing, whether the second field is on, the masks.
std::string Look()
{
    return WindowText(First()) + "|" + WindowText(Second()) + (Checked(HideTyping()) ? "|hide" : "|show") +
           (IsWindowEnabled(Second()) ? "|second|" : "|no second|") + Mask(First()) + Mask(Second());
}
// The change dialog opened with the button, the password typed twice, OK; Cancel for none.
void EnterNewPassword(FormScript& script, TButton& button, const std::string& password)
{
    script.Do([&button] { Click(button.Handle()); }).WaitShown(FQUPass->Handle()).Do([password] {
        Type(First(), password);
        Type(Second(), password);
        Click((password.empty() ? FQUPass->Button2 : FQUPass->Button1).Handle());
    });
    script.WaitUntil("the change dialog closed", [] { return !IsWindowVisible(FQUPass->Handle()); });
}
// The three boxes of the Settings dialog, then whether the third takes clicks.
std::string ShownSwitches()
{
    std::string text;
    for (TCheckBox* box : {&Form3->CheckBox3, &Form3->CheckBox2, &Form3->CheckBox5})
        text += Checked(box->Handle()) ? "1" : "0";
    return text + (Form3->CheckBox5.Enabled() ? "+" : "-");
}
}  // namespace

// Only OK and Enter give the typed text. The dialog is modal, keeps the
// text, hides the typing until asked and takes what the toggle dialog takes.
TEST_F(ManagerForms, TheAdministratorPasswordDialogGivesTheTypedTextOnlyForOk)
{
    HWND field = FQPass->Edit1.Handle(), hide = FQPass->CheckBox1.Handle();
    const struct { std::function<void()> close; std::string typed, result; } cases[] = {
        {[] { Click(FQPass->Button1.Handle()); }, Longest + "45", Longest},
        {[] { PressKey(VK_RETURN); }, "Letmein 7", "Letmein 7"},
        {[] { Click(FQPass->Button2.Handle()); }, "Cancel", ""},
        {[] { PressKey(VK_ESCAPE); }, "Esc", ""},
        {[] { PostMessageA(FQPass->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }, "the close box", ""},
    };
    std::vector<std::string> seen;  // at each show: the text, the masks before and after Hide typing is cleared
    for (const auto& c : cases) {
        FormScript script;
        script.WaitShown(FQPass->Handle())
            .Do([&] {
                seen.push_back(WindowText(field) + Mask(field) + (seen.empty() && GetFocus() == field ? " focus" : "") +
                               (IsWindowEnabled(ManagerWindow->Handle()) ? "" : " modal"));
                Click(hide);
            })
            .WaitUntil("typing shown", [&] { return !Checked(hide); })
            .Do([&] { seen.back() += Mask(field); Click(hide); })
            .WaitUntil("typing hidden", [&] { return Checked(hide); })
            .Do([&] { SetWindowTextA(field, ""); SetFocus(field); Type(field, c.typed); })
            .Do(c.close)
            .Start();
        EXPECT_EQ(QueryAdministratorPassword(), c.result) << c.typed;
        EXPECT_TRUE(!IsWindowVisible(FQPass->Handle()) && IsWindowEnabled(ManagerWindow->Handle())) << c.typed;
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"* focus modal-", Longest + "* modal-", "Letmein 7* modal-",
                                              "Cancel* modal-", "Esc* modal-"}));
    EXPECT_EQ(WindowText(FQPass->Handle()) + "|" + WindowText(FQPass->Label1.Handle()),
              "Enter administrator's password|Access to Vantrel profile manager is protected by password. "
              "Enter Vantrel administrator's password to continue.");
}

// Empty and different passwords are refused; it starts afresh each time;
// without Hide typing the second field is cleared and not asked for.
TEST_F(ManagerForms, ThePasswordChangeDialogGivesTheTwiceTypedPassword)
{
    std::vector<std::string> looks;
    auto look = [&] { looks.push_back(Look() + (GetFocus() == First() ? " focus" : "")); };
    auto ok = [] { Click(FQUPass->Button1.Handle()); };
    BoxAnswerer answerer("ok");
    FormScript script;
    script.WaitShown(FQUPass->Handle())
        .Do([&] { look(); ok(); })
        .WaitBoxesAnswered(answerer, 1)
        .Do([&] { Type(Second(), "secret"); ok(); })
        .WaitBoxesAnswered(answerer, 2)
        .Do([&] { look(); SetWindowTextA(Second(), ""); Type(First(), "Mixed Case 1"); })
        .Do([&] { Type(Second(), "Mixed Case 1"); PressKey(VK_RETURN); })
        .WaitShown(FQUPass->Handle())
        .Do([&] { look(); Type(First(), "seen"); Type(Second(), "typo"); Click(HideTyping()); })
        .WaitUntil("typing shown", [&] { return !Checked(HideTyping()); })
        .Do([&] { look(); ok(); })
        .WaitShown(FQUPass->Handle())
        .Do([&] { look(); Click(HideTyping()); Type(First(), "abc"); Click(HideTyping()); })
        .WaitUntil("typing hidden", [&] { return Checked(HideTyping()); })
        .Do([&] { look(); ok(); })
        .WaitBoxesAnswered(answerer, 3)
        .Do([&] { look(); Type(Second(), "abc"); ok(); })
        // Every password set here must also be typeable into the toggle dialog.
        .WaitShown(FQUPass->Handle())
        .Do([&] { Type(First(), Longest + "45"); Type(Second(), Longest + "45"); ok(); });
    script.Start();
    for (const char* password : {"Mixed Case 1", "seen", "abc", Longest.c_str()})
        EXPECT_EQ(QueryNewPassword(), password);
    EXPECT_EQ(looks, (std::vector<std::string>{"||hide|second|** focus", "|secret|hide|second|**",
                                               "||hide|second|** focus", "seen||show|no second|--",
                                               "||hide|second|** focus", "abc||hide|second|**",
                                               "abc||hide|second|**"}));
    std::vector<std::string> boxes;
    for (const SeenBox& box : answerer.Seen()) boxes.push_back(Shown(box));
    const std::string empty = "Change password|Password cannot be empty.|warning|ok";
    EXPECT_EQ(boxes, (std::vector<std::string>{empty, empty,
                                               "Settings|First and second password fields are not identical. "
                                               "Enter password again.|warning|ok"}));
    EXPECT_EQ(WindowText(FQUPass->Handle()), "Change password");
}

// Opened on the Startup page with the switches as stored, the third following the second; only
// OK stores them (also an unused UseDefault) and the last password entered with each button.
// Where the registry refuses them, each failure is shown and nothing counts as stored.
TEST_F(ManagerForms, SettingsStoreTheSwitchesAndPasswordsOnlyOnOk)
{
    using namespace SettingsId;
    // before, after: AutoStart, UserControl, UseDefault as stored; shown: the boxes and whether
    // the third takes clicks, at show and before closing; locked: the keys read-only.
    const struct {
        const char* before; std::vector<int> clicks; bool passwords, locked; std::function<void()> close;
        const char *shown, *after;
    } cases[] = {
        {"101", {}, false, false, [] { PressKey(VK_RETURN); }, "101- 101-", "101"},
        {"", {CheckBox3, CheckBox2}, true, false, [] { Click(Form3->Button2.Handle()); }, "000- 110+", "---"},
        {"", {CheckBox3, CheckBox2, CheckBox5}, true, false, [] { Click(Form3->Button1.Handle()); }, "000- 111+",
         "111"},
        {"011", {CheckBox2, CheckBox2}, false, false, [] { Click(Form3->Button1.Handle()); }, "011+ 010+", "010"},
        {"", {CheckBox3}, true, true, [] { Click(Form3->Button1.Handle()); }, "000- 100-", "---"},
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
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, SettingsKey);
        for (int i = 0; c.before[0] && i < 3; ++i)
            WriteRegDword(HKEY_LOCAL_MACHINE, SettingsKey, names[i], c.before[i] - '0');
        LoadSettings();
        for (const char* key : {SettingsKey, VRCMD_STORE_KEY})
            ASSERT_TRUE(SetKeyDacl(HKEY_LOCAL_MACHINE, key, c.locked ? readOnly : open));
        std::string shown, stored;
        int page = -1;
        BoxAnswerer answerer("ok");
        FormScript script;
        script.WaitShown(Form3->Handle()).Do([&] {
            page = static_cast<int>(SendMessageA(Form3->PageControl1.Handle(), TCM_GETCURSEL, 0, 0));
            shown = ShownSwitches();
            for (int id : c.clicks) SendMessageA(Form3->FindById(id)->Handle(), BM_CLICK, 0, 0);
            shown += " " + ShownSwitches();
            if (c.passwords) ClickTab(Form3->PageControl1.Handle(), PasswordsPage);
        });
        if (c.passwords) {
            EnterNewPassword(script, Form3->Button3, "first admin");
            EnterNewPassword(script, Form3->Button3, "second admin");
            EnterNewPassword(script, Form3->Button4, Longest + "20");
            EnterNewPassword(script, Form3->Button4, "");
        }
        script.Do(c.close).Start();
        if (c.passwords) Click(ManagerWindow->SettingsButton.Handle());
        else Command(IDM_Settings);
        EXPECT_TRUE(PumpUntil([&] { return script.Finished() && !IsWindowVisible(Form3->Handle()); }));
        std::vector<std::string> boxes;
        for (const SeenBox& box : answerer.WaitSeen(c.locked ? 3 : 0, c.locked ? 10000 : 500))
            boxes.push_back(Shown(box));
        EXPECT_EQ(boxes, c.locked ? refusals : std::vector<std::string>{});
        SetKeyDacl(HKEY_LOCAL_MACHINE, SettingsKey, open);
        for (const char* name : names) {
            DWORD value = 0;
            stored += ReadRegDword(HKEY_LOCAL_MACHINE, SettingsKey, name, value) ? std::to_string(value) : "-";
        }
        EXPECT_EQ(shown + " " + stored, std::string(c.shown) + " " + c.after);
        EXPECT_TRUE(GlobalSettings.SettingsStored == (c.after[0] != '-') && page == StartupPage) << c.shown;
        EXPECT_EQ(GlobalSettings.AutoStart, c.after[0] == '1') << c.shown;
        if (c.passwords && c.after[0] != '-') administrator = "second admin", toggle = Longest;
        EXPECT_TRUE(LibBool(Command14(administrator.c_str())) && LibBool(Command19(toggle.c_str()))) << c.shown;
    }
    SetKeyDacl(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY, open);
}

// The About box's texts and the icon set's credit; Esc closes it. Help
// without a help file says so.
TEST_F(ManagerForms, TheAboutBoxShowsItsTextsAndHelpSaysWhenThereIsNone)
{
    Command(IDM_About);
    ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(FAbout->Handle()) && GetFocus() == FAbout->Button1.Handle(); }));
    EXPECT_EQ(WindowText(FAbout->Label1.Handle()) + "|" + WindowText(FAbout->Label3.Handle()) + "|" +
                  WindowText(FAbout->Label4.Handle()) + "|" + WindowText(FAbout->Label5.Handle()) + "|" +
                  WindowText(FAbout->Notice.Handle()),
              std::string("version 1.0|") + HomePageAddress + "|" + SupportMailAddress + "|" + AuthorsMailAddress +
                  "|Icons: famfamfam Silk, Creative Commons Attribution 2.5");
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([] { return !IsWindowVisible(FAbout->Handle()); }));
    BoxAnswerer answerer("ok");
    Command(IDM_Help);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(Shown(answerer.Seen()[0]), "Help|Help file not found|warning|ok");
}
