// TAdminPasswordPrompt, the administrator password dialog, and
// QueryAdministratorPassword.
#pragma once
#include "Button.h"
#include "CheckBox.h"
#include "Edit.h"
#include "Form.h"
#include "Image.h"
#include "Label.h"
#include "Panel.h"

#include <string>

class TAdminPasswordPrompt : public TForm {
public:
    bool Create();

    void OnHideTyping();
    void OnOk();
    void OnCancel();

    TPanel FramePanel;
    TImage LockImage;
    TLabel PromptLabel;
    TEdit PasswordEdit;
    TCheckBox HideTypingCheckBox;
    TButton OkButton;
    TButton CancelButton;
};

extern TAdminPasswordPrompt* AdminPasswordPrompt;

// The typed password after OK, empty text after Cancel. The field keeps
// what was typed.
std::string QueryAdministratorPassword();
