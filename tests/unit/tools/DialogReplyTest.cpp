// The boxanswer tool answers a program's own modal window (not a "#32770"
// box) by its caption: it types into its fields, clicks its check box and
// presses its buttons, and answers it again after a message box over it.
#include "VtTest.h"
#include <gtest/gtest.h>

namespace {

enum { IdPassword = 101, IdHide = 102 };
const char Caption[] = "Change password";

// A small form as the manager builds them: an edit limited to 5 characters,
// a check box and OK, which refuses an empty field with a message box.
struct PasswordForm {
    HWND window = nullptr;
    std::string accepted;
    bool hideChecked = false;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* form = reinterpret_cast<PasswordForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message != WM_COMMAND || LOWORD(wParam) != IDOK || !form)
            return DefWindowProcA(window, message, wParam, lParam);
        char text[64] = {};
        GetDlgItemTextA(window, IdPassword, text, sizeof text);
        if (!*text) {
            MessageBoxA(window, "Password cannot be empty.", Caption, MB_OK | MB_ICONWARNING);
            return 0;
        }
        form->accepted = text;
        form->hideChecked = IsDlgButtonChecked(window, IdHide) == BST_CHECKED;
        DestroyWindow(window);
        return 0;
    }

    void Create()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VtTestForm";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, wc.lpszClassName, Caption, WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 100, 100, 300,
                                 150, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        auto child = [this](const char* cls, const char* text, DWORD style, int y, int id) {
            CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, y, 200, 22, window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        };
        child("EDIT", "", WS_BORDER, 10, IdPassword);
        child("BUTTON", "Hide typing", BS_AUTOCHECKBOX, 40, IdHide);
        child("BUTTON", "OK", BS_DEFPUSHBUTTON, 70, IDOK);
        SendDlgItemMessageA(window, IdPassword, EM_LIMITTEXT, 5, 0);
    }
};

}  // namespace

TEST(DialogReplies, TypeClickAndPressInTheProgramsOwnWindow)
{
    BoxAnswerer answerer({BoxReply(Caption).Press("ok"), BoxReply(Caption),
                          BoxReply(Caption).Keys(IdPassword, "abcdefgh").Click(IdHide).Press(IDOK)});
    PasswordForm form;
    form.Create();
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(form.window); }, 20000));
    EXPECT_EQ(form.accepted, "abcde") << "typed one key at a time, within the field's limit";
    EXPECT_TRUE(form.hideChecked);
    std::vector<SeenBox> seen = answerer.WaitSeen(3);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].caption, Caption);
    EXPECT_EQ(seen[0].text, "");
    EXPECT_EQ(seen[0].buttons, "ok");
    EXPECT_EQ(seen[1].caption, Caption);
    EXPECT_EQ(seen[1].text, "Password cannot be empty.");
    EXPECT_EQ(seen[1].icon, "warning");
    EXPECT_EQ(seen[2].caption, Caption);
    if (IsWindow(form.window)) DestroyWindow(form.window);
}
