// TMenuItem: one item of a main or pop-up menu: its identifier (the
// WM_COMMAND it sends), component name, caption ("-" for a separator),
// shortcut, image index and events.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

// Shortcuts: a virtual key with these modifier bits.
constexpr unsigned scShift = 0x2000;
constexpr unsigned scCtrl = 0x4000;
constexpr unsigned scAlt = 0x8000;

struct TMenuItem {
    int Id = 0;
    std::string Name;
    std::string Caption;
    unsigned ShortCut = 0;
    int ImageIndex = -1;
    TMenuItem* Parent = nullptr;  // null for an item of the menu bar
    HMENU SubMenu = nullptr;      // the drop-down of a menu bar item

    std::function<void(TMenuItem* sender)> OnClick;
    // Drop-down items.
    std::function<void(TMenuItem* sender, HDC dc, const RECT& rect, bool selected)> OnDrawItem;
    // Menu bar items; state holds the ODS_ flags.
    std::function<void(TMenuItem* sender, HDC dc, const RECT& rect, UINT state)> OnAdvancedDrawItem;

    bool IsLine() const { return Caption == "-"; }
    // The shortcut as the system writes it: "Ctrl+N", "Alt+F4", "F6"; empty for none.
    std::string ShortCutText() const
    {
        if (!ShortCut) return std::string();
        std::string text;
        if (ShortCut & scShift) text += "Shift+";
        if (ShortCut & scCtrl) text += "Ctrl+";
        if (ShortCut & scAlt) text += "Alt+";
        unsigned key = ShortCut & 0xFF;
        if (key >= VK_F1 && key <= VK_F24) return text + "F" + std::to_string(key - VK_F1 + 1);
        return text + static_cast<char>(key);
    }
    // The access key: the character after the first "&", else the first one.
    char AccessKey() const
    {
        size_t amp = Caption.find('&');
        if (amp != std::string::npos && amp + 1 < Caption.size()) return Caption[amp + 1];
        return Caption.empty() ? '\0' : Caption[0];
    }
};
