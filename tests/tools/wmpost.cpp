// Gives a shown top-level window of a class a command, as a user's menu
// choice or button click would, or tells where it is on the screen:
//   wmpost CLASS wait           waits up to 30 s until such a window shows
//   wmpost CLASS command ID     posts WM_COMMAND ID (a menu item)
//   wmpost CLASS click ID       posts BM_CLICK to its control ID, at any depth
//   wmpost CLASS rect           prints the window's frame as WxH+X+Y
// Exit code 0 when the window (and the control) was found, 1 otherwise.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Wanted {
    const char* className;
    int id;
    HWND found;
};

BOOL CALLBACK FindShown(HWND window, LPARAM param)
{
    auto* wanted = reinterpret_cast<Wanted*>(param);
    char name[128] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, wanted->className) != 0 || !IsWindowVisible(window)) return TRUE;
    wanted->found = window;
    return FALSE;
}

BOOL CALLBACK FindControl(HWND window, LPARAM param)
{
    auto* wanted = reinterpret_cast<Wanted*>(param);
    if (GetDlgCtrlID(window) != wanted->id) return TRUE;
    wanted->found = window;
    return FALSE;
}

HWND ShownWindow(const char* className)
{
    Wanted wanted = {className, 0, nullptr};
    EnumWindows(FindShown, reinterpret_cast<LPARAM>(&wanted));
    return wanted.found;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) return 1;
    const std::string action = argv[2];
    HWND window = ShownWindow(argv[1]);
    for (int waited = 0; action == "wait" && !window && waited < 300; ++waited) {
        Sleep(100);
        window = ShownWindow(argv[1]);
    }
    if (!window) return 1;
    const int id = argc > 3 ? std::atoi(argv[3]) : 0;
    if (action == "command") PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    if (action == "click") {
        Wanted control = {nullptr, id, nullptr};
        EnumChildWindows(window, FindControl, reinterpret_cast<LPARAM>(&control));
        if (!control.found) return 1;
        PostMessageA(control.found, BM_CLICK, 0, 0);
    }
    if (action == "rect") {
        RECT r = {};
        GetWindowRect(window, &r);
        std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    }
    return 0;
}
