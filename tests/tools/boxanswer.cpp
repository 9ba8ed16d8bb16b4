// Answers message boxes and dialogs of any process as a user would, and
// records each one as a log line: caption, text, icon and buttons.
//   boxanswer --log FILE [--answer BUTTON] [--type TEXT]
//             [--reply CAPTION [--text ID VALUE] [--keys ID VALUE] [--press BUTTON]]...
// A reply is used once, in the order given, for the first window that shows
// its caption: any top-level window, whatever its class; "*" stands for any
// "#32770" box. Its steps run in order: --text sets a control's text
// (WM_SETTEXT), --keys types it character by character (WM_CHAR, so the
// control's limit applies); then --press presses a button (a name such as "ok" or "yes", or an identifier;
// "ok" when not given). A "#32770" box that no reply matches gets the
// default: --type's text in its first edit box, then the --answer button.
// A window is answered again when it comes back after it was hidden or
// disabled (by a box over it). Each is logged as caption, text, icon and
// buttons, each field ended by 0x1F, the record by 0x1E.
// Runs until killed.
#include <windows.h>
#include "ToolLog.h"
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <set>
#include <string>
#include <vector>
namespace {
const char AnyBox[] = "*";
const char BoxClass[] = "#32770";
struct ButtonName {
    int id;
    const char* name;
};
// The order in which the buttons are listed: "ok,cancel", "yes,no,cancel", ...
const ButtonName Buttons[] = {{IDOK, "ok"},       {IDABORT, "abort"}, {IDRETRY, "retry"}, {IDIGNORE, "ignore"},
                              {IDYES, "yes"},     {IDNO, "no"},       {IDCANCEL, "cancel"}, {IDTRYAGAIN, "tryagain"},
                              {IDCONTINUE, "continue"}};
struct Step {
    bool keys;  // typed one character at a time, else set at once
    int id;
    std::string value;
};
struct Reply {
    std::string caption;
    std::vector<Step> steps;
    int press = IDOK;
    bool used = false;
};
struct Options {
    std::string log;
    int answer = IDOK;
    bool typeSet = false;
    std::string typeText;
    std::vector<Reply> replies;
};
// A button's name ("ok", "yes", ...) or its identifier, decimal or 0x hex.
int ButtonId(const std::string& name)
{
    for (const ButtonName& b : Buttons)
        if (name == b.name) return b.id;
    return static_cast<int>(std::strtol(name.c_str(), nullptr, 0));
}
Options ReadOptions()
{
    Options options;
    auto value = [](int i) { return std::string(i < __argc ? __argv[i] : ""); };
    for (int i = 1; i < __argc; ++i) {
        std::string key = __argv[i];
        Reply* reply = options.replies.empty() ? nullptr : &options.replies.back();
        if (key == "--log") options.log = value(++i);
        else if (key == "--answer") options.answer = ButtonId(value(++i));
        else if (key == "--type") {
            options.typeSet = true;
            options.typeText = value(++i);
        } else if (key == "--reply") {
            options.replies.emplace_back();
            options.replies.back().caption = value(++i);
        } else if (!reply) {
            continue;
        } else if (key == "--text" || key == "--keys") {
            reply->steps.push_back({key == "--keys", ButtonId(value(i + 1)), value(i + 2)});
            i += 2;
        } else if (key == "--press") {
            reply->press = ButtonId(value(++i));
        }
    }
    return options;
}
std::string WindowText(HWND window)
{
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}
std::string ClassOf(HWND window)
{
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    return cls;
}
bool IsBox(HWND window)
{
    return ClassOf(window) == BoxClass;
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
const struct {
    LPCSTR id;
    const char* name;
} Icons[] = {
    {IDI_ERROR, "error"}, {IDI_INFORMATION, "information"}, {IDI_QUESTION, "question"}, {IDI_WARNING, "warning"}};
bool Differs(DWORD a, DWORD b)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 80) return true;
    return false;
}
// The standard icon that the screen shows in the rectangle: drawn over the
// picture, the right one changes no more than a few edge pixels (where it
// blends), any other changes its whole shape.
std::string IconOnScreen(const RECT& rect, int w, int h)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    auto* pixels = static_cast<DWORD*>(bits);
    HDC desktop = GetDC(nullptr);
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
        if (changed < fewest) {
            fewest = changed;
            best = Icons[i].name;
        }
        std::copy(shown.begin(), shown.end(), pixels);
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return best;
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
    for (const auto& icon : Icons)
        if (shown && reinterpret_cast<HICON>(shown) == LoadIconA(nullptr, icon.id)) return icon.name;
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
        std::string name = IconOnScreen(rect, w, h);
        if (!name.empty()) return name;
    }
    return std::string();
}
HWND EditControl(HWND box)
{
    HWND found = nullptr;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM param) -> BOOL {
            if (_stricmp(ClassOf(child).c_str(), "Edit") != 0 || !IsWindowVisible(child)) return TRUE;
            *reinterpret_cast<HWND*>(param) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}
