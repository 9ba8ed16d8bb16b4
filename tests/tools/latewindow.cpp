// A program that is already running when something starts watching for new
// windows: it opens a window titled "latewindow" at once, and a second one,
// "latewindow 2", when the event named on its command line is set. It waits
// for the event and for messages together, so the second window is created
// without a message being pulled first, as a worker wake-up would do it.
#include <windows.h>

namespace {

const char kClass[] = "latewindow";

HWND OpenWindow(const char* title)
{
    return CreateWindowA(kClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120, 120, 300, 200, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

LRESULT CALLBACK LateWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, commandLine);
    if (!event) return 2;
    WNDCLASSA cls = {};
    cls.lpfnWndProc = LateWindowProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    cls.lpszClassName = kClass;
    RegisterClassA(&cls);
    if (!OpenWindow("latewindow")) return 1;
    for (;;) {
        DWORD woken = MsgWaitForMultipleObjects(event ? 1 : 0, &event, FALSE, INFINITE, QS_ALLINPUT);
        if (event && woken == WAIT_OBJECT_0) {
            OpenWindow("latewindow 2");
            CloseHandle(event);
            event = nullptr;  // one second window only
            continue;
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return 0;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}
