// What the agent does on request: apply the start-up profile and follow a
// change of logged-on user.
#include "Agent.h"
#include "Channel.h"
#include "UProfiles.h"

void ApplyStartupProfile()
{
    std::string name = SelectStartupProfile();
    if (name.empty())
        return;
    SendProfileToDriver(name);
    EnableProtection();
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
