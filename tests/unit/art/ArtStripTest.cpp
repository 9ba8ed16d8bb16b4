// The picture strips load as the forms load them (LoadImage from a file, then
// ImageList_Add with the mask), and every cell draws a picture with a clean
// transparent surround: each pixel either shows the backdrop or the picture.
#include "VtTest.h"
#include <commctrl.h>
#include <gtest/gtest.h>

namespace {
struct Strip {
    const char* name;
    int cells;
};
const Strip Strips[] = {{"menu", 8}, {"folders", 7}, {"glyphs", 11}};

HBITMAP LoadBitmapFile(const std::string& path)
{
    return static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

BITMAP Describe(HBITMAP bitmap)
{
    BITMAP bm = {};
    GetObjectA(bitmap, sizeof bm, &bm);
    return bm;
}

// The 256 pixels of one cell drawn on a backdrop of the given colour.
std::vector<COLORREF> DrawCell(HIMAGELIST list, int cell, COLORREF backdrop)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, CreateCompatibleBitmap(screen, 16, 16));
    HBRUSH brush = CreateSolidBrush(backdrop);
    RECT all = {0, 0, 16, 16};
    FillRect(dc, &all, brush);
    ImageList_Draw(list, cell, dc, 0, 0, ILD_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) pixels.push_back(GetPixel(dc, x, y));
    DeleteObject(brush);
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}
}  // namespace

TEST(ArtStrips, EveryCellDrawsThroughItsMask)
{
    InitCommonControls();
    for (const Strip& strip : Strips) {
        SCOPED_TRACE(strip.name);
        HBITMAP colour = LoadBitmapFile(VT_ART_DIR + std::string(strip.name) + ".bmp");
        HBITMAP mask = LoadBitmapFile(VT_ART_DIR + std::string(strip.name) + "mask.bmp");
        ASSERT_TRUE(colour && mask);
        EXPECT_EQ(Describe(colour).bmWidth, strip.cells * 16);
        EXPECT_EQ(Describe(colour).bmHeight, 16);
        EXPECT_EQ(Describe(mask).bmWidth, strip.cells * 16);
        EXPECT_EQ(Describe(mask).bmBitsPixel, 1);

        HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, strip.cells, 0);
        EXPECT_EQ(ImageList_Add(list, colour, mask), 0);
        EXPECT_EQ(ImageList_GetImageCount(list), strip.cells);
        const COLORREF magenta = RGB(255, 0, 255), green = RGB(0, 255, 0);
        for (int cell = 0; cell < strip.cells; ++cell) {
            std::vector<COLORREF> onMagenta = DrawCell(list, cell, magenta), onGreen = DrawCell(list, cell, green);
            int transparent = 0, garbled = 0, black = 0;
            for (size_t i = 0; i < onMagenta.size(); ++i) {
                if (onMagenta[i] == onGreen[i]) {
                    black += onMagenta[i] == RGB(0, 0, 0);
                    continue;
                }
                ++transparent;
                garbled += onMagenta[i] != magenta || onGreen[i] != green;
            }
            const int opaque = 16 * 16 - transparent;
            EXPECT_GT(transparent, 0) << "cell " << cell;
            EXPECT_GT(opaque, 8) << "cell " << cell;
            EXPECT_EQ(garbled, 0) << "cell " << cell;
            EXPECT_LT(black, opaque / 2) << "cell " << cell << ": a silhouette, not a picture";
        }
        ImageList_Destroy(list);
        DeleteObject(colour);
        DeleteObject(mask);
    }
}

TEST(ArtStrips, FolderPicturesLieBesideThePrograms)
{
    for (const char* name : {"folders.bmp", "foldersmask.bmp"}) {
        HBITMAP shipped = LoadBitmapFile(BinDir() + name);
        EXPECT_TRUE(shipped) << name;
        DeleteObject(shipped);
    }
}
