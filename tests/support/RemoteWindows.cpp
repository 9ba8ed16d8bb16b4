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

// Memory of the size in the process that owns window, freed with it.
class RemoteBlock {
public:
    RemoteBlock(HWND window, size_t size) : size_(size)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBlock()
    {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    char* Address() const { return static_cast<char*>(address_); }
    bool Write(const void* data, size_t size, size_t offset = 0)
    {
        return address_ && offset + size <= size_ &&
               WriteProcessMemory(process_, Address() + offset, data, size, nullptr);
    }
    bool Read(void* data, size_t size, size_t offset = 0)
    {
        return address_ && offset + size <= size_ &&
               ReadProcessMemory(process_, Address() + offset, data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_;
};

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
    RECT rect = {};
    RemoteBlock block(window, sizeof rect);
    if (!block.Write(&rect, sizeof rect)) return rect;
    SendMessageA(window, message, item, reinterpret_cast<LPARAM>(block.Address()));
    block.Read(&rect, sizeof rect);
    return rect;
}

std::string RemoteTreeText(HWND tree, HTREEITEM node)
{
    constexpr size_t TextSize = 1024;
    RemoteBlock block(tree, sizeof(TVITEMA) + TextSize);
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = block.Address() + sizeof item;
    item.cchTextMax = static_cast<int>(TextSize);
    char text[TextSize] = {};
    if (!block.Write(&item, sizeof item) || !block.Write(text, sizeof text, sizeof item)) return std::string();
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(block.Address()))) return std::string();
    block.Read(text, sizeof text - 1, sizeof item);
    return text;
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
