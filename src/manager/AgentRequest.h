// The manager's protection commands as they reach the agent.
#pragma once
#include <windows.h>

// Posts a registered message to every top-level window, wParam 0, lParam 0.
void Broadcast(UINT message);

// Announces the registered message to every top-level window; "Vantrel.Stop"
// is also asked of the agent through its pipe, since a broadcast no longer
// switches protection off. A refusal is shown; no agent running is not.
void RequestAgent(UINT message);
