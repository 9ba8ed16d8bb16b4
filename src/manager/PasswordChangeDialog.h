// TPasswordChangeDialog, the password change dialog, and QueryNewPassword. The
// new password is typed twice while it is hidden; with "Hide typing" unchecked
// the user sees it, so the second field is not needed.
#pragma once
#include "Button.h"
#include "CheckBox.h"
#include "Edit.h"
#include "Form.h"
#include "Label.h"
#include "Panel.h"

#include <string>

class TPasswordChangeDialog : public TForm {
public:
    bool Create();

    void FocusPassword();
    void OnHideTyping();
    void OnOk();
    void OnCancel();

    // The password accepted by the last OK.
    std::string Password;

    TPanel FramePanel;
    TLabel PasswordLabel;
    TEdit PasswordEdit;
    TLabel VerificationLabel;
    TEdit VerificationEdit;
    TCheckBox HideTypingCheckBox;
    TButton OkButton;
    TButton CancelButton;
};

extern TPasswordChangeDialog* PasswordChangeDialog;

// The new password, never empty; empty text when the user cancelled.
std::string QueryNewPassword();
