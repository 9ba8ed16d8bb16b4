// TGroupBox: a container of our own class ("TGroupBox") drawn as a group:
// an etched frame with its caption at the top left, on its colour.
#pragma once
#include "Panel.h"

class TGroupBox : public TPanel {
public:
    bool Create(TControl* parent, int id, const std::string& caption, int left, int top, int width, int height)
    {
        return CreateContainer(parent, id, "TGroupBox", caption, left, top, width, height);
    }

protected:
    void Paint(HDC dc, const RECT& client) override
    {
        HGDIOBJ oldFont = SelectObject(dc, Font() ? Font() : StandardFont());
        TEXTMETRICA tm = {};
        GetTextMetricsA(dc, &tm);
        RECT frame = client;
        frame.top = tm.tmHeight / 2;
        DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
        std::string caption = Text();
        if (!caption.empty()) {
            SIZE size = {};
            GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
            RECT textRect = {8, 0, 8 + size.cx + 4, tm.tmHeight};
            FillRect(dc, &textRect, BackgroundBrush());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, FontColor() != clDefault ? FontColor() : GetSysColor(COLOR_BTNTEXT));
            TextOutA(dc, 10, 0, caption.c_str(), static_cast<int>(caption.size()));
        }
        SelectObject(dc, oldFont);
    }
};
