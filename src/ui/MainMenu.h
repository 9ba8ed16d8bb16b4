// TMainMenu: a menu bar whose every item, separators included, is owner
// drawn by the item's own handler (OnAdvancedDrawItem for the bar,
// OnDrawItem for drop-down items). It sizes the items to fit a 16 x 16 icon,
// the caption and the shortcut text, runs OnClick for a command (menu or
// accelerator) and answers the items' access keys.
#pragma once
#include "MenuItem.h"

#include <memory>
#include <vector>

class TImageList;

class TMainMenu {
public:
    TMainMenu() = default;
    TMainMenu(const TMainMenu&) = delete;
    TMainMenu& operator=(const TMainMenu&) = delete;
    ~TMainMenu();

    void Create(const TImageList* images);
    // A menu bar item (parent null) or an item of parent's drop-down.
    TMenuItem* Add(TMenuItem* parent, int id, const char* name, const std::string& caption, unsigned shortCut = 0,
                   int imageIndex = -1);
    HMENU Handle() const { return menu_; }
    const TImageList* Images() const { return images_; }
    TMenuItem* Find(int id) const;
    const std::vector<std::unique_ptr<TMenuItem>>& Items() const { return items_; }

    // Called by the form.
    bool Command(int id);
    void MeasureItem(MEASUREITEMSTRUCT* item);
    void DrawItem(DRAWITEMSTRUCT* item);
    LRESULT MenuChar(char key, HMENU menu);

private:
    TMenuItem* FromData(ULONG_PTR data) const;

    HMENU menu_ = nullptr;
    const TImageList* images_ = nullptr;
    std::vector<std::unique_ptr<TMenuItem>> items_;
};
