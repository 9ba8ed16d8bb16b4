// The driver's state and the services, as a peer reads them.
#include "VtTest.h"
namespace {
// use(service) with the service opened for the access; false when it cannot be opened.
template <class Use>
bool WithService(const char* name, DWORD access, Use use) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceA(manager, name, access) : nullptr;
    bool used = service && use(service);
    if (service) CloseServiceHandle(service);
    if (manager) CloseServiceHandle(manager);
    return used;
}
}  // namespace
VTLOCK_STATE QueryDriverState() {
    VTLOCK_STATE state = {};
    HANDLE device = CreateFileA(VTLOCK_PATH_NT5, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (device == INVALID_HANDLE_VALUE) return state;
    DWORD returned = 0;
    if (!DeviceIoControl(device, VTLOCK_CTL_QUERY_STATE, nullptr, 0, &state, sizeof state, &returned, nullptr))
        state = VTLOCK_STATE{};
    CloseHandle(device);
    return state;
}
DWORD QueryServiceState(const char* name, DWORD* exitCode) {
    SERVICE_STATUS status = {};
    if (!WithService(name, SERVICE_QUERY_STATUS, [&](SC_HANDLE s) { return QueryServiceStatus(s, &status); }))
        return 0;
    if (exitCode) *exitCode = status.dwWin32ExitCode;
    return status.dwCurrentState;
}
DWORD ServiceProcessId(const char* name) {
    SERVICE_STATUS_PROCESS status = {};
    DWORD needed = 0;
    bool known = WithService(name, SERVICE_QUERY_STATUS, [&](SC_HANDLE s) {
        return QueryServiceStatusEx(s, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                                    &needed);
    });
    return known && status.dwCurrentState == SERVICE_RUNNING ? status.dwProcessId : 0;
}
HANDLE OpenServiceProcess(const char* name) {
    DWORD id = ServiceProcessId(name);
    return id ? OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id) : nullptr;
}
bool StartNamedService(const char* name) {
    return WithService(name, SERVICE_START, [](SC_HANDLE s) { return StartServiceA(s, 0, nullptr) != FALSE; });
}
