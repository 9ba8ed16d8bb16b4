// Windows of another process read and driven as a user drives them: found
// by class and by control identifier, their pointer-carrying messages
// answered through memory in the target process (Wine refuses such
// pointers across processes), clicks and keys posted.
#pragma once
#include <windows.h>
#include <commctrl.h>

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
// A rectangle that a common control's message (TCM_GETITEMRECT) writes for
// item. (The messages of the system's own controls, LB_GETITEMRECT among
// them, are carried across processes by the system: send those directly.)
RECT RemoteRect(HWND window, UINT message, WPARAM item);
std::string RemoteTreeText(HWND tree, HTREEITEM node);
// The child of parent (null: a root) whose text is name in any case, or null.
HTREEITEM FindTreeChild(HWND tree, HTREEITEM parent, const std::string& name);

// A left click at the point of the window's client area, posted.
void PostClick(HWND window, POINT at);
// The tab of a tab control clicked, so the control changes page and notifies.
void ClickRemoteTab(HWND tabs, int index);
