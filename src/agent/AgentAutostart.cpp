// "/INSTALLSERVICE" and "/UNINSTALLSERVICE": the agent service and the
// autostart values. Nothing here shows a message.
#include "AgentService.h"
#include "RegValues.h"
#include "RuntimeEnv.h"
#include <string>

namespace {

const char* const ServiceName = "VTLOCKAGENT";
const char* const ServiceDisplayName = "Vantrel Service";
const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const RunServicesKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
const char* const SiblingValue = "NTUserDispatcherVR";
const char* const RunServicesValue = "VantrelAgent";
constexpr DWORD InteractiveOwnProcess = 0x110;
constexpr DWORD StopPendingPollMs = 500;
constexpr DWORD StopPendingLimitMs = 30000;

bool CreateAgentService()
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    std::string command = ExePath() + " -service";
    SC_HANDLE service = CreateServiceA(manager, ServiceName, ServiceDisplayName, SERVICE_ALL_ACCESS,
                                       InteractiveOwnProcess, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                                       command.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    bool created = service != nullptr || GetLastError() == ERROR_SERVICE_EXISTS;
    if (service)
        CloseServiceHandle(service);
    if (manager)
        CloseServiceHandle(manager);
    return created;
}

// An existing value is kept: it may point at an earlier install.
void WriteSiblingRunValue()
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, RunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    if (RegQueryValueExA(key, SiblingValue, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        std::string text = "\"" + ExeFolder() + "vtscc.exe\" /NTUSER";
        RegSetValueExA(key, SiblingValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
    }
    RegCloseKey(key);
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

void RemoveAgentService()
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = manager
        ? OpenServiceA(manager, ServiceName, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE)
        : nullptr;
    if (service) {
        SERVICE_STATUS status;
        if (ControlService(service, SERVICE_CONTROL_STOP, &status))
            WaitWhileStopPending(service);
        DeleteService(service);
        CloseServiceHandle(service);
    }
    if (manager)
        CloseServiceHandle(manager);
}

}  // namespace

bool InstallAgentService()
{
    if (!IsWindowsNT)
        return WriteRegString(HKEY_LOCAL_MACHINE, RunServicesKey, RunServicesValue, ExePath() + " -SERVICE");
    bool created = CreateAgentService();
    WriteSiblingRunValue();
    return created;
}

bool UninstallAgentService()
{
    if (!IsWindowsNT)
        return DeleteRegValue(HKEY_LOCAL_MACHINE, RunServicesKey, RunServicesValue);
    DeleteRegValue(HKEY_LOCAL_MACHINE, RunKey, SiblingValue);
    RemoveAgentService();
    return true;
}
