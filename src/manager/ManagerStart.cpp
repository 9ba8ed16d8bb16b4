// Manager mode: the elevation it needs, the eight forms, created once in
// their order and kept for the life of the process, and the application's
// message loop.
#include "AboutBox.h"
#include "AddFileDialog.h"
#include "AddFolderDialog.h"
#include "AdminPasswordPrompt.h"
#include "Application.h"
#include "ManagerIds.h"
#include "ManagerWindow.h"
#include "MsgBox.h"
#include "PasswordChangeDialog.h"
#include "ProfileWizard.h"
#include "SettingsDialog.h"

#include <memory>
#include <shellapi.h>

namespace {

// Set for the copy started elevated. Where that start does not raise the
// rights after all (User Account Control switched off, Wine), the copy
// inherits it and does not ask again.
const char ElevationAskedVariable[] = "VTLOCK_ELEVATION_ASKED";

bool IsAdministrator()
{
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof sid;
    BOOL member = FALSE;
    return CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size) &&
           CheckTokenMembership(nullptr, sid, &member) && member;
}

// From Windows Vista on, an administrator's programs start with the
// Administrators group deny-only in their token; the manager, which needs
// the password store and the profiles, asks for it.
bool NeedsElevation()
{
    return (GetVersion() & 0xFF) >= 6 && !IsAdministrator();
}

// The arguments as this process received them: its command line after the
// program's name, quoting kept.
std::string OwnArguments()
{
    const char* line = GetCommandLineA();
    if (*line == '"') {
        for (++line; *line && *line != '"'; ++line) {}
        if (*line) ++line;
    } else {
        while (*line && *line != ' ' && *line != '\t') ++line;
    }
    while (*line == ' ' || *line == '\t') ++line;
    return line;
}

// This program again, elevated, with the same arguments and folder.
bool StartElevated()
{
    char program[MAX_PATH];
    char folder[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    DWORD folderLength = GetCurrentDirectoryA(sizeof folder, folder);
    if (length == 0 || length >= sizeof program || folderLength == 0 || folderLength >= sizeof folder) return false;
    const std::string arguments = OwnArguments();
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC;
    info.lpVerb = "runas";
    info.lpFile = program;
    info.lpParameters = arguments.c_str();
    info.lpDirectory = folder;
    info.nShow = SW_SHOWNORMAL;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    bool started = ShellExecuteExA(&info);
    DWORD error = GetLastError();
    CoUninitialize();
    SetLastError(error);
    return started;
}

// Once: a copy started elevated ends this one. A declined elevation ends it
// quietly; a copy that still lacks the rights says so.
void AskForElevation(bool asked)
{
    if (!asked) {
        SetEnvironmentVariableA(ElevationAskedVariable, "1");
        if (StartElevated() || GetLastError() == ERROR_CANCELLED) return;
    }
    ShowMessage("The profile manager needs administrator rights.", "Vantrel", MB_OK | MB_ICONINFORMATION);
}

std::unique_ptr<TManagerWindow> ManagerWindowHolder;
std::unique_ptr<TAddFileDialog> AddFileDialogHolder;
std::unique_ptr<TSettingsDialog> SettingsDialogHolder;
std::unique_ptr<TAdminPasswordPrompt> AdminPasswordPromptHolder;
std::unique_ptr<TAboutBox> AboutBoxHolder;
std::unique_ptr<TPasswordChangeDialog> PasswordChangeDialogHolder;
std::unique_ptr<TAddFolderDialog> AddFolderDialogHolder;
std::unique_ptr<TProfileWizard> ProfileWizardHolder;

template <class T>
bool CreateOne(std::unique_ptr<T>& holder, T*& global)
{
    holder = std::make_unique<T>();
    global = holder.get();
    return holder->Create();
}

}  // namespace

bool CreateManagerForms()
{
    if (!CreateOne(ManagerWindowHolder, ManagerWindow)) return false;
    Application.SetMainForm(ManagerWindow);
    return CreateOne(AddFileDialogHolder, AddFileDialog) && CreateOne(SettingsDialogHolder, SettingsDialog) &&
           CreateOne(AdminPasswordPromptHolder, AdminPasswordPrompt) && CreateOne(AboutBoxHolder, AboutBox) &&
           CreateOne(PasswordChangeDialogHolder, PasswordChangeDialog) && CreateOne(AddFolderDialogHolder, AddFolderDialog) &&
           CreateOne(ProfileWizardHolder, ProfileWizard);
}

void DestroyManagerForms()
{
    TemplateBuilder = nullptr;
    Application.SetMainForm(nullptr);
    ProfileWizardHolder.reset();
    AddFolderDialogHolder.reset();
    PasswordChangeDialogHolder.reset();
    AboutBoxHolder.reset();
    AdminPasswordPromptHolder.reset();
    SettingsDialogHolder.reset();
    AddFileDialogHolder.reset();
    ManagerWindowHolder.reset();
    ProfileWizard = nullptr;
    AddFolderDialog = nullptr;
    PasswordChangeDialog = nullptr;
    AboutBox = nullptr;
    AdminPasswordPrompt = nullptr;
    SettingsDialog = nullptr;
    AddFileDialog = nullptr;
    ManagerWindow = nullptr;
}

int RunProfileManager()
{
    const bool asked = GetEnvironmentVariableA(ElevationAskedVariable, nullptr, 0) > 0;
    SetEnvironmentVariableA(ElevationAskedVariable, nullptr);
    if (NeedsElevation()) {
        AskForElevation(asked);
        return 0;
    }
    Application.Initialize();
    Application.SetTitle("Vantrel");
    if (CreateManagerForms()) {
        HACCEL accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MainAccelerators));
        ManagerWindow->Show();
        Application.Run(accelerators);
    }
    DestroyManagerForms();
    return 0;
}
