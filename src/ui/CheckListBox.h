// TCheckListBox: a list whose lines carry a check box with three states
// (an owner-drawn LISTBOX). The state of line i is its item data, so another
// process reads it with LB_GETITEMDATA: 0 unchecked, 1 checked, 2 grayed. A
// click on a line's box, or Space on the focused line, moves it through
// unchecked, grayed, checked (grayed is skipped without AllowGrayed) and then
// runs OnClickCheck; SetState runs nothing.
#pragma once
#include "ListBox.h"

enum TCheckBoxState { cbUnchecked = 0, cbChecked = 1, cbGrayed = 2 };

class TCheckListBox : public TListBox {
public:
    bool Create(TControl* parent, int id, int left, int top, int width, int height);
    void SetAllowGrayed(bool allow) { allowGrayed_ = allow; }
    TCheckBoxState State(int index) const;
    void SetState(int index, TCheckBoxState state);
    // The box of line index in client pixels (also for tests that click it).
    RECT BoxRect(int index) const;

    void DrawItem(DRAWITEMSTRUCT* item) override;
    void MeasureItem(MEASUREITEMSTRUCT* item) override;

    TNotifyEvent OnClickCheck;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ToggleClickCheck(int index);

    bool allowGrayed_ = false;
};
