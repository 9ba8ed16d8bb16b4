#include "Panel.h"

bool TPanel::CreateContainer(TControl* parent, int id, const char* className, const std::string& caption, int left,
                             int top, int width, int height)
{
    RegisterOwnClass(className, CS_HREDRAW | CS_VREDRAW);
    return CreateHandle(parent, id, className, caption, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                        WS_EX_CONTROLPARENT, left, top, width, height);
}

bool TPanel::Create(TControl* parent, int id, int left, int top, int width, int height, TBevel bevel)
{
    bevel_ = bevel;
    return CreateContainer(parent, id, "TPanel", "", left, top, width, height);
}

void TPanel::SetBevel(TBevel bevel)
{
    bevel_ = bevel;
    Invalidate();
}

void TPanel::Paint(HDC dc, const RECT& client)
{
    RECT r = client;
    if (bevel_ == TBevel::Raised) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    if (bevel_ == TBevel::Lowered) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
}
