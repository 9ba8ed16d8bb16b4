// TComboBox: a drop-down list that cannot be typed into (COMBOBOX,
// CBS_DROPDOWNLIST). OnChange runs when the user picks an entry, not when
// the program sets ItemIndex.
#pragma once
#include "Control.h"

class TComboBox : public TControl {
public:
    bool Create(TControl* parent, int id, int left, int top, int width, int dropDownHeight = 200)
    {
        return CreateHandle(parent, id, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL |
                            CBS_DROPDOWNLIST, 0, left, top, width, dropDownHeight);
    }
    int Add(const std::string& text)
    {
        return static_cast<int>(SendMessageA(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    void Clear() { SendMessageA(handle_, CB_RESETCONTENT, 0, 0); }
    int Count() const { return static_cast<int>(SendMessageA(handle_, CB_GETCOUNT, 0, 0)); }
    int ItemIndex() const { return static_cast<int>(SendMessageA(handle_, CB_GETCURSEL, 0, 0)); }
    void SetItemIndex(int index) { SendMessageA(handle_, CB_SETCURSEL, index, 0); }
    std::string Item(int index) const
    {
        LRESULT length = SendMessageA(handle_, CB_GETLBTEXTLEN, index, 0);
        if (length == CB_ERR) return std::string();
        std::string text(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(handle_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<size_t>(length));
        return text;
    }
    void Command(WORD code) override
    {
        if (code == CBN_SELCHANGE && OnChange) OnChange(this);
    }

    TNotifyEvent OnChange;

protected:
    bool ParentColored() const override { return false; }
};
