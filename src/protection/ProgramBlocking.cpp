// Program blocking: ends the processes of disabled programs when the
// shell-hook library reports one of their windows.
#include "ProgramBlocking.h"
#include "MsgBox.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"

#include <tlhelp32.h>
#include <vector>

bool ProgramBlockingActive = false;

namespace {

// Loaded on the first start and kept, with its hook, for the process' life.
HMODULE HookLibrary = nullptr;

using SnapshotProc = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkProc = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
using QueryProc = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

const ULONG SystemProcessInformation = 5;
const LONG StatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);
const ULONG FirstListSize = 20480;
const ULONG LargestListSize = 64u << 20;

template <class Proc>
Proc Lookup(HMODULE library, const char* name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

struct UnicodeText {
    USHORT Length;
    USHORT MaximumLength;
    PWSTR Buffer;
};

// The leading part of SYSTEM_PROCESS_INFORMATION that is read here.
struct ProcessRecord {
    ULONG NextEntryOffset;
    ULONG NumberOfThreads;
    LARGE_INTEGER Reserved[6];
    UnicodeText ImageName;
    LONG BasePriority;
    HANDLE UniqueProcessId;
};

// Toolhelp is looked up at run time: NT 4.0's kernel32 lacks it, and a
// static import would keep the program from loading there.
bool NameFromToolhelp(DWORD processId, std::string& name) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto snapshot = Lookup<SnapshotProc>(kernel, "CreateToolhelp32Snapshot");
    auto first = Lookup<ProcessWalkProc>(kernel, "Process32First");
    auto next = Lookup<ProcessWalkProc>(kernel, "Process32Next");
    if (!snapshot || !first || !next) return false;
    HANDLE list = snapshot(TH32CS_SNAPPROCESS, 0);
    if (list == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = first(list, &entry); more; more = next(list, &entry))
        if (entry.th32ProcessID == processId) name = entry.szExeFile;
    CloseHandle(list);
    return true;
}

std::string NarrowText(const UnicodeText& text) {
    int chars = text.Length / sizeof(WCHAR);
    int size = WideCharToMultiByte(CP_ACP, 0, text.Buffer, chars, nullptr, 0, nullptr, nullptr);
    std::string result(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.Buffer, chars, &result[0], size, nullptr, nullptr);
    return result;
}

// Windows 95/98/ME list a full path; the disabled programs are bare names.
std::string FileNamePart(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ProgramName(const std::string& entry) {
    return entry.substr(0, entry.find(TaskMarker));
}

}  // namespace

void StartProgramBlocking() {
    if (!HookLibrary) {
        HMODULE library = LoadLibraryA("vthooks.dll");
        if (reinterpret_cast<UINT_PTR>(library) < 32) {
            ShowSystemError("Cannot load VTHOOKS.DLL library: ");
            ProgramBlockingActive = false;
            return;
        }
        HookLibrary = library;
        auto install = Lookup<void(WINAPI*)()>(library, "installshellhook");
        if (install) install();
    }
    ProgramBlockingActive = true;
}

void StopProgramBlocking() {
    ProgramBlockingActive = false;
}

namespace {

// The whole process list: a busy machine's does not fit a fixed buffer, so
// the buffer grows (to the size the call asks for, or twice its size where
// the call does not tell) until the list fits.
bool QueryProcessList(QueryProc query, std::vector<BYTE>& buffer) {
    for (ULONG size = FirstListSize; size <= LargestListSize;) {
        buffer.resize(size);
        ULONG needed = 0;
        LONG status = query(SystemProcessInformation, buffer.data(), size, &needed);
        if (status >= 0) return true;
        if (status != StatusInfoLengthMismatch) return false;
        size = needed > size ? needed + needed / 8 : size * 2;
    }
    return false;
}

}  // namespace

std::string ProcessNameFromSystemInformation(DWORD processId) {
    std::string name;
    HMODULE ntdll = LoadLibraryA("NTDLL.DLL");
    if (!ntdll) return name;
    auto query = Lookup<QueryProc>(ntdll, "NtQuerySystemInformation");
    std::vector<BYTE> buffer;
    if (query && QueryProcessList(query, buffer)) {
        size_t offset = 0;
        for (;;) {
            const auto* record = reinterpret_cast<const ProcessRecord*>(buffer.data() + offset);
            if (reinterpret_cast<ULONG_PTR>(record->UniqueProcessId) == processId && record->ImageName.Buffer)
                name = NarrowText(record->ImageName);
            if (record->NextEntryOffset == 0) break;
            offset += record->NextEntryOffset;
            if (offset + sizeof(ProcessRecord) > buffer.size()) break;
        }
    }
    FreeLibrary(ntdll);
    return name;
}

std::string GetWindowProcessName(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    std::string name;
    if (!NameFromToolhelp(processId, name)) name = ProcessNameFromSystemInformation(processId);
    return name;
}

void CloseIfDisabled(HWND window) {
    if (!ProgramBlockingActive) return;
    std::string name = UpperCase(FileNamePart(GetWindowProcessName(window)));
    // A process whose name cannot be found is never a disabled program.
    if (name.empty()) return;
    for (const std::string& entry : Profile.Tasks) {
        if (ProgramName(entry) != name) continue;
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
        if (process) {
            TerminateProcess(process, 0);
            CloseHandle(process);
        }
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
}
