#include "DialogForms.h"
#include "Application.h"
#include "UProfiles.h"
#include "Unit1.h"
#include "vrcmd.h"

void DialogTest::SetUpTestSuite()
{
    static bool created = false;
    if (created) return;
    created = true;
    Application.Initialize();
    ASSERT_TRUE(CreateManagerForms());
}

void DialogTest::SetUp()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, SettingsKey);
    GlobalSettings = TGlobalSettings();
    LoadSettings();
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
