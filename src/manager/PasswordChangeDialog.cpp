#include "PasswordChangeDialog.h"
#include "DialogControls.h"
#include "ManagerIds.h"
#include "MsgBox.h"

TPasswordChangeDialog* PasswordChangeDialog = nullptr;

bool TPasswordChangeDialog::Create()
{
    if (!CreateForm(PasswordChangeDialogClass, "Change password", 270, 161, TBorderStyle::Dialog, false, true))
        return false;
    FramePanel.Create(this, PasswordChangeDialogId::FramePanel, 0, 0, 270, 161, TBevel::Raised);
    PasswordLabel.Create(&FramePanel, PasswordChangeDialogId::PasswordLabel, "Enter new password:", 18, 10, 233, 13);
    CreatePasswordField(&FramePanel, PasswordEdit, PasswordChangeDialogId::PasswordEdit, 18, 26, 233);
    VerificationLabel.Create(&FramePanel, PasswordChangeDialogId::VerificationLabel,
                             "Reenter password for verification:", 18, 54, 233, 13);
    CreatePasswordField(&FramePanel, VerificationEdit, PasswordChangeDialogId::VerificationEdit, 18, 70, 233);
    CreateHideTyping(&FramePanel, HideTypingCheckBox, PasswordChangeDialogId::HideTypingCheckBox, 18, 98,
                     [this](TControl*) { OnHideTyping(); });
    CreateOkCancel(&FramePanel, OkButton, PasswordChangeDialogId::OkButton, CancelButton,
                   PasswordChangeDialogId::CancelButton, 96, 126, [this](TControl*) { OnOk(); },
                   [this](TControl*) { OnCancel(); });
    OnShow = [this](TControl*) { FocusPassword(); };
    return true;
}

void TPasswordChangeDialog::FocusPassword()
{
    PasswordEdit.SetFocus();
}

void TPasswordChangeDialog::OnHideTyping()
{
    bool hidden = HideTypingCheckBox.Checked();
    PasswordEdit.SetPasswordChar(hidden ? '*' : '\0');
    VerificationEdit.SetPasswordChar(hidden ? '*' : '\0');
    VerificationEdit.SetEnabled(hidden);
    if (!hidden) VerificationEdit.SetText(std::string());
}

void TPasswordChangeDialog::OnOk()
{
    std::string first = PasswordEdit.Text();
    if (first.empty()) {
        ShowMessage("Password cannot be empty.", "Change password", MB_OK | MB_ICONWARNING);
        return;
    }
    if (HideTypingCheckBox.Checked() && first != VerificationEdit.Text()) {
        ShowMessage("First and second password fields are not identical. Enter password again.", "Settings",
                    MB_OK | MB_ICONWARNING);
        return;
    }
    Password = first;
    SetModalResult(mrOk);
}

void TPasswordChangeDialog::OnCancel()
{
    SetModalResult(mrCancel);
}

std::string QueryNewPassword()
{
    TPasswordChangeDialog& dialog = *PasswordChangeDialog;
    dialog.HideTypingCheckBox.SetChecked(true);
    dialog.VerificationEdit.SetEnabled(true);
    for (TEdit* field : {&dialog.PasswordEdit, &dialog.VerificationEdit}) {
        field->SetPasswordChar('*');
        field->SetText(std::string());
    }
    std::string result;
    dialog.Password.clear();
    if (dialog.ShowModal() == mrOk) result = dialog.Password;
    return result;
}
