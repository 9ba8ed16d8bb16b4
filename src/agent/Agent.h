// The background agent: a single instance with a hidden window that owns the
// protection channel and answers its pipe and the registered messages
// that raise protection.
#pragma once
#include <windows.h>
#include <atomic>
#include <string>

extern std::string StartupUserName;
extern bool UserChangePending;
extern void (*AgentStopHook)();
// Set once "Vantrel.StopAgent" has disabled protection and the agent is ending.
extern std::atomic<bool> AgentQuitting;
// Where the user watch reads the logged-on user's name; GetCurrentUserName
// unless a test replaces it.
extern std::string (*AgentUserNameSource)();

// Sent by the service control handler's thread so that the agent's own
// thread disables protection and closes the user hive; obeyed only once the
// handler has set AgentServiceStopAsked.
constexpr UINT MsgAgentServiceStop = WM_APP + 0x5A;
extern std::atomic<bool> AgentServiceStopAsked;

// Returns only when the protection driver could not be opened, with the
// single instance released. followUser: watch for a change of logged-on
// user (not as an NT service, where his logon program reports him).
void RunAgent(bool followUser);
LRESULT CALLBACK AgentWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ApplyStartupProfile();
void CALLBACK UserWatchTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
