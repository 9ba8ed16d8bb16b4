#include "SettingsDialog.h"
#include "Application.h"
#include "DialogControls.h"
#include "ManagerIds.h"
#include "PasswordChangeDialog.h"

TSettingsDialog* SettingsDialog = nullptr;

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

bool TSettingsDialog::Create()
{
    if (!CreateForm(SettingsDialogClass, "Settings", 395, 227, TBorderStyle::Dialog, false, true)) return false;
    Pages.Create(this, SettingsDialogId::Pages, 8, 6, 379, 182);
    Pages.AddSheet(StartupSheet, SettingsDialogId::StartupSheet, "Startup");
    Pages.AddSheet(PasswordsSheet, SettingsDialogId::PasswordsSheet, "Passwords");
    BuildStartupPage();
    BuildPasswordsPage();
    CreateOkCancel(this, OkButton, SettingsDialogId::OkButton, CancelButton, SettingsDialogId::CancelButton, 232, 196,
                   [this](TControl*) { OnOk(); }, [this](TControl*) { OnCancel(); });
    OnShow = [this](TControl*) { SetDialogHints(); };
    OnHide = [this](TControl*) { RestoreHintTiming(); };
    return true;
}

void TSettingsDialog::BuildStartupPage()
{
    AutoStartCheckBox.Create(&StartupSheet, SettingsDialogId::AutoStartCheckBox, "Enable protection at Windows startup",
                             16, 16, 340, 17);
    UserControlCheckBox.Create(&StartupSheet, SettingsDialogId::UserControlCheckBox,
                               "Enable loading of user specific profile on user logon", 16, 44, 340, 17);
    UserControlCheckBox.OnClick = [this](TControl*) { OnUserControlToggled(); };
    UseDefaultCheckBox.Create(&StartupSheet, SettingsDialogId::UseDefaultCheckBox,
                              "Enable loading of default profile, when no user specific profile found", 16, 72, 340, 30,
                              true);
    UseDefaultCheckBox.SetEnabled(false);
}

void TSettingsDialog::BuildPasswordsPage()
{
    AdminPasswordGroup.Create(&PasswordsSheet, SettingsDialogId::AdminPasswordGroup, "New administrator's password:", 8,
                              4, 355, 62);
    AdminPasswordLabel.Create(&AdminPasswordGroup, SettingsDialogId::AdminPasswordLabel,
                              "This password will be used for access to the Profile manager.", 10, 18, 212, 40);
    AdminPasswordButton.Create(&AdminPasswordGroup, SettingsDialogId::AdminPasswordButton, "Change password...", 230,
                               22, 115, 25);
    AdminPasswordButton.OnClick = [this](TControl*) { OnChangeAdminPassword(); };
    TogglePasswordGroup.Create(&PasswordsSheet, SettingsDialogId::TogglePasswordGroup,
                               "New default toggle protection password.", 8, 70, 355, 78);
    TogglePasswordLabel.Create(&TogglePasswordGroup, SettingsDialogId::TogglePasswordLabel,
                               "This password will be used for enabling/disabling protection, when another password "
                               "was not specified in the profile options. ",
                               10, 18, 212, 56);
    TogglePasswordButton.Create(&TogglePasswordGroup, SettingsDialogId::TogglePasswordButton, "Change password...", 230,
                                30, 115, 25);
    TogglePasswordButton.OnClick = [this](TControl*) { OnChangeTogglePassword(); };
}

void TSettingsDialog::SetDialogHints()
{
    savedHintPause_ = Application.HintPause();
    savedHintHidePause_ = Application.HintHidePause();
    Application.SetHintPause(DialogHintPause);
    Application.SetHintHidePause(DialogHintHidePause);
    AutoStartCheckBox.SetHint(AutoStartHint);
    UserControlCheckBox.SetHint(UserControlHint);
    UseDefaultCheckBox.SetHint(UseDefaultHint);
}

void TSettingsDialog::RestoreHintTiming()
{
    Application.SetHintPause(savedHintPause_);
    Application.SetHintHidePause(savedHintHidePause_);
}

void TSettingsDialog::OnUserControlToggled()
{
    if (UserControlCheckBox.Checked()) {
        UseDefaultCheckBox.SetEnabled(true);
    } else {
        UseDefaultCheckBox.SetEnabled(false);
        UseDefaultCheckBox.SetChecked(false);
    }
}

void TSettingsDialog::OnOk()
{
    SetModalResult(mrOk);
}

void TSettingsDialog::OnCancel()
{
    SetModalResult(mrCancel);
}

void TSettingsDialog::OnChangeAdminPassword()
{
    std::string password = QueryNewPassword();
    if (!password.empty()) NewAdministratorPassword = password;
}

void TSettingsDialog::OnChangeTogglePassword()
{
    std::string password = QueryNewPassword();
    if (!password.empty()) NewTogglePassword = password;
}

int ExecuteSettingsDialog(bool& autoStart, bool& userControl, bool& useDefault, std::string& newAdministratorPassword,
                          std::string& newTogglePassword, int initialPage)
{
    TSettingsDialog& dialog = *SettingsDialog;
    dialog.AutoStartCheckBox.SetChecked(autoStart);
    dialog.UserControlCheckBox.SetChecked(userControl);
    dialog.UseDefaultCheckBox.SetChecked(useDefault);
    dialog.NewAdministratorPassword = newAdministratorPassword;
    dialog.NewTogglePassword = newTogglePassword;
    dialog.Pages.SetActivePageIndex(initialPage);
    int result = dialog.ShowModal();
    if (result == mrOk) {
        autoStart = dialog.AutoStartCheckBox.Checked();
        userControl = dialog.UserControlCheckBox.Checked();
        useDefault = dialog.UseDefaultCheckBox.Checked();
        newAdministratorPassword = dialog.NewAdministratorPassword;
        newTogglePassword = dialog.NewTogglePassword;
    }
    return result;
}
