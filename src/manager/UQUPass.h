// TFQUPass, the password change dialog, and QueryNewPassword. For now only
// its window; the dialog's work gives it its controls.
#pragma once
#include "Form.h"

#include <string>

class TFQUPass : public TForm {
public:
    bool Create() { return CreateForm("TFQUPass", "Change password", 270, 161, TBorderStyle::Dialog, false, true); }
};

extern TFQUPass* FQUPass;

// The new password, typed twice; empty text when the user cancelled.
std::string QueryNewPassword();
