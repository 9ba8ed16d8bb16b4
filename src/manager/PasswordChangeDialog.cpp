#include "PasswordChangeDialog.h"
#include "DialogControls.h"
#include "ManagerIds.h"
#include "MsgBox.h"

TFQUPass* FQUPass = nullptr;

bool TFQUPass::Create()
{
    if (!CreateForm("TFQUPass", "Change password", 270, 161, TBorderStyle::Dialog, false, true)) return false;
    Panel1.Create(this, QUPassId::Panel1, 0, 0, 270, 161, TBevel::Raised);
    Label1.Create(&Panel1, QUPassId::Label1, "Enter new password:", 18, 10, 233, 13);
    CreatePasswordField(&Panel1, Edit1, QUPassId::Edit1, 18, 26, 233);
    Label2.Create(&Panel1, QUPassId::Label2, "Reenter password for verification:", 18, 54, 233, 13);
    CreatePasswordField(&Panel1, Edit2, QUPassId::Edit2, 18, 70, 233);
    CreateHideTyping(&Panel1, CheckBox1, QUPassId::CheckBox1, 18, 98, [this](TControl*) { CheckBox1Click(); });
    CreateOkCancel(&Panel1, Button1, QUPassId::Button1, Button2, QUPassId::Button2, 96, 126,
                   [this](TControl*) { Button1Click(); }, [this](TControl*) { Button2Click(); });
    OnShow = [this](TControl*) { FormShow(); };
    return true;
}

void TFQUPass::FormShow()
{
    Edit1.SetFocus();
}

void TFQUPass::CheckBox1Click()
{
    bool hidden = CheckBox1.Checked();
    Edit1.SetPasswordChar(hidden ? '*' : '\0');
    Edit2.SetPasswordChar(hidden ? '*' : '\0');
    Edit2.SetEnabled(hidden);
    if (!hidden) Edit2.SetText(std::string());
}

void TFQUPass::Button1Click()
{
    std::string first = Edit1.Text();
    if (first.empty()) {
        ShowMessage("Password cannot be empty.", "Change password", MB_OK | MB_ICONWARNING);
        return;
    }
    if (CheckBox1.Checked() && first != Edit2.Text()) {
        ShowMessage("First and second password fields are not identical. Enter password again.", "Settings",
                    MB_OK | MB_ICONWARNING);
        return;
    }
    Password = first;
    SetModalResult(mrOk);
}

void TFQUPass::Button2Click()
{
    SetModalResult(mrCancel);
}

std::string QueryNewPassword()
{
    TFQUPass& dialog = *FQUPass;
    dialog.CheckBox1.SetChecked(true);
    dialog.Edit2.SetEnabled(true);
    for (TEdit* field : {&dialog.Edit1, &dialog.Edit2}) {
        field->SetPasswordChar('*');
        field->SetText(std::string());
    }
    std::string result;
    dialog.Password.clear();
    if (dialog.ShowModal() == mrOk) result = dialog.Password;
    return result;
}
