#include "FormScript.h"
#include "Form.h"
#include "RemoteWindows.h"
#include <commctrl.h>
#include <gtest/gtest.h>
namespace {
FormScript* Active = nullptr;
bool OpenMessageBox() { return ShownWindow(GetCurrentProcessId(), "#32770") != nullptr; }
// Cancels every box and modal form this thread shows, so that a failed test ends.
BOOL CALLBACK CancelWindow(HWND window, LPARAM) {
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (!IsWindowVisible(window)) return TRUE;
    if (lstrcmpA(cls, "#32770") == 0) {
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        PostMessageA(window, WM_COMMAND, IDNO, 0);
    }
    auto* form = dynamic_cast<TForm*>(TControl::FromHandle(window));
    if (form && form->IsModal()) PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}
}  // namespace
FormScript::~FormScript() {
    if (timer_) KillTimer(nullptr, timer_);
    if (Active == this) Active = nullptr;
    if (!steps_.empty() && !failed_) ADD_FAILURE() << "script ended before its step: " << steps_.front().what;
}
FormScript& FormScript::WaitBoxesAnswered(BoxAnswerer& answerer, size_t count) {
    return WaitUntil(std::to_string(count) + " boxes answered",
                     [&answerer, count] { return answerer.Seen().size() >= count && !OpenMessageBox(); });
}
void FormScript::Start() {
    Active = this;
    stepStart_ = GetTickCount();
    if (!timer_) timer_ = SetTimer(nullptr, 0, 30, Tick);
}
void CALLBACK FormScript::Tick(HWND, UINT, UINT_PTR, DWORD) { if (Active) Active->RunSteps(); }
// A step that opens a message loop of its own (a sent click) lets the next
// ones run inside it, hence the guard.
void FormScript::RunSteps() {
    if (running_) return;
    running_ = true;
    if (failed_) {
        EnumThreadWindows(GetCurrentThreadId(), CancelWindow, 0);
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
void Click(HWND control) { PostMessageA(control, BM_CLICK, 0, 0); }
void ClickTab(HWND tabControl, int index) {
    RECT r = {};
    SendMessageA(tabControl, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    PostClick(tabControl, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}
void Type(HWND edit, const std::string& text) {
    SetFocus(edit);
    for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
}
void PressKey(WORD key) {
    HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}
