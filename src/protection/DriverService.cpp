// Installing and removing the protection driver's kernel-driver service.
#include "DriverService.h"
#include "MsgBox.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtLockIoctl.h"

const char* const NoServiceManagerMessage =
    "Cannot connects to the Service Control Manager. May be not enough access rights. "
    "System reports about following error: ";

namespace {

constexpr DWORD StopPollMs = 250;
constexpr DWORD StopLimitMs = 10000;

// A kernel driver's path is a file name, never split at blanks: it is not quoted.
std::string DriverTargetPath() {
    return SystemDir + "\\Drivers\\vtlock.sys";
}

// The driver's file stays in use until the driver has unloaded.
void WaitUntilStopped(SC_HANDLE service) {
    SERVICE_STATUS status;
    for (DWORD waited = 0; waited < StopLimitMs; waited += StopPollMs) {
        if (!QueryServiceStatus(service, &status) || status.dwCurrentState == SERVICE_STOPPED) return;
        Sleep(StopPollMs);
    }
}

// Stopped and deleted; a service that is not there, or already marked for
// deletion, counts as removed.
bool RemoveDriverService(SC_HANDLE manager) {
    SC_HANDLE service = OpenServiceA(manager, VTLOCK_SERVICE_NAME, SERVICE_ALL_ACCESS);
    if (!service) {
        DWORD code = GetLastError();
        if (code == ERROR_SERVICE_DOES_NOT_EXIST) return true;
        ShowSystemError("Cannot remove the driver service: ", code);
        return false;
    }
    SERVICE_STATUS status = {};
    if (ControlService(service, SERVICE_CONTROL_STOP, &status)) WaitUntilStopped(service);
    bool deleted = DeleteService(service) != FALSE;
    DWORD code = deleted ? ERROR_SUCCESS : GetLastError();
    CloseServiceHandle(service);
    if (deleted || code == ERROR_SERVICE_MARKED_FOR_DELETE) return true;
    ShowSystemError("Cannot remove the driver service: ", code);
    return false;
}

}  // namespace

bool InstallDriverService() {
    if (!IsWindowsNT) return true;
    ProtectProfilesFolder();
    std::string target = DriverTargetPath();
    if (!CopyFileA((ExeFolder() + "vtlock.sys").c_str(), target.c_str(), FALSE)) {
        ShowSystemError("Cannot copy driver to system folder " + SystemDir + "\\Drivers :");
        return false;
    }
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) {
        ShowSystemError(NoServiceManagerMessage);
        return false;
    }
    SC_HANDLE service = CreateServiceA(manager, VTLOCK_SERVICE_NAME, VTLOCK_SERVICE_NAME, SERVICE_ALL_ACCESS,
                                       SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                       target.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    if (!service) {
        DWORD code = GetLastError();
        CloseServiceHandle(manager);
        ShowSystemError("Cannot create a service. System reports about following error: ", code);
        return false;
    }
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return true;
}

bool UninstallDriverService() {
    if (!IsWindowsNT) return true;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) {
        ShowSystemError(NoServiceManagerMessage);
        return false;
    }
    bool removed = RemoveDriverService(manager);
    CloseServiceHandle(manager);
    if (!removed) return false;
    const std::string target = DriverTargetPath();
    if (DeleteFileA(target.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) return true;
    ShowSystemError("Cannot delete driver " + target + ": ");
    return false;
}
