// TPanel: a container window of our own class ("TPanel") in its colour, with
// an optional one-pixel raised or lowered bevel. Its children take part in
// Tab navigation (WS_EX_CONTROLPARENT) and their notifications are reflected.
#pragma once
#include "PaintedControl.h"

enum class TBevel { None, Raised, Lowered };

class TPanel : public TPaintedControl {
public:
    bool Create(TControl* parent, int id, int left, int top, int width, int height, TBevel bevel = TBevel::Raised);
    void SetBevel(TBevel bevel);

protected:
    bool CreateContainer(TControl* parent, int id, const char* className, const std::string& caption, int left,
                         int top, int width, int height);
    // The bevel.
    void Paint(HDC dc, const RECT& client) override;

private:
    TBevel bevel_ = TBevel::Raised;
};
