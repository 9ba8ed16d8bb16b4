// TFQPass, the administrator password dialog, and QueryAdministratorPassword.
// For now only its window; the dialog's work gives it its controls.
#pragma once
#include "Form.h"

#include <string>

class TFQPass : public TForm {
public:
    bool Create()
    {
        return CreateForm("TFQPass", "Enter administrator's password", 341, 142, TBorderStyle::Dialog, false, true);
    }
};

extern TFQPass* FQPass;

// The typed password after OK, empty text after Cancel.
std::string QueryAdministratorPassword();
