// TSettingsDialog, the global settings dialog, and ExecuteSettingsDialog. The
// dialog only collects the three start-up switches and up to two new
// passwords; the Settings command of the manager window stores them.
#pragma once
#include "Button.h"
#include "CheckBox.h"
#include "Form.h"
#include "GroupBox.h"
#include "Label.h"
#include "PageControl.h"

#include <string>

constexpr int StartupPage = 0;
constexpr int PasswordsPage = 1;

class TSettingsDialog : public TForm {
public:
    bool Create();

    void SetDialogHints();
    void RestoreHintTiming();
    void OnUserControlToggled();
    void OnOk();
    void OnCancel();
    void OnChangeAdminPassword();
    void OnChangeTogglePassword();

    // The passwords entered with the two "Change password..." buttons.
    std::string NewAdministratorPassword;
    std::string NewTogglePassword;

    TPageControl Pages;
    TTabSheet StartupSheet;
    TTabSheet PasswordsSheet;
    TCheckBox AutoStartCheckBox;
    TCheckBox UserControlCheckBox;
    TCheckBox UseDefaultCheckBox;
    TGroupBox AdminPasswordGroup;
    TLabel AdminPasswordLabel;
    TButton AdminPasswordButton;
    TGroupBox TogglePasswordGroup;
    TLabel TogglePasswordLabel;
    TButton TogglePasswordButton;
    TButton OkButton;
    TButton CancelButton;

private:
    void BuildStartupPage();
    void BuildPasswordsPage();

    int savedHintPause_ = 0;
    int savedHintHidePause_ = 0;
};

extern TSettingsDialog* SettingsDialog;

// Shows the dialog on the initial page; on result 1 the five values are the
// dialog's, otherwise they keep what they were.
int ExecuteSettingsDialog(bool& autoStart, bool& userControl, bool& useDefault, std::string& newAdministratorPassword,
                          std::string& newTogglePassword, int initialPage);
