#include "StepNumerals.h"

namespace {
constexpr int ShadowOffset = 8;
constexpr COLORREF ShadowColor = RGB(128, 160, 208);
constexpr COLORREF FaceColor = RGB(222, 235, 250);
}  // namespace

bool TStepNumerals::Create(TControl* parent, int id, int left, int top, int width, int height)
{
    RegisterOwnClass("TStepNumerals", CS_HREDRAW | CS_VREDRAW);
    if (!CreateHandle(parent, id, "TStepNumerals", "", WS_CHILD | WS_VISIBLE, 0, left, top, width, height))
        return false;
    // Arial Black is a face of weight 900; where it is missing the
    // substitute keeps that weight.
    SetFont("Arial Black", -96, FW_BLACK);
    return true;
}

void TStepNumerals::Paint(HDC dc, const RECT&)
{
    std::string numeral = Text();
    HGDIOBJ oldFont = SelectObject(dc, Font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ShadowColor);
    TextOutA(dc, ShadowOffset, ShadowOffset, numeral.c_str(), static_cast<int>(numeral.size()));
    SetTextColor(dc, FaceColor);
    TextOutA(dc, 0, 0, numeral.c_str(), static_cast<int>(numeral.size()));
    SelectObject(dc, oldFont);
}
