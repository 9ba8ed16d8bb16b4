// TPageControl: a tab control (WC_TABCONTROL) with one sheet per tab. The
// sheets are panels placed over the tab control's display area as its
// siblings (so Tab moves through their controls), moved with it when it
// moves or changes size; only the active one is shown. OnChange runs when
// the user picks a tab, not when the program sets the active page.
#pragma once
#include "Panel.h"

#include <vector>

class TTabSheet : public TPanel {};

class TPageControl : public TControl {
public:
    bool Create(TControl* parent, int id, int left, int top, int width, int height);
    // Adds a tab with this caption and its sheet, created by this call.
    bool AddSheet(TTabSheet& sheet, int sheetId, const std::string& caption);
    int PageCount() const { return static_cast<int>(sheets_.size()); }
    TTabSheet* Page(int index) const { return sheets_.at(static_cast<size_t>(index)); }
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);

    LRESULT Notify(NMHDR* header) override;

    TNotifyEvent OnChange;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    RECT SheetBounds() const;
    void PlaceSheets();
    void ShowActiveSheet();

    std::vector<TTabSheet*> sheets_;
};
