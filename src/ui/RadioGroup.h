// TRadioGroup: a group box holding a column (or several) of radio buttons
// (BUTTON, BS_AUTORADIOBUTTON), laid out as a classic radio group. Button i
// has the identifier Id() + 1 + i. ItemIndex is the checked one (-1 none);
// OnClick runs when the user picks another button and when SetItemIndex
// changes the choice.
#pragma once
#include "GroupBox.h"

#include <vector>

class TRadioGroup : public TGroupBox {
public:
    bool Create(TControl* parent, int id, const std::string& caption, int left, int top, int width, int height,
                const std::vector<std::string>& items, int columns = 1);
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    HWND Button(int index) const { return buttons_.at(static_cast<size_t>(index)); }

    TNotifyEvent OnClick;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ArrangeButtons();

    std::vector<HWND> buttons_;
    int columns_ = 1;
    int itemIndex_ = -1;
};
