// TForm3, the global settings dialog, and ExecuteSettingsDialog. For now
// only its window; the dialog's work gives it its pages.
#pragma once
#include "Form.h"

#include <string>

constexpr int StartupPage = 0;
constexpr int PasswordsPage = 1;

class TForm3 : public TForm {
public:
    bool Create() { return CreateForm("TForm3", "Settings", 395, 227, TBorderStyle::Dialog, false, true); }
};

extern TForm3* Form3;

// Shows the dialog on the initial page; on result 1 the five values are the
// dialog's, otherwise they keep what they were.
int ExecuteSettingsDialog(bool& autoStart, bool& userControl, bool& useDefault, std::string& newAdministratorPassword,
                          std::string& newTogglePassword, int initialPage);
