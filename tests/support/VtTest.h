// Helpers shared by the tests, all inside the test's Wine prefix: folders,
// processes, the background test tools, services, the driver, X input, DACLs.
#pragma once
#include <windows.h>
#include "VtLockIoctl.h"
#include <string>
#include <vector>

// Folders end with a backslash. InstallCopy: the shipped programs that are
// built and an empty Profiles folder, as an administrator installs them.
std::string BinDir();
std::string NewTempDir(const std::string& tag);
void RemoveTree(const std::string& dir);
std::string InstallCopy();
std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
// One argument quoted so that the runtime splits it back exactly as given.
std::string QuoteArgument(const std::string& arg);
struct ProcessResult {
    bool finished = false;  // false: not started, or killed at the timeout
    DWORD exitCode = ~0u;   // never an exit code a test expects, unless it ran
    std::string output, errors;  // RunCaptured: its standard and error output
};
// With a token, the process runs as that token's user.
ProcessResult RunAndWait(const std::string& commandLine, DWORD timeoutMs = 30000, HANDLE token = nullptr);
ProcessResult RunCaptured(const std::string& commandLine, DWORD timeoutMs = 30000, HANDLE token = nullptr);
// The caller owns the process handle.
HANDLE StartProcess(const std::string& commandLine, DWORD* processId = nullptr, HANDLE token = nullptr);
// Wine now and then refuses a start on a busy machine: tried a few times.
bool CreateProcessRetrying(const std::string& commandLine, bool inheritHandles, DWORD flags,
                           STARTUPINFOA& startup, PROCESS_INFORMATION& info, HANDLE token = nullptr);
// Terminates, waits for and closes the process (the handle set to null).
void StopProcess(HANDLE& process);
// Without a window manager Wine waits two seconds for every managed window it
// hides, and reads the "Managed" option only when it loads: the first run sets
// it, runs the same command line again and returns true with its exit code;
// the second run gets false and goes on.
bool RelaunchWithUnmanagedWindows(int& exitCode);
// A process ended and waited for when the object goes, also when a case stops
// early: no case leaves one for the next.
class ChildProcess {
public:
    explicit ChildProcess(HANDLE process) : process_(process) {}
    ~ChildProcess() { StopProcess(process_); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    operator HANDLE() const { return process_; }

private:
    HANDLE process_;
};
// Polls pred() every 20 ms, pumping this thread's messages; false at the timeout.
template <class Pred>
bool WaitFor(Pred pred, DWORD timeoutMs = 10000) {
    for (DWORD start = GetTickCount(); !pred(); Sleep(20)) {
        if (GetTickCount() - start >= timeoutMs) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}
// A test tool's log: one record per event, each ended by the separator.
class ToolLog {
public:
    ToolLog(const std::string& tag, char separator);
    const std::string& Path() const { return path_; }
    std::vector<std::string> WaitRecords(size_t count, DWORD timeoutMs) const;

private:
    std::string path_;
    char separator_;
};
// A test tool run from bin/ as "EXE --log FILE arguments" while the object
// lives; ready once it has made its log.
class BackgroundTool {
public:
    BackgroundTool(const char* exe, const std::string& arguments, char separator);

protected:
    ToolLog log_;
    ChildProcess process_;
};
// A box or dialog as the user saw it. text: empty for a dialog without one; icon: "error",
// "information", "question", "warning" or ""; buttons: those offered, e.g. "yes,no" or "ok".
struct SeenBox { std::string caption, text, icon, buttons; };
// One reply of the boxanswer tool, for the first window (of any class) that
// shows the caption: its steps in order, then the button ("ok" unless Press).
class BoxReply {
public:
    explicit BoxReply(const std::string& caption);
    BoxReply& Text(int id, const std::string& text);  // WM_SETTEXT to control id
    BoxReply& Keys(int id, const std::string& text);  // one WM_CHAR each: the control's limit applies
    BoxReply& Press(const std::string& button);       // "ok", "cancel", "yes", "no", ... or an id
    BoxReply& Press(int id) { return Press(std::to_string(id)); }
    const std::string& Arguments() const { return arguments_; }

private:
    BoxReply& Add(const std::string& option, const std::string& value) {
        arguments_ += option + " " + QuoteArgument(value);
        return *this;
    }
    std::string arguments_;
};
// The system's file-open dialog: the names typed (quoted when several), then Open.
BoxReply OpenFileReply(const std::vector<std::string>& names, const std::string& caption = "Open");
// The boxanswer tool: answers every "#32770" box that no reply matches with
// the button; with typeSet (or a typeText) it first types typeText into its edit box.
class BoxAnswerer : public BackgroundTool {
public:
    explicit BoxAnswerer(const std::string& button = "ok", const std::string& typeText = std::string(),
                         bool typeSet = false);
    explicit BoxAnswerer(const std::vector<BoxReply>& replies, const std::string& button = "ok");
    // All answered so far, once there are count (or at the timeout).
    std::vector<SeenBox> WaitSeen(size_t count, DWORD timeoutMs = 15000);
    std::vector<SeenBox> Seen() { return WaitSeen(0, 0); }
};
// The msglisten tool: a hidden top-level window in another process that
// records every registered Vantrel message it receives.
struct HeardMessage { std::string name; unsigned long long wParam = 0; long long lParam = 0; };
class MessageListener : public BackgroundTool {
public:
    MessageListener() : BackgroundTool("msglisten.exe", std::string(), '\n') {}
    std::vector<HeardMessage> WaitHeard(size_t count, DWORD timeoutMs = 10000);
    std::vector<HeardMessage> Heard() { return WaitHeard(0, 0); }
};
// The driver's state record; Size is 0 when it cannot be reached.
VTLOCK_STATE QueryDriverState();
// A service's current state (0 when it cannot be queried) and its exit code.
DWORD QueryServiceState(const char* name, DWORD* exitCode = nullptr);
DWORD ServiceProcessId(const char* name);  // 0 when it does not run
bool StartNamedService(const char* name);
HANDLE OpenServiceProcess(const char* name);  // to be waited for; null when none
// A standard user's token: this process's with the Administrators group
// deny-only, kept for the process.
HANDLE StandardUserToken();
HANDLE StartAsStandardUser(const std::string& commandLine, DWORD* processId = nullptr);
ProcessResult RunAsStandardUser(const std::string& commandLine, DWORD timeoutMs = 30000);
// What a DACL grants: Users, Authenticated Users, Everyone and Interactive
// together, SYSTEM, Administrators; whether it is protected from inheriting.
struct DaclView {
    bool read = false, protectedDacl = false;
    bool kept = true;  // false: the platform does not keep DACLs on such objects
    ACCESS_MASK users = 0, system = 0, administrators = 0;
};
DaclView KeyDacl(HKEY root, const char* path);
DaclView FileDacl(const std::string& path);
// No access for ordinary users; where the DACL is kept, full control for
// SYSTEM and Administrators and the given protection.
void ExpectOnlyAdministrators(const DaclView& view, ACCESS_MASK fullControl, bool protectedDacl);
// Gives a key, made when missing, the DACL of an SDDL text. Wine keeps it only
// while the prefix's wineserver runs.
bool SetKeyDacl(HKEY root, const char* path, const char* sddl);
