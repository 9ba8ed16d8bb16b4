// Gives a shown top-level window of a class a command, as a user's menu
// choice or button click would, or tells where it is on the screen:
//   wmpost CLASS wait           waits up to 30 s until such a window shows
//   wmpost CLASS gone           waits up to 30 s until none shows
//   wmpost CLASS command ID     posts WM_COMMAND ID (a menu item)
//   wmpost CLASS click ID       posts BM_CLICK to its control ID, at any depth
//   wmpost CLASS text ID TEXT   puts TEXT into its control ID (an edit field)
//   wmpost CLASS tab ID INDEX   clicks tab INDEX of its tab control ID
//   wmpost CLASS rect           prints the window's frame as WxH+X+Y
// wait, gone and rect return once the window's thread is back in its message
// loop: without a window manager Wine takes a second or two to hide a window,
// and a command posted meanwhile is carried out only after that.
// Exit code 0 when the window (and the control) was found, 1 otherwise.
#include <windows.h>
#include <commctrl.h>
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

HWND Control(HWND window, int id)
{
    Wanted control = {nullptr, id, nullptr};
    EnumChildWindows(window, FindControl, reinterpret_cast<LPARAM>(&control));
    return control.found;
}

// The tab's rectangle, asked through memory in the control's process: Wine
// carries no pointer of TCM_GETITEMRECT across processes.
bool TabRect(HWND tabs, int index, RECT& rect)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(tabs, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return false;
    void* remote = VirtualAllocEx(process, nullptr, sizeof rect, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool ok = remote && SendMessageA(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote)) &&
              ReadProcessMemory(process, remote, &rect, sizeof rect, nullptr);
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return ok;
}

void Settle(HWND window)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
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
    for (int waited = 0; action == "gone" && window && waited < 300; ++waited) {
        Sleep(100);
        HWND shown = ShownWindow(argv[1]);
        if (!shown) Settle(window);
        window = shown;
    }
    if (action == "gone") return window ? 1 : 0;
    if (!window) return 1;
    if (action == "wait" || action == "rect") Settle(window);
    const int id = argc > 3 ? std::atoi(argv[3]) : 0;
    if (action == "command") PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    if (action == "click" || action == "text" || action == "tab") {
        HWND control = Control(window, id);
        if (!control) return 1;
        if (action == "click") PostMessageA(control, BM_CLICK, 0, 0);
        if (action == "text" && argc > 4) SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
        RECT tab = {};
        if (action == "tab") {
            if (argc < 5 || !TabRect(control, std::atoi(argv[4]), tab)) return 1;
            // The control changes page and tells its form, as for a user's click.
            LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
            PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
            PostMessageA(control, WM_LBUTTONUP, 0, at);
        }
    }
    if (action == "rect") {
        RECT r = {};
        GetWindowRect(window, &r);
        std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    }
    return 0;
}
