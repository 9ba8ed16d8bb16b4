// What the agent does on request: apply the start-up profile, toggle
// protection with a password, and follow a change of logged-on user.
#include "Agent.h"
#include "Channel.h"
#include "CommandLibrary.h"
#include "MsgBox.h"
#include "UProfiles.h"

namespace {

std::string AskTogglePassword()
{
    char buffer[VRCMD_TYPED_PASSWORD_MAX + 1] = {};
    Command20(buffer, sizeof buffer);
    buffer[VRCMD_TYPED_PASSWORD_MAX] = '\0';
    return buffer;
}

// The administrator password always works; otherwise the profile's own
// password when it has one, else the default toggle password.
bool TogglePasswordAccepted(const std::string& password)
{
    if (LibBool(Command14(password.c_str())))
        return true;
    if (Profile.OwnPassword)
        return Command18(password.c_str()) == Profile.PasswordHash;
    return LibBool(Command19(password.c_str()));
}

void AskToDisable()
{
    std::string password = AskTogglePassword();
    if (password.empty())
        return;
    if (TogglePasswordAccepted(password)) {
        DisableProtection();
        return;
    }
    SetForegroundWindow(AgentWindow);
    ShowMessage("Password is incorrect.", "Disable protection", MB_OK | MB_ICONINFORMATION);
}

void AskToEnable()
{
    BringWindowToTop(AgentWindow);
    SetForegroundWindow(AgentWindow);
    int answer = ShowMessage("It will enable Vantrel protection. Continue?", "Enable protection",
                             MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES)
        ApplyStartupProfile();
}

}  // namespace

void ApplyStartupProfile()
{
    std::string name = SelectStartupProfile();
    if (name.empty())
        return;
    SendProfileToDriver(name);
    EnableProtection();
}

void ToggleProtection()
{
    if (ProtectionEnabled)
        AskToDisable();
    else
        AskToEnable();
}

// Acts only on a name seen on two ticks in a row; the acted-on user becomes
// the recorded one, so a user who stays logged on is not re-applied again.
void CALLBACK UserWatchTimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    std::string name = AgentUserNameSource();
    if (name == StartupUserName) {
        UserChangePending = false;
    } else if (!UserChangePending) {
        UserChangePending = true;
    } else {
        UserChangePending = false;
        StartupUserName = name;
        DisableProtection();
        ApplyStartupProfile();
    }
}
