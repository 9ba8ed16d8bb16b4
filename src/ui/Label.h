// TLabel: static text (STATIC) on its parent's colour, word-wrapped unless
// told otherwise, left or centred, "&" shown as it is. With OnClick set it
// takes clicks (SS_NOTIFY); SetHandCursor gives it the hand of a link.
#pragma once
#include "Control.h"

enum class TAlignment { Left, Center, Right };

class TLabel : public TControl {
public:
    bool Create(TControl* parent, int id, const std::string& caption, int left, int top, int width, int height,
                TAlignment alignment = TAlignment::Left, bool wordWrap = true)
    {
        return CreateStatic(parent, id, caption, left, top, width, height, alignment, wordWrap, 0);
    }
    void SetHandCursor() { hand_ = true; }
    void Command(WORD code) override
    {
        if (code == STN_CLICKED && OnClick) OnClick(this);
    }
    HBRUSH CtlColor(HDC dc) override
    {
        SetBkMode(dc, TRANSPARENT);
        return TControl::CtlColor(dc);
    }

    TNotifyEvent OnClick;

protected:
    bool CreateStatic(TControl* parent, int id, const std::string& caption, int left, int top, int width, int height,
                      TAlignment alignment, bool wordWrap, DWORD exStyle)
    {
        DWORD style = WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_NOTIFY;
        if (alignment == TAlignment::Center) style |= SS_CENTER;
        else if (alignment == TAlignment::Right) style |= SS_RIGHT;
        else if (!wordWrap) style |= SS_LEFTNOWORDWRAP;
        return CreateHandle(parent, id, "STATIC", caption, style, exStyle, left, top, width, height);
    }
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SETCURSOR && hand_) {
            SetCursor(LoadCursorA(nullptr, IDC_HAND));
            return TRUE;
        }
        return TControl::WndProc(message, wParam, lParam);
    }

private:
    bool hand_ = false;
};
