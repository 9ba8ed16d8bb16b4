// Records the system's registered window messages that reach a hidden
// top-level window, one "name wParam lParam" line each (decimal).
//   msglisten [--log FILE]
// The log file is created once the window exists; runs until killed.
// Without a log it only keeps Wine's desktop process alive, as an ordinary
// process with a window and a message loop.
#include <windows.h>
#include "ToolLog.h"
#include <cstdio>
namespace {
const char* const Names[] = {"Corvane2.TaskMan1", "Vantrel.Start",  "Vantrel.Stop",   "Vantrel.StopAgent",
                             "Vantrel.Ask",       "Vantrel.Saved",  "Vantrel.Enable", "Vantrel.Disable"};
UINT Numbers[8];
std::string LogPath;
LRESULT CALLBACK ListenProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    for (int i = 0; i < 8; ++i)
        if (msg == Numbers[i]) {
            char line[128];
            std::snprintf(line, sizeof line, "%s %llu %lld\n", Names[i], static_cast<unsigned long long>(wParam),
                          static_cast<long long>(lParam));
            return AppendLine(LogPath, line), 0;
        }
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, msg, wParam, lParam);
}
}  // namespace
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    LogPath = LogArgument();
    for (int i = 0; i < 8; ++i) Numbers[i] = RegisterWindowMessageA(Names[i]);
    WNDCLASSA cls = {0, ListenProc, 0, 0, instance, nullptr, nullptr, nullptr, nullptr, "VtMsgListen"};
    RegisterClassA(&cls);
    // A top-level window, never shown: broadcasts reach it, the user never sees it.
    HWND window = CreateWindowA("VtMsgListen", "msglisten", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                instance, nullptr);
    if (!window) return 1;
    AppendLine(LogPath, std::string());
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
