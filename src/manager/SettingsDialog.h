// TForm3, the global settings dialog, and ExecuteSettingsDialog. The dialog
// only collects the three start-up switches and up to two new passwords;
// the Settings command of the manager window stores them.
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

class TForm3 : public TForm {
public:
    bool Create();

    void FormShow();
    void FormHide();
    void CheckBox2Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();

    // The passwords entered with the two "Change password..." buttons.
    std::string NewAdministratorPassword;
    std::string NewTogglePassword;

    TPageControl PageControl1;
    TTabSheet StartupSheet;
    TTabSheet PasswordsSheet;
    TCheckBox CheckBox3;
    TCheckBox CheckBox2;
    TCheckBox CheckBox5;
    TGroupBox GroupBox1;
    TLabel Label1;
    TButton Button3;
    TGroupBox GroupBox2;
    TLabel Label2;
    TButton Button4;
    TButton Button1;
    TButton Button2;

private:
    void BuildStartupPage();
    void BuildPasswordsPage();

    int savedHintPause_ = 0;
    int savedHintHidePause_ = 0;
};

extern TForm3* Form3;

// Shows the dialog on the initial page; on result 1 the five values are the
// dialog's, otherwise they keep what they were.
int ExecuteSettingsDialog(bool& autoStart, bool& userControl, bool& useDefault, std::string& newAdministratorPassword,
                          std::string& newTogglePassword, int initialPage);
