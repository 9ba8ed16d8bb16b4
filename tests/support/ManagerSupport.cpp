#include "ManagerSupport.h"
#include "RuntimeEnv.h"
#include "vrcmd.h"
#include <gtest/gtest.h>

void SetPasswords(const char* administrator, const char* toggle)
{
    Command9();
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "Administrator");
        RegDeleteValueA(key, "Toggle");
        RegCloseKey(key);
    }
    if (administrator) {
        Command15(administrator);
        Command10();
    }
    if (toggle) {
        Command16(toggle);
        Command11();
    }
}

bool QuitRequested()
{
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

namespace {

const char* WatchedClass = nullptr;
int ClosedCount = 0;

void CALLBACK CloseWatched(HWND, UINT, UINT_PTR, DWORD)
{
    HWND window = FindWindowA(WatchedClass, nullptr);
    if (!window || !IsWindowVisible(window)) return;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return;
    ++ClosedCount;
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

UINT_PTR WatchTimer = 0;
constexpr LPARAM Marker = 424242;

}  // namespace

CloseWhenShown::CloseWhenShown(const char* className)
{
    WatchedClass = className;
    ClosedCount = 0;
    WatchTimer = SetTimer(nullptr, 0, 100, CloseWatched);
}

CloseWhenShown::~CloseWhenShown()
{
    KillTimer(nullptr, WatchTimer);
}

int CloseWhenShown::Closed() const
{
    return ClosedCount;
}

std::vector<HeardMessage> HeardUpToMarker(MessageListener& listener)
{
    PostMessageA(HWND_BROADCAST, MsgSaved, 0, Marker);
    std::vector<HeardMessage> heard;
    // On a loaded machine the listener may take seconds; a marker heard only
    // later would be counted as a message of the test.
    const bool marked = WaitFor([&] {
        heard = listener.Heard();
        return !heard.empty() && heard.back().name == "Vantrel.Saved" && heard.back().lParam == Marker;
    }, 60000);
    if (!marked) ADD_FAILURE() << "the listener did not hear the marker";
    if (marked) heard.pop_back();
    return heard;
}
