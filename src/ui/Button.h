// TButton: a push button (BUTTON). Default makes Enter click it, Cancel makes
// Esc click it; OnClick runs for a mouse click, Space, BM_CLICK and those keys.
#pragma once
#include "Form.h"

class TButton : public TControl {
public:
    bool Create(TControl* parent, int id, const std::string& caption, int left, int top, int width, int height)
    {
        return CreateHandle(parent, id, "BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                            left, top, width, height);
    }
    void SetDefault()
    {
        SendMessageA(handle_, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        if (TForm* form = Form()) form->SetDefaultButton(this);
    }
    void SetCancel()
    {
        if (TForm* form = Form()) form->SetCancelButton(this);
    }
    void Click()
    {
        if (OnClick) OnClick(this);
    }
    void Command(WORD code) override
    {
        if (code == BN_CLICKED) Click();
    }

    TNotifyEvent OnClick;
};
