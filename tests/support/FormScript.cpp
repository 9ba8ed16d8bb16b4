#include "FormScript.h"
#include "Form.h"
#include <commctrl.h>
#include <gtest/gtest.h>
namespace {
constexpr UINT TickMs = 30;
FormScript* Active = nullptr;
bool IsClass(HWND window, const char* name)
{
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    return lstrcmpiA(cls, name) == 0;
}
std::vector<HWND> VisibleThreadWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}
// The visible message box ("#32770") of this thread, or null.
HWND OpenMessageBox()
{
    for (HWND window : VisibleThreadWindows())
        if (IsClass(window, "#32770")) return window;
    return nullptr;
}
}  // namespace
FormScript::~FormScript()
{
    if (timer_) KillTimer(nullptr, timer_);
    if (Active == this) Active = nullptr;
    if (!steps_.empty() && !failed_) ADD_FAILURE() << "script ended before its step: " << steps_.front().what;
}
FormScript& FormScript::WaitBoxesAnswered(BoxAnswerer& answerer, size_t count)
{
    return WaitUntil(std::to_string(count) + " boxes answered",
                     [&answerer, count] { return answerer.Seen().size() >= count && !OpenMessageBox(); });
}
void FormScript::Start()
{
    Active = this;
    stepStart_ = GetTickCount();
    if (!timer_) timer_ = SetTimer(nullptr, 0, TickMs, Tick);
}
void CALLBACK FormScript::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (Active) Active->RunSteps();
}
// Steps run in order; one that opens a message loop of its own (a sent
// click) lets the next ones run inside it, hence the guard.
void FormScript::RunSteps()
{
    if (running_) return;
    running_ = true;
    if (failed_) {
        // Cancels every box and modal form still open, so that the test ends.
        for (HWND window : VisibleThreadWindows()) {
            if (IsClass(window, "#32770")) {
                PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
                PostMessageA(window, WM_COMMAND, IDNO, 0);
            }
            auto* form = dynamic_cast<TForm*>(TControl::FromHandle(window));
            if (form && form->IsModal()) PostMessageA(window, WM_CLOSE, 0, 0);
        }
    } else if (!steps_.empty()) {
        Step step = steps_.front();
        if (step.run()) {
            steps_.erase(steps_.begin());
            stepStart_ = GetTickCount();
        } else if (GetTickCount() - stepStart_ > step.timeoutMs) {
            ADD_FAILURE() << "timed out waiting for " << step.what;
            failed_ = true;
            steps_.clear();
        }
    }
    running_ = false;
}
void Click(HWND control)
{
    PostMessageA(control, BM_CLICK, 0, 0);
}
void ClickTab(HWND tabControl, int index)
{
    RECT r = {};
    SendMessageA(tabControl, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageA(tabControl, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(tabControl, WM_LBUTTONUP, 0, at);
}
void Type(HWND edit, const std::string& text)
{
    SetFocus(edit);
    for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
}
void PressKey(WORD key)
{
    HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}
