// The agent's start: single instance, settings, driver, hidden window, loop.
#include "Agent.h"
#include "AgentPipe.h"
#include "AgentService.h"
#include "Channel.h"
#include "UProfiles.h"

HWND AgentWindow = nullptr;
std::string StartupUserName;
bool UserChangePending = false;
void (*AgentStopHook)() = nullptr;
std::atomic<bool> AgentQuitting{false};
std::atomic<bool> AgentServiceStopAsked{false};
std::string (*AgentUserNameSource)() = GetCurrentUserName;

const char* const AgentClassName = "VTLOCK.AGENT";
const char* const AgentCaption = "VT Vantrel";
const char* const AgentMutexName = VTPIPE_AGENT_MUTEX;

namespace {

constexpr UINT_PTR UserWatchTimerId = 58585;
constexpr UINT UserWatchPeriodMs = 10000;

// Held until the agent ends; a second agent finds it taken.
HANDLE AgentMutex = nullptr;

bool ClaimSingleInstance()
{
    SetLastError(0);
    AgentMutex = CreateMutexA(nullptr, TRUE, AgentMutexName);
    return AgentMutex != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
}

void CreateAgentWindow()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    wc.lpfnWndProc = AgentWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(RGB(16, 64, 96));
    wc.lpszClassName = AgentClassName;
    RegisterClassA(&wc);
    AgentWindow = CreateWindowExA(0, AgentClassName, AgentCaption, WS_POPUP, 0, 0, 0, 0,
                                  nullptr, nullptr, instance, nullptr);
}

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

void ReleaseSingleInstance()
{
    if (AgentWindow != nullptr) {
        DestroyWindow(AgentWindow);
        AgentWindow = nullptr;
    }
    if (AgentMutex != nullptr) {
        ReleaseMutex(AgentMutex);
        CloseHandle(AgentMutex);
        AgentMutex = nullptr;
    }
}

void RunAgent()
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
    CreateAgentWindow();
    StartAgentPipe();
    StartupUserName = GetCurrentUserName();
    if (!RunningAsService)
        SetTimer(nullptr, UserWatchTimerId, UserWatchPeriodMs, UserWatchTimerProc);
    RunMessageLoop();
    PostQuitMessage(0);
    ExitProcess(0);
}
