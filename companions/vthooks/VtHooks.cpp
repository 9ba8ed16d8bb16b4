// vthooks.dll: a global shell hook that tells the agent about every new
// top-level window of any process on the desktop. The library is loaded into
// each process whose windows the hook sees; the hook handle is only needed in
// the process that installed it.
#include <windows.h>

namespace {

const char kAgentClass[] = "VTLOCK.AGENT";
const char kWindowMessage[] = "Corvane2.TaskMan1";

HINSTANCE ThisModule;
HHOOK ShellHook;
CRITICAL_SECTION InstallLock;

// Runs in the process that creates the window, on its creating thread.
LRESULT CALLBACK ShellProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HSHELL_WINDOWCREATED) {
        HWND agent = FindWindowA(kAgentClass, nullptr);
        if (agent) PostMessageA(agent, RegisterWindowMessageA(kWindowMessage), wParam, 0);
    }
    return CallNextHookEx(ShellHook, code, wParam, lParam);
}

}  // namespace

// Installs the hook once per process; later calls only report success.
extern "C" BOOL WINAPI installshellhook()
{
    EnterCriticalSection(&InstallLock);
    bool installedNow = false;
    if (!ShellHook) {
        ShellHook = SetWindowsHookExA(WH_SHELL, ShellProc, ThisModule, 0);
        installedNow = ShellHook != nullptr;
    }
    BOOL installed = ShellHook != nullptr;
    LeaveCriticalSection(&InstallLock);

    // Programs already running pick the hook up only when their threads next
    // pull a message; wake them so their next windows are reported too.
    if (installedNow) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(HWND_BROADCAST, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &ignored);
    }
    return installed;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        ThisModule = instance;
        InitializeCriticalSection(&InstallLock);
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        DeleteCriticalSection(&InstallLock);
    }
    return TRUE;
}
