// TSpeedButton: a flat button of our own class ("TSpeedButton") that takes
// no focus: drawn without a border until the mouse is over it, sunken while
// pressed. With a group index it is a toggle that stays down; pressing one
// releases the others of its group on the same parent, and with AllowAllUp
// a second press releases it. Its glyph is a cell of an image list, drawn
// left of the caption, both centred; the caption has its own colour.
// BM_CLICK clicks it and BM_GETCHECK tells whether it is down, also from
// another process.
#pragma once
#include "PaintedControl.h"

class TImageList;

class TSpeedButton : public TPaintedControl {
public:
    bool Create(TControl* parent, int id, const std::string& caption, int left, int top, int width, int height);
    void SetGroupIndex(int group) { groupIndex_ = group; }
    void SetAllowAllUp(bool allow) { allowAllUp_ = allow; }
    bool Down() const { return down_; }
    void SetDown(bool down);
    void SetGlyph(const TImageList* images, int index);
    bool Hot() const { return hot_; }
    // As a click of the user: the toggle changes first, then OnClick runs.
    void Click();

    TNotifyEvent OnClick;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc, const RECT& client) override;

private:
    void ReleaseGroup();
    bool MouseInside(LPARAM lParam) const;

    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool down_ = false;
    bool hot_ = false;
    bool pressed_ = false;
    const TImageList* images_ = nullptr;
    int glyph_ = -1;
};
