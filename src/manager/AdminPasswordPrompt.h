// TFQPass, the administrator password dialog, and QueryAdministratorPassword.
#pragma once
#include "Button.h"
#include "CheckBox.h"
#include "Edit.h"
#include "Form.h"
#include "Image.h"
#include "Label.h"
#include "Panel.h"

#include <string>

class TFQPass : public TForm {
public:
    bool Create();

    void CheckBox1Click();
    void Button1Click();
    void Button2Click();

    TPanel Panel1;
    TImage Image1;
    TLabel Label1;
    TEdit Edit1;
    TCheckBox CheckBox1;
    TButton Button1;
    TButton Button2;
};

extern TFQPass* FQPass;

// The typed password after OK, empty text after Cancel. The field keeps
// what was typed.
std::string QueryAdministratorPassword();
