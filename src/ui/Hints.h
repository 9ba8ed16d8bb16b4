// The controls' hints: one tool-tip window for the process, made with the
// first hint, and the timing it shows them with.
#pragma once
#include <windows.h>
#include <string>

// Milliseconds before a hint shows and how long it stays.
int HintPause();
void SetHintPause(int ms);
int HintHidePause();
void SetHintHidePause(int ms);
// The hint shown when the mouse rests on the window.
void SetWindowHint(HWND window, const std::string& hint);
