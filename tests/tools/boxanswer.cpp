// Answers message boxes and dialogs of any process as a user would, and
// records each one as a log line: caption, text, icon and buttons.
//   boxanswer --log FILE [--answer BUTTON] [--type TEXT]
//             [--reply CAPTION [--text ID VALUE] [--keys ID VALUE] [--press BUTTON]]...
// A reply is used once, in the order given, for the first top-level window
// that shows its caption, whatever its class; "*" stands for any "#32770"
// box. Its steps run in order: --text sets a control's text (WM_SETTEXT),
// --keys types it (WM_CHAR, so the control's limit applies); then --press
// presses a button (a name such as "ok" or "yes", or an identifier; "ok" when
// not given). A "#32770" box that no reply matches gets the default: --type's
// text in its first edit box, then the --answer button. A window is answered
// again when it comes back after it was hidden or disabled (by a box over
// it). Each field of a log record ends with 0x1F, the record with 0x1E.
// Runs until killed.
#include <windows.h>
#include "ToolLog.h"
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <set>
#include <string>
#include <vector>
namespace {
// In the order the buttons are listed: "ok,cancel", "yes,no,cancel", ...
const struct { int id; const char* name; } Buttons[] = {
    {IDOK, "ok"}, {IDABORT, "abort"}, {IDRETRY, "retry"}, {IDIGNORE, "ignore"}, {IDYES, "yes"},
    {IDNO, "no"}, {IDCANCEL, "cancel"}, {IDTRYAGAIN, "tryagain"}, {IDCONTINUE, "continue"}};
const struct { LPCSTR id; const char* name; } Icons[] = {
    {IDI_ERROR, "error"}, {IDI_INFORMATION, "information"}, {IDI_QUESTION, "question"}, {IDI_WARNING, "warning"}};
struct Step { bool keys; int id; std::string value; };  // keys: typed one character at a time
struct Reply { std::string caption; std::vector<Step> steps; int press = IDOK; bool used = false; };
struct Options { std::string log; int answer = IDOK; bool typeSet = false; std::string typeText; std::vector<Reply> replies; };

// A button's name ("ok", "yes", ...) or its identifier, decimal or 0x hex.
int ButtonId(const std::string& name) {
    for (const auto& b : Buttons)
        if (name == b.name) return b.id;
    return static_cast<int>(std::strtol(name.c_str(), nullptr, 0));
}
Options ReadOptions() {
    Options o;
    auto value = [](int i) { return std::string(i < __argc ? __argv[i] : ""); };
    for (int i = 1; i < __argc; ++i) {
        const std::string key = __argv[i];
        Reply* reply = o.replies.empty() ? nullptr : &o.replies.back();
        if (key == "--log") o.log = value(++i);
        else if (key == "--answer") o.answer = ButtonId(value(++i));
        else if (key == "--type") o.typeSet = true, o.typeText = value(++i);
        else if (key == "--reply") o.replies.push_back({value(++i), {}});
        else if (reply && (key == "--text" || key == "--keys")) {
            reply->steps.push_back({key == "--keys", ButtonId(value(i + 1)), value(i + 2)});
            i += 2;
        } else if (reply && key == "--press") reply->press = ButtonId(value(++i));
    }
    return o;
}
std::string WindowText(HWND window) {
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}
bool IsClass(HWND window, const char* name) {
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    return _stricmp(cls, name) == 0;
}
HWND Button(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    return button && IsWindowVisible(button) ? button : nullptr;
}
std::string ButtonList(HWND box) {
    std::string list;
    for (const auto& b : Buttons)
        if (Button(box, b.id)) list += (list.empty() ? "" : ",") + std::string(b.name);
    return list;
}
bool Differs(DWORD a, DWORD b) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 80) return true;
    return false;
}
// The standard icon that the screen shows in the rectangle: drawn over the
// picture, the right one changes no more than a few edge pixels (where it
// blends), any other changes its whole shape.
std::string IconOnScreen(const RECT& rect, int w, int h) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC dc = CreateCompatibleDC(nullptr), desktop = GetDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    auto* pixels = static_cast<DWORD*>(bits);
    BitBlt(dc, 0, 0, w, h, desktop, rect.left, rect.top, SRCCOPY);
    ReleaseDC(nullptr, desktop);
    GdiFlush();
    const std::vector<DWORD> shown(pixels, pixels + (pixels ? w * h : 0));
    std::string best;
    for (int i = 0, fewest = w * h / 50 + 1; pixels && i < 4; ++i) {
        DrawIconEx(dc, 0, 0, LoadIconA(nullptr, Icons[i].id), 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
        GdiFlush();
        int changed = 0;
        for (int p = 0; p < w * h; ++p) changed += Differs(pixels[p], shown[p]);
        if (changed < fewest) fewest = changed, best = Icons[i].name;
        std::copy(shown.begin(), shown.end(), pixels);
    }
    SelectObject(dc, old), DeleteObject(bitmap), DeleteDC(dc);
    return best;
}
// The standard icon the box shows, "" when none. On Windows the system icons
// are shared handles; in Wine each process loads its own, so the icon is
// recognised by drawing each candidate and comparing it with the screen.
std::string IconName(HWND box) {
    HWND control = Button(box, 1088);
    if (!control && !(control = Button(box, 0x14))) return "";
    DWORD_PTR shown = 0;
    SendMessageTimeoutA(control, STM_GETICON, 0, 0, SMTO_NORMAL, 1000, &shown);
    for (const auto& icon : Icons)
        if (shown && reinterpret_cast<HICON>(shown) == LoadIconA(nullptr, icon.id)) return icon.name;
    RECT rect;
    GetWindowRect(control, &rect);
    const int w = std::min<int>(rect.right - rect.left, GetSystemMetrics(SM_CXICON));
    const int h = std::min<int>(rect.bottom - rect.top, GetSystemMetrics(SM_CYICON));
    // A box just created may not be on the screen yet, or still show what
    // was there before it: have it paint, and look again for a while.
    for (int attempt = 0; w > 0 && h > 0 && attempt < 100; Sleep(50), ++attempt) {
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const std::string name = IconOnScreen(rect, w, h);
        if (!name.empty()) return name;
    }
    return "";
}
HWND EditControl(HWND box) {
    HWND found = nullptr;
    EnumChildWindows(box, [](HWND child, LPARAM param) -> BOOL {
        if (!IsClass(child, "Edit") || !IsWindowVisible(child)) return TRUE;
        *reinterpret_cast<HWND*>(param) = child;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}
// The button of a box that no reply matches: the one asked for, else the
// default button, else the first one.
HWND DefaultButton(HWND box, int wanted) {
    HWND button = Button(box, wanted);
    const DWORD def = button ? 0 : static_cast<DWORD>(SendMessageA(box, DM_GETDEFID, 0, 0));
    if (HIWORD(def) == DC_HASDEFID) button = Button(box, LOWORD(def));
    for (size_t i = 0; !button && i < std::size(Buttons); ++i) button = Button(box, Buttons[i].id);
    return button;
}
void SetText(HWND control, const std::string& text) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 2000, &result);
}
void RunStep(HWND window, const Step& step) {
    HWND control = GetDlgItem(window, step.id);
    DWORD_PTR result = 0;
    if (control && !step.keys) SetText(control, step.value);
    for (size_t i = 0; control && step.keys && i < step.value.size(); ++i)
        SendMessageTimeoutA(control, WM_CHAR, static_cast<unsigned char>(step.value[i]), 1, SMTO_NORMAL, 2000, &result);
}
Reply* ReplyFor(HWND window, bool box, Options& options) {
    const std::string caption = WindowText(window);
    for (Reply& reply : options.replies)
        if (!reply.used && (reply.caption == caption || (box && reply.caption == "*"))) return &reply;
    return nullptr;
}
void Answer(HWND window, Reply* reply, bool box, const Options& options) {
    char text[8192] = {};
    GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
    const std::string line = WindowText(window) + "\x1F" + text + "\x1F" + (box ? IconName(window) : "") + "\x1F" +
                             ButtonList(window) + "\x1F\x1E";
    if (!IsWindowVisible(window)) return;  // closed by its owner while being read: nothing reliable was seen
    HWND button = nullptr;
    if (reply) {
        reply->used = true;
        for (const Step& step : reply->steps) RunStep(window, step);
        button = GetDlgItem(window, reply->press);
    } else {
        HWND edit = options.typeSet ? EditControl(window) : nullptr;
        if (edit) SetText(edit, options.typeText);
        button = DefaultButton(window, options.answer);
    }
    // Logged before the press, so a test that sees the line knows the box was
    // shown even if pressing ends the program that showed it.
    AppendLine(options.log, line);
    // Posted, not sent: the box's owner may show the next box from inside the
    // click, and this tool must stay free to answer it.
    if (button) PostMessageA(button, BM_CLICK, 0, 0);
}
std::set<HWND> Answered;
std::set<HWND> Sighted;  // seen once; answered at the next poll, when fully drawn
// Answers the visible and enabled top-level windows, those a user could answer now.
void Poll(Options& options) {
    std::vector<HWND> windows;  // in z-order, the topmost first
    EnumWindows([](HWND window, LPARAM param) -> BOOL {
        if (IsWindowVisible(window) && IsWindowEnabled(window)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&windows));
    const std::set<HWND> present(windows.begin(), windows.end());
    for (HWND window : windows) {
        const bool box = IsClass(window, "#32770");
        Reply* reply = Answered.count(window) ? nullptr : ReplyFor(window, box, options);
        if (Answered.count(window) || (!reply && !box) || Sighted.insert(window).second) continue;
        Answered.insert(window);
        Answer(window, reply, box, options);
    }
    // Forget windows closed, hidden or disabled: they are answered again
    // when they come back, and Windows reuses handle values.
    for (auto it = Answered.begin(); it != Answered.end();)
        it = (IsWindow(*it) && present.count(*it)) ? std::next(it) : Answered.erase(it);
    for (auto it = Sighted.begin(); it != Sighted.end();) it = present.count(*it) ? std::next(it) : Sighted.erase(it);
}
}  // namespace
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Options options = ReadOptions();
    if (options.log.empty()) return 2;
    AppendLine(options.log, std::string());
    for (;;) Poll(options), Sleep(30);
}
