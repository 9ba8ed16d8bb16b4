#include "RadioGroup.h"

bool TRadioGroup::Create(TControl* parent, int id, const std::string& caption, int left, int top, int width,
                         int height, const std::vector<std::string>& items, int columns)
{
    if (!TGroupBox::Create(parent, id, caption, left, top, width, height)) return false;
    columns_ = columns < 1 ? 1 : columns;
    for (size_t i = 0; i < items.size(); ++i) {
        DWORD style = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
        HWND button = CreateWindowExA(0, "BUTTON", items[i].c_str(), style, 0, 0, 10, 10, handle_,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id + 1 + static_cast<int>(i))),
                                      GetModuleHandleA(nullptr), nullptr);
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(StandardFont()), FALSE);
        buttons_.push_back(button);
    }
    ArrangeButtons();
    return true;
}

// Rows share the height below the caption; columns share the width.
void TRadioGroup::ArrangeButtons()
{
    if (buttons_.empty()) return;
    RECT client = {};
    GetClientRect(handle_, &client);
    HDC dc = GetDC(handle_);
    HGDIOBJ old = SelectObject(dc, StandardFont());
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(handle_, dc);
    int count = static_cast<int>(buttons_.size());
    int perColumn = (count + columns_ - 1) / columns_;
    int buttonWidth = (client.right - 10) / columns_;
    int space = client.bottom - tm.tmHeight - 5;
    int buttonHeight = space / perColumn;
    int topMargin = tm.tmHeight + 1 + (space % perColumn) / 2;
    for (int i = 0; i < count; ++i)
        MoveWindow(buttons_[static_cast<size_t>(i)], (i / perColumn) * buttonWidth + 8,
                   (i % perColumn) * buttonHeight + topMargin, buttonWidth, buttonHeight, TRUE);
}

void TRadioGroup::SetItemIndex(int index)
{
    if (index == itemIndex_) return;
    for (size_t i = 0; i < buttons_.size(); ++i)
        SendMessageA(buttons_[i], BM_SETCHECK, static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED, 0);
    itemIndex_ = index;
    if (OnClick) OnClick(this);
}

LRESULT TRadioGroup::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        for (size_t i = 0; i < buttons_.size(); ++i)
            if (buttons_[i] == reinterpret_cast<HWND>(lParam)) {
                if (SendMessageA(buttons_[i], BM_GETCHECK, 0, 0) == BST_CHECKED && itemIndex_ != static_cast<int>(i)) {
                    itemIndex_ = static_cast<int>(i);
                    if (OnClick) OnClick(this);
                }
                return 0;
            }
    }
    if (message == WM_SIZE) ArrangeButtons();
    return TGroupBox::WndProc(message, wParam, lParam);
}
