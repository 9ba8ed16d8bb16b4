#include "AgentInstance.h"
#include "VtPipe.h"

HWND AgentWindow = nullptr;

const char* const AgentClassName = "VTLOCK.AGENT";
const char* const AgentCaption = "VT Vantrel";
const char* const AgentMutexName = VTPIPE_AGENT_MUTEX;

namespace {

// Held until the agent ends; a second agent finds it taken.
HANDLE AgentMutex = nullptr;

}  // namespace

bool ClaimSingleInstance()
{
    SetLastError(0);
    AgentMutex = CreateMutexA(nullptr, TRUE, AgentMutexName);
    return AgentMutex != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
}

void CreateAgentWindow(WNDPROC procedure)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(RGB(16, 64, 96));
    wc.lpszClassName = AgentClassName;
    RegisterClassA(&wc);
    AgentWindow = CreateWindowExA(0, AgentClassName, AgentCaption, WS_POPUP, 0, 0, 0, 0,
                                  nullptr, nullptr, instance, nullptr);
}

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