// The button of a box that no reply matches: the one asked for, else the
// default button, else the first one.
HWND DefaultButton(HWND box, int wanted)
{
    if (HasButton(box, wanted)) return GetDlgItem(box, wanted);
    DWORD def = static_cast<DWORD>(SendMessageA(box, DM_GETDEFID, 0, 0));
    if (HIWORD(def) == DC_HASDEFID && HasButton(box, LOWORD(def))) return GetDlgItem(box, LOWORD(def));
    for (const ButtonName& b : Buttons)
        if (HasButton(box, b.id)) return GetDlgItem(box, b.id);
    return nullptr;
}
LRESULT SendWaiting(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 2000, &result);
    return static_cast<LRESULT>(result);
}
void RunStep(HWND window, const Step& step)
{
    HWND control = GetDlgItem(window, step.id);
    if (!control) return;
    if (!step.keys) {
        SendWaiting(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(step.value.c_str()));
        return;
    }
    for (char c : step.value) SendWaiting(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}
Reply* ReplyFor(HWND window, bool box, Options& options)
{
    std::string caption = WindowText(window);
    for (Reply& reply : options.replies)
        if (!reply.used && (reply.caption == caption || (box && reply.caption == AnyBox))) return &reply;
    return nullptr;
}
void Answer(HWND window, Reply* reply, bool box, const Options& options)
{
    std::string line = WindowText(window) + "\x1F" + MessageText(window) + "\x1F" +
                       (box ? IconName(window) : std::string()) + "\x1F" + ButtonList(window) + "\x1F\x1E";
    // Closed by its owner while being read: nothing reliable was seen.
    if (!IsWindowVisible(window)) return;
    HWND button = nullptr;
    if (reply) {
        reply->used = true;
        for (const Step& step : reply->steps) RunStep(window, step);
        button = GetDlgItem(window, reply->press);
    } else {
        HWND edit = options.typeSet ? EditControl(window) : nullptr;
        if (edit) SendWaiting(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(options.typeText.c_str()));
        button = DefaultButton(window, options.answer);
    }
    // Logged before the press, so a test that sees the line knows the box was
    // shown even if pressing ends the program that showed it.
    AppendLine(options.log, line);
    // Posted, not sent: the box's owner may show the next box from inside the
    // click, and this tool must stay free to answer it.
    if (button) PostMessageA(button, BM_CLICK, 0, 0);
}
// Visible and enabled top-level windows: those a user could answer now.
std::vector<HWND> AnswerableWindows()
{
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            if (IsWindowVisible(window) && IsWindowEnabled(window))
                reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}
std::set<HWND> Answered;
std::set<HWND> Sighted;  // seen once; answered at the next poll, when fully drawn
void Poll(Options& options)
{
    std::set<HWND> present;
    for (HWND window : AnswerableWindows()) {
        present.insert(window);
        if (Answered.count(window)) continue;
        bool box = IsBox(window);
        Reply* reply = ReplyFor(window, box, options);
        if (!reply && !box) continue;
        if (!Sighted.insert(window).second) {
            Answered.insert(window);
            Answer(window, reply, box, options);
        }
    }
    // Forget windows closed, hidden or disabled: they are answered again
    // when they come back, and Windows reuses handle values.
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
