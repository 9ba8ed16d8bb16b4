// TManagerWindow's Profile options tab: for whom the profile is, and which toggle
// password disables its protection.
#include "CommandLibrary.h"
#include "ManagerIds.h"
#include "ManagerWindow.h"
#include "PasswordChangeDialog.h"
#include "UProfiles.h"

namespace {
constexpr int OptionsPanelHeight = 201;
}

void TManagerWindow::BuildOptionsPage()
{
    RECT sheet = {};
    GetClientRect(OptionsTab.Handle(), &sheet);
    OptionsPanel.Create(&OptionsTab, ManagerWindowId::OptionsPanel, 0, 0, sheet.right, OptionsPanelHeight,
                        TBevel::Raised);
    OptionsPanel.SetColor(RGB(133, 182, 235));
    OptionsPanel.SetAnchors(akLeft | akTop | akRight);
    OptionsFiller.Create(&OptionsTab, ManagerWindowId::OptionsFiller, 0, OptionsPanelHeight, sheet.right,
                         sheet.bottom - OptionsPanelHeight, TBevel::None);
    OptionsFiller.SetColor(RGB(217, 236, 255));
    OptionsFiller.SetAnchors(akLeft | akTop | akRight | akBottom);

    ProfileUserChoice.Create(&OptionsPanel, ManagerWindowId::ProfileUserChoice, "User:", 8, 8, 505, 57,
                       {"This profile should be used for following user only:",
                        "This profile should be used by default"});
    ProfileUserChoice.SetItemIndex(1);
    UserNameEdit.Create(&OptionsPanel, ManagerWindowId::UserNameEdit, "", 320, 24, 177);
    UserNameEdit.BringToFront();
    UserNameEdit.SetEnabled(false);

    PasswordGroup.Create(&OptionsPanel, ManagerWindowId::PasswordGroup, "Password", 8, 72, 505, 121);
    PasswordText.Create(&PasswordGroup, ManagerWindowId::PasswordText,
                        "To disable protection through \"Toggle protection\" program, user will use following "
                        "toggle protection password:",
                        16, 18, 480, 28);
    OtherPasswordBox.Create(&PasswordGroup, ManagerWindowId::OtherPasswordBox,
                     "Default toggle protection password (specified in global settings).", 16, 50, 480, 17);
    OtherPasswordBox.SetChecked(true);
    OtherPasswordLabel.Create(&PasswordGroup, ManagerWindowId::OtherPasswordLabel, "Other password:", 16, 85, 90, 13);
    OtherPasswordLabel.SetEnabled(false);
    ChangePasswordButton.Create(&PasswordGroup, ManagerWindowId::ChangePasswordButton, "Change user password", 112, 79,
                                145, 25);
    ChangePasswordButton.SetEnabled(false);

    ProfileUserChoice.OnClick = [this](TControl*) { OnProfileUserChosen(); };
    UserNameEdit.OnChange = [this](TControl*) { ProfileChanged = true; };
    OtherPasswordBox.OnClick = [this](TControl*) { OnOtherPasswordToggled(); };
    ChangePasswordButton.OnClick = [this](TControl*) { OnChangeUserPassword(); };
}

void TManagerWindow::OnProfileUserChosen()
{
    if (ProfileUserChoice.ItemIndex() == 0) {
        UserNameEdit.SetEnabled(true);
        UserNameEdit.SetFocus();  // fails quietly while the tab is not shown
    } else if (ProfileUserChoice.ItemIndex() == 1) {
        UserNameEdit.SetEnabled(false);
    }
    ProfileChanged = true;
}

void TManagerWindow::OnOtherPasswordToggled()
{
    bool useDefault = OtherPasswordBox.Checked();
    OtherPasswordLabel.SetEnabled(!useDefault);
    ChangePasswordButton.SetEnabled(!useDefault);
    Profile.OwnPassword = !useDefault;
    ProfileChanged = true;
}

void TManagerWindow::OnChangeUserPassword()
{
    std::string password = QueryNewPassword();
    if (password.empty()) return;
    Profile.OwnPassword = true;
    Profile.PasswordHash = Command18(password.c_str());
    ProfileChanged = true;
}
