#include "PaintedControl.h"

LRESULT TPaintedControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETTEXT: {
        LRESULT result = TControl::WndProc(message, wParam, lParam);
        Invalidate();
        return result;
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(handle_, &ps);
        RECT client = {};
        GetClientRect(handle_, &client);
        FillRect(dc, &client, BackgroundBrush());
        Paint(dc, client);
        EndPaint(handle_, &ps);
        return 0;
    }
    default: return TControl::WndProc(message, wParam, lParam);
    }
}
