// TApplication: the process's one application object. It initialises the
// common controls, keeps the title and the main form, shows the controls'
// hints through one tool-tip window with the application's hint timing, and
// runs the message loop: the main form's accelerator table first, then the
// dialog keys (Tab, Enter, Esc) of whichever of our forms holds the message.
#pragma once
#include <windows.h>
#include <string>

class TForm;

class TApplication {
public:
    void Initialize();
    void SetTitle(const std::string& title) { title_ = title; }
    const std::string& Title() const { return title_; }
    void SetMainForm(TForm* form) { mainForm_ = form; }
    TForm* MainForm() const { return mainForm_; }

    // Milliseconds before a hint shows and how long it stays.
    int HintPause() const { return hintPause_; }
    void SetHintPause(int ms);
    int HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int ms);
    void SetHint(HWND window, const std::string& hint);
    HWND HintWindow() const { return tooltip_; }

    // Runs until the quit request; the accelerators act on the main form.
    void Run(HACCEL accelerators = nullptr);
    // One message as the loop handles it; false when it was WM_QUIT.
    bool HandleMessage(MSG& msg, HACCEL accelerators);
    void Terminate();
    bool Terminated() const { return terminated_; }

private:
    void ApplyHintTiming();

    std::string title_;
    TForm* mainForm_ = nullptr;
    HWND tooltip_ = nullptr;
    int hintPause_ = 500;
    int hintHidePause_ = 2500;
    bool terminated_ = false;
};

extern TApplication Application;
