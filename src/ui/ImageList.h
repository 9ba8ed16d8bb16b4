// TImageList: an image list of 16 x 16 cells with masks (ImageList_Create
// with ILC_MASK). It keeps the bitmaps it was given for as long as it lives,
// cuts colour and mask strips into cells, and draws a cell.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>

class TImageList {
public:
    TImageList() = default;
    TImageList(const TImageList&) = delete;
    TImageList& operator=(const TImageList&) = delete;
    ~TImageList();

    void Create(int width = 16, int height = 16);
    // Appends the pair; the list owns both bitmaps from now on.
    int Add(HBITMAP image, HBITMAP mask);
    // Cell i of the strips is the square from x = 16 i; as many cells as the
    // colour strip's width holds whole ones. Returns the number added.
    int AddStrip(HBITMAP colourStrip, HBITMAP maskStrip);
    int Count() const;
    HIMAGELIST Handle() const { return list_; }
    // The colour bitmap of cell index, or null.
    HBITMAP Image(int index) const;
    void Draw(HDC dc, int x, int y, int index) const;

private:
    HIMAGELIST list_ = nullptr;
    int width_ = 16;
    int height_ = 16;
    std::vector<HBITMAP> bitmaps_;
};

// A bitmap from a file, or null when it cannot be read.
HBITMAP LoadBitmapFile(const std::string& path);
// A bitmap of the program's resources by name, or null.
HBITMAP LoadBitmapResource(const char* name);
