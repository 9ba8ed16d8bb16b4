// Folders, files and processes for the tests.
#include "VtTest.h"
#include <gtest/gtest.h>
namespace {
std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
bool IsDotEntry(const char* name)
{
    return std::string(name) == "." || std::string(name) == "..";
}
bool CopyIfPresent(const std::string& from, const std::string& to)
{
    if (GetFileAttributesA(from.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}
}  // namespace
std::string BinDir()
{
    char path[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return FolderOf(std::string(path, n));
}
std::string NewTempDir(const std::string& tag)
{
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string base = temp;
    if (!base.empty() && base.back() != '\\') base += '\\';
    static unsigned counter = 0;
    for (;;) {
        std::string dir = base + "vt_" + tag + "_" + std::to_string(GetCurrentProcessId()) + "_" +
                          std::to_string(++counter);
        if (CreateDirectoryA(dir.c_str(), nullptr)) return dir + "\\";
        if (GetLastError() != ERROR_ALREADY_EXISTS) return std::string();
    }
}
void RemoveTree(const std::string& dir)
{
    std::string folder = dir;
    if (folder.empty()) return;
    if (folder.back() != '\\') folder += '\\';
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (IsDotEntry(found.cFileName)) continue;
            std::string path = folder + found.cFileName;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}
std::string InstallCopy()
{
    static const char* const shipped[] = {"vtlock.exe", "vrcmd.dll", "vtlock.sys", "vthooks.dll", "vtscc.exe"};
    std::string dir = NewTempDir("install");
    for (const char* name : shipped) CopyIfPresent(BinDir() + name, dir + name);
    CreateDirectoryA((dir + "Profiles").c_str(), nullptr);
    return dir;
}
std::string ReadWholeFile(const std::string& path)
{
    // The tools keep their logs open while the tests read them.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}
bool WriteWholeFile(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    CloseHandle(file);
    return ok;
}
std::string QuoteArgument(const std::string& arg)
{
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') backslashes = backslashes * 2 + 1;
        quoted.append(backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}
bool CreateProcessRetrying(const std::string& commandLine, bool inheritHandles, DWORD flags,
                           STARTUPINFOA& startup, PROCESS_INFORMATION& info, HANDLE token)
{
    // Under Wine a process start now and then fails on a busy machine; a
    // test is about the program started, not the start itself.
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
HANDLE StartProcess(const std::string& commandLine, DWORD* processId, HANDLE token)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessRetrying(commandLine, false, 0, startup, info, token)) return nullptr;
    CloseHandle(info.hThread);
    if (processId) *processId = info.dwProcessId;
    return info.hProcess;
}
namespace {
void WaitResult(HANDLE process, DWORD timeoutMs, ProcessResult& result)
{
    result.finished = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    if (!result.finished) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
    }
    GetExitCodeProcess(process, &result.exitCode);
    CloseHandle(process);
}
HANDLE InheritableFile(const std::string& path)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}
}  // namespace
ProcessResult RunAndWait(const std::string& commandLine, DWORD timeoutMs)
{
    ProcessResult result;
    if (HANDLE process = StartProcess(commandLine)) WaitResult(process, timeoutMs, result);
    return result;
}
ProcessResult RunCaptured(const std::string& commandLine, DWORD timeoutMs, HANDLE token)
{
    ProcessResult result;
    std::string dir = NewTempDir("captured");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = InheritableFile(dir + "out.txt");
    startup.hStdError = InheritableFile(dir + "err.txt");
    PROCESS_INFORMATION info = {};
    if (CreateProcessRetrying(commandLine, true, CREATE_NO_WINDOW, startup, info, token)) {
        CloseHandle(info.hThread);
        WaitResult(info.hProcess, timeoutMs, result);
    }
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
    result.output = ReadWholeFile(dir + "out.txt");
    result.errors = ReadWholeFile(dir + "err.txt");
    RemoveTree(dir);
    return result;
}
void StopProcess(HANDLE& process)
{
    if (!process) return;
    TerminateProcess(process, 0);
    if (WaitForSingleObject(process, 30000) != WAIT_OBJECT_0) ADD_FAILURE() << "a process did not end";
    CloseHandle(process);
    process = nullptr;
}
bool RelaunchWithUnmanagedWindows(int& exitCode)
{
    if (GetEnvironmentVariableA("VT_UNMANAGED_WINDOWS", nullptr, 0) > 0) return false;
    if (RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "Managed", REG_SZ, "N", 2) != ERROR_SUCCESS)
        return false;
    SetEnvironmentVariableA("VT_UNMANAGED_WINDOWS", "1");
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    for (HANDLE h : {si.hStdInput, si.hStdOutput, si.hStdError}) SetHandleInformation(h, HANDLE_FLAG_INHERIT, 1);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessRetrying(GetCommandLineA(), true, 0, si, pi)) return false;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    exitCode = static_cast<int>(code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}
ToolLog::ToolLog(const std::string& tag, char separator)
    : path_(NewTempDir(tag) + "tool.log"), separator_(separator) {}
std::vector<std::string> ToolLog::WaitRecords(size_t count, DWORD timeoutMs) const
{
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
      process_(StartProcess(QuoteArgument(BinDir() + exe) + " --log " + QuoteArgument(log_.Path()) + arguments))
{
    if (!process_) ADD_FAILURE() << "cannot start " << exe << " from " << BinDir();
    if (!WaitFor([this] { return GetFileAttributesA(log_.Path().c_str()) != INVALID_FILE_ATTRIBUTES; }))
        ADD_FAILURE() << exe << " did not get ready";
}
