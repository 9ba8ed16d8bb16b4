// Answers every message box and dialog ("#32770" windows of any process):
// records caption, text, icon and buttons as one log line, optionally types a
// text into the dialog's edit box, then presses the requested button.
//   boxanswer --log FILE --answer ok|cancel|yes|no [--type TEXT]
// Runs until killed.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

struct Options {
    std::string log;
    int answer = IDOK;
    bool typeSet = false;
    std::string typeText;
};

struct ButtonName {
    int id;
    const char* name;
};

// The order in which the buttons are listed: "ok,cancel", "yes,no,cancel", ...
const ButtonName Buttons[] = {{IDOK, "ok"},       {IDABORT, "abort"}, {IDRETRY, "retry"}, {IDIGNORE, "ignore"},
                              {IDYES, "yes"},     {IDNO, "no"},       {IDCANCEL, "cancel"}, {IDTRYAGAIN, "tryagain"},
                              {IDCONTINUE, "continue"}};

std::set<HWND> Answered;
std::set<HWND> Sighted;  // boxes seen once; answered at the next poll, when fully drawn

Options ReadOptions()
{
    Options options;
    for (int i = 1; i + 1 < __argc; i += 2) {
        std::string key = __argv[i], value = __argv[i + 1];
        if (key == "--log") options.log = value;
        if (key == "--type") {
            options.typeSet = true;
            options.typeText = value;
        }
        if (key != "--answer") continue;
        for (const ButtonName& b : Buttons)
            if (value == b.name) options.answer = b.id;
    }
    return options;
}

std::string Escape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\t') out += "\\t";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

