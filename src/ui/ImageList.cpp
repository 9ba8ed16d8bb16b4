#include "ImageList.h"

namespace {

// A new bitmap holding one cell of strip: colour cells like the screen,
// mask cells monochrome.
HBITMAP CutCell(HBITMAP strip, int x, int width, int height, bool monochrome)
{
    HDC screen = GetDC(nullptr);
    HBITMAP cell = monochrome ? CreateBitmap(width, height, 1, 1, nullptr)
                              : CreateCompatibleBitmap(screen, width, height);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    HGDIOBJ oldFrom = SelectObject(from, strip);
    HGDIOBJ oldTo = SelectObject(to, cell);
    BitBlt(to, 0, 0, width, height, from, x, 0, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(nullptr, screen);
    return cell;
}

}  // namespace

TImageList::~TImageList()
{
    if (list_) ImageList_Destroy(list_);
    for (HBITMAP bitmap : bitmaps_) DeleteObject(bitmap);
}

void TImageList::Create(int width, int height)
{
    width_ = width;
    height_ = height;
    list_ = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 8, 8);
}

int TImageList::Add(HBITMAP image, HBITMAP mask)
{
    bitmaps_.push_back(image);
    bitmaps_.push_back(mask);
    return ImageList_Add(list_, image, mask);
}

int TImageList::AddStrip(HBITMAP colourStrip, HBITMAP maskStrip)
{
    BITMAP info = {};
    if (!colourStrip || !maskStrip || !GetObjectA(colourStrip, sizeof info, &info)) return 0;
    int cells = info.bmWidth / width_;
    for (int i = 0; i < cells; ++i)
        Add(CutCell(colourStrip, i * width_, width_, height_, false),
            CutCell(maskStrip, i * width_, width_, height_, true));
    return cells;
}

int TImageList::Count() const
{
    return list_ ? ImageList_GetImageCount(list_) : 0;
}

HBITMAP TImageList::Image(int index) const
{
    size_t at = static_cast<size_t>(index) * 2;
    return index >= 0 && at < bitmaps_.size() ? bitmaps_[at] : nullptr;
}

void TImageList::Draw(HDC dc, int x, int y, int index) const
{
    if (list_ && index >= 0 && index < Count()) ImageList_Draw(list_, index, dc, x, y, ILD_TRANSPARENT);
}

HBITMAP LoadBitmapFile(const std::string& path)
{
    return static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

HBITMAP LoadBitmapResource(const char* name)
{
    return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, 0));
}
