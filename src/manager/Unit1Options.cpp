// TForm1's Profile options tab: for whom the profile is, and which toggle
// password disables its protection.
#include "CommandLibrary.h"
#include "ManagerIds.h"
#include "PasswordChangeDialog.h"
#include "UProfiles.h"
#include "Unit1.h"

namespace {
constexpr int OptionsPanelHeight = 201;
}

void TForm1::BuildOptionsPage()
{
    RECT sheet = {};
    GetClientRect(TabSheet3.Handle(), &sheet);
    OptionsPanel.Create(&TabSheet3, Form1Id::OptionsPanel, 0, 0, sheet.right, OptionsPanelHeight, TBevel::Raised);
    OptionsPanel.SetColor(RGB(133, 182, 235));
    OptionsPanel.SetAnchors(akLeft | akTop | akRight);
    OptionsFiller.Create(&TabSheet3, Form1Id::OptionsFiller, 0, OptionsPanelHeight, sheet.right,
                         sheet.bottom - OptionsPanelHeight, TBevel::None);
    OptionsFiller.SetColor(RGB(217, 236, 255));
    OptionsFiller.SetAnchors(akLeft | akTop | akRight | akBottom);

    RadioGroup1.Create(&OptionsPanel, Form1Id::RadioGroup1, "User:", 8, 8, 505, 57,
                       {"This profile should be used for following user only:",
                        "This profile should be used by default"});
    RadioGroup1.SetItemIndex(1);
    Edit1.Create(&OptionsPanel, Form1Id::Edit1, "", 320, 24, 177);
    Edit1.BringToFront();
    Edit1.SetEnabled(false);

    PasswordGroup.Create(&OptionsPanel, Form1Id::PasswordGroup, "Password", 8, 72, 505, 121);
    PasswordText.Create(&PasswordGroup, Form1Id::PasswordText,
                        "To disable protection through \"Toggle protection\" program, user will use following "
                        "toggle protection password:",
                        16, 18, 480, 28);
    CheckBox1.Create(&PasswordGroup, Form1Id::CheckBox1,
                     "Default toggle protection password (specified in global settings).", 16, 50, 480, 17);
    CheckBox1.SetChecked(true);
    Label4.Create(&PasswordGroup, Form1Id::Label4, "Other password:", 16, 85, 90, 13);
    Label4.SetEnabled(false);
    Button4.Create(&PasswordGroup, Form1Id::Button4, "Change user password", 112, 79, 145, 25);
    Button4.SetEnabled(false);

    RadioGroup1.OnClick = [this](TControl*) { RadioGroup1Click(); };
    Edit1.OnChange = [this](TControl*) { ProfileChanged = true; };
    CheckBox1.OnClick = [this](TControl*) { CheckBox1Click(); };
    Button4.OnClick = [this](TControl*) { Button4Click(); };
}

void TForm1::RadioGroup1Click()
{
    if (RadioGroup1.ItemIndex() == 0) {
        Edit1.SetEnabled(true);
        Edit1.SetFocus();  // fails quietly while the tab is not shown
    } else if (RadioGroup1.ItemIndex() == 1) {
        Edit1.SetEnabled(false);
    }
    ProfileChanged = true;
}

void TForm1::CheckBox1Click()
{
    bool useDefault = CheckBox1.Checked();
    Label4.SetEnabled(!useDefault);
    Button4.SetEnabled(!useDefault);
    Profile.OwnPassword = !useDefault;
    ProfileChanged = true;
}

void TForm1::Button4Click()
{
    std::string password = QueryNewPassword();
    if (password.empty()) return;
    Profile.OwnPassword = true;
    Profile.PasswordHash = Command18(password.c_str());
    ProfileChanged = true;
}
