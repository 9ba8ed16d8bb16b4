// Keeps Wine's desktop process alive: one ordinary process with a hidden
// window and a message loop, running until killed.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA cls = {};
    cls.lpfnWndProc = DefWindowProcA;
    cls.hInstance = instance;
    cls.lpszClassName = "VtKeep";
    RegisterClassA(&cls);
    if (!CreateWindowA("VtKeep", "vtkeep", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr))
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
