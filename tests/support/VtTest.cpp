// Folders, files and processes for the tests.
#include "VtTest.h"
#include <fstream>
#include <gtest/gtest.h>
std::string BinDir() {
    char path[MAX_PATH + 1] = {};
    std::string exe(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return exe.substr(0, exe.find_last_of("\\/") + 1);
}
std::string NewTempDir(const std::string& tag) {
    char temp[MAX_PATH + 1] = {};
    const std::string base(temp, GetTempPathA(MAX_PATH, temp));  // with its backslash
    static unsigned counter = 0;
    for (;;) {
        std::string dir = base + "vt_" + tag + "_" + std::to_string(GetCurrentProcessId()) + "_" +
                          std::to_string(++counter);
        if (CreateDirectoryA(dir.c_str(), nullptr)) return dir + "\\";
        if (GetLastError() != ERROR_ALREADY_EXISTS) return std::string();
    }
}
void RemoveTree(const std::string& dir) {
    if (dir.empty()) return;
    std::string folder = dir.back() == '\\' ? dir : dir + '\\';
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        std::string name = found.cFileName, path = folder + name;
        if (name == "." || name == "..") continue;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            RemoveTree(path);
        else
            DeleteFileA(path.c_str());
    }
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    RemoveDirectoryA(folder.c_str());
}
std::string InstallCopy() {
    std::string dir = NewTempDir("install");
    for (const char* name : {"vtlock.exe", "vrcmd.dll", "vtlock.sys", "vthooks.dll", "vtscc.exe"})
        CopyFileA((BinDir() + name).c_str(), (dir + name).c_str(), FALSE);  // those not built are left out
    CreateDirectoryA((dir + "Profiles").c_str(), nullptr);
    return dir;
}
std::string ReadWholeFile(const std::string& path) {
    // The tools keep their logs open while the tests read them.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes;
    char chunk[4096];
    for (DWORD got = 0; ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0;) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}
bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    return file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && file.flush();
}
std::string QuoteArgument(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
    // Backslashes are doubled only before a quote, the closing one included.
    std::string quoted = "\"";
    for (size_t i = 0, run = 0; i <= arg.size(); ++i, run = 0) {
        for (; i < arg.size() && arg[i] == '\\'; ++i) ++run;
        if (i == arg.size()) quoted.append(run * 2, '\\');
        else quoted.append(arg[i] == '"' ? run * 2 + 1 : run, '\\') += arg[i];
    }
    return quoted + "\"";
}
bool CreateProcessRetrying(const std::string& commandLine, bool inheritHandles, DWORD flags,
                           STARTUPINFOA& startup, PROCESS_INFORMATION& info, HANDLE token) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (attempt > 0) Sleep(200);
        std::string line = commandLine;
        if (token ? CreateProcessAsUserA(token, nullptr, &line[0], nullptr, nullptr, inheritHandles, flags, nullptr,
                                         nullptr, &startup, &info)
                  : CreateProcessA(nullptr, &line[0], nullptr, nullptr, inheritHandles, flags, nullptr, nullptr,
                                   &startup, &info))
            return true;
    }
    return false;
}
namespace {
// Starts the command line, with the given standard output and error when not null.
PROCESS_INFORMATION Start(const std::string& commandLine, HANDLE token, DWORD flags = 0, HANDLE output = nullptr,
                          HANDLE errors = nullptr) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = output;
        startup.hStdError = errors;
    }
    PROCESS_INFORMATION info = {};
    if (CreateProcessRetrying(commandLine, output != nullptr, flags, startup, info, token)) CloseHandle(info.hThread);
    return info;
}
// Waits for the command line, killed at the timeout.
ProcessResult Run(const std::string& commandLine, DWORD timeoutMs, HANDLE token, DWORD flags = 0,
                  HANDLE output = nullptr, HANDLE errors = nullptr) {
    ProcessResult result;
    PROCESS_INFORMATION info = Start(commandLine, token, flags, output, errors);
    if (!info.hProcess) return result;
    result.finished = WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0;
    if (!result.finished) TerminateProcess(info.hProcess, 1);
    WaitForSingleObject(info.hProcess, 5000);
    GetExitCodeProcess(info.hProcess, &result.exitCode);
    CloseHandle(info.hProcess);
    return result;
}
HANDLE InheritableFile(const std::string& path) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}
}  // namespace
HANDLE StartProcess(const std::string& commandLine, DWORD* processId, HANDLE token) {
    PROCESS_INFORMATION info = Start(commandLine, token);
    if (processId) *processId = info.dwProcessId;
    return info.hProcess;
}
ProcessResult RunAndWait(const std::string& commandLine, DWORD timeoutMs, HANDLE token) {
    return Run(commandLine, timeoutMs, token);
}
ProcessResult RunCaptured(const std::string& commandLine, DWORD timeoutMs, HANDLE token) {
    std::string dir = NewTempDir("captured");
    HANDLE output = InheritableFile(dir + "out.txt"), errors = InheritableFile(dir + "err.txt");
    ProcessResult result = Run(commandLine, timeoutMs, token, CREATE_NO_WINDOW, output, errors);
    CloseHandle(output);
    CloseHandle(errors);
    result.output = ReadWholeFile(dir + "out.txt");
    result.errors = ReadWholeFile(dir + "err.txt");
    RemoveTree(dir);
    return result;
}
void StopProcess(HANDLE& process) {
    if (!process) return;
    TerminateProcess(process, 0);
    if (WaitForSingleObject(process, 30000) != WAIT_OBJECT_0) ADD_FAILURE() << "a process did not end";
    CloseHandle(process);
    process = nullptr;
}
bool RelaunchWithUnmanagedWindows(int& exitCode) {
    if (GetEnvironmentVariableA("VT_UNMANAGED_WINDOWS", nullptr, 0) > 0 ||
        RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "Managed", REG_SZ, "N", 2) != ERROR_SUCCESS)
        return false;
    SetEnvironmentVariableA("VT_UNMANAGED_WINDOWS", "1");
    for (DWORD id : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE})
        SetHandleInformation(GetStdHandle(id), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    ProcessResult run = Run(GetCommandLineA(), INFINITE, nullptr, 0, GetStdHandle(STD_OUTPUT_HANDLE),
                            GetStdHandle(STD_ERROR_HANDLE));
    exitCode = static_cast<int>(run.exitCode);
    return run.finished;
}
ToolLog::ToolLog(const std::string& tag, char separator) : path_(NewTempDir(tag) + "tool.log"), separator_(separator) {}
std::vector<std::string> ToolLog::WaitRecords(size_t count, DWORD timeoutMs) const {
    std::vector<std::string> records;
    WaitFor([&] {
        records.clear();
        std::string log = ReadWholeFile(path_);
        // Only whole records: the tool may be writing the last one right now.
        for (size_t start = 0, end; (end = log.find(separator_, start)) != std::string::npos; start = end + 1)
            records.push_back(log.substr(start, end - start));
        return records.size() >= count;
    }, timeoutMs);
    return records;
}
BackgroundTool::BackgroundTool(const char* exe, const std::string& arguments, char separator)
    : log_(exe, separator),
      process_(StartProcess(QuoteArgument(BinDir() + exe) + " --log " + QuoteArgument(log_.Path()) + arguments)) {
    if (!process_) ADD_FAILURE() << "cannot start " << exe << " from " << BinDir();
    if (!WaitFor([this] { return GetFileAttributesA(log_.Path().c_str()) != INVALID_FILE_ATTRIBUTES; }))
        ADD_FAILURE() << exe << " did not get ready";
}