std::string WindowText(HWND window)
{
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string MessageText(HWND box)
{
    char text[8192] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

bool HasButton(HWND box, int id)
{
    HWND button = GetDlgItem(box, id);
    return button && IsWindowVisible(button);
}

std::string ButtonList(HWND box)
{
    std::string list;
    for (const ButtonName& b : Buttons) {
        if (!HasButton(box, b.id)) continue;
        if (!list.empty()) list += ",";
        list += b.name;
    }
    return list;
}

struct IconCandidate {
    LPCSTR id;
    const char* name;
};

const IconCandidate Icons[] = {
    {IDI_ERROR, "error"}, {IDI_INFORMATION, "information"}, {IDI_QUESTION, "question"}, {IDI_WARNING, "warning"}};

// A 32-bit top-down bitmap of the given size, filled with one colour.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    DWORD* pixels = nullptr;
    int width = 0, height = 0;

    Canvas(int w, int h, DWORD fill) : width(w), height(h)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels = static_cast<DWORD*>(bits);
        old = SelectObject(dc, bitmap);
        for (int i = 0; pixels && i < w * h; ++i) pixels[i] = fill;
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    DWORD At(int i) const { return pixels[i] & 0xFFFFFF; }
};

// Share of the icon's opaque pixels that the screen shows unchanged.
double IconMatch(const Canvas& screen, LPCSTR id)
{
    HICON icon = LoadIconA(nullptr, id);
    int w = screen.width, h = screen.height;
    Canvas onBlack(w, h, 0x000000), onWhite(w, h, 0xFFFFFF);
    if (!icon || !onBlack.pixels || !onWhite.pixels) return 0;
    DrawIconEx(onBlack.dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
    DrawIconEx(onWhite.dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
    int opaque = 0, same = 0;
    for (int i = 0; i < w * h; ++i) {
        if (onBlack.At(i) != onWhite.At(i)) continue;
        ++opaque;
        if (onBlack.At(i) == screen.At(i)) ++same;
    }
    return opaque ? static_cast<double>(same) / opaque : 0;
}

HWND IconControl(HWND box)
{
    for (int id : {1088, 0x14}) {
        HWND control = GetDlgItem(box, id);
        if (control && IsWindowVisible(control)) return control;
    }
    return nullptr;
}

// The standard icon the box shows, "" when none. On Windows the system icons
// are shared handles; in Wine each process loads its own, so the icon is
// recognised by drawing each candidate and comparing it with the screen.
std::string IconName(HWND box)
{
    HWND control = IconControl(box);
    if (!control) return std::string();
    DWORD_PTR shown = 0;
    SendMessageTimeoutA(control, STM_GETICON, 0, 0, SMTO_NORMAL, 1000, &shown);
    for (const IconCandidate& c : Icons)
        if (shown && reinterpret_cast<HICON>(shown) == LoadIconA(nullptr, c.id)) return c.name;
    RECT rect;
    GetWindowRect(control, &rect);
    int w = std::min<int>(rect.right - rect.left, GetSystemMetrics(SM_CXICON));
    int h = std::min<int>(rect.bottom - rect.top, GetSystemMetrics(SM_CYICON));
    if (w <= 0 || h <= 0) return std::string();
    // A box just created may not be on the screen yet, or still show what
    // was there before it: have it paint, and look again for a while.
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (attempt > 0) Sleep(50);
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Canvas screen(w, h, 0);
        HDC desktop = GetDC(nullptr);
        BitBlt(screen.dc, 0, 0, w, h, desktop, rect.left, rect.top, SRCCOPY);
        ReleaseDC(nullptr, desktop);
        std::string best;
        double bestMatch = 0.9;
        for (const IconCandidate& c : Icons) {
            double match = IconMatch(screen, c.id);
            if (match >= bestMatch) {
                bestMatch = match;
                best = c.name;
            }
        }
        if (!best.empty()) return best;
    }
    return std::string();
}

HWND EditControl(HWND box)
{
    HWND found = nullptr;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM param) -> BOOL {
            char cls[64] = {};
            GetClassNameA(child, cls, sizeof cls);
            if (_stricmp(cls, "Edit") != 0 || !IsWindowVisible(child)) return TRUE;
            *reinterpret_cast<HWND*>(param) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND ButtonToPress(HWND box, int wanted)
{
    if (HasButton(box, wanted)) return GetDlgItem(box, wanted);
    DWORD def = static_cast<DWORD>(SendMessageA(box, DM_GETDEFID, 0, 0));
    if (HIWORD(def) == DC_HASDEFID && HasButton(box, LOWORD(def))) return GetDlgItem(box, LOWORD(def));
    for (const ButtonName& b : Buttons)
        if (HasButton(box, b.id)) return GetDlgItem(box, b.id);
    return nullptr;
}

void AppendLine(const std::string& path, const std::string& line)
{
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    FlushFileBuffers(file);
    CloseHandle(file);
}

void Answer(HWND box, const Options& options)
{
    std::string line = Escape(WindowText(box)) + "\t" + Escape(MessageText(box)) + "\t" + IconName(box) + "\t" +
                       ButtonList(box) + "\n";
    // Closed by its owner while being read: nothing reliable was seen.
    if (!IsWindowVisible(box)) return;
    HWND edit = options.typeSet ? EditControl(box) : nullptr;
    DWORD_PTR result = 0;
    if (edit)
        SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(options.typeText.c_str()), SMTO_NORMAL,
                            2000, &result);
    // Logged before the press, so a test that sees the line knows the box was
    // shown even if pressing ends the program that showed it.
    AppendLine(options.log, line);
    // Posted, not sent: the box's owner may show the next box from inside the
    // click, and this tool must stay free to answer it.
    if (HWND button = ButtonToPress(box, options.answer)) PostMessageA(button, BM_CLICK, 0, 0);
}

std::vector<HWND> VisibleBoxes()
{
    std::vector<HWND> boxes;
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            char cls[16] = {};
            GetClassNameA(window, cls, sizeof cls);
            if (std::strcmp(cls, "#32770") == 0 && IsWindowVisible(window))
                reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&boxes));
    return boxes;
}

void Poll(const Options& options)
{
    std::set<HWND> present;
    for (HWND box : VisibleBoxes()) {
        present.insert(box);
        if (Answered.count(box)) continue;
        if (!Sighted.insert(box).second) {
            Answered.insert(box);
            Answer(box, options);
        }
    }
    // Forget closed boxes: Windows reuses handle values.
    for (auto it = Answered.begin(); it != Answered.end();)
        it = (IsWindow(*it) && present.count(*it)) ? std::next(it) : Answered.erase(it);
    for (auto it = Sighted.begin(); it != Sighted.end();)
        it = present.count(*it) ? std::next(it) : Sighted.erase(it);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    Options options = ReadOptions();
    if (options.log.empty()) return 2;
    AppendLine(options.log, std::string());
    for (;;) {
        Poll(options);
        Sleep(30);
    }
}
