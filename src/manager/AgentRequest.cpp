#include "AgentRequest.h"
#include "AgentClient.h"
#include "MsgBox.h"
#include "RuntimeEnv.h"

void Broadcast(UINT message)
{
    PostMessageA(HWND_BROADCAST, message, 0, 0);
}

void RequestAgent(UINT message)
{
    Broadcast(message);
    if (message != MsgStop) return;
    AgentAnswer answer = AskAgent(VtPipeStop);
    if (!answer.accepted && answer.outcome != VtPipeOutcome::NoAgent)
        ShowMessage(answer.text, "Vantrel", MB_OK | MB_ICONINFORMATION);
}
