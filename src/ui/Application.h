// TApplication: the process's one application object. It initialises the
// common controls, keeps the title and the main form, sets the controls'
// hint timing, and runs the message loop: the main form's accelerator table
// first, then the dialog keys of whichever of our forms holds the message.
#pragma once
#include <windows.h>
#include <string>
#include "Form.h"
#include "Hints.h"

class TApplication {
public:
    void Initialize();
    void SetTitle(const std::string& title) { title_ = title; }
    const std::string& Title() const { return title_; }
    // Closing the main form ends the loop.
    void SetMainForm(TForm* form);
    TForm* MainForm() const { return TForm::MainForm(); }

    // Milliseconds before a hint shows and how long it stays.
    int HintPause() const { return ::HintPause(); }
    void SetHintPause(int ms) { ::SetHintPause(ms); }
    int HintHidePause() const { return ::HintHidePause(); }
    void SetHintHidePause(int ms) { ::SetHintHidePause(ms); }

    // Runs until the quit request; the accelerators act on the main form.
    void Run(HACCEL accelerators = nullptr);
    // One message as the loop handles it; false when it was WM_QUIT.
    bool HandleMessage(MSG& msg, HACCEL accelerators);
    void Terminate();
    bool Terminated() const { return terminated_; }

private:
    std::string title_;
    bool terminated_ = false;
};

extern TApplication Application;
