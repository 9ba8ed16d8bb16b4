// The protection channel: opening the driver and the requests sent to it.
#include "Channel.h"
#include "MsgBox.h"
#include "Policies.h"
#include "ProgramBlocking.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtLockIoctl.h"
#include "vrcmd.h"

HANDLE DriverHandle = 0;
bool ProtectionEnabled = false;
void (*RaiseOwnerWindow)() = nullptr;

namespace {

// Raising the owner's window may itself change the last error, so the error
// code is taken before.
void ReportFailure(const std::string& prefix) {
    DWORD code = GetLastError();
    if (RaiseOwnerWindow) RaiseOwnerWindow();
    ShowSystemError(prefix, code);
}

bool SendControl(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize) {
    DWORD returned = 0;
    return Command7(DriverHandle, code, in, inSize, out, outSize, &returned, nullptr) & 0xFF;
}

bool SendImage() {
    DWORD accepted = 0;
    return SendControl(VTLOCK_CTL_LOAD_PROFILE, DriverImage.data(), DriverImageSize, &accepted, sizeof accepted);
}

const char* DevicePathNT() {
    DWORD major = GetVersion() & 0xFF;
    return major >= 5 ? VTLOCK_PATH_NT5 : VTLOCK_PATH_NT4;
}

// A dynamically loadable VxD is found beside the executable.
bool OpenVxd() {
    std::string folder = ExeFolder();
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    SetCurrentDirectoryA(folder.c_str());
    HANDLE handle = CreateFileA(VTLOCK_PATH_VXD, 0, 0, nullptr, 0, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        ReportFailure("Cannot initialize protection driver: ");
        return false;
    }
    DriverHandle = handle;
    return true;
}

}  // namespace

bool OpenProtectionDriver() {
    if (!IsWindowsNT) return OpenVxd();
    HANDLE handle = 0;
    if (!StartDriverAndOpenDevice(handle)) {
        DriverHandle = 0;
        return false;
    }
    DriverHandle = handle;
    return true;
}

bool StartDriverAndOpenDevice(HANDLE& handle) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, READ_CONTROL);
    if (!manager) {
        ShowSystemError("Cannot connects to the Service Control Manager. May be not enough access rights. "
                        "System reports about following error: ");
        return false;
    }
    SC_HANDLE service = OpenServiceA(manager, VTLOCK_SERVICE_NAME, SERVICE_START);
    if (!service) {
        DWORD code = GetLastError();
        CloseServiceHandle(manager);
        ShowSystemError("Cannot open service. May be not enough access rights. System reports about following error: ",
                        code);
        return false;
    }
    if (!StartServiceA(service, 0, nullptr)) {
        DWORD code = GetLastError();
        if (code != ERROR_SERVICE_ALREADY_RUNNING && code != ERROR_SERVICE_DISABLED) {
            CloseServiceHandle(service);
            CloseServiceHandle(manager);
            ShowSystemError("Cannot start service: ", code);
            return false;
        }
    }
    CloseServiceHandle(service);
    HANDLE device = CreateFileA(DevicePathNT(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (device == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        CloseServiceHandle(manager);
        ShowSystemError("Cannot open service handle: ", code);
        return false;
    }
    handle = device;
    CloseServiceHandle(manager);
    return true;
}

// The driver always holds the rules of the profile just loaded: a profile
// without folder or file rules still replaces the previous one's, and one
// that cannot be read counts as an empty profile (the built-in exceptions
// only), so neither the driver keeps the rules of the profile before nor the
// agent its policies, programs or password. An image the driver refuses is
// followed by the empty profile's, for the same reason.
void SendProfileToDriver(const std::string& name) {
    if (!LoadProfile(ProfilesDir + name)) CreateProfileLists();
    if (DriverHandle == 0) return;
    SendControl(VTLOCK_CTL_STOP, nullptr, 0, nullptr, 0);
    BuildDriverImage();
    if (SendImage()) return;
    DWORD refusal = GetLastError();
    const TProfile loaded = Profile;
    CreateProfileLists();
    BuildDriverImage();
    SendImage();
    Profile = loaded;
    SetLastError(refusal);
    ReportFailure("Cannot send profile to driver: ");
}

void EnableProtection() {
    if (DriverHandle == 0) return;
    DWORD mask = GetProtectedDriveMask();
    StartProgramBlocking();
    ApplyPolicies();
    SendControl(VTLOCK_CTL_SET_DRIVE_MASK, &mask, sizeof mask, &mask, sizeof mask);
    if (!SendControl(VTLOCK_CTL_START, nullptr, 0, nullptr, 0)) ReportFailure("Cannot enable protection: ");
    ProtectionEnabled = true;
}

void DisableProtection() {
    if (DriverHandle == 0) return;
    StopProgramBlocking();
    RemovePolicies();
    if (!SendControl(VTLOCK_CTL_STOP, nullptr, 0, nullptr, 0)) ReportFailure("Cannot disable protection: ");
    ProtectionEnabled = false;
}

DWORD GetProtectedDriveMask() {
    DWORD present = GetLogicalDrives();
    DWORD mask = 0;
    for (int drive = 0; drive < 26; ++drive) {
        if (!(present & (1u << drive))) continue;
        char root[] = {static_cast<char>('A' + drive), ':', '\\', 0};
        UINT type = GetDriveTypeA(root);
        if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) mask |= 1u << drive;
    }
    return mask;
}
