// The agent window's messages: one routing table, one named handler each.
#include "Agent.h"
#include "AgentInstance.h"
#include "AgentPipe.h"
#include "Channel.h"
#include "ProgramBlocking.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "UserHive.h"

namespace {

using Handler = void (*)(HWND window, WPARAM wParam, LPARAM lParam);

void OnTaskMan(HWND, WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0)
        CloseIfDisabled(reinterpret_cast<HWND>(wParam));
}

void OnStart(HWND, WPARAM, LPARAM) { ApplyStartupProfile(); }
void OnEnable(HWND, WPARAM, LPARAM) { ApplyStartupProfile(); }
void OnPipeWork(HWND, WPARAM, LPARAM) { RunPipeWork(); }

void OnCreate(HWND window, WPARAM, LPARAM)
{
    LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    SetWindowLongPtrA(window, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_CAPTION));
}

// The control handler reports the service stopped once this returns. Only
// its own request counts: anyone can send the message.
void OnServiceStop(HWND, WPARAM, LPARAM)
{
    if (!AgentServiceStopAsked) return;
    DisableProtection();
    CloseUserHive();
    ReleaseSingleInstance();
}

struct RegisteredRoute {
    const UINT* message;
    Handler handler;
};

// Tried in this order; the numbers are only known once registered. A window
// message carries no sender, so only those that raise protection are
// obeyed; the others ("Vantrel.Stop", "Vantrel.StopAgent", "Vantrel.Ask",
// "Vantrel.Disable", copy-data) come through the pipe now.
const RegisteredRoute RegisteredRoutes[] = {
    {&MsgTaskMan, OnTaskMan},
    {&MsgStart, OnStart},
    {&MsgEnable, OnEnable},
};

struct StandardRoute {
    UINT message;
    Handler handler;
};

const StandardRoute StandardRoutes[] = {
    {WM_CREATE, OnCreate},
    {MsgAgentServiceStop, OnServiceStop},
    {MsgAgentPipeWork, OnPipeWork},
};

Handler FindHandler(UINT message)
{
    for (const RegisteredRoute& route : RegisteredRoutes)
        if (*route.message != 0 && *route.message == message)
            return route.handler;
    for (const StandardRoute& route : StandardRoutes)
        if (route.message == message)
            return route.handler;
    return nullptr;
}

}  // namespace

LRESULT CALLBACK AgentWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Anyone can post WM_CLOSE; left to the default, it would destroy the window.
    if (message == WM_CLOSE) return 0;
    if (Handler handler = FindHandler(message))
        handler(window, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}
