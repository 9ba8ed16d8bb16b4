// The manager's protection commands as they reach the agent.
#pragma once
#include <windows.h>

// Announces the registered message to every top-level window; "Vantrel.Stop"
// is also asked of the agent through its pipe, since a broadcast no longer
// switches protection off. A refusal is shown; no agent running is not.
void RequestAgent(UINT message);
