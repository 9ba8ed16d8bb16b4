// vtscc.exe /NTUSER: tells the agent who has logged on, through its pipe.
// The agent takes the user, his hive and his temporary folder from this
// process's own token; the folder and identifier sent here are only what
// this process sees, for the agent to compare. Any other command line does
// nothing.
#include <windows.h>
#include <string>
#include "VtPipe.h"

namespace {

constexpr DWORD FindAgentLimitMs = 30000;
constexpr DWORD FindAgentPollMs = 250;

bool HasNtUserSwitch()
{
    for (int i = 1; i < __argc; ++i)
        if (lstrcmpiA(__argv[i], "/NTUSER") == 0)
            return true;
    return false;
}

std::string UserTempFolder()
{
    char path[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof path, path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

std::string UserSidText()
{
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return std::string();
    std::string sid = VtPipeTokenUser(token);
    CloseHandle(token);
    return sid;
}

// The agent may start after the user logs on: ask it a while.
bool ReportUser()
{
    VtPipeRequest request = VtPipeMakeRequest(VtPipeLogon);
    VtPipeSetText(request.UserTemp, sizeof request.UserTemp, UserTempFolder());
    VtPipeSetText(request.UserSid, sizeof request.UserSid, UserSidText());
    for (DWORD waited = 0;; waited += FindAgentPollMs) {
        VtPipeReply reply;
        VtPipeOutcome outcome = VtPipeTransact(request, reply);
        if (outcome == VtPipeOutcome::Answered)
            return reply.Verdict == VtPipeAccepted;
        if (outcome == VtPipeOutcome::Untrusted || waited >= FindAgentLimitMs)
            return false;
        Sleep(FindAgentPollMs);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (HasNtUserSwitch())
        return ReportUser() ? 0 : 1;
    return 0;
}
