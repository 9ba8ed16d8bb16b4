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
#include "RemoteWindows.h"
#include "VtTest.h"
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
namespace {
// A click on the tab's middle, its rectangle asked through memory in the
// control's process: Wine carries no pointer of TCM_GETITEMRECT across
// processes. The control changes page and tells its form.
bool ClickTab(HWND tabs, int index) {
    DWORD pid = 0;
    GetWindowThreadProcessId(tabs, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return false;
    RECT r = {};
    void* remote = VirtualAllocEx(process, nullptr, sizeof r, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool ok = remote && SendMessageA(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote)) &&
              ReadProcessMemory(process, remote, &r, sizeof r, nullptr);
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    if (ok) PostClick(tabs, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    return ok;
}
void Settle(HWND window) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
}
}  // namespace
int main(int argc, char** argv) {
    if (argc < 3) return 1;
    const std::string action = argv[2];
    HWND window = ShownWindow(0, argv[1]);
    if (action == "wait") WaitFor([&] { return (window = ShownWindow(0, argv[1])) != nullptr; }, 30000);
    if (action == "gone") {
        HWND last = window;
        bool gone = WaitFor([&] {
            HWND shown = ShownWindow(0, argv[1]);
            if (shown) last = shown;
            return !shown;
        }, 30000);
        if (last) Settle(last);
        return gone ? 0 : 1;
    }
    if (!window) return 1;
    if (action == "wait" || action == "rect") Settle(window);
    const int id = argc > 3 ? std::atoi(argv[3]) : 0;
    HWND control = FindControl(window, id);
    if (action == "command") PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    if ((action == "click" || action == "text" || action == "tab") && !control) return 1;
    if (action == "click") PostMessageA(control, BM_CLICK, 0, 0);
    if (action == "text" && argc > 4) SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
    if (action == "tab" && (argc < 5 || !ClickTab(control, std::atoi(argv[4])))) return 1;
    if (action == "rect") {
        RECT r = {};
        GetWindowRect(window, &r);
        std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    }
    return 0;
}
