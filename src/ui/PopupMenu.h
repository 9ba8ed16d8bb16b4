// TPopupMenu: a pop-up menu of plain items shown at a screen point; the
// chosen item's OnClick runs before Popup returns.
#pragma once
#include "MenuItem.h"

#include <memory>
#include <vector>

class TPopupMenu {
public:
    TPopupMenu() = default;
    TPopupMenu(const TPopupMenu&) = delete;
    TPopupMenu& operator=(const TPopupMenu&) = delete;
    ~TPopupMenu()
    {
        if (menu_) DestroyMenu(menu_);
    }

    TMenuItem* Add(int id, const char* name, const std::string& caption)
    {
        if (!menu_) menu_ = CreatePopupMenu();
        auto item = std::make_unique<TMenuItem>();
        item->Id = id;
        item->Name = name;
        item->Caption = caption;
        if (item->IsLine()) AppendMenuA(menu_, MF_SEPARATOR, static_cast<UINT_PTR>(id), nullptr);
        else AppendMenuA(menu_, MF_STRING, static_cast<UINT_PTR>(id), caption.c_str());
        items_.push_back(std::move(item));
        return items_.back().get();
    }
    HMENU Handle() const { return menu_; }
    const std::vector<std::unique_ptr<TMenuItem>>& Items() const { return items_; }

    void Popup(int x, int y, HWND owner)
    {
        SetForegroundWindow(owner);
        UINT chosen = TrackPopupMenu(menu_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0,
                                     owner, nullptr);
        PostMessageA(owner, WM_NULL, 0, 0);
        for (const auto& item : items_)
            if (chosen && item->Id == static_cast<int>(chosen) && item->OnClick) item->OnClick(item.get());
    }

private:
    HMENU menu_ = nullptr;
    std::vector<std::unique_ptr<TMenuItem>> items_;
};
