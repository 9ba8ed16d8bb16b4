// Keys and clicks from the X server reach a window of this process as a
// person's would.
#include "VtTest.h"
#include <gtest/gtest.h>

TEST(XInput, KeysAndClicksReachTheWindow)
{
    HWND form = CreateWindowExA(0, "#32770", "X input", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 100, 100, 300, 150,
                                nullptr, nullptr, nullptr, nullptr);
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 22, form, nullptr,
                                nullptr, nullptr);
    HWND box = CreateWindowExA(0, "BUTTON", "Check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 50, 200, 22, form,
                               nullptr, nullptr, nullptr);
    ASSERT_TRUE(form && edit && box);
    EXPECT_TRUE(XFocus(form));
    SetFocus(edit);
    EXPECT_TRUE(XKeys("v t shift+x BackSpace"));
    char text[32] = {};
    EXPECT_TRUE(WaitFor([&] { return GetWindowTextA(edit, text, sizeof text) == 2; }, 5000));
    EXPECT_STREQ(text, "vt");

    RECT rect;
    GetWindowRect(box, &rect);
    EXPECT_TRUE(XClick(rect.left + 6, (rect.top + rect.bottom) / 2));
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 5000));
    DestroyWindow(form);
}

TEST(XInput, AFailingCommandIsReported)
{
    EXPECT_FALSE(XDoTool("no-such-command"));
}
