// TFQUPass, the password change dialog, and QueryNewPassword. The new
// password is typed twice while it is hidden; with "Hide typing" unchecked
// the user sees it, so the second field is not needed.
#pragma once
#include "Button.h"
#include "CheckBox.h"
#include "Edit.h"
#include "Form.h"
#include "Label.h"
#include "Panel.h"

#include <string>

class TFQUPass : public TForm {
public:
    bool Create();

    void FormShow();
    void CheckBox1Click();
    void Button1Click();
    void Button2Click();

    // The password accepted by the last OK.
    std::string Password;

    TPanel Panel1;
    TLabel Label1;
    TEdit Edit1;
    TLabel Label2;
    TEdit Edit2;
    TCheckBox CheckBox1;
    TButton Button1;
    TButton Button2;
};

extern TFQUPass* FQUPass;

// The new password, never empty; empty text when the user cancelled.
std::string QueryNewPassword();
