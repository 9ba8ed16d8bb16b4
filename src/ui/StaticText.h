// TStaticText: a help box: word-wrapped static text with a soft bevel
// (WS_EX_STATICEDGE), its own background and text colour.
#pragma once
#include "Label.h"

class TStaticText : public TLabel {
public:
    bool Create(TControl* parent, int id, const std::string& caption, int left, int top, int width, int height)
    {
        return CreateStatic(parent, id, caption, left, top, width, height, TAlignment::Left, true,
                            WS_EX_STATICEDGE);
    }
    HBRUSH CtlColor(HDC dc) override
    {
        SetBkMode(dc, OPAQUE);
        return TControl::CtlColor(dc);
    }
};
