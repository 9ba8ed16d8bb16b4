// Windows read and driven as a user drives them, also those of another
// process: found by class and by control identifier, clicks posted.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// A shown top-level window of the class in the process (0: any), or null.
HWND ShownWindow(DWORD process, const char* className);
// A window's text, also of an edit field or other control (WM_GETTEXT).
std::string WindowText(HWND window);
// Waits until the window's process shows no message box and its thread has
// finished what it did when the last one closed; false at the timeout.
bool WaitSettled(HWND window, DWORD timeoutMs = 15000);
// The descendant of top with the control identifier, or null.
HWND FindControl(HWND top, int id);
// The lines of a list box, read as UTF-16 (the ANSI answer overruns
// across processes) and given back in the ANSI code page.
std::vector<std::string> ListLines(HWND list);
// A left click at the point of the window's client area, posted.
void PostClick(HWND window, POINT at);
