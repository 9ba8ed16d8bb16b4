#include "Hints.h"

#include <commctrl.h>

namespace {

HWND Tooltip = nullptr;
int Pause = 500;
int HidePause = 2500;

void ApplyTiming()
{
    if (!Tooltip) return;
    SendMessageA(Tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(Pause, 0));
    SendMessageA(Tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(HidePause, 0));
}

}  // namespace

int HintPause() { return Pause; }

void SetHintPause(int ms)
{
    Pause = ms;
    ApplyTiming();
}

int HintHidePause() { return HidePause; }

void SetHintHidePause(int ms)
{
    HidePause = ms;
    ApplyTiming();
}

void SetWindowHint(HWND window, const std::string& hint)
{
    if (!Tooltip) {
        Tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        // Multi-line hints break at their CR LF only.
        SendMessageA(Tooltip, TTM_SETMAXTIPWIDTH, 0, 1000);
        ApplyTiming();
    }
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(window) ? GetParent(window) : window;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = const_cast<char*>(hint.c_str());
    if (SendMessageA(Tooltip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)))
        SendMessageA(Tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    else
        SendMessageA(Tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}
