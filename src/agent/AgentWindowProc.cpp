// The agent window's messages: one routing table, one named handler each.
#include "Agent.h"
#include "Channel.h"
#include "CommandLibrary.h"
#include "Policies.h"
#include "ProgramBlocking.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"

namespace {

using Handler = void (*)(HWND window, WPARAM wParam, LPARAM lParam);

void OnTaskMan(HWND, WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0)
        CloseIfDisabled(reinterpret_cast<HWND>(wParam));
}

void OnAsk(HWND, WPARAM, LPARAM) { ToggleProtection(); }
void OnStart(HWND, WPARAM, LPARAM) { ApplyStartupProfile(); }
void OnStop(HWND, WPARAM, LPARAM) { DisableProtection(); }
void OnEnable(HWND, WPARAM, LPARAM) { ApplyStartupProfile(); }

void OnStopAgent(HWND, WPARAM, LPARAM)
{
    DisableProtection();
    AgentQuitting = true;
    // The hook stops the agent service, which then reports that it has ended.
    ReleaseSingleInstance();
    if (AgentStopHook)
        AgentStopHook();
    PostQuitMessage(0);
    ExitProcess(0);
}

void OnDisable(HWND, WPARAM, LPARAM lParam)
{
    DWORD digest = static_cast<DWORD>(lParam);
    bool accepted = LibBool(Command21(digest)) || (Profile.OwnPassword && digest == Profile.PasswordHash);
    if (accepted)
        DisableProtection();
}

void OnUserTemp(const std::string& text) { SetUserTempDir(text); }

void OnUserSid(const std::string& text)
{
    OpenUserHive(text);
    LoadUserShellFolders();
    DisableProtection();
    ApplyStartupProfile();
}

void OnCopyData(HWND, WPARAM wParam, LPARAM lParam)
{
    if (wParam != CopyDataUserTemp && wParam != CopyDataUserSid)
        return;
    std::string text;
    if (!CopyDataText(reinterpret_cast<const COPYDATASTRUCT*>(lParam), text))
        return;
    if (wParam == CopyDataUserTemp)
        OnUserTemp(text);
    else
        OnUserSid(text);
}

void OnCreate(HWND window, WPARAM, LPARAM)
{
    LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    SetWindowLongPtrA(window, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_CAPTION));
}

void OnClose(HWND, WPARAM, LPARAM)
{
    DisableProtection();
    CloseUserHive();
    PostQuitMessage(0);
}

// The control handler reports the service stopped once this returns.
void OnServiceStop(HWND, WPARAM, LPARAM)
{
    DisableProtection();
    CloseUserHive();
    ReleaseSingleInstance();
}

struct RegisteredRoute {
    const UINT* message;
    Handler handler;
};

// Tried in this order; the numbers are only known once registered.
const RegisteredRoute RegisteredRoutes[] = {
    {&MsgTaskMan, OnTaskMan},
    {&MsgAsk, OnAsk},
    {&MsgStart, OnStart},
    {&MsgStop, OnStop},
    {&MsgStopAgent, OnStopAgent},
    {&MsgEnable, OnEnable},
    {&MsgDisable, OnDisable},
};

struct StandardRoute {
    UINT message;
    Handler handler;
};

const StandardRoute StandardRoutes[] = {
    {WM_COPYDATA, OnCopyData},
    {WM_CREATE, OnCreate},
    {WM_CLOSE, OnClose},
    {WM_QUIT, OnClose},
    {MsgAgentServiceStop, OnServiceStop},
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

bool CopyDataText(const COPYDATASTRUCT* data, std::string& text)
{
    if (data == nullptr || data->lpData == nullptr || data->cbData == 0 || data->cbData > CopyDataMaxBytes)
        return false;
    const char* bytes = static_cast<const char*>(data->lpData);
    size_t length = 0;
    while (length < data->cbData && bytes[length] != '\0')
        ++length;
    text.assign(bytes, length);
    return true;
}

LRESULT CALLBACK AgentWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (Handler handler = FindHandler(message))
        handler(window, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}
