// TForm1's protection commands, the unsaved-changes prompt, the Settings
// command and the close sequence.
#include "AboutBox.h"
#include "AgentRequest.h"
#include "CommandLibrary.h"
#include "ManagerIds.h"
#include "ManagerTexts.h"
#include "MsgBox.h"
#include "RuntimeEnv.h"
#include "SettingsDialog.h"
#include "UProfiles.h"
#include "Unit1.h"

// After a save that failed the agent would apply the old file: no start.
void TForm1::Startprotection1Click()
{
    if (!UnsavedChangesSettled()) return;
    Broadcast(MsgStart);
}

void TForm1::Stopprotection1Click()
{
    RequestAgent(MsgStop);
}

void TForm1::Exit1Click()
{
    if (!UnsavedChangesSettled()) return;
    Close();
}

// The items of the Components menu select the tabs in their order.
void TForm1::Folderprotection1Click(TMenuItem* sender)
{
    const int items[] = {IDM_Folderprotection1, IDM_Fileprotection1, IDM_Restrictions1, IDM_Restrictedprograms1,
                         IDM_Profileoptions1};
    for (int k = 0; k < 5; ++k)
        if (sender->Id == items[k]) PageControl1.SetActivePageIndex(k);
}

void TForm1::ConfirmUnsavedChanges()
{
    bool save =
        ShowMessage("Profile was changed, but not saved. Save it now?", "Save", MB_YESNO | MB_ICONQUESTION) == IDYES;
    // A save that the writer refused leaves the edits unsaved, so the caller
    // can stop and the next step asks again.
    if (save && SaveShownProfile() == SaveOutcome::Failed) return;
    ProfileChanged = false;
}

void TForm1::Settings1Click(int initialPage)
{
    const TGlobalSettings before = GlobalSettings;
    bool autoStart = GlobalSettings.AutoStart;
    bool userControl = GlobalSettings.UserControl;
    bool useDefault = GlobalSettings.UseDefault;
    std::string administratorPassword, togglePassword;
    if (ExecuteSettingsDialog(autoStart, userControl, useDefault, administratorPassword, togglePassword,
                              initialPage) != mrOk)
        return;
    GlobalSettings.AutoStart = autoStart;
    GlobalSettings.UserControl = userControl;
    GlobalSettings.UseDefault = useDefault;
    // The command library gives no reason for a password it could not store.
    if (!administratorPassword.empty() &&
        !(LibBool(Command15(administratorPassword.c_str())) && LibBool(Command10())))
        ShowMessage("Cannot store the administrator password.", nullptr, MB_OK | MB_ICONERROR);
    if (!togglePassword.empty() && !(LibBool(Command16(togglePassword.c_str())) && LibBool(Command11())))
        ShowMessage("Cannot store the default toggle protection password.", nullptr, MB_OK | MB_ICONERROR);
    if (!SaveSettings()) {
        ShowSystemError("Cannot save settings: ");
        // The window goes on with what the registry still holds.
        GlobalSettings = before;
        return;
    }
    GlobalSettings.SettingsStored = true;
}

void TForm1::FormCloseQuery(bool& canClose)
{
    canClose = false;
    if (!UnsavedChangesSettled()) return;
    if (!GlobalSettings.SettingsStored) {
        ShowMessage("You have not specified required start parameters. Please verify settings.", "Warning",
                    MB_OK | MB_ICONWARNING);
        Settings1Click(StartupPage);
        return;
    }
    if (!LibBool(Command13())) {
        ShowMessage("You have not specified an administrator password. This password will be used for access to "
                    "this Profile manager.",
                    "Warning", MB_OK | MB_ICONWARNING);
        Settings1Click(PasswordsPage);
        return;
    }
    if (!LibBool(Command17())) {
        ShowMessage("You have not specified a default toggle protection password. This password will be used for "
                    "disabling protection.",
                    "Warning", MB_OK | MB_ICONWARNING);
        Settings1Click(PasswordsPage);
        return;
    }
    std::string verification =
        VerificationText(GlobalSettings.AutoStart, GlobalSettings.UserControl, GlobalSettings.UseDefault);
    if (ShowMessage(verification, "Settings", MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2) != IDYES) return;
    if (ShowMessage("Enable protection at exit from the program?", "Protection", MB_YESNO | MB_ICONQUESTION) == IDYES)
        Broadcast(MsgStart);
    canClose = true;
}

void TForm1::Help2Click()
{
    ShowHelpFile();
}

void TForm1::About1Click()
{
    AboutBox->Show();
}
