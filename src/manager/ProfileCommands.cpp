// TManagerWindow's profile commands: a whole profile moved between the window and
// the profiles folder (New, Open, Save, Save as default), the routine that
// shows a loaded profile in every tab, and the wizard's template builder.
#include "CommandLibrary.h"
#include "CommandLine.h"
#include "ManagerTexts.h"
#include "ManagerWindow.h"
#include "MsgBox.h"
#include "Policies.h"
#include "ProfileWizard.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "WizardTemplate.h"

namespace {

const char* const UserPasswordMessage =
    "User password is not specified. Go to \"Profile options\" tab and enter correct user password or enable "
    "default password for this profile.";
const char* const UserNameMessage =
    "User name is not specified. Go to \"Profile options\" tab and enter the user name or choose the default "
    "profile.";

// A user name that would take the file out of the profiles folder, or that
// no file name may hold, is refused as the file system refuses such a name.
bool IsPlainFileName(const std::string& name)
{
    return name.find_first_of("\\/:*?\"<>|") == std::string::npos;
}

}  // namespace

bool TManagerWindow::LoadProfileIntoWindow(const std::string& fileName)
{
    if (!LoadProfile(fileName)) return false;
    RefreshProfilePages();
    ShowProfileOptions(fileName);
    SetText(ProfileTitle(UserNameEdit.Text()));
    ProfileChanged = false;  // showing the file's options is no edit
    return true;
}

void TManagerWindow::RefreshProfilePages()
{
    FolderPage.ShowFolderRules();
    RebuildFolderTree();
    FilePage.ShowFileRules();
    ShowRestrictions();
    ProgramsPage.ShowPrograms();
    TTreeView& tree = FolderPage.FolderTree;
    if (HTREEITEM top = tree.TopItem()) {
        tree.Collapse(top, true);
        tree.Expand(top);
    }
}

// A restriction without a line in the profile is left unchanged by it, so
// it shows grayed rather than as the profile shown before left it.
void TManagerWindow::ShowRestrictions()
{
    GrayAllPolicies(RestrictionsPage.Policies());
    std::string error;
    if (!PoliciesToCheckList(RestrictionsPage.Policies(), error)) ShowMessage(error, nullptr, MB_OK | MB_ICONERROR);
}

void TManagerWindow::ShowProfileOptions(const std::string& fileName)
{
    ProfileUser user = ProfileUserOfFile(fileName);
    if (user.IsDefault) {
        ProfileUserChoice.SetItemIndex(1);
        UserNameEdit.SetText("");
    } else {
        ProfileUserChoice.SetItemIndex(0);
        UserNameEdit.SetText(user.UserName);
    }
    OtherPasswordBox.SetChecked(!Profile.OwnPassword);
    OtherPasswordLabel.SetEnabled(Profile.OwnPassword);
    ChangePasswordButton.SetEnabled(Profile.OwnPassword);
}

// After a save that failed the edits are still unsaved: the command that
// asked stops rather than drop them.
bool TManagerWindow::UnsavedChangesSettled()
{
    if (ProfileChanged) ConfirmUnsavedChanges();
    return !ProfileChanged;
}

void TManagerWindow::OnNewProfile()
{
    ShowWizard();
    if (!UnsavedChangesSettled()) return;
    Profile.Folders.clear();
    Profile.Files.clear();
    Profile.Tasks.clear();
    Profile.Options.clear();
    RefreshProfilePages();
    GrayAllPolicies(RestrictionsPage.Policies());
    PoliciesFromCheckList(RestrictionsPage.Policies());
    Profile.PasswordHash = 0;
    if (Profile.OwnPassword) {
        Profile.OwnPassword = false;
        Command12();
    }
}

void TManagerWindow::OnOpenProfile()
{
    if (!UnsavedChangesSettled()) return;
    OpenProfileDialog.Filter = "Vantrel profiles (*.vtp)|*.vtp|All files (*.*)|*.*";
    OpenProfileDialog.FilterIndex = 1;
    OpenProfileDialog.DefaultExt = "vtp";
    OpenProfileDialog.FileName = "default.vtp";
    OpenProfileDialog.InitialDir = ProfilesDir;
    if (OpenProfileDialog.Execute(Handle())) LoadProfileIntoWindow(OpenProfileDialog.FileName);
}

void TManagerWindow::OnSaveProfile()
{
    SaveShownProfile();
}

TManagerWindow::SaveOutcome TManagerWindow::SaveShownProfile()
{
    const std::string userName = ProfileUserChoice.ItemIndex() == 0 ? UserNameEdit.Text() : std::string();
    // Saved as the default profile, it would replace the default one unasked.
    if (ProfileUserChoice.ItemIndex() == 0 && userName.empty()) {
        ShowMessage(UserNameMessage, "Save profile", MB_OK | MB_ICONWARNING);
        return SaveOutcome::Failed;
    }
    if (OtherPasswordBox.Checked()) {
        Profile.PasswordHash = 0;
    } else if (!Profile.OwnPassword || Profile.PasswordHash == 0) {
        ShowMessage(UserPasswordMessage, "User password", MB_OK | MB_ICONWARNING);
        return SaveOutcome::Declined;
    }
    std::string summary = SaveSummary(userName, Profile.Folders.size(), Profile.Files.size(), Profile.Tasks.size(),
                                      Profile.PasswordHash);
    if (ShowMessage(summary, "Save profile", MB_YESNO | MB_ICONINFORMATION) != IDYES) return SaveOutcome::Declined;
    PoliciesFromCheckList(RestrictionsPage.Policies());
    if (!IsPlainFileName(userName)) {
        ShowSystemError("Cannot save profile: ", ERROR_INVALID_NAME);
        return SaveOutcome::Failed;
    }
    if (!SaveProfile(userName, Profile.PasswordHash)) return SaveOutcome::Failed;
    ProfileChanged = false;
    if (SaveNotifyValue != 0) PostMessageA(HWND_BROADCAST, MsgSaved, 0, SaveNotifyValue);
    return SaveOutcome::Saved;
}

void TManagerWindow::OnSaveProfileAsDefault()
{
    UserNameEdit.SetText("");
    ProfileUserChoice.SetItemIndex(1);
    OnSaveProfile();
}

void TManagerWindow::BuildProfileTemplate()
{
    const ProfileTemplate added = MakeProfileTemplate(ProfileWizard->Boxes());
    ApplyProfileTemplate(added, RestrictionsPage.Policies());
    if (!added.FolderRules.empty() || !added.FileRules.empty() || !added.CheckedRestrictions.empty())
        ProfileChanged = true;
    FilePage.ShowFileRules();
    FolderPage.ShowFolderRules();
    RebuildFolderTree();
}
