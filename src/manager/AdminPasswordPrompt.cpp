#include "AdminPasswordPrompt.h"
#include "DialogControls.h"
#include "ImageList.h"
#include "ManagerIds.h"

TFQPass* FQPass = nullptr;

bool TFQPass::Create()
{
    if (!CreateForm("TFQPass", "Enter administrator's password", 341, 142, TBorderStyle::Dialog, false, true))
        return false;
    Panel1.Create(this, QPassId::Panel1, 0, 0, 341, 142, TBevel::Raised);
    Image1.Create(&Panel1, QPassId::Image1, 8, 32, 35, 47);
    Image1.SetBitmap(LoadBitmapResource("QPASS"));
    Label1.Create(&Panel1, QPassId::Label1,
                  "Access to Vantrel profile manager is protected by password. Enter Vantrel administrator's "
                  "password to continue.",
                  56, 8, 265, 41);
    CreatePasswordField(&Panel1, Edit1, QPassId::Edit1, 56, 48, 265);
    CreateHideTyping(&Panel1, CheckBox1, QPassId::CheckBox1, 56, 72, [this](TControl*) { CheckBox1Click(); });
    CreateOkCancel(&Panel1, Button1, QPassId::Button1, Button2, QPassId::Button2, 168, 96,
                   [this](TControl*) { Button1Click(); }, [this](TControl*) { Button2Click(); });
    return true;
}

void TFQPass::CheckBox1Click()
{
    Edit1.SetPasswordChar(CheckBox1.Checked() ? '*' : '\0');
}

void TFQPass::Button1Click()
{
    SetModalResult(mrOk);
}

void TFQPass::Button2Click()
{
    SetModalResult(mrCancel);
}

std::string QueryAdministratorPassword()
{
    std::string result;
    if (FQPass->ShowModal() == mrOk) result = FQPass->Edit1.Text();
    return result;
}
