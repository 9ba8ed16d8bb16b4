// The contract of the agent's control pipe: its name, the requests and the
// replies, how each side tells who is on the other end, and the client's
// whole exchange. Included by vtlock.exe (agent and commands), vtscc.exe and
// the tests.
//
// One request and one reply per connection, each a single message of
// exactly its structure's size; anything else is refused unread. The agent
// holds the pipe's only instance, so no other process can serve the name
// while it runs; a client still checks that the server is SYSTEM or an
// administrator before it sends anything, a password least of all.
#pragma once
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <string>

#define VTPIPE_NAME "\\\\.\\pipe\\VTLOCK.AGENT"
// The agent's single-instance mutex.
#define VTPIPE_AGENT_MUTEX "VTLOCK.AGENT.MUTEX"

// Text fields hold a NUL-terminated text within their size.
constexpr DWORD VtPipePasswordBytes = 1024;
constexpr DWORD VtPipePathBytes = MAX_PATH + 1;
constexpr DWORD VtPipeReplyTextBytes = 1024;

// What a client asks. Requests that switch protection off or change what it
// protects are honoured for a request carrying the right toggle password
// (or the administrator password); without a password, for a client that
// is SYSTEM or an administrator. The logon request changes only what the
// agent takes from the client's own token.
enum VtPipeCode : DWORD {
    VtPipeQuery = 1,      // anyone: the reply tells whether protection is on
    VtPipeStart = 2,      // anyone: the start-up profile applied
    VtPipeStop = 3,       // protection switched off
    VtPipeStopAgent = 4,  // protection switched off and the agent ended
    VtPipeLogon = 5,      // the logon program: the client's user, his hive and temporary folder
};

struct VtPipeRequest {
    DWORD Size;  // sizeof(VtPipeRequest)
    DWORD Code;  // VtPipeCode
    char Password[VtPipePasswordBytes];  // Stop, StopAgent: empty when none is given
    // Logon: what the logon program sees; the agent derives both itself from
    // the client's token and only says in the reply where they differ.
    char UserTemp[VtPipePathBytes];
    char UserSid[VtPipePathBytes];
};

enum VtPipeVerdict : DWORD {
    VtPipeAccepted = 0,
    VtPipeRefused = 1,    // not allowed: protection is as it was
    VtPipeMalformed = 2,  // not a request of this contract
};

struct VtPipeReply {
    DWORD Size;          // sizeof(VtPipeReply)
    DWORD Verdict;       // VtPipeVerdict
    DWORD ProtectionOn;  // 1 when protection is on after the request
    char Text[VtPipeReplyTextBytes];  // why, for the user; what was ignored
};

// What became of a client's exchange.
enum class VtPipeOutcome {
    Answered,    // the reply is valid
    NoAgent,     // no pipe of that name, or busy for the whole wait
    Untrusted,   // the server is not SYSTEM or an administrator: nothing sent
    NoAnswer,    // the server broke off or answered out of contract
};

inline bool VtPipeTextFits(const char* field, DWORD size)
{
    for (DWORD i = 0; i < size; ++i)
        if (field[i] == '\0') return true;
    return false;
}

// Copies a text into a field; false, and the field emptied, when it does not fit.
inline bool VtPipeSetText(char* field, DWORD size, const std::string& text)
{
    field[0] = '\0';
    if (text.size() >= size || text.find('\0') != std::string::npos) return false;
    CopyMemory(field, text.c_str(), text.size() + 1);
    return true;
}

inline bool VtPipeRequestValid(const VtPipeRequest& request, DWORD bytesRead)
{
    return bytesRead == sizeof request && request.Size == sizeof request && request.Code >= VtPipeQuery &&
           request.Code <= VtPipeLogon && VtPipeTextFits(request.Password, sizeof request.Password) &&
           VtPipeTextFits(request.UserTemp, sizeof request.UserTemp) &&
           VtPipeTextFits(request.UserSid, sizeof request.UserSid);
}

inline bool VtPipeReplyValid(const VtPipeReply& reply, DWORD bytesRead)
{
    return bytesRead == sizeof reply && reply.Size == sizeof reply && reply.Verdict <= VtPipeMalformed &&
           VtPipeTextFits(reply.Text, sizeof reply.Text);
}

inline VtPipeRequest VtPipeMakeRequest(VtPipeCode code)
{
    VtPipeRequest request;
    ZeroMemory(&request, sizeof request);
    request.Size = sizeof request;
    request.Code = code;
    return request;
}

// The token's user as "S-1-5-...", empty when it cannot be read.
inline std::string VtPipeTokenUser(HANDLE token)
{
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    if (size == 0) return std::string();
    std::string buffer(size, '\0');
    char* text = nullptr;
    std::string sid;
    if (GetTokenInformation(token, TokenUser, &buffer[0], size, &size) &&
        ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(&buffer[0])->User.Sid, &text)) {
        sid = text;
        LocalFree(text);
    }
    return sid;
}

