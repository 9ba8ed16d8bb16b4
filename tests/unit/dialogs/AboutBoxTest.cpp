// The About box: modeless and on top, closed by its button, Enter and Esc;
// what it shows.
#include "DialogForms.h"
#include "UAbout.h"
#include "UQAPass.h"

namespace {

class AboutBox : public DialogTest {};

bool Shown() { return IsWindowVisible(FAbout->Handle()) != FALSE; }

}  // namespace

TEST_F(AboutBox, CloseEnterAndEscHideIt) {
    struct Case {
        const char* name;
        std::function<void()> close;
    };
    const Case cases[] = {
        {"Enter", [] { PressKey(VK_RETURN); }},
        {"Esc", [] { PressKey(VK_ESCAPE); }},
        {"the Close button", [] { Click(FAbout->Button1.Handle()); }},
        {"the close box", [] { PostMessageA(FAbout->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Case& c : cases) {
        FAbout->Show();
        ASSERT_TRUE(PumpUntil(Shown)) << c.name;
        EXPECT_EQ(GetFocus(), FAbout->Button1.Handle()) << c.name;
        c.close();
        EXPECT_TRUE(PumpUntil([] { return !Shown(); })) << c.name;
    }
}

TEST_F(AboutBox, StaysOnTopInTheMiddleOfTheScreenWithItsTexts) {
    FAbout->Show();
    ASSERT_TRUE(PumpUntil(Shown));
    EXPECT_EQ(TextOf(FAbout->Handle()), "About Vantrel");
    EXPECT_TRUE(GetWindowLongA(FAbout->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT client = {}, window = {};
    GetClientRect(FAbout->Handle(), &client);
    GetWindowRect(FAbout->Handle(), &window);
    EXPECT_EQ(client.right, 380);
    EXPECT_EQ(client.bottom, 235);
    EXPECT_LE(std::abs((window.left + window.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
    EXPECT_LE(std::abs((window.top + window.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2), 1);
    EXPECT_EQ(TextOf(FAbout->Label1.Handle()), "version 1.0");
    EXPECT_EQ(TextOf(FAbout->Label3.Handle()), HomePageAddress);
    EXPECT_EQ(TextOf(FAbout->Label4.Handle()), SupportMailAddress);
    EXPECT_EQ(TextOf(FAbout->Label5.Handle()), AuthorsMailAddress);

    // The notice credits the icon set on one line that the box shows whole.
    std::string notice = TextOf(FAbout->Notice.Handle());
    EXPECT_NE(notice.find("famfamfam Silk"), std::string::npos) << notice;
    EXPECT_NE(notice.find("Creative Commons Attribution 2.5"), std::string::npos) << notice;
    HDC dc = GetDC(FAbout->Notice.Handle());
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(FAbout->Notice.Handle(), WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32A(dc, notice.c_str(), static_cast<int>(notice.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(FAbout->Notice.Handle(), dc);
    RECT noticeRect = FAbout->Notice.BoundsRect();
    EXPECT_LE(size.cx, noticeRect.right - noticeRect.left);
    EXPECT_LE(noticeRect.right, client.right);
    Click(FAbout->Button1.Handle());
    EXPECT_TRUE(PumpUntil([] { return !Shown(); }));
}

TEST_F(AboutBox, PicturesComeFromTheProgramsResources) {
    struct Case {
        const char* name;
        HWND image;
        LONG width, height;
    };
    const Case cases[] = {
        {"the About box's program picture", FAbout->Image1.Handle(), 64, 64},
        {"the About box's logo", FAbout->Image2.Handle(), 202, 37},
        {"the password dialog's picture", FQPass->Image1.Handle(), 35, 47},
    };
    for (const Case& c : cases) {
        auto bitmap = reinterpret_cast<HBITMAP>(SendMessageA(c.image, STM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP info = {};
        ASSERT_TRUE(bitmap && GetObjectA(bitmap, sizeof info, &info)) << c.name;
        EXPECT_EQ(info.bmWidth, c.width) << c.name;
        EXPECT_EQ(info.bmHeight, c.height) << c.name;
    }
}
