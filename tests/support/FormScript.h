// Drives this thread's forms while they run modally: a script of steps runs
// on a timer inside whichever message loop is pumping (a form's ShowModal, a
// message box), each step until it reports done. Input goes to the real
// controls as a user's would: clicks and keys are posted, typing sends one
// WM_CHAR per character. A step that is not done within its time fails the
// test and the script then cancels every box and form it finds open, so a
// failing test ends instead of hanging.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class BoxAnswerer;

class FormScript {
public:
    FormScript();
    ~FormScript();
    FormScript(const FormScript&) = delete;
    FormScript& operator=(const FormScript&) = delete;

    // One action, done at once.
    FormScript& Do(std::function<void()> action);
    // Waits until the condition holds.
    FormScript& WaitUntil(const std::string& what, std::function<bool()> condition, DWORD timeoutMs = 15000);
    // Waits until the answerer has answered count boxes in all and none of
    // this thread's message boxes is still open.
    FormScript& WaitBoxesAnswered(BoxAnswerer& answerer, size_t count);
    // Waits until the window is visible.
    FormScript& WaitShown(HWND window);

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
    void CancelOpenWindows();

    std::vector<Step> steps_;
    UINT_PTR timer_ = 0;
    DWORD stepStart_ = 0;
    bool running_ = false;
    bool failed_ = false;
};

// Input to a control of this process, as a user gives it.
void Click(HWND control);
// A click on the tab's middle: the tab control changes page and notifies.
void ClickTab(HWND tabControl, int index);
void Type(HWND edit, const std::string& text);
// WM_KEYDOWN and WM_KEYUP of the key, posted to the window with the focus.
void PressKey(WORD key);

// The visible message box ("#32770") of this thread, or null.
HWND OpenMessageBox();
