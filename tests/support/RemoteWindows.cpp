#include "RemoteWindows.h"
#include "VtTest.h"
#include <algorithm>
#include <functional>
namespace {
// The first top-level window (descendant of parent, when given) that match accepts, or null.
HWND FirstWindow(HWND parent, const std::function<bool(HWND)>& match) {
    using Search = std::pair<const std::function<bool(HWND)>*, HWND>;
    Search search = {&match, nullptr};
    WNDENUMPROC visit = [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        if ((*s.first)(window)) s.second = window;
        return s.second == nullptr;
    };
    if (parent)
        EnumChildWindows(parent, visit, reinterpret_cast<LPARAM>(&search));
    else
        EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
    return search.second;
}
}  // namespace
HWND ShownWindow(DWORD process, const char* className) {
    return FirstWindow(nullptr, [&](HWND window) {
        char name[64] = {};
        GetClassNameA(window, name, sizeof name);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        return (!process || owner == process) && lstrcmpA(name, className) == 0 && IsWindowVisible(window);
    });
}
std::string WindowText(HWND window) {
    char text[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &copied);
    return std::string(text, std::min<size_t>(copied, sizeof text - 1));
}
bool WaitSettled(HWND window, DWORD timeoutMs) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (!WaitFor([&] { return ShownWindow(process, "#32770") == nullptr; }, timeoutMs)) return false;
    // Answered only once the thread is back in its own loop.
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}
HWND FindControl(HWND top, int id) {
    return FirstWindow(top, [id](HWND window) { return GetDlgCtrlID(window) == id; });
}
std::vector<std::string> ListLines(HWND list) {
    std::vector<std::string> lines;
    for (LRESULT i = 0, count = SendMessageW(list, LB_GETCOUNT, 0, 0); i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        if (length < 0) break;
        std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&wide[0]));
        std::string text(wide.size() * 2, '\0');
        int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &text[0], static_cast<int>(text.size()), nullptr,
                                    nullptr);  // counts the ending null
        text.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
        lines.push_back(text);
    }
    return lines;
}
void PostClick(HWND window, POINT at) {
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}
