#include "DialogForms.h"
#include "Application.h"
#include "UAbout.h"
#include "UQAPass.h"
#include "UQUPass.h"
#include "USettings.h"
#include "vrcmd.h"

#include <memory>

void DialogTest::SetUpTestSuite()
{
    static std::unique_ptr<TForm3> settings;
    static std::unique_ptr<TFQPass> administrator;
    static std::unique_ptr<TFAbout> about;
    static std::unique_ptr<TFQUPass> change;
    if (settings) return;
    Application.Initialize();
    settings = std::make_unique<TForm3>();
    administrator = std::make_unique<TFQPass>();
    about = std::make_unique<TFAbout>();
    change = std::make_unique<TFQUPass>();
    Form3 = settings.get();
    FQPass = administrator.get();
    FAbout = about.get();
    FQUPass = change.get();
    ASSERT_TRUE(Form3->Create() && FQPass->Create() && FAbout->Create() && FQUPass->Create());
}

void DialogTest::SetUp()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY);
}

std::string TextOf(HWND window)
{
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void ClearField(HWND edit)
{
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, VK_BACK, 1);
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) Application.HandleMessage(msg, nullptr);
        Sleep(10);
    }
    return true;
}
