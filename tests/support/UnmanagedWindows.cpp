#include "UnmanagedWindows.h"
#include "VtTest.h"

#include <windows.h>
#include <string>

namespace {
const char* const RelaunchedVariable = "VT_UNMANAGED_WINDOWS";
}

bool RelaunchWithUnmanagedWindows(int& exitCode)
{
    if (GetEnvironmentVariableA(RelaunchedVariable, nullptr, 0) > 0) return false;
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
    RegCloseKey(key);
    SetEnvironmentVariableA(RelaunchedVariable, "1");

    std::string commandLine = GetCommandLineA();
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    for (HANDLE h : {si.hStdInput, si.hStdOutput, si.hStdError}) SetHandleInformation(h, HANDLE_FLAG_INHERIT, 1);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessRetrying(commandLine, true, 0, si, pi)) return false;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    exitCode = static_cast<int>(code);
    return true;
}
