#include "PageControl.h"

#include <commctrl.h>

bool TPageControl::Create(TControl* parent, int id, int left, int top, int width, int height)
{
    return CreateHandle(parent, id, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0,
                        left, top, width, height);
}

RECT TPageControl::SheetBounds() const
{
    RECT r = {};
    GetClientRect(handle_, &r);
    TabCtrl_AdjustRect(handle_, FALSE, &r);
    MapWindowPoints(handle_, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool TPageControl::AddSheet(TTabSheet& sheet, int sheetId, const std::string& caption)
{
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(caption.c_str());
    int index = static_cast<int>(sheets_.size());
    SendMessageA(handle_, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
    RECT r = SheetBounds();
    if (!sheet.Create(Parent(), sheetId, r.left, r.top, r.right - r.left, r.bottom - r.top, TBevel::None))
        return false;
    // Directly above the tab control, so the sheet is painted over it and
    // comes next to it in the Tab order.
    HWND above = GetWindow(handle_, GW_HWNDPREV);
    SetWindowPos(sheet.Handle(), above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    sheets_.push_back(&sheet);
    ShowActiveSheet();
    return true;
}

int TPageControl::ActivePageIndex() const
{
    return static_cast<int>(SendMessageA(handle_, TCM_GETCURSEL, 0, 0));
}

void TPageControl::SetActivePageIndex(int index)
{
    SendMessageA(handle_, TCM_SETCURSEL, index, 0);
    ShowActiveSheet();
}

void TPageControl::ShowActiveSheet()
{
    int active = ActivePageIndex();
    for (size_t i = 0; i < sheets_.size(); ++i)
        if (static_cast<int>(i) != active) sheets_[i]->SetVisible(false);
    if (active >= 0 && active < PageCount()) sheets_[static_cast<size_t>(active)]->SetVisible(true);
}

void TPageControl::PlaceSheets()
{
    RECT r = SheetBounds();
    for (TTabSheet* sheet : sheets_) MoveWindow(sheet->Handle(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

LRESULT TPageControl::Notify(NMHDR* header)
{
    if (header->code == TCN_SELCHANGE) {
        ShowActiveSheet();
        if (OnChange) OnChange(this);
    }
    return 0;
}

LRESULT TPageControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = TControl::WndProc(message, wParam, lParam);
    if (message == WM_WINDOWPOSCHANGED) PlaceSheets();
    return result;
}
