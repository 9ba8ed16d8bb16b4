#include "RemoteWindows.h"
#include "VtTest.h"
#include <algorithm>
namespace {
struct Found {
    DWORD process;
    const char* className;
    HWND window;
};
BOOL CALLBACK FindShown(HWND window, LPARAM param)
{
    auto* found = reinterpret_cast<Found*>(param);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if ((found->process && process != found->process) || lstrcmpA(name, found->className) != 0 ||
        !IsWindowVisible(window))
        return TRUE;
    found->window = window;
    return FALSE;
}
struct ById {
    int id;
    HWND window;
};
BOOL CALLBACK FindById(HWND window, LPARAM param)
{
    auto* wanted = reinterpret_cast<ById*>(param);
    if (GetDlgCtrlID(window) != wanted->id) return TRUE;
    wanted->window = window;
    return FALSE;
}
}  // namespace
HWND ShownWindow(DWORD process, const char* className)
{
    Found found = {process, className, nullptr};
    EnumWindows(FindShown, reinterpret_cast<LPARAM>(&found));
    return found.window;
}
std::string WindowText(HWND window)
{
    char text[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &copied);
    return std::string(text, std::min<size_t>(copied, sizeof text - 1));
}
bool WaitSettled(HWND window, DWORD timeoutMs)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (!WaitFor([&] { return ShownWindow(process, "#32770") == nullptr; }, timeoutMs)) return false;
    // Answered only once the thread is back in its own loop.
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}
HWND FindControl(HWND top, int id)
{
    ById wanted = {id, nullptr};
    EnumChildWindows(top, FindById, reinterpret_cast<LPARAM>(&wanted));
    return wanted.window;
}
std::vector<std::string> ListLines(HWND list)
{
    std::vector<std::string> lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        if (length < 0) break;
        std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&wide[0]));
        wide.resize(wcslen(wide.c_str()));
        std::string text(wide.size() * 2 + 1, '\0');
        int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &text[0],
                                    static_cast<int>(text.size()), nullptr, nullptr);
        text.resize(static_cast<size_t>(n > 0 ? n : 0));
        lines.push_back(text);
    }
    return lines;
}
void PostClick(HWND window, POINT at)
{
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}
