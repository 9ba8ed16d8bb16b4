#include "Captured.h"
#include "VtTest.h"

namespace {

HANDLE InheritableFile(const std::string& path)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

CapturedRun RunCaptured(const std::string& commandLine, DWORD timeoutMs)
{
    CapturedRun run;
    std::string dir = NewTempDir("captured");
    HANDLE out = InheritableFile(dir + "out.txt");
    HANDLE err = InheritableFile(dir + "err.txt");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process = {};
    if (CreateProcessRetrying(commandLine, true, CREATE_NO_WINDOW, startup, process)) {
        CloseHandle(process.hThread);
        run.finished = WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0;
        if (!run.finished) {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, INFINITE);
        }
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        CloseHandle(process.hProcess);
    } else {
        run.exitCode = ~0u;  // never an exit code a test expects
    }
    CloseHandle(out);
    CloseHandle(err);
    run.output = ReadWholeFile(dir + "out.txt");
    run.errors = ReadWholeFile(dir + "err.txt");
    RemoveTree(dir);
    return run;
}
