// TStepNumerals: the wizard's step numeral, its text drawn twice in
// "Arial Black" at 96 pixels on a transparent background: a shadow 8 pixels
// right of and below the face. The control's own text is the numeral.
#pragma once
#include "PaintedControl.h"

class TStepNumerals : public TPaintedControl {
public:
    bool Create(TControl* parent, int id, int left, int top, int width, int height);

protected:
    void Paint(HDC dc, const RECT& client) override;
};
