#include "Unit1.h"

namespace {
const char* const FormClassName = "TForm1";
const char* const ApplicationTitle = "Vantrel";
}

bool TForm1::Create(HINSTANCE instance)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowThunk;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = FormClassName;
    RegisterClassExA(&wc);
    handle_ = CreateWindowExA(0, FormClassName, ApplicationTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 480, 160, nullptr, nullptr, instance, this);
    return handle_ != nullptr;
}

// Stores the form in the window on creation and hands every message to it.
LRESULT CALLBACK TForm1::WindowThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* form = static_cast<TForm1*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        form->handle_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<TForm1*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return form ? form->Dispatch(message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT TForm1::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: FormCreate(); return 0;
    case WM_DESTROY: FormDestroy(); return 0;
    default: return DefWindowProcA(handle_, message, wParam, lParam);
    }
}

void TForm1::FormCreate()
{
    label_ = CreateWindowExA(0, "STATIC", "Profiles are edited with the Vantrel profile manager.",
                             WS_CHILD | WS_VISIBLE | SS_CENTER, 10, 40, 440, 40, handle_, nullptr,
                             nullptr, nullptr);
}

void TForm1::FormDestroy()
{
    PostQuitMessage(0);
}

int RunProfileManager()
{
    static TForm1 Form1;
    if (!Form1.Create(GetModuleHandleA(nullptr))) return 0;
    ShowWindow(Form1.Handle(), SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
