#include "CheckListBox.h"

namespace {
constexpr int ItemHeight = 16;
constexpr int BoxSize = 13;
constexpr int BoxLeft = 2;
}  // namespace

bool TCheckListBox::Create(TControl* parent, int id, int left, int top, int width, int height)
{
    return CreateList(parent, id, left, top, width, height, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS);
}

TCheckBoxState TCheckListBox::State(int index) const
{
    LRESULT data = SendMessageA(handle_, LB_GETITEMDATA, index, 0);
    if (data == cbChecked || data == cbGrayed) return static_cast<TCheckBoxState>(data);
    return cbUnchecked;
}

void TCheckListBox::SetState(int index, TCheckBoxState state)
{
    SendMessageA(handle_, LB_SETITEMDATA, index, state);
    RECT r = {};
    if (SendMessageA(handle_, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(handle_, &r, FALSE);
}

RECT TCheckListBox::BoxRect(int index) const
{
    RECT item = {};
    SendMessageA(handle_, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    int top = item.top + (item.bottom - item.top - BoxSize) / 2;
    return RECT{item.left + BoxLeft, top, item.left + BoxLeft + BoxSize, top + BoxSize};
}

void TCheckListBox::ToggleClickCheck(int index)
{
    TCheckBoxState next = cbUnchecked;
    switch (State(index)) {
    case cbUnchecked: next = allowGrayed_ ? cbGrayed : cbChecked; break;
    case cbGrayed: next = cbChecked; break;
    case cbChecked: next = cbUnchecked; break;
    }
    SetState(index, next);
    if (OnClickCheck) OnClickCheck(this);
}

LRESULT TCheckListBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
        POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        LRESULT hit = SendMessageA(handle_, LB_ITEMFROMPOINT, 0, lParam);
        int index = LOWORD(hit);
        if (!HIWORD(hit) && index < Count()) {
            RECT box = BoxRect(index);
            if (p.x >= box.left && p.x < box.right + 1) {
                LRESULT r = TListBox::WndProc(message, wParam, lParam);
                ToggleClickCheck(index);
                return r;
            }
        }
    }
    if (message == WM_CHAR && wParam == ' ') {
        int index = ItemIndex();
        if (index >= 0) ToggleClickCheck(index);
        return 0;
    }
    return TListBox::WndProc(message, wParam, lParam);
}

void TCheckListBox::MeasureItem(MEASUREITEMSTRUCT* item)
{
    item->itemHeight = ItemHeight;
}

void TCheckListBox::DrawItem(DRAWITEMSTRUCT* item)
{
    if (item->itemID == static_cast<UINT>(-1)) return;
    HDC dc = item->hDC;
    RECT r = item->rcItem;
    int index = static_cast<int>(item->itemID);
    bool selected = (item->itemState & ODS_SELECTED) != 0;

    RECT boxArea = r;
    boxArea.right = r.left + BoxLeft + BoxSize + 2;
    FillRect(dc, &boxArea, BackgroundBrush());
    RECT textArea = r;
    textArea.left = boxArea.right;
    FillRect(dc, &textArea, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : BackgroundBrush());

    RECT box = BoxRect(index);
    UINT flags = DFCS_BUTTONCHECK | DFCS_FLAT;
    TCheckBoxState state = State(index);
    if (state == cbChecked) flags |= DFCS_CHECKED;
    if (state == cbGrayed) flags |= DFCS_CHECKED | DFCS_INACTIVE;
    DrawFrameControl(dc, &box, DFC_BUTTON, flags);

    std::string text = Item(index);
    SetBkMode(dc, TRANSPARENT);
    COLORREF textColor = FontColor() != clDefault ? FontColor() : GetSysColor(COLOR_WINDOWTEXT);
    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : textColor);
    textArea.left += 2;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textArea,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (item->itemState & ODS_FOCUS) DrawFocusRect(dc, &textArea);
}
