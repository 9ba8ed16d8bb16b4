// TManagerWindow's protection commands, the unsaved-changes prompt, the Settings
// command and the close sequence.
#include "AboutBox.h"
#include "AgentRequest.h"
#include "CommandLibrary.h"
#include "ManagerIds.h"
#include "ManagerTexts.h"
#include "ManagerWindow.h"
#include "MsgBox.h"
#include "RuntimeEnv.h"
#include "SettingsDialog.h"
#include "UProfiles.h"

// After a save that failed the agent would apply the old file: no start.
void TManagerWindow::OnStartProtection()
{
    if (!UnsavedChangesSettled()) return;
    Broadcast(MsgStart);
}

void TManagerWindow::OnStopProtection()
{
    RequestAgent(MsgStop);
}

void TManagerWindow::OnExit()
{
    if (!UnsavedChangesSettled()) return;
    Close();
}

// The items of the Components menu select the tabs in their order.
void TManagerWindow::OnShowTab(TMenuItem* sender)
{
    const int items[] = {IDM_FolderProtection, IDM_FileProtection, IDM_Restrictions, IDM_DisabledPrograms,
                         IDM_ProfileOptions};
    for (int k = 0; k < 5; ++k)
        if (sender->Id == items[k]) Tabs.SetActivePageIndex(k);
}

void TManagerWindow::ConfirmUnsavedChanges()
{
    bool save =
        ShowMessage("Profile was changed, but not saved. Save it now?", "Save", MB_YESNO | MB_ICONQUESTION) == IDYES;
    // A save that the writer refused leaves the edits unsaved, so the caller
    // can stop and the next step asks again.
    if (save && SaveShownProfile() == SaveOutcome::Failed) return;
    ProfileChanged = false;
}

void TManagerWindow::ShowSettings(int initialPage)
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

void TManagerWindow::OnCloseAsked(bool& canClose)
{
    canClose = false;
    if (!UnsavedChangesSettled()) return;
    // What must be set before the window closes, in the order it is asked for.
    const struct { bool (*set)(); const char* warning; int page; } required[] = {
        {[] { return GlobalSettings.SettingsStored; },
         "You have not specified required start parameters. Please verify settings.", StartupPage},
        {[] { return LibBool(Command13()); },
         "You have not specified an administrator password. This password will be used for access to "
         "this Profile manager.",
         PasswordsPage},
        {[] { return LibBool(Command17()); },
         "You have not specified a default toggle protection password. This password will be used for "
         "disabling protection.",
         PasswordsPage},
    };
    for (const auto& r : required) {
        if (r.set()) continue;
        ShowMessage(r.warning, "Warning", MB_OK | MB_ICONWARNING);
        ShowSettings(r.page);
        return;
    }
    std::string verification =
        VerificationText(GlobalSettings.AutoStart, GlobalSettings.UserControl, GlobalSettings.UseDefault);
    if (ShowMessage(verification, "Settings", MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2) != IDYES) return;
    if (ShowMessage("Enable protection at exit from the program?", "Protection", MB_YESNO | MB_ICONQUESTION) == IDYES)
        Broadcast(MsgStart);
    canClose = true;
}

void TManagerWindow::OnHelp()
{
    ShowHelpFile();
}

void TManagerWindow::OnAbout()
{
    AboutBox->Show();
}
