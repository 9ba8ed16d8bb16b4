// TForm1's profile commands: a whole profile moved between the window and
// the profiles folder (New, Open, Save, Save as default), the routine that
// shows a loaded profile in every tab, and the wizard's template builder.
#include "CommandLibrary.h"
#include "CommandLine.h"
#include "ManagerTexts.h"
#include "MsgBox.h"
#include "Policies.h"
#include "ProfileWizard.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "Unit1.h"
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

bool TForm1::LoadProfileIntoWindow(const std::string& fileName)
{
    if (!LoadProfile(fileName)) return false;
    RefreshProfilePages();
    ShowProfileOptions(fileName);
    SetText(ProfileTitle(Edit1.Text()));
    ProfileChanged = false;  // showing the file's options is no edit
    return true;
}

void TForm1::RefreshProfilePages()
{
    FolderPage.ShowFolderRules();
    ComboBox1Change(nullptr);
    FilePage.ShowFileRules();
    ShowRestrictions();
    ProgramsPage.ShowPrograms();
    TTreeView& tree = FolderPage.TreeView1;
    if (HTREEITEM top = tree.TopItem()) {
        tree.Collapse(top, true);
        tree.Expand(top);
    }
}

// A restriction without a line in the profile is left unchanged by it, so
// it shows grayed rather than as the profile shown before left it.
void TForm1::ShowRestrictions()
{
    GrayAllPolicies(RestrictionsPage.Policies());
    std::string error;
    if (!PoliciesToCheckList(RestrictionsPage.Policies(), error)) ShowMessage(error, nullptr, MB_OK | MB_ICONERROR);
}

void TForm1::ShowProfileOptions(const std::string& fileName)
{
    ProfileUser user = ProfileUserOfFile(fileName);
    if (user.IsDefault) {
        RadioGroup1.SetItemIndex(1);
        Edit1.SetText("");
    } else {
        RadioGroup1.SetItemIndex(0);
        Edit1.SetText(user.UserName);
    }
    CheckBox1.SetChecked(!Profile.OwnPassword);
    Label4.SetEnabled(Profile.OwnPassword);
    Button4.SetEnabled(Profile.OwnPassword);
}

// After a save that failed the edits are still unsaved: the command that
// asked stops rather than drop them.
bool TForm1::UnsavedChangesSettled()
{
    if (ProfileChanged) ConfirmUnsavedChanges();
    return !ProfileChanged;
}

void TForm1::Newprofile1Click()
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

void TForm1::Openprofile1Click()
{
    if (!UnsavedChangesSettled()) return;
    OpenDialog2.Filter = "Vantrel profiles (*.vtp)|*.vtp|All files (*.*)|*.*";
    OpenDialog2.FilterIndex = 1;
    OpenDialog2.DefaultExt = "vtp";
    OpenDialog2.FileName = "default.vtp";
    OpenDialog2.InitialDir = ProfilesDir;
    if (OpenDialog2.Execute(Handle())) LoadProfileIntoWindow(OpenDialog2.FileName);
}

void TForm1::Saveprofile1Click()
{
    SaveShownProfile();
}

TForm1::SaveOutcome TForm1::SaveShownProfile()
{
    const std::string userName = RadioGroup1.ItemIndex() == 0 ? Edit1.Text() : std::string();
    // Saved as the default profile, it would replace the default one unasked.
    if (RadioGroup1.ItemIndex() == 0 && userName.empty()) {
        ShowMessage(UserNameMessage, "Save profile", MB_OK | MB_ICONWARNING);
        return SaveOutcome::Failed;
    }
    if (CheckBox1.Checked()) {
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

void TForm1::Saveprofileasdefault1Click()
{
    Edit1.SetText("");
    RadioGroup1.SetItemIndex(1);
    Saveprofile1Click();
}

void TForm1::BuildProfileTemplate()
{
    const ProfileTemplate added = MakeProfileTemplate(ProfileWizard->Boxes());
    ApplyProfileTemplate(added, RestrictionsPage.Policies());
    if (!added.FolderRules.empty() || !added.FileRules.empty() || !added.CheckedRestrictions.empty())
        ProfileChanged = true;
    FilePage.ShowFileRules();
    FolderPage.ShowFolderRules();
    ComboBox1Change(nullptr);
}
