#include "SetupKit.h"

#include <shobjidl.h>

namespace setuptest {

std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string MachineString(const char* key, const char* name)
{
    char text[2048] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return "<missing>";
    return text;
}

bool MachineKeyExists(const char* key)
{
    HKEY handle;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
}

ProcessResult RunAllAndWait(const std::string& commandLine, DWORD timeoutMs)
{
    ProcessResult result;
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    if (!job || !CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                                &startup, &process)) {
        if (job) CloseHandle(job);
        return result;
    }
    result.started = AssignProcessToJobObject(job, process.hProcess) != FALSE;
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, timeoutMs);
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    CloseHandle(process.hProcess);
    result.finished = WaitFor(
        [&] {
            JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
            return QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info, nullptr) &&
                   info.ActiveProcesses == 0;
        },
        timeoutMs);
    CloseHandle(job);
    return result;
}

ProcessResult InstallSilently()
{
    return RunAllAndWait(QuoteArgument(BinDir() + "VantrelSetup.exe") + " /S");
}

ProcessResult UninstallSilently(const std::string& extra)
{
    std::string command = MachineString(UninstallKey, "QuietUninstallString");
    if (command == "<missing>") return ProcessResult();
    return RunAllAndWait(command + extra);
}

Shortcut ReadShortcut(const std::string& path)
{
    Shortcut shortcut;
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    std::wstring widePath(path.begin(), path.end());
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(widePath.c_str(), STGM_READ))) {
        char text[MAX_PATH * 2] = {};
        shortcut.found = SUCCEEDED(link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH));
        shortcut.target = text;
        text[0] = 0;
        link->GetArguments(text, sizeof text);
        shortcut.arguments = text;
    }
    if (file) file->Release();
    if (link) link->Release();
    CoUninitialize();
    return shortcut;
}

ServiceConfig QueryServiceConfig(const char* name)
{
    ServiceConfig config;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceA(manager, name, SERVICE_QUERY_CONFIG) : nullptr;
    std::vector<char> buffer(8192);
    auto* q = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
    DWORD needed = 0;
    if (service && QueryServiceConfigA(service, q, static_cast<DWORD>(buffer.size()), &needed)) {
        config.found = true;
        config.type = q->dwServiceType;
        config.start = q->dwStartType;
        config.command = q->lpBinaryPathName ? q->lpBinaryPathName : "";
    }
    if (service) CloseServiceHandle(service);
    if (manager) CloseServiceHandle(manager);
    return config;
}

bool AgentAnswersStart()
{
    using namespace agenttest;
    if (!WaitFor([] { return ServiceProcessId("VTLOCKAGENT") != 0 && FindAgent() != nullptr; }, 20000)) return false;
    unsigned int loads = QueryDriverState().LoadRequests;
    Broadcast("Vantrel.Start");
    return WaitDriver([&](const VTLOCK_STATE& s) { return s.Started == 1 && s.LoadRequests > loads; });
}

}  // namespace setuptest
