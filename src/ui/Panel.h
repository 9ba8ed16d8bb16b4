// TPanel: a container window of our own class ("TPanel") in its colour, with
// an optional one-pixel raised or lowered bevel. Its children take part in
// Tab navigation (WS_EX_CONTROLPARENT) and their notifications are reflected.
#pragma once
#include "Control.h"

enum class TBevel { None, Raised, Lowered };

class TPanel : public TControl {
public:
    bool Create(TControl* parent, int id, int left, int top, int width, int height, TBevel bevel = TBevel::Raised);
    void SetBevel(TBevel bevel);

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool CreateContainer(TControl* parent, int id, const char* className, const std::string& caption, int left,
                         int top, int width, int height);
    // Paints what lies on the background: the bevel; a group box's frame.
    virtual void PaintFrame(HDC dc, const RECT& client);

private:
    TBevel bevel_ = TBevel::Raised;
};
