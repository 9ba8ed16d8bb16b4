#include "SettingsDialog.h"
#include "Application.h"
#include "DialogControls.h"
#include "ManagerIds.h"
#include "PasswordChangeDialog.h"

TForm3* Form3 = nullptr;

namespace {

const char* const AutoStartHint =
    "When checked, protection will be enabled at each Windows startup.\r\n"
    "To disable/re-enable protection, you can use \"Toggle protection\" shortcut on desktop.";
const char* const UserControlHint =
    "Used only, when you wish to create separate profiles for each user account.\r\n"
    "When this checkbox is checked, the system will load a profile\r\n"
    "prepared specially for logged user; and contrary, when it is not checked,\r\n"
    "a default profile will be loaded (not depending on logged user).";
const char* const UseDefaultHint =
    "If checked, a default profile will be loaded when no specific profile for\r\n"
    "user was prepared.";

// The hint timing while the dialog is shown, in milliseconds.
constexpr int DialogHintPause = 1000;
constexpr int DialogHintHidePause = 10000;

}  // namespace

bool TForm3::Create()
{
    if (!CreateForm("TForm3", "Settings", 395, 227, TBorderStyle::Dialog, false, true)) return false;
    PageControl1.Create(this, SettingsId::PageControl1, 8, 6, 379, 182);
    PageControl1.AddSheet(StartupSheet, SettingsId::StartupSheet, "Startup");
    PageControl1.AddSheet(PasswordsSheet, SettingsId::PasswordsSheet, "Passwords");
    BuildStartupPage();
    BuildPasswordsPage();
    CreateOkCancel(this, Button1, SettingsId::Button1, Button2, SettingsId::Button2, 232, 196,
                   [this](TControl*) { Button1Click(); }, [this](TControl*) { Button2Click(); });
    OnShow = [this](TControl*) { FormShow(); };
    OnHide = [this](TControl*) { FormHide(); };
    return true;
}

void TForm3::BuildStartupPage()
{
    CheckBox3.Create(&StartupSheet, SettingsId::CheckBox3, "Enable protection at Windows startup", 16, 16, 340, 17);
    CheckBox2.Create(&StartupSheet, SettingsId::CheckBox2, "Enable loading of user specific profile on user logon",
                     16, 44, 340, 17);
    CheckBox2.OnClick = [this](TControl*) { CheckBox2Click(); };
    CheckBox5.Create(&StartupSheet, SettingsId::CheckBox5,
                     "Enable loading of default profile, when no user specific profile found", 16, 72, 340, 30,
                     true);
    CheckBox5.SetEnabled(false);
}

void TForm3::BuildPasswordsPage()
{
    GroupBox1.Create(&PasswordsSheet, SettingsId::GroupBox1, "New administrator's password:", 8, 4, 355, 62);
    Label1.Create(&GroupBox1, SettingsId::Label1, "This password will be used for access to the Profile manager.",
                  10, 18, 212, 40);
    Button3.Create(&GroupBox1, SettingsId::Button3, "Change password...", 230, 22, 115, 25);
    Button3.OnClick = [this](TControl*) { Button3Click(); };
    GroupBox2.Create(&PasswordsSheet, SettingsId::GroupBox2, "New default toggle protection password.", 8, 70, 355,
                     78);
    Label2.Create(&GroupBox2, SettingsId::Label2,
                  "This password will be used for enabling/disabling protection, when another password was not "
                  "specified in the profile options. ",
                  10, 18, 212, 56);
    Button4.Create(&GroupBox2, SettingsId::Button4, "Change password...", 230, 30, 115, 25);
    Button4.OnClick = [this](TControl*) { Button4Click(); };
}

void TForm3::FormShow()
{
    savedHintPause_ = Application.HintPause();
    savedHintHidePause_ = Application.HintHidePause();
    Application.SetHintPause(DialogHintPause);
    Application.SetHintHidePause(DialogHintHidePause);
    CheckBox3.SetHint(AutoStartHint);
    CheckBox2.SetHint(UserControlHint);
    CheckBox5.SetHint(UseDefaultHint);
}

void TForm3::FormHide()
{
    Application.SetHintPause(savedHintPause_);
    Application.SetHintHidePause(savedHintHidePause_);
}

void TForm3::CheckBox2Click()
{
    if (CheckBox2.Checked()) {
        CheckBox5.SetEnabled(true);
    } else {
        CheckBox5.SetEnabled(false);
        CheckBox5.SetChecked(false);
    }
}

void TForm3::Button1Click()
{
    SetModalResult(mrOk);
}

void TForm3::Button2Click()
{
    SetModalResult(mrCancel);
}

void TForm3::Button3Click()
{
    std::string password = QueryNewPassword();
    if (!password.empty()) NewAdministratorPassword = password;
}

void TForm3::Button4Click()
{
    std::string password = QueryNewPassword();
    if (!password.empty()) NewTogglePassword = password;
}

int ExecuteSettingsDialog(bool& autoStart, bool& userControl, bool& useDefault, std::string& newAdministratorPassword,
                          std::string& newTogglePassword, int initialPage)
{
    TForm3& dialog = *Form3;
    dialog.CheckBox3.SetChecked(autoStart);
    dialog.CheckBox2.SetChecked(userControl);
    dialog.CheckBox5.SetChecked(useDefault);
    dialog.NewAdministratorPassword = newAdministratorPassword;
    dialog.NewTogglePassword = newTogglePassword;
    dialog.PageControl1.SetActivePageIndex(initialPage);
    int result = dialog.ShowModal();
    if (result == mrOk) {
        autoStart = dialog.CheckBox3.Checked();
        userControl = dialog.CheckBox2.Checked();
        useDefault = dialog.CheckBox5.Checked();
        newAdministratorPassword = dialog.NewAdministratorPassword;
        newTogglePassword = dialog.NewTogglePassword;
    }
    return result;
}
