// A visible window titled "blockme" that runs until closed. Closed normally
// (WM_CLOSE, DestroyWindow) it exits with code 7; a terminated process gets
// the code its terminator chose, which lets tests tell the two apart.
//   blockme [EVENT]
// Given the name of an event, it opens a second window, "blockme 2", when the
// event is set: it waits for the event and for messages together, so the
// window is created without a message being pulled first, as a worker's
// wake-up would do it.
#include <windows.h>
namespace {
LRESULT CALLBACK BlockMeProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) return PostQuitMessage(7), 0;
    return DefWindowProcA(window, msg, wParam, lParam);
}
HWND OpenWindow(const char* title) {
    return CreateWindowA("blockme", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}
}  // namespace
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    HANDLE event = *commandLine ? OpenEventA(SYNCHRONIZE, FALSE, commandLine) : nullptr;
    WNDCLASSA cls = {0, BlockMeProc, 0, 0, instance, nullptr, LoadCursorA(nullptr, IDC_ARROW),
                     reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr, "blockme"};
    RegisterClassA(&cls);
    if (!OpenWindow("blockme")) return 1;
    for (;;) {
        if (MsgWaitForMultipleObjects(event ? 1 : 0, &event, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 && event)
            OpenWindow("blockme 2"), CloseHandle(event), event = nullptr;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}
