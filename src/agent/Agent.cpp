// The agent's start: single instance, settings, driver, hidden window, loop.
#include "Agent.h"
#include "AgentInstance.h"
#include "AgentPipe.h"
#include "Channel.h"
#include "UProfiles.h"

std::string StartupUserName;
bool UserChangePending = false;
void (*AgentStopHook)() = nullptr;
std::atomic<bool> AgentQuitting{false};
std::atomic<bool> AgentServiceStopAsked{false};
std::string (*AgentUserNameSource)() = GetCurrentUserName;

namespace {

constexpr UINT_PTR UserWatchTimerId = 58585;
constexpr UINT UserWatchPeriodMs = 10000;

// The channel's failures are shown in front of the agent's window.
void RaiseAgentWindow()
{
    if (AgentWindow) SetForegroundWindow(AgentWindow);
}

// Anyone can post WM_QUIT: the agent ends only by its own requests, which
// end the process themselves.
void RunMessageLoop()
{
    MSG msg;
    for (BOOL got; (got = GetMessageA(&msg, nullptr, 0, 0)) != -1;) {
        if (got == 0) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

void RunAgent(bool followUser)
{
    if (!ClaimSingleInstance())
        ExitProcess(0);
    LoadSettings();
    CreateProfileLists();
    RaiseOwnerWindow = RaiseAgentWindow;
    if (!OpenProtectionDriver()) {
        ReleaseSingleInstance();
        return;
    }
    if (GlobalSettings.AutoStart)
        ApplyStartupProfile();
    CreateAgentPipe();
    CreateAgentWindow(AgentWindowProc);
    StartAgentPipe();
    StartupUserName = GetCurrentUserName();
    if (followUser)
        SetTimer(nullptr, UserWatchTimerId, UserWatchPeriodMs, UserWatchTimerProc);
    RunMessageLoop();
    PostQuitMessage(0);
    ExitProcess(0);
}
