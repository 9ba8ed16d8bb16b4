// The pipe's transport: its one instance, one client at a time, each read
// and write bounded in time so that a client that never writes or never
// reads cannot hold the agent's pipe.
#include "AgentPipe.h"
#include "AgentInstance.h"
#include "RegValues.h"

#include <atomic>
#include <functional>
#include <shlobj.h>

namespace {

constexpr DWORD ClientLimitMs = 5000;
constexpr DWORD RetryCreateMs = 1000;
// No one from the network; SYSTEM and Administrators full control; every
// signed-in user may read, write messages and set the read mode, but not
// add an instance.
const char* const PipeSecurity = "D:P(D;;GA;;;NU)(A;;GA;;;SY)(A;;GA;;;BA)(A;;0x12018b;;;AU)";

HANDLE AgentPipe = INVALID_HANDLE_VALUE;
struct Work {
    std::function<void()> run;
    HANDLE done;
};
std::atomic<Work*> PendingWork{nullptr};

HANDLE CreatePipeInstance()
{
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, nullptr, FALSE};
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(PipeSecurity, SDDL_REVISION_1,
                                                              &attributes.lpSecurityDescriptor, nullptr))
        return INVALID_HANDLE_VALUE;
    const DWORD open = PIPE_ACCESS_DUPLEX | FILE_FLAG_FIRST_PIPE_INSTANCE | FILE_FLAG_OVERLAPPED;
    const DWORD mode = PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT;
    const DWORD outSize = 2 * sizeof(VtPipeReply), inSize = 2 * sizeof(VtPipeRequest);
    HANDLE pipe = CreateNamedPipeA(VTPIPE_NAME, open, mode | PIPE_REJECT_REMOTE_CLIENTS, 1, outSize, inSize, 0,
                                   &attributes);
    // Windows XP does not know the flag; the DACL shuts the network out there.
    if (pipe == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER)
        pipe = CreateNamedPipeA(VTPIPE_NAME, open, mode, 1, outSize, inSize, 0, &attributes);
    LocalFree(attributes.lpSecurityDescriptor);
    return pipe;
}

// Waits for an overlapped operation up to the limit; a late one is cancelled.
bool Finish(HANDLE pipe, OVERLAPPED& overlapped, BOOL started, DWORD limitMs, DWORD& bytes)
{
    if (!started && GetLastError() != ERROR_IO_PENDING) return false;
    if (WaitForSingleObject(overlapped.hEvent, limitMs) != WAIT_OBJECT_0) CancelIo(pipe);
    return GetOverlappedResult(pipe, &overlapped, &bytes, TRUE) != 0;
}

bool AwaitClient(HANDLE pipe, HANDLE event)
{
    OVERLAPPED overlapped = {};
    overlapped.hEvent = event;
    if (ConnectNamedPipe(pipe, &overlapped)) return true;
    if (GetLastError() == ERROR_PIPE_CONNECTED) return true;
    DWORD bytes = 0;
    return GetLastError() == ERROR_IO_PENDING && GetOverlappedResult(pipe, &overlapped, &bytes, TRUE);
}

// A message longer than the request fails with ERROR_MORE_DATA: nothing
// beyond the structure is read.
bool ReadRequest(HANDLE pipe, HANDLE event, VtPipeRequest& request, DWORD& bytes)
{
    OVERLAPPED overlapped = {};
    overlapped.hEvent = event;
    BOOL started = ReadFile(pipe, &request, sizeof request, nullptr, &overlapped);
    return Finish(pipe, overlapped, started, ClientLimitMs, bytes);
}

// The reply is written, then the agent waits for the client to close its
// end, so that disconnecting does not throw away a reply not yet read. What
// the client sent beyond a request is read away meanwhile: the rest of an
// overlong message must not end the wait before the reply has been read.
void WriteReply(HANDLE pipe, HANDLE event, const VtPipeReply& reply)
{
    OVERLAPPED overlapped = {};
    overlapped.hEvent = event;
    DWORD bytes = 0;
    BOOL started = WriteFile(pipe, &reply, sizeof reply, nullptr, &overlapped);
    if (!Finish(pipe, overlapped, started, ClientLimitMs, bytes)) return;
    const DWORD start = GetTickCount();
    char rest[64];
    for (DWORD spent = 0; spent < ClientLimitMs; spent = GetTickCount() - start) {
        overlapped = {};
        overlapped.hEvent = event;
        started = ReadFile(pipe, rest, sizeof rest, nullptr, &overlapped);
        if (!Finish(pipe, overlapped, started, ClientLimitMs - spent, bytes) && GetLastError() != ERROR_MORE_DATA)
            return;
    }
}

std::string ShellFolder(int folder, HANDLE token)
{
    char path[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathA(nullptr, folder, token, SHGFP_TYPE_CURRENT, path))) return std::string();
    return path;
}

std::string WithBackslash(const std::string& path)
{
    return path.empty() || path.back() == '\\' ? path : path + "\\";
}

