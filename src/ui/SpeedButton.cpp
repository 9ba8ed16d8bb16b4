#include "SpeedButton.h"
#include "ImageList.h"

namespace {
constexpr int GlyphSize = 16;
constexpr int Spacing = 4;
}  // namespace

bool TSpeedButton::Create(TControl* parent, int id, const std::string& caption, int left, int top, int width,
                          int height)
{
    RegisterOwnClass("TSpeedButton", 0);
    return CreateHandle(parent, id, "TSpeedButton", caption, WS_CHILD | WS_VISIBLE, 0, left, top, width, height);
}

void TSpeedButton::SetGlyph(const TImageList* images, int index)
{
    images_ = images;
    glyph_ = index;
    Invalidate();
}

void TSpeedButton::ReleaseGroup()
{
    if (!Parent()) return;
    for (TControl* sibling : Parent()->Children()) {
        auto* button = dynamic_cast<TSpeedButton*>(sibling);
        if (button && button != this && button->groupIndex_ == groupIndex_ && button->down_) {
            button->down_ = false;
            button->Invalidate();
        }
    }
}

void TSpeedButton::SetDown(bool down)
{
    if (groupIndex_ == 0 || down == down_) return;
    down_ = down;
    if (down) ReleaseGroup();
    Invalidate();
}

void TSpeedButton::Click()
{
    if (groupIndex_ != 0) {
        if (!down_) SetDown(true);
        else if (allowAllUp_) SetDown(false);
    }
    if (OnClick) OnClick(this);
}

bool TSpeedButton::MouseInside(LPARAM lParam) const
{
    POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT r = {};
    GetClientRect(handle_, &r);
    return PtInRect(&r, p) != FALSE;
}

LRESULT TSpeedButton::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        if (!hot_) {
            hot_ = true;
            TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, handle_, 0};
            TrackMouseEvent(&track);
            Invalidate();
        }
        return 0;
    case WM_MOUSELEAVE:
        hot_ = false;
        Invalidate();
        return 0;
    case WM_LBUTTONDOWN:
        pressed_ = true;
        SetCapture(handle_);
        Invalidate();
        return 0;
    case WM_LBUTTONUP:
        if (pressed_) {
            pressed_ = false;
            ReleaseCapture();
            Invalidate();
            if (MouseInside(lParam)) Click();
        }
        return 0;
    case WM_CAPTURECHANGED:
        pressed_ = false;
        Invalidate();
        return 0;
    case BM_CLICK: Click(); return 0;
    case BM_GETCHECK: return down_ ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK: SetDown(wParam == BST_CHECKED); return 0;
    case WM_ENABLE: Invalidate(); return 0;
    default: return TPaintedControl::WndProc(message, wParam, lParam);
    }
}

void TSpeedButton::Paint(HDC dc, const RECT& client)
{
    RECT r = client;
    bool sunken = down_ || (pressed_ && hot_);
    if (sunken) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    else if (hot_ && Enabled()) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);

    std::string caption = Text();
    HGDIOBJ oldFont = SelectObject(dc, Font() ? Font() : StandardFont());
    SIZE text = {};
    if (!caption.empty()) GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    bool glyph = images_ && glyph_ >= 0 && glyph_ < images_->Count();
    int contentWidth = (glyph ? GlyphSize : 0) + (glyph && text.cx ? Spacing : 0) + text.cx;
    int offset = sunken ? 1 : 0;
    int x = (r.right - contentWidth) / 2 + offset;
    if (glyph) {
        images_->Draw(dc, x, (r.bottom - GlyphSize) / 2 + offset, glyph_);
        x += GlyphSize + Spacing;
    }
    if (text.cx) {
        SetBkMode(dc, TRANSPARENT);
        COLORREF color = FontColor() != clDefault ? FontColor() : GetSysColor(COLOR_BTNTEXT);
        SetTextColor(dc, Enabled() ? color : GetSysColor(COLOR_GRAYTEXT));
        TextOutA(dc, x, (r.bottom - text.cy) / 2 + offset, caption.c_str(), static_cast<int>(caption.size()));
    }
    SelectObject(dc, oldFont);
}