// SYSTEM, or the Administrators group enabled (a filtered or restricted
// token has it deny-only and is no administrator).
inline bool VtPipeTokenIsAdministrator(HANDLE token)
{
    if (VtPipeTokenUser(token) == "S-1-5-18") return true;
    HANDLE identification = nullptr;
    if (!DuplicateToken(token, SecurityIdentification, &identification)) return false;
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof administrators;
    BOOL member = FALSE;
    bool checked = CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size) &&
                   CheckTokenMembership(identification, administrators, &member);
    CloseHandle(identification);
    return checked && member;
}

// The process's own token, opened to be queried; null when it cannot be.
// Who a process is comes from this token: Wine gets impersonation wrong.
inline HANDLE VtPipeOpenProcessToken(DWORD processId, DWORD access = TOKEN_QUERY | TOKEN_DUPLICATE)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);  // before Vista
    if (process == nullptr) return nullptr;
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, access, &token)) token = nullptr;
    CloseHandle(process);
    return token;
}

// The process at one end of a pipe. The calls exist from Windows Vista on and
// are looked up at run time, so that the programs still load on older systems.
inline bool VtPipeEndProcessId(HANDLE pipe, bool server, ULONG* processId)
{
    using EndFn = BOOL(WINAPI*)(HANDLE, PULONG);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC found = kernel ? GetProcAddress(kernel, server ? "GetNamedPipeServerProcessId" : "GetNamedPipeClientProcessId")
                           : nullptr;
    return found != nullptr && reinterpret_cast<EndFn>(reinterpret_cast<void*>(found))(pipe, processId);
}

// A standard user may not open a service's token: then the pipe's owner
// tells, which only SYSTEM or an administrator can make SYSTEM or the
// Administrators group.
inline bool VtPipeOwnerIsAdministrator(HANDLE pipe)
{
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(pipe, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return false;
    bool trusted = owner != nullptr && IsValidSid(owner) &&
                   (IsWellKnownSid(owner, WinLocalSystemSid) || IsWellKnownSid(owner, WinBuiltinAdministratorsSid));
    LocalFree(descriptor);
    return trusted;
}

inline bool VtPipeServerTrusted(HANDLE pipe)
{
    ULONG serverId = 0;
    if (!VtPipeEndProcessId(pipe, true, &serverId)) return VtPipeOwnerIsAdministrator(pipe);
    HANDLE token = VtPipeOpenProcessToken(serverId);
    if (token == nullptr) return VtPipeOwnerIsAdministrator(pipe);
    bool trusted = VtPipeTokenIsAdministrator(token);
    CloseHandle(token);
    return trusted;
}

// An agent that holds its mutex but serves no pipe yet is starting, or waits
// for the name that an ending agent still holds: it is waited for.
inline bool VtPipeAgentRuns()
{
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, VTPIPE_AGENT_MUTEX);
    if (mutex == nullptr) return false;
    CloseHandle(mutex);
    return true;
}

// Connects, checks the server, sends the request and reads the reply; waits
// up to waitMs for a busy pipe.
inline VtPipeOutcome VtPipeTransact(const VtPipeRequest& request, VtPipeReply& reply, DWORD waitMs = 10000)
{
    const DWORD access = GENERIC_READ | FILE_WRITE_DATA | FILE_WRITE_ATTRIBUTES;
    const DWORD start = GetTickCount();
    HANDLE pipe;
    while ((pipe = CreateFileA(VTPIPE_NAME, access, 0, nullptr, OPEN_EXISTING, 0, nullptr)) == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        const bool busy = error == ERROR_PIPE_BUSY;
        if ((!busy && !(error == ERROR_FILE_NOT_FOUND && VtPipeAgentRuns())) || GetTickCount() - start >= waitMs)
            return VtPipeOutcome::NoAgent;
        if (busy)
            WaitNamedPipeA(VTPIPE_NAME, 500);
        else
            Sleep(100);
    }
    DWORD mode = PIPE_READMODE_MESSAGE;
    if (!SetNamedPipeHandleState(pipe, &mode, nullptr, nullptr) || !VtPipeServerTrusted(pipe)) {
        CloseHandle(pipe);
        return VtPipeOutcome::Untrusted;
    }
    DWORD written = 0, read = 0;
    bool answered = WriteFile(pipe, &request, sizeof request, &written, nullptr) && written == sizeof request &&
                    ReadFile(pipe, &reply, sizeof reply, &read, nullptr) && VtPipeReplyValid(reply, read);
    CloseHandle(pipe);
    return answered ? VtPipeOutcome::Answered : VtPipeOutcome::NoAnswer;
}
