// Installing and removing the protection driver's kernel-driver service.
#include "DriverService.h"
#include "MsgBox.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtLockIoctl.h"

namespace {

std::string DriverTargetPath() {
    return SystemDir + "\\Drivers\\vtlock.sys";
}

const char* const NoManagerMessage =
    "Cannot connects to the Service Control Manager. May be not enough access rights. "
    "System reports about following error: ";

}  // namespace

bool InstallDriverService() {
    if (!IsWindowsNT) return false;
    ProtectProfilesFolder();
    std::string target = DriverTargetPath();
    if (!CopyFileA((ExeFolder() + "vtlock.sys").c_str(), target.c_str(), FALSE)) {
        ShowSystemError("Cannot copy driver to system folder " + SystemDir + "\\Drivers :");
        return false;
    }
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) {
        ShowSystemError(NoManagerMessage);
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
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (manager) {
        StopNamedService(manager, VTLOCK_SERVICE_NAME);
        RemoveNamedService(manager, VTLOCK_SERVICE_NAME);
        CloseServiceHandle(manager);
    }
    return DeleteFileA(DriverTargetPath().c_str()) != FALSE;
}

bool StopNamedService(SC_HANDLE manager, const std::string& name) {
    SC_HANDLE service = OpenServiceA(manager, name.c_str(), SERVICE_ALL_ACCESS);
    if (!service) return false;
    SERVICE_STATUS status = {};
    bool accepted = ControlService(service, SERVICE_CONTROL_STOP, &status) != FALSE;
    CloseServiceHandle(service);
    return accepted;
}

bool RemoveNamedService(SC_HANDLE manager, const std::string& name) {
    SC_HANDLE service = OpenServiceA(manager, name.c_str(), SERVICE_ALL_ACCESS);
    if (!service) return false;
    bool deleted = DeleteService(service) != FALSE;
    CloseServiceHandle(service);
    return deleted;
}
