// The one agent of the machine: the mutex that keeps a second one from
// starting, and the hidden window that its peers, its pipe and its service
// control handler find.
#pragma once
#include <windows.h>

extern HWND AgentWindow;

extern const char* const AgentClassName;   // "VTLOCK.AGENT"
extern const char* const AgentCaption;     // "VT Vantrel"
extern const char* const AgentMutexName;   // "VTLOCK.AGENT.MUTEX"

// False when another agent holds the mutex.
bool ClaimSingleInstance();
void CreateAgentWindow(WNDPROC procedure);
// Destroys the agent's window and gives up its mutex, on the agent's own
// thread, so that an agent started once this one has reported its end runs.
void ReleaseSingleInstance();
