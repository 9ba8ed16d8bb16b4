#include "VtTest.h"

VTLOCK_STATE QueryDriverState()
{
    VTLOCK_STATE state = {};
    HANDLE device = CreateFileA(VTLOCK_PATH_NT5, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (device == INVALID_HANDLE_VALUE)
        return state;
    DWORD returned = 0;
    if (!DeviceIoControl(device, VTLOCK_CTL_QUERY_STATE, nullptr, 0, &state, sizeof state, &returned, nullptr))
        state = VTLOCK_STATE{};
    CloseHandle(device);
    return state;
}

DWORD QueryServiceState(const char* name, DWORD* exitCode)
{
    DWORD state = 0;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceA(manager, name, SERVICE_QUERY_STATUS) : nullptr;
    SERVICE_STATUS status = {};
    if (service && QueryServiceStatus(service, &status)) {
        state = status.dwCurrentState;
        if (exitCode)
            *exitCode = status.dwWin32ExitCode;
    }
    if (service)
        CloseServiceHandle(service);
    if (manager)
        CloseServiceHandle(manager);
    return state;
}

DWORD ServiceProcessId(const char* name)
{
    SERVICE_STATUS_PROCESS status = {};
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceA(manager, name, SERVICE_QUERY_STATUS) : nullptr;
    DWORD needed = 0;
    bool known = service && QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                                                 sizeof status, &needed);
    if (service)
        CloseServiceHandle(service);
    if (manager)
        CloseServiceHandle(manager);
    return known && status.dwCurrentState == SERVICE_RUNNING ? status.dwProcessId : 0;
}

HANDLE OpenServiceProcess(const char* name)
{
    DWORD id = ServiceProcessId(name);
    return id ? OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id) : nullptr;
}

bool StartNamedService(const char* name)
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceA(manager, name, SERVICE_START) : nullptr;
    bool started = service && StartServiceA(service, 0, nullptr);
    if (service)
        CloseServiceHandle(service);
    if (manager)
        CloseServiceHandle(manager);
    return started;
}
