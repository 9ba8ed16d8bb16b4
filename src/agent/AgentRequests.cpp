// What the agent does for each pipe request, on its window's thread: who
// may switch protection off, and what the logon program's request may change.
#include "Agent.h"
#include "AgentInstance.h"
#include "AgentPipe.h"
#include "Channel.h"
#include "CommandLibrary.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "UserHive.h"

namespace {

const char* const SidPrefix = "S-1-5-";
const char* const StopRefusal = "Only an administrator or the toggle password can switch protection off.";

// The administrator password always works; otherwise the profile's own
// password when it has one, else the default toggle password.
bool TogglePasswordAccepted(const char* password)
{
    if (LibBool(Command14(password))) return true;
    if (Profile.OwnPassword) return Command18(password) == Profile.PasswordHash;
    return LibBool(Command19(password));
}

void Answer(VtPipeReply& reply, VtPipeVerdict verdict, const std::string& text)
{
    reply.Verdict = verdict;
    reply.ProtectionOn = ProtectionEnabled ? 1 : 0;
    if (!VtPipeSetText(reply.Text, sizeof reply.Text, text))
        VtPipeSetText(reply.Text, sizeof reply.Text, text.substr(0, sizeof reply.Text - 1));
}

std::string ProtectionText() { return ProtectionEnabled ? "Protection is on." : "Protection is off."; }

// A request that carries a password is judged by it; one without, by who
// sent it.
bool MayLower(const VtPipeRequest& request, const PipeClient& client, VtPipeReply& reply, const char* refusal)
{
    if (request.Password[0] != '\0') {
        if (TogglePasswordAccepted(request.Password)) return true;
        Answer(reply, VtPipeRefused, "Password is incorrect.");
        return false;
    }
    if (client.administrator) return true;
    Answer(reply, VtPipeRefused, refusal);
    return false;
}

bool Inside(const std::string& path, const std::string& folder)
{
    const std::string upperPath = UpperCase(path), upperFolder = UpperCase(folder) + "\\";
    return upperPath.size() > upperFolder.size() && upperPath.compare(0, upperFolder.size(), upperFolder) == 0;
}

bool SameFolder(const std::string& a, const std::string& b)
{
    auto trimmed = [](std::string s) {
        while (!s.empty() && s.back() == '\\') s.pop_back();
        return UpperCase(s);
    };
    return trimmed(a) == trimmed(b);
}

// The user's hive and temporary folder come from the client's token; what
// the request names is only compared.
void AnswerLogon(const VtPipeRequest& request, const PipeClient& client, VtPipeReply& reply)
{
    const size_t prefix = std::char_traits<char>::length(SidPrefix);
    if (client.sid.compare(0, prefix, SidPrefix) != 0 || client.sid.size() <= prefix) {
        Answer(reply, VtPipeRefused, "The user of this request cannot be told.");
        return;
    }
    std::string said = "User " + client.sid;
    std::string ignored;
    const std::string claimedSid = request.UserSid;
    if (!claimedSid.empty() && claimedSid != client.sid && claimedSid != client.sid.substr(prefix))
        ignored += " Ignored: the identifier " + claimedSid + ", not the sender's.";
    if (!OpenUserHive(client.sid.substr(prefix))) said += ", whose hive is not loaded";
    std::string why;
    if (UsableUserTemp(client.tempDir, client.profileDir, why)) {
        SetUserTempDir(client.tempDir);
        said += ", temporary folder " + client.tempDir;
    } else {
        ignored += " Ignored: the temporary folder " + client.tempDir + ", " + why;
    }
    const std::string claimedTemp = request.UserTemp;
    if (!claimedTemp.empty() && !SameFolder(claimedTemp, client.tempDir))
        ignored += " Ignored: the temporary folder " + claimedTemp + ", not the sender's own.";
    LoadUserShellFolders();
    // Anyone may send this request: with no profile to put in force it
    // must not leave protection off.
    if (!SelectStartupProfile().empty()) {
        DisableProtection();
        ApplyStartupProfile();
    }
    Answer(reply, VtPipeAccepted, said + "." + ignored);
}

}  // namespace

bool UsableUserTemp(const std::string& temp, const std::string& profileDir, std::string& why)
{
    if (temp.size() <= 3 || temp[1] != ':' || temp[2] != '\\') {
        why = "not a folder on a drive.";
        return false;
    }
    if (profileDir.empty() || !Inside(temp, profileDir)) {
        why = "not inside the user's profile folder.";
        return false;
    }
    std::string folder = temp;
    while (folder.back() == '\\') folder.pop_back();
    for (const std::string& rule : Profile.Folders) {
        if (rule.size() < 2 || rule[0] == '+') continue;
        const std::string path = ExpandMacros(rule.substr(1));
        if (SameFolder(path, folder) || Inside(path, folder)) {
            why = "above or at the protected folder " + path + ".";
            return false;
        }
    }
    return true;
}

void AnswerPipeRequest(const VtPipeRequest& request, const PipeClient& client, VtPipeReply& reply, bool& endAgent)
{
    switch (request.Code) {
    case VtPipeQuery:
        Answer(reply, VtPipeAccepted, ProtectionText());
        return;
    case VtPipeStart:
        ApplyStartupProfile();
        Answer(reply, VtPipeAccepted, ProtectionText());
        return;
    case VtPipeStop:
        if (!MayLower(request, client, reply, StopRefusal)) return;
        DisableProtection();
        Answer(reply, VtPipeAccepted, ProtectionText());
        return;
    case VtPipeStopAgent:
        if (!MayLower(request, client, reply, "Only an administrator can stop the Vantrel agent.")) return;
        DisableProtection();
        AgentQuitting = true;
        endAgent = true;
        Answer(reply, VtPipeAccepted, "The Vantrel agent has ended.");
        return;
    case VtPipeLogon:
        AnswerLogon(request, client, reply);
        return;
    default:
        Answer(reply, VtPipeMalformed, "The request was not understood.");
    }
}

// The hook stops the agent service, which then reports that it has ended.
void EndAgent()
{
    ReleaseSingleInstance();
    if (AgentStopHook) AgentStopHook();
    PostQuitMessage(0);
    ExitProcess(0);
}
