#include "MainMenu.h"

#include <cctype>

namespace {

constexpr int DropDownHeight = 20;
constexpr int SeparatorHeight = 10;

SIZE MenuTextSize(const std::string& text)
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectA(&metrics.lfMenuFont);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return size;
}

std::string WithoutAmpersand(const std::string& caption)
{
    std::string text = caption;
    size_t amp = text.find('&');
    if (amp != std::string::npos) text.erase(amp, 1);
    return text;
}

}  // namespace

TMainMenu::~TMainMenu()
{
    if (menu_ && IsMenu(menu_)) DestroyMenu(menu_);
}

void TMainMenu::Create(const TImageList* images)
{
    images_ = images;
    menu_ = CreateMenu();
}

TMenuItem* TMainMenu::Add(TMenuItem* parent, int id, const char* name, const std::string& caption,
                          unsigned shortCut, int imageIndex)
{
    auto item = std::make_unique<TMenuItem>();
    item->Id = id;
    item->Name = name;
    item->Caption = caption;
    item->ShortCut = shortCut;
    item->ImageIndex = imageIndex;
    item->Parent = parent;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
    info.fType = MFT_OWNERDRAW | (item->IsLine() ? MFT_SEPARATOR : 0);
    info.wID = static_cast<UINT>(id);
    info.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
    if (!parent) {
        item->SubMenu = CreatePopupMenu();
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = item->SubMenu;
    }
    HMENU into = parent ? parent->SubMenu : menu_;
    InsertMenuItemA(into, GetMenuItemCount(into), TRUE, &info);
    items_.push_back(std::move(item));
    return items_.back().get();
}

TMenuItem* TMainMenu::Find(int id) const
{
    for (const auto& item : items_)
        if (item->Id == id) return item.get();
    return nullptr;
}

TMenuItem* TMainMenu::FromData(ULONG_PTR data) const
{
    for (const auto& item : items_)
        if (reinterpret_cast<ULONG_PTR>(item.get()) == data) return item.get();
    return nullptr;
}

bool TMainMenu::Command(int id)
{
    TMenuItem* item = Find(id);
    if (!item || !item->Parent) return false;
    if (item->OnClick) item->OnClick(item);
    return true;
}

void TMainMenu::MeasureItem(MEASUREITEMSTRUCT* measure)
{
    TMenuItem* item = FromData(measure->itemData);
    if (!item) return;
    SIZE caption = MenuTextSize(WithoutAmpersand(item->Caption));
    if (!item->Parent) {
        measure->itemWidth = static_cast<UINT>(caption.cx + 10);
        measure->itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYMENU));
        return;
    }
    if (item->IsLine()) {
        measure->itemWidth = 25;
        measure->itemHeight = SeparatorHeight;
        return;
    }
    std::string shortCut = item->ShortCutText();
    int width = 25 + caption.cx + 10;
    if (!shortCut.empty()) width += 30 + MenuTextSize(shortCut).cx;
    measure->itemWidth = static_cast<UINT>(width);
    measure->itemHeight = DropDownHeight;
}

void TMainMenu::DrawItem(DRAWITEMSTRUCT* draw)
{
    TMenuItem* item = FromData(draw->itemData);
    if (!item) return;
    if (!item->Parent) {
        if (item->OnAdvancedDrawItem) item->OnAdvancedDrawItem(item, draw->hDC, draw->rcItem, draw->itemState);
    } else if (item->OnDrawItem) {
        item->OnDrawItem(item, draw->hDC, draw->rcItem, (draw->itemState & ODS_SELECTED) != 0);
    }
}

LRESULT TMainMenu::MenuChar(char key, HMENU menu)
{
    int position = 0;
    for (const auto& item : items_) {
        HMENU holder = item->Parent ? item->Parent->SubMenu : menu_;
        if (holder != menu) continue;
        if (!item->IsLine() && std::toupper(static_cast<unsigned char>(item->AccessKey())) ==
                                   std::toupper(static_cast<unsigned char>(key)))
            return MAKELRESULT(position, MNC_EXECUTE);
        ++position;
    }
    return MAKELRESULT(0, MNC_IGNORE);
}
