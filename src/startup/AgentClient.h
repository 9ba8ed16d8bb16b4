// The client side of the agent's pipe, as the commands and the manager use it.
#pragma once
#include <string>
#include "VtPipe.h"

struct AgentAnswer {
    VtPipeOutcome outcome = VtPipeOutcome::NoAgent;
    bool accepted = false;      // answered and accepted
    bool protectionOn = false;  // after the request, as the agent says
    std::string text;           // the agent's reply, or why there is none
};

// Sends one request, with a password for the requests that switch
// protection off (empty: none); the password is wiped once sent.
AgentAnswer AskAgent(VtPipeCode code, const std::string& password = std::string());
