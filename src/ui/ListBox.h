// TListBox: a list of text lines (LISTBOX), one or several selected. Filling
// between BeginUpdate and EndUpdate runs with redraw switched off. OnKeyDown
// (from TControl) also sees Enter; OnClick runs when the selection changes.
#pragma once
#include "Control.h"
#include <vector>

class TListBox : public TControl {
public:
    bool Create(TControl* parent, int id, int left, int top, int width, int height, bool multiSelect = false)
    {
        return CreateList(parent, id, left, top, width, height, multiSelect ? LBS_EXTENDEDSEL : 0);
    }
    int Add(const std::string& text)
    {
        return static_cast<int>(SendMessageA(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    void Delete(int index) { SendMessageA(handle_, LB_DELETESTRING, index, 0); }
    void Clear() { SendMessageA(handle_, LB_RESETCONTENT, 0, 0); }
    int Count() const { return static_cast<int>(SendMessageA(handle_, LB_GETCOUNT, 0, 0)); }
    std::string Item(int index) const
    {
        LRESULT length = SendMessageA(handle_, LB_GETTEXTLEN, index, 0);
        if (length == LB_ERR) return std::string();
        std::string text(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(handle_, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<size_t>(length));
        return text;
    }
    // The selected line (the focused one of a multiple selection); -1 for none.
    int ItemIndex() const
    {
        if (!multiSelect_) return static_cast<int>(SendMessageA(handle_, LB_GETCURSEL, 0, 0));
        int caret = static_cast<int>(SendMessageA(handle_, LB_GETCARETINDEX, 0, 0));
        return caret >= 0 && Selected(caret) ? caret : -1;
    }
    void SetItemIndex(int index)
    {
        if (multiSelect_) {
            SendMessageA(handle_, LB_SETSEL, FALSE, -1);
            if (index >= 0) SendMessageA(handle_, LB_SETSEL, TRUE, index);
            SendMessageA(handle_, LB_SETCARETINDEX, index, FALSE);
        } else {
            SendMessageA(handle_, LB_SETCURSEL, index, 0);
        }
    }
    bool Selected(int index) const { return SendMessageA(handle_, LB_GETSEL, index, 0) > 0; }
    void SetSelected(int index, bool selected)
    {
        if (multiSelect_) SendMessageA(handle_, LB_SETSEL, selected, index);
        else SendMessageA(handle_, LB_SETCURSEL, selected ? index : -1, 0);
    }
    int SelCount() const
    {
        if (multiSelect_) return static_cast<int>(SendMessageA(handle_, LB_GETSELCOUNT, 0, 0));
        return ItemIndex() >= 0 ? 1 : 0;
    }
    // Replaces every line at once: storage reserved up front and no redraw
    // until the end, so ten thousand lines take no longer than they must.
    void SetLines(const std::vector<std::string>& lines)
    {
        BeginUpdate();
        Clear();
        size_t bytes = 0;
        for (const std::string& line : lines) bytes += line.size() + 1;
        SendMessageA(handle_, LB_INITSTORAGE, lines.size(), bytes);
        for (const std::string& line : lines) Add(line);
        EndUpdate();
    }
    void BeginUpdate() { SendMessageA(handle_, WM_SETREDRAW, FALSE, 0); }
    void EndUpdate()
    {
        SendMessageA(handle_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(handle_, nullptr, TRUE);
    }
    void Command(WORD code) override
    {
        if (code == LBN_SELCHANGE && OnClick) OnClick(this);
        if (code == LBN_DBLCLK && OnDblClick) OnDblClick(this);
    }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

protected:
    bool CreateList(TControl* parent, int id, int left, int top, int width, int height, DWORD extraStyle)
    {
        multiSelect_ = (extraStyle & LBS_EXTENDEDSEL) != 0;
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY |
                      LBS_NOINTEGRALHEIGHT | extraStyle;
        return CreateHandle(parent, id, "LISTBOX", "", style, WS_EX_CLIENTEDGE, left, top, width, height);
    }
    bool ParentColored() const override { return false; }

private:
    bool multiSelect_ = false;
};
