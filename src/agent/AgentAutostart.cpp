// "/INSTALLSERVICE" and "/UNINSTALLSERVICE": the agent service and the
// autostart entries. Each failure is shown in a message box and fails the command.
#include "AgentService.h"
#include "DriverService.h"
#include "MsgBox.h"
#include "RuntimeEnv.h"
#include <string>

namespace {

const char* const ServiceName = "VTLOCKAGENT";
const char* const ServiceDisplayName = "Vantrel Service";
const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const RunServicesKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
const char* const SiblingValue = "NTUserDispatcherVR";
const char* const RunServicesValue = "VantrelAgent";
const char* const ServiceSwitch = " -service";
constexpr DWORD InteractiveOwnProcess = 0x110;
constexpr DWORD StopPendingPollMs = 500;
constexpr DWORD StopPendingLimitMs = 30000;

// Quoted, so that a folder with blanks is never read as a shorter program path.
std::string QuotedCommand(const std::string& program, const char* switchText)
{
    return "\"" + program + "\"" + switchText;
}

bool Failed(const std::string& prefix, DWORD code)
{
    ShowSystemError(prefix, code);
    return false;
}

// The command line of an installed service, empty when it cannot be read.
std::string ServiceCommand(SC_HANDLE service)
{
    DWORD needed = 0;
    QueryServiceConfigA(service, nullptr, 0, &needed);
    if (needed == 0) return std::string();
    std::string buffer(needed, '\0');
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(&buffer[0]);
    if (!QueryServiceConfigA(service, config, needed, &needed) || config->lpBinaryPathName == nullptr)
        return std::string();
    return config->lpBinaryPathName;
}

// An existing service keeps its program, but an unquoted command line of an
// earlier version is quoted.
bool QuoteExistingService(SC_HANDLE manager)
{
    SC_HANDLE service = OpenServiceA(manager, ServiceName, SERVICE_QUERY_CONFIG | SERVICE_CHANGE_CONFIG);
    if (!service) return Failed("Cannot update the agent service: ", GetLastError());
    const std::string command = ServiceCommand(service);
    const size_t switchLength = std::char_traits<char>::length(ServiceSwitch);
    bool done = true;
    DWORD code = ERROR_SUCCESS;
    if (!command.empty() && command[0] != '"' && command.size() > switchLength &&
        UpperCase(command.substr(command.size() - switchLength)) == UpperCase(ServiceSwitch)) {
        const std::string quoted = QuotedCommand(command.substr(0, command.size() - switchLength), ServiceSwitch);
        done = ChangeServiceConfigA(service, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE,
                                    quoted.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr) != FALSE;
        code = GetLastError();
    }
    CloseServiceHandle(service);
    return done || Failed("Cannot update the agent service: ", code);
}

bool CreateAgentService()
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) return Failed(NoServiceManagerMessage, GetLastError());
    const std::string command = QuotedCommand(ExePath(), ServiceSwitch);
    SC_HANDLE service = CreateServiceA(manager, ServiceName, ServiceDisplayName, SERVICE_ALL_ACCESS,
                                       InteractiveOwnProcess, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                                       command.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    const DWORD code = GetLastError();
    bool done = service != nullptr;
    if (service)
        CloseServiceHandle(service);
    else if (code == ERROR_SERVICE_EXISTS)
        done = QuoteExistingService(manager);
    else
        Failed("Cannot create the agent service: ", code);
    CloseServiceHandle(manager);
    return done;
}

// An existing value is kept: it may point at an earlier install.
bool WriteSiblingRunValue()
{
    HKEY key;
    LONG code = RegCreateKeyExA(HKEY_LOCAL_MACHINE, RunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (code != ERROR_SUCCESS) return Failed("Cannot write the logon entry: ", code);
    if (RegQueryValueExA(key, SiblingValue, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        const std::string text = QuotedCommand(ExeFolder() + "vtscc.exe", " /NTUSER");
        code = RegSetValueExA(key, SiblingValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1));
    }
    RegCloseKey(key);
    return code == ERROR_SUCCESS || Failed("Cannot write the logon entry: ", code);
}

// A value or key that is not there needs no removing.
bool DeleteMachineValue(const char* subkey, const char* name, const char* failure)
{
    HKEY key;
    LONG code = RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_SET_VALUE, &key);
    if (code == ERROR_SUCCESS) {
        code = RegDeleteValueA(key, name);
        RegFlushKey(key);
        RegCloseKey(key);
    }
    return code == ERROR_SUCCESS || code == ERROR_FILE_NOT_FOUND || Failed(failure, code);
}

void WaitWhileStopPending(SC_HANDLE service)
{
    SERVICE_STATUS status;
    for (DWORD waited = 0; waited < StopPendingLimitMs; waited += StopPendingPollMs) {
        if (!QueryServiceStatus(service, &status) || status.dwCurrentState != SERVICE_STOP_PENDING)
            return;
        Sleep(StopPendingPollMs);
    }
}

// Stopped, then deleted whether it stopped or not.
bool RemoveAgentService()
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) return Failed(NoServiceManagerMessage, GetLastError());
    SC_HANDLE service = OpenServiceA(manager, ServiceName, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE);
    DWORD code = service ? ERROR_SUCCESS : GetLastError();
    if (service) {
        SERVICE_STATUS status;
        if (ControlService(service, SERVICE_CONTROL_STOP, &status))
            WaitWhileStopPending(service);
        if (!DeleteService(service)) code = GetLastError();
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return code == ERROR_SUCCESS || code == ERROR_SERVICE_DOES_NOT_EXIST || code == ERROR_SERVICE_MARKED_FOR_DELETE ||
           Failed("Cannot remove the agent service: ", code);
}

bool WriteRunServicesValue()
{
    const std::string text = QuotedCommand(ExePath(), " -SERVICE");
    HKEY key;
    LONG code = RegCreateKeyExA(HKEY_LOCAL_MACHINE, RunServicesKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                nullptr);
    if (code == ERROR_SUCCESS) {
        code = RegSetValueExA(key, RunServicesValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1));
        RegCloseKey(key);
    }
    return code == ERROR_SUCCESS || Failed("Cannot write the start-up entry: ", code);
}

}  // namespace

bool InstallAgentService()
{
    if (!IsWindowsNT) return WriteRunServicesValue();
    const bool created = CreateAgentService();
    return WriteSiblingRunValue() && created;
}

bool UninstallAgentService()
{
    if (!IsWindowsNT) return DeleteMachineValue(RunServicesKey, RunServicesValue, "Cannot remove the start-up entry: ");
    const bool valueGone = DeleteMachineValue(RunKey, SiblingValue, "Cannot remove the logon entry: ");
    return RemoveAgentService() && valueGone;
}