// The TEMP value of the user's own hive, with his profile folder in place of
// %USERPROFILE%; his local application data's Temp when that is all it can be.
std::string DeriveUserTemp(const std::string& sid, const std::string& profileDir, HANDLE token)
{
    std::string temp;
    ReadRegString(HKEY_USERS, sid + "\\Environment", "TEMP", temp);
    const std::string macro = "%USERPROFILE%";
    if (temp.size() >= macro.size() && lstrcmpiA(temp.substr(0, macro.size()).c_str(), macro.c_str()) == 0)
        temp = profileDir + temp.substr(macro.size());
    if (temp.empty() || temp.find('%') != std::string::npos) {
        std::string local = ShellFolder(CSIDL_LOCAL_APPDATA, token);
        temp = local.empty() ? std::string() : local + "\\Temp";
    }
    return WithBackslash(temp);
}

// The client process's own token. Before Windows Vista a pipe does not name
// its client's process; there impersonation tells (Wine, which gets
// impersonation wrong, names the process).
HANDLE ClientToken(HANDLE pipe, DWORD access)
{
    ULONG processId = 0;
    if (VtPipeEndProcessId(pipe, false, &processId)) return VtPipeOpenProcessToken(processId, access);
    if (!ImpersonateNamedPipeClient(pipe)) return nullptr;
    HANDLE token = nullptr;
    if (!OpenThreadToken(GetCurrentThread(), access, TRUE, &token)) token = nullptr;
    RevertToSelf();
    return token;
}

PipeClient IdentifyClient(HANDLE pipe)
{
    PipeClient client;
    // The shell reads another user's folders through his token.
    HANDLE token = ClientToken(pipe, TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_IMPERSONATE);
    if (token == nullptr) return client;
    client.administrator = VtPipeTokenIsAdministrator(token);
    client.sid = VtPipeTokenUser(token);
    client.profileDir = ShellFolder(CSIDL_PROFILE, token);
    if (!client.sid.empty() && !client.profileDir.empty())
        client.tempDir = DeriveUserTemp(client.sid, client.profileDir, token);
    CloseHandle(token);
    return client;
}

// Hands work to the window's thread and waits until it has run there, also
// when a forged message happened to start it first; false when no window took it.
bool RunOnAgentThread(std::function<void()> run)
{
    Work work = {std::move(run), CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    PendingWork = &work;
    SendMessageA(AgentWindow, MsgAgentPipeWork, 0, 0);
    Work* untaken = &work;
    bool taken = !PendingWork.compare_exchange_strong(untaken, nullptr);
    if (taken) WaitForSingleObject(work.done, INFINITE);
    CloseHandle(work.done);
    return taken;
}

void Refuse(VtPipeReply& reply, VtPipeVerdict verdict, const char* text)
{
    reply.Verdict = verdict;
    VtPipeSetText(reply.Text, sizeof reply.Text, text);
}

void ServeClient(HANDLE pipe, HANDLE event)
{
    VtPipeRequest request;
    VtPipeReply reply;
    ZeroMemory(&reply, sizeof reply);
    reply.Size = sizeof reply;
    DWORD bytes = 0;
    bool endAgent = false;
    if (!ReadRequest(pipe, event, request, bytes) || !VtPipeRequestValid(request, bytes)) {
        Refuse(reply, VtPipeMalformed, "The request was not understood.");
    } else if (AgentWindow == nullptr) {
        Refuse(reply, VtPipeRefused, "The Vantrel agent is ending.");
    } else {
        PipeClient client = IdentifyClient(pipe);
        if (!RunOnAgentThread([&] { AnswerPipeRequest(request, client, reply, endAgent); }))
            Refuse(reply, VtPipeRefused, "The Vantrel agent is ending.");
    }
    SecureZeroMemory(&request, sizeof request);
    WriteReply(pipe, event, reply);
    DisconnectNamedPipe(pipe);
    if (endAgent) RunOnAgentThread(EndAgent);
}

DWORD WINAPI ServePipe(void*)
{
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    for (;;) {
        while (AgentPipe == INVALID_HANDLE_VALUE) {
            Sleep(RetryCreateMs);
            AgentPipe = CreatePipeInstance();
        }
        if (AwaitClient(AgentPipe, event))
            ServeClient(AgentPipe, event);
        else
            DisconnectNamedPipe(AgentPipe);
    }
}

}  // namespace

bool CreateAgentPipe()
{
    AgentPipe = CreatePipeInstance();
    return AgentPipe != INVALID_HANDLE_VALUE;
}

void StartAgentPipe()
{
    HANDLE thread = CreateThread(nullptr, 0, ServePipe, nullptr, 0, nullptr);
    if (thread != nullptr) CloseHandle(thread);
}

void RunPipeWork()
{
    if (Work* work = PendingWork.exchange(nullptr)) {
        work->run();
        SetEvent(work->done);
    }
}
