// Drives this thread's forms while they run modally: steps run on a timer in
// whichever message loop pumps (ShowModal, a message box), each until it is
// done. One not done in time fails the test, and the script then cancels every
// box and form open, so that a failing test ends instead of hanging.
#pragma once
#include "VtTest.h"
#include <functional>

class FormScript {
public:
    FormScript() = default;
    ~FormScript();
    FormScript(const FormScript&) = delete;
    FormScript& operator=(const FormScript&) = delete;
    FormScript& Do(std::function<void()> action) {
        return WaitUntil("an action", [action] { action(); return true; }, 0);
    }
    FormScript& WaitUntil(const std::string& what, std::function<bool()> condition, DWORD timeoutMs = 15000) {
        steps_.push_back({what, condition, timeoutMs});
        return *this;
    }
    FormScript& WaitShown(HWND window) {
        return WaitUntil("the window shown", [window] { return IsWindowVisible(window) != FALSE; });
    }
    // Until the answerer has answered count boxes and none is open.
    FormScript& WaitBoxesAnswered(BoxAnswerer& answerer, size_t count);
    // Starts the timer (once); the steps run whenever a message loop pumps.
    void Start();
    bool Finished() const { return steps_.empty(); }

private:
    struct Step {
        std::string what;
        std::function<bool()> run;
        DWORD timeoutMs;
    };
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void RunSteps();
    std::vector<Step> steps_;
    UINT_PTR timer_ = 0;
    DWORD stepStart_ = 0;
    bool running_ = false, failed_ = false;
};
// Input to a control of this process as a user gives it: clicks and keys
// posted, typing one WM_CHAR per character.
void Click(HWND control);
void ClickTab(HWND tabControl, int index);  // the middle of the tab: the control changes page and notifies
void Type(HWND edit, const std::string& text);
void PressKey(WORD key);  // WM_KEYDOWN and WM_KEYUP, to the window with the focus
