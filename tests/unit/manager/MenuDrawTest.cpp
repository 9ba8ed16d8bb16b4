// The owner-drawn main menu: items drawn by the window's own handlers, sent
// WM_DRAWITEM with a memory bitmap, read back pixel by pixel.
#include "ManagerIds.h"
#include "ManagerTest.h"

#include <string>

namespace {

constexpr int Width = 200;
constexpr int Height = 20;
const COLORREF Line = RGB(96, 96, 96);
const COLORREF Selection = RGB(182, 189, 210);
const COLORREF Untouched = RGB(255, 0, 255);

// A memory bitmap with the menu's font, painted magenta before each item.
class MenuCanvas {
public:
    MenuCanvas()
    {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, Width, Height);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bitmap_);
        NONCLIENTMETRICSA metrics = {};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        font_ = CreateFontIndirectA(&metrics.lfMenuFont);
        SelectObject(dc_, font_);
    }
    ~MenuCanvas()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteObject(font_);
        DeleteDC(dc_);
    }
    // Draws the item as the system asks the window to.
    void Draw(int id, UINT state)
    {
        RECT all = {0, 0, Width, Height};
        HBRUSH magenta = CreateSolidBrush(Untouched);
        FillRect(dc_, &all, magenta);
        DeleteObject(magenta);
        TMenuItem* item = Form1->MainMenu1.Find(id);
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_MENU;
        draw.itemID = static_cast<UINT>(id);
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = state;
        draw.hwndItem = reinterpret_cast<HWND>(Form1->MainMenu1.Handle());
        draw.hDC = dc_;
        draw.rcItem = all;
        draw.itemData = reinterpret_cast<ULONG_PTR>(item);
        SendMessageA(Form1->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    int TextWidth(const std::string& text) const
    {
        SIZE size = {};
        GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    // How many pixels of row y from x0 to x1 (exclusive) have the colour.
    int Count(int y, int x0, int x1, COLORREF color) const
    {
        int n = 0;
        for (int x = x0; x < x1; ++x) n += At(x, y) == color;
        return n;
    }
    HDC Dc() const { return dc_; }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HFONT font_;
    HGDIOBJ old_;
};

class MenuDrawing : public ManagerWindow {
protected:
    MenuCanvas canvas;
};

}  // namespace

TEST_F(MenuDrawing, DropDownItemHasTheWhiteStripTheGreyLineAndItsIcon) {
    canvas.Draw(IDM_Newprofile1, 0);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int y = 0; y < Height; ++y) {
        EXPECT_EQ(canvas.At(0, y), RGB(255, 255, 255)) << y;
        EXPECT_EQ(canvas.At(19, y), RGB(255, 255, 255)) << y;
        EXPECT_EQ(canvas.At(20, y), Line) << y;
        EXPECT_EQ(canvas.At(21, y), face) << y;
    }
    EXPECT_EQ(canvas.At(Width - 1, 0), face);

    // The icon, cell 0 of the menu strip, at (2, 2) on the white strip.
    MenuCanvas reference;
    RECT white = {0, 0, Width, Height};
    FillRect(reference.Dc(), &white, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ASSERT_EQ(Form1->ImageMenu.Count(), 8);
    Form1->ImageMenu.Draw(reference.Dc(), 2, 2, 0);
    int differing = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) differing += canvas.At(x, y) != reference.At(x, y);
    EXPECT_EQ(differing, 0);
}

TEST_F(MenuDrawing, SelectionIsFilledAndOutlinedOnBothLevels) {
    for (int id : {IDM_Newprofile1, IDM_File1}) {
        canvas.Draw(id, ODS_SELECTED);
        for (POINT corner : {POINT{0, 0}, POINT{Width - 1, 0}, POINT{0, Height - 1}, POINT{Width - 1, Height - 1}})
            EXPECT_EQ(canvas.At(corner.x, corner.y), Line) << id;
        EXPECT_EQ(canvas.At(Width / 2, 1), Selection) << id;
        EXPECT_EQ(canvas.At(Width - 2, Height - 2), Selection) << id;
    }
}

TEST_F(MenuDrawing, SeparatorIsALineAtFivePixels) {
    canvas.Draw(IDM_N2, 0);
    EXPECT_EQ(canvas.Count(5, 0, Width, Line), Width);
    EXPECT_EQ(canvas.Count(4, 21, Width, GetSysColor(COLOR_BTNFACE)), Width - 21);
}

TEST_F(MenuDrawing, TheCharacterAfterTheAmpersandOrElseTheFirstIsUnderlined) {
    struct Case {
        int id;
        int left;    // where the caption starts
        const char* before;
        const char* underlined;
        const char* rest;
    };
    const Case cases[] = {
        {IDM_About1, 25, "", "A", "bout"},
        {IDM_Settings1, 25, "S", "e", "ttings"},
        {IDM_File1, 5, "", "F", "ile"},
    };
    const COLORREF text = GetSysColor(COLOR_MENUTEXT);
    for (const Case& c : cases) {
        canvas.Draw(c.id, 0);
        int x0 = c.left + canvas.TextWidth(c.before);
        int x1 = x0 + canvas.TextWidth(c.underlined);
        int x2 = x1 + canvas.TextWidth(c.rest);
        int row = -1;
        for (int y = 0; y < Height && row < 0; ++y)
            if (canvas.Count(y, x0, x1, text) == x1 - x0) row = y;
        ASSERT_GE(row, 0) << c.underlined;
        EXPECT_EQ(canvas.Count(row, c.left, x0, text), 0) << c.before;
        EXPECT_EQ(canvas.Count(row, x1 + 1, x2, text), 0) << c.rest;
    }
}
