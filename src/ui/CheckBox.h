// TCheckBox: a two-state check box (BUTTON, BS_AUTOCHECKBOX). OnClick runs
// when the user changes it and also when the program changes it with
// SetChecked; setting the state it already has runs nothing.
#pragma once
#include "Control.h"

class TCheckBox : public TControl {
public:
    bool Create(TControl* parent, int id, const std::string& caption, int left, int top, int width, int height,
                bool wordWrap = false)
    {
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | (wordWrap ? BS_MULTILINE : 0);
        return CreateHandle(parent, id, "BUTTON", caption, style, 0, left, top, width, height);
    }
    bool Checked() const { return SendMessageA(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetChecked(bool checked)
    {
        if (checked == Checked()) return;
        SendMessageA(handle_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        if (OnClick) OnClick(this);
    }
    void Command(WORD code) override
    {
        if (code == BN_CLICKED && OnClick) OnClick(this);
    }

    TNotifyEvent OnClick;
};
