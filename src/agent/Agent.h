// The background agent: a single instance with a hidden window that owns the
// protection channel and answers the registered messages.
#pragma once
#include <windows.h>
#include <string>

extern HWND AgentWindow;
extern std::string StartupUserName;
extern bool UserChangePending;
extern void (*AgentStopHook)();

constexpr WPARAM CopyDataUserTemp = 23914;
constexpr WPARAM CopyDataUserSid = 23917;

extern const char* const AgentClassName;   // "VTLOCK.AGENT"
extern const char* const AgentCaption;     // "VT Vantrel"
extern const char* const AgentMutexName;   // "VTLOCK.AGENT.MUTEX"

// Returns only when the protection driver could not be opened.
void RunAgent();
LRESULT CALLBACK AgentWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ApplyStartupProfile();
void ToggleProtection();
void CALLBACK UserWatchTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
