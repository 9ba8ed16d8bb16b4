// TEdit: a one-line edit field (EDIT) with an optional masking character and
// length limit; OnChange runs on every change of its text.
#pragma once
#include "Control.h"

class TEdit : public TControl {
public:
    bool Create(TControl* parent, int id, const std::string& text, int left, int top, int width, int height = 21)
    {
        return CreateHandle(parent, id, "EDIT", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                            WS_EX_CLIENTEDGE, left, top, width, height);
    }
    // 0 shows the characters as typed.
    void SetPasswordChar(char c)
    {
        SendMessageA(handle_, EM_SETPASSWORDCHAR, static_cast<unsigned char>(c), 0);
        Invalidate();
    }
    char PasswordChar() const { return static_cast<char>(SendMessageA(handle_, EM_GETPASSWORDCHAR, 0, 0)); }
    void SetMaxLength(int length) { SendMessageA(handle_, EM_LIMITTEXT, length, 0); }
    void SetReadOnly(bool readOnly) { SendMessageA(handle_, EM_SETREADONLY, readOnly, 0); }
    void SelectAll() { SendMessageA(handle_, EM_SETSEL, 0, -1); }
    void Command(WORD code) override
    {
        if (code == EN_CHANGE && OnChange) OnChange(this);
    }

    TNotifyEvent OnChange;

protected:
    bool ParentColored() const override { return false; }
};
