#include "AdminPasswordPrompt.h"
#include "DialogControls.h"
#include "ImageList.h"
#include "ManagerIds.h"

TAdminPasswordPrompt* AdminPasswordPrompt = nullptr;

bool TAdminPasswordPrompt::Create()
{
    if (!CreateForm(AdminPasswordPromptClass, "Enter administrator's password", 341, 142, TBorderStyle::Dialog, false,
                    true))
        return false;
    FramePanel.Create(this, AdminPasswordPromptId::FramePanel, 0, 0, 341, 142, TBevel::Raised);
    LockImage.Create(&FramePanel, AdminPasswordPromptId::LockImage, 8, 32, 35, 47);
    LockImage.SetBitmap(LoadBitmapResource("ADMINLOCK"));
    PromptLabel.Create(&FramePanel, AdminPasswordPromptId::PromptLabel,
                       "Access to Vantrel profile manager is protected by password. Enter Vantrel administrator's "
                       "password to continue.",
                       56, 8, 265, 41);
    CreatePasswordField(&FramePanel, PasswordEdit, AdminPasswordPromptId::PasswordEdit, 56, 48, 265);
    CreateHideTyping(&FramePanel, HideTypingCheckBox, AdminPasswordPromptId::HideTypingCheckBox, 56, 72,
                     [this](TControl*) { OnHideTyping(); });
    CreateOkCancel(&FramePanel, OkButton, AdminPasswordPromptId::OkButton, CancelButton,
                   AdminPasswordPromptId::CancelButton, 168, 96, [this](TControl*) { OnOk(); },
                   [this](TControl*) { OnCancel(); });
    return true;
}

void TAdminPasswordPrompt::OnHideTyping()
{
    PasswordEdit.SetPasswordChar(HideTypingCheckBox.Checked() ? '*' : '\0');
}

void TAdminPasswordPrompt::OnOk()
{
    SetModalResult(mrOk);
}

void TAdminPasswordPrompt::OnCancel()
{
    SetModalResult(mrCancel);
}

std::string QueryAdministratorPassword()
{
    std::string result;
    if (AdminPasswordPrompt->ShowModal() == mrOk) result = AdminPasswordPrompt->PasswordEdit.Text();
    return result;
}
