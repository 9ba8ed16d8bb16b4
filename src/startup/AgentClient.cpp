#include "AgentClient.h"

namespace {

std::string OutcomeText(VtPipeOutcome outcome)
{
    switch (outcome) {
    case VtPipeOutcome::NoAgent: return "The Vantrel agent is not running.";
    case VtPipeOutcome::Untrusted:
        return "The program that answers for the Vantrel agent does not run as an administrator. Nothing was sent.";
    default: return "The Vantrel agent did not answer.";
    }
}

}  // namespace

AgentAnswer AskAgent(VtPipeCode code, const std::string& password)
{
    AgentAnswer answer;
    VtPipeRequest request = VtPipeMakeRequest(code);
    if (!VtPipeSetText(request.Password, sizeof request.Password, password)) {
        answer.outcome = VtPipeOutcome::Answered;
        answer.text = "Password is incorrect.";
        return answer;
    }
    VtPipeReply reply;
    answer.outcome = VtPipeTransact(request, reply);
    SecureZeroMemory(&request, sizeof request);
    if (answer.outcome != VtPipeOutcome::Answered) {
        answer.text = OutcomeText(answer.outcome);
        return answer;
    }
    answer.accepted = reply.Verdict == VtPipeAccepted;
    answer.protectionOn = reply.ProtectionOn != 0;
    answer.text = reply.Text;
    return answer;
}
