#include "Application.h"
#include "Form.h"

#include <commctrl.h>

TApplication Application;

void TApplication::Initialize()
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
}

void TApplication::SetHintPause(int ms)
{
    hintPause_ = ms;
    ApplyHintTiming();
}

void TApplication::SetHintHidePause(int ms)
{
    hintHidePause_ = ms;
    ApplyHintTiming();
}

void TApplication::ApplyHintTiming()
{
    if (!tooltip_) return;
    SendMessageA(tooltip_, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(hintPause_, 0));
    SendMessageA(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(hintHidePause_, 0));
}

void TApplication::SetHint(HWND window, const std::string& hint)
{
    if (!tooltip_) {
        tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        // Multi-line hints break at their CR LF only.
        SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, 1000);
        ApplyHintTiming();
    }
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(window) ? GetParent(window) : window;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = const_cast<char*>(hint.c_str());
    if (SendMessageA(tooltip_, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)))
        SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    else
        SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

bool TApplication::HandleMessage(MSG& msg, HACCEL accelerators)
{
    if (msg.message == WM_QUIT) return false;
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    HWND main = mainForm_ ? mainForm_->Handle() : nullptr;
    if (accelerators && main && root == main && TranslateAcceleratorA(main, accelerators, &msg)) return true;
    if (root && dynamic_cast<TForm*>(TControl::FromHandle(root)) && IsDialogMessageA(root, &msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
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
