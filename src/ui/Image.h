// TImage: a picture (STATIC, SS_BITMAP) showing a bitmap that its owner
// keeps alive, at the bitmap's own size.
#pragma once
#include "Control.h"

class TImage : public TControl {
public:
    bool Create(TControl* parent, int id, int left, int top, int width, int height)
    {
        return CreateHandle(parent, id, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP, 0, left, top, width, height);
    }
    void SetBitmap(HBITMAP bitmap) { SendMessageA(handle_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)); }
};
