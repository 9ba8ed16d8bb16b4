#include "Application.h"

#include <commctrl.h>

TApplication Application;

void TApplication::Initialize()
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
}

void TApplication::SetMainForm(TForm* form)
{
    TForm::SetMainForm(form, [this] { Terminate(); });
}

bool TApplication::HandleMessage(MSG& msg, HACCEL accelerators)
{
    if (msg.message == WM_QUIT) return false;
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    HWND main = MainForm() ? MainForm()->Handle() : nullptr;
    if (accelerators && main && root == main && TranslateAcceleratorA(main, accelerators, &msg)) return true;
    DispatchFormMessage(msg);
    return true;
}

void TApplication::Run(HACCEL accelerators)
{
    MSG msg;
    while (!terminated_ && GetMessageA(&msg, nullptr, 0, 0) > 0) HandleMessage(msg, accelerators);
}

void TApplication::Terminate()
{
    terminated_ = true;
    PostQuitMessage(0);
}
