// TPaintedControl: a window of our own class that draws itself. Each paint
// fills the client area with the control's colour and then calls Paint, so
// the window is drawn in one pass, without a separate erase that would
// flicker. A new text repaints it, as a painted control shows its text.
#pragma once
#include "Control.h"

class TPaintedControl : public TControl {
protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Draws what lies on the background already filled in client.
    virtual void Paint(HDC dc, const RECT& client) = 0;
};
