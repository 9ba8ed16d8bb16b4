// The profile manager's main window. For now it only tells the
// administrator that profiles are edited with a later version.
#pragma once
#include <windows.h>

class TForm1 {
public:
    bool Create(HINSTANCE instance);
    HWND Handle() const { return handle_; }

private:
    static LRESULT CALLBACK WindowThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void FormCreate();
    void FormDestroy();

    HWND handle_ = nullptr;
    HWND label_ = nullptr;
};

// Opens the manager window and runs the message loop until it closes.
int RunProfileManager();
