#include "RemoteWindows.h"
#include "VtTest.h"

#include <algorithm>
#include <cstring>

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
    if ((found->process && process != found->process) || lstrcmpA(name, found->className) != 0 || !IsWindowVisible(window)) return TRUE;
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

// Sends a message whose lParam points at a block of bytes, through memory
// in the process that owns the window (Wine carries no such pointer across
// processes): fill writes the block for its address there, the answer is
// read back into it.
LRESULT SendThroughRemote(HWND window, UINT message, WPARAM wParam, std::string& block,
                          void (*fill)(std::string& block, char* address) = nullptr)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return 0;
    LRESULT result = 0;
    auto* address = static_cast<char*>(
        VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (address) {
        if (fill) fill(block, address);
        if (WriteProcessMemory(process, address, block.data(), block.size(), nullptr)) {
            result = SendMessageA(window, message, wParam, reinterpret_cast<LPARAM>(address));
            ReadProcessMemory(process, address, &block[0], block.size(), nullptr);
        }
        VirtualFreeEx(process, address, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return result;
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

RECT RemoteRect(HWND window, UINT message, WPARAM item)
{
    std::string block(sizeof(RECT), '\0');
    RECT rect = {};
    if (SendThroughRemote(window, message, item, block)) memcpy(&rect, block.data(), sizeof rect);
    return rect;
}

std::string RemoteTreeText(HWND tree, HTREEITEM node)
{
    // The item, then room for its text, which the item points at.
    std::string block(sizeof(TVITEMA) + 1024, '\0');
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.cchTextMax = 1024;
    memcpy(&block[0], &item, sizeof item);
    auto point = [](std::string& b, char* address) {
        reinterpret_cast<TVITEMA*>(&b[0])->pszText = address + sizeof(TVITEMA);
    };
    if (!SendThroughRemote(tree, TVM_GETITEMA, 0, block, point)) return std::string();
    return block.substr(sizeof item, block.find('\0', sizeof item) - sizeof item);
}

HTREEITEM FindTreeChild(HWND tree, HTREEITEM parent, const std::string& name)
{
    auto next = [tree](HTREEITEM node, UINT relation) {
        return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(node)));
    };
    HTREEITEM child = parent ? next(parent, TVGN_CHILD) : next(nullptr, TVGN_ROOT);
    for (; child; child = next(child, TVGN_NEXT))
        if (lstrcmpiA(RemoteTreeText(tree, child).c_str(), name.c_str()) == 0) return child;
    return nullptr;
}

void PostClick(HWND window, POINT at)
{
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

void ClickRemoteTab(HWND tabs, int index)
{
    RECT r = RemoteRect(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index));
    PostClick(tabs, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}
