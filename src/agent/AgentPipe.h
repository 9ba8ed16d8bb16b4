// The agent's control pipe: a thread that serves it, tells who each client
// is from the client process's token, and hands each request to the agent's
// window thread, where protection is switched.
#pragma once
#include <windows.h>
#include <string>
#include "VtPipe.h"

// Who is on the other end, from the client process's own token.
struct PipeClient {
    bool administrator = false;  // SYSTEM or the Administrators group enabled
    std::string sid;             // "S-1-5-...", empty when the token cannot be read
    std::string profileDir;      // the user's profile folder, no trailing backslash
    std::string tempDir;         // his temporary folder as the agent derives it, with trailing backslash
};

// The pipe thread's requests reach the window as this message; the work
// waits in a slot only the pipe thread fills, so a forged one does nothing.
constexpr UINT MsgAgentPipeWork = WM_APP + 0x5B;

// Makes the pipe's first instance, before the agent's window exists, so a
// client that finds the window finds the pipe. False when the name is taken.
bool CreateAgentPipe();
// Serves the pipe on a thread of its own; while the name is taken by
// another process, tries again every second.
void StartAgentPipe();
// Runs the work waiting in the slot, on the window's thread.
void RunPipeWork();

// On the window's thread: what the agent does for one request.
// endAgent is set when the agent must end once the reply is on its way.
void AnswerPipeRequest(const VtPipeRequest& request, const PipeClient& client, VtPipeReply& reply, bool& endAgent);
// Ends the agent after an accepted stop-agent request, on the window's thread.
void EndAgent();
// Whether a temporary folder may be the user's exception: inside his
// profile folder, not a drive root, not above a protected folder; why not.
bool UsableUserTemp(const std::string& temp, const std::string& profileDir, std::string& why);
