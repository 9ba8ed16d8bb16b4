// Helpers shared by the tests: folders, processes, the background test tools
// (message-box answerer, message listener, shell catcher), services, the
// driver, X input and security descriptors. Everything runs inside the
// test's Wine prefix.
#pragma once
#include <windows.h>
#include "VtLockIoctl.h"
#include <string>
#include <vector>

// Folder of the running test executable (bin/), with trailing backslash.
std::string BinDir();
// A fresh, empty folder under the temporary folder, with trailing backslash.
std::string NewTempDir(const std::string& tag);
void RemoveTree(const std::string& dir);
// A fresh folder holding the shipped programs that are built and an empty
// Profiles folder, as an administrator installs them; trailing backslash.
std::string InstallCopy();
std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& bytes);

// One command-line argument quoted by the runtime's rules, so that it is
// split back exactly as given.
std::string QuoteArgument(const std::string& arg);

struct ProcessResult {
    bool finished = false;  // false: not started, or still running at the timeout (then killed)
    DWORD exitCode = ~0u;   // never an exit code a test expects, unless it ran
    std::string output;     // RunCaptured: what it wrote to its standard output
    std::string errors;     // and to its error output
};
// Runs a command line and waits for it.
ProcessResult RunAndWait(const std::string& commandLine, DWORD timeoutMs = 30000);
// The same for a console program, its two outputs caught; with a token, run
// as that token's user.
ProcessResult RunCaptured(const std::string& commandLine, DWORD timeoutMs = 30000, HANDLE token = nullptr);
// Starts a command line; the caller owns the process handle.
HANDLE StartProcess(const std::string& commandLine, DWORD* processId = nullptr, HANDLE token = nullptr);
// CreateProcessA (CreateProcessAsUserA with a token), tried again a few
// times when Wine refuses a start.
bool CreateProcessRetrying(const std::string& commandLine, bool inheritHandles, DWORD flags,
                           STARTUPINFOA& startup, PROCESS_INFORMATION& info, HANDLE token = nullptr);
// Terminates a process, waits for it and closes the handle (set to null).
void StopProcess(HANDLE& process);

// Without a window manager, Wine waits two seconds for every managed
// top-level window it hides, and its X11 driver reads the "Managed" option
// only when it loads. Programs that show and hide many windows call this
// first: the first run sets the option in the prefix, runs the same command
// line again, waits for it and returns true with its exit code; the second
// run gets false and goes on.
bool RelaunchWithUnmanagedWindows(int& exitCode);

// A process a case started or watches, ended and waited for when the object
// goes, also when the case stops early: no case leaves one for the next.
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

// Waits until pred() is true, polling every 20 ms and pumping this thread's
// messages; false at the timeout.
template <class Pred>
bool WaitFor(Pred pred, DWORD timeoutMs = 10000) {
    DWORD start = GetTickCount();
    for (;;) {
        if (pred()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(20);
    }
}

// A test tool's log: the tool appends one record per event, each ended by
// the separator; the test reads the whole records written so far.
class ToolLog {
public:
    ToolLog(const std::string& tag, char separator);
    const std::string& Path() const { return path_; }
    std::vector<std::string> WaitRecords(size_t count, DWORD timeoutMs) const;

private:
    std::string path_;
    char separator_;
};

// A test tool run from bin/ as "EXE --log FILE arguments" for the life of
// the object; ready once it has made its log.
class BackgroundTool {
public:
    BackgroundTool(const char* exe, const std::string& arguments, char separator);
    ~BackgroundTool() { StopProcess(process_); }
    BackgroundTool(const BackgroundTool&) = delete;
    BackgroundTool& operator=(const BackgroundTool&) = delete;

protected:
    ToolLog log_;
    HANDLE process_;
};

// One message box or dialog as the user saw it.
struct SeenBox {
    std::string caption;
    std::string text;     // the message text (empty for a dialog without one)
    std::string icon;     // "error", "information", "question", "warning" or ""
    std::string buttons;  // the buttons offered, e.g. "yes,no" or "ok"
};

// One reply of the boxanswer tool: for the first window (of any class) that
// shows the caption, or for any "#32770" box with AnyBox. Steps run in the
// order added, then the button is pressed ("ok" unless Press says otherwise).
extern const char AnyBox[];
class BoxReply {
public:
    explicit BoxReply(const std::string& caption = AnyBox);
    BoxReply& Text(int id, const std::string& text);  // WM_SETTEXT to control id
    BoxReply& Keys(int id, const std::string& text);  // one WM_CHAR each: the control's limit applies
    BoxReply& Press(const std::string& button);       // "ok", "cancel", "yes", "no", ... or an id
    BoxReply& Press(int id) { return Press(std::to_string(id)); }
    const std::string& Arguments() const { return arguments_; }

private:
    std::string arguments_;
};
// The system's file-open dialog: the names typed into its file name field
// (each quoted when there are several), then Open.
BoxReply OpenFileReply(const std::vector<std::string>& names, const std::string& caption = "Open");

// The boxanswer tool. Every "#32770" box that no reply matches is answered
// with the given button ("ok", "cancel", "yes", "no"); with typeSet, the tool
// first types typeText into its edit box.
class BoxAnswerer : public BackgroundTool {
public:
    explicit BoxAnswerer(const std::string& button = "ok", const std::string& typeText = std::string(),
                         bool typeSet = false);
    explicit BoxAnswerer(const std::vector<BoxReply>& replies, const std::string& button = "ok");
    // Waits until at least count boxes were answered (or the timeout) and
    // returns all answered so far.
    std::vector<SeenBox> WaitSeen(size_t count, DWORD timeoutMs = 15000);
    std::vector<SeenBox> Seen() { return WaitSeen(0, 0); }
};

// The msglisten tool: a hidden top-level window in another process that
// records every registered Vantrel message it receives.
struct HeardMessage {
    std::string name;  // "Vantrel.Ask", ...
    unsigned long long wParam = 0;
    long long lParam = 0;
};
class MessageListener : public BackgroundTool {
public:
    MessageListener() : BackgroundTool("msglisten.exe", std::string(), '\n') {}
    std::vector<HeardMessage> WaitHeard(size_t count, DWORD timeoutMs = 10000);
    std::vector<HeardMessage> Heard() { return WaitHeard(0, 0); }
};

// Registers the shellcatch tool in this prefix's HKEY_CLASSES_ROOT as the
// program that opens .hlp and .chm files and http, https and mailto links, so
// that a test sees what ShellExecute opened: one entry per start, the file or
// link it was given.
class ShellCatcher {
public:
    ShellCatcher();
    std::vector<std::string> WaitOpened(size_t count, DWORD timeoutMs = 10000)
    {
        return log_.WaitRecords(count, timeoutMs);
    }
    std::vector<std::string> Opened() { return WaitOpened(0, 0); }

private:
    ToolLog log_;
};

// Real input from the X server (xdotool, on the bench's DISPLAY); each call
// returns once xdotool has finished, true when it succeeded. Without a window
// manager the X focus stays where it was put and Wine's windows carry no
// caption of their own: XFocus gives the X focus to the X window of the
// window's top-level window, which must be in front; Wine then hands the keys
// to whatever window it has in front, also a box shown later.
bool XKeys(const std::string& keys);  // xdotool key names: "ctrl+s", "F6", "alt+F4", "Escape", "Return"
bool XClick(int x, int y);            // left click at screen coordinates
bool XFocus(HWND window);

// The protection driver's state record; Size is 0 when it cannot be reached.
VTLOCK_STATE QueryDriverState();
// A service's current state (0 when it cannot be queried) and its exit code.
DWORD QueryServiceState(const char* name, DWORD* exitCode = nullptr);
// The process id of a running service, 0 when it does not run.
DWORD ServiceProcessId(const char* name);
// Starts a service through the service control manager; false when refused.
bool StartNamedService(const char* name);
// The process of a running service, opened to be waited for; null when none.
HANDLE OpenServiceProcess(const char* name);

// A process as a standard user would start it: this process's token with
// the Administrators group deny-only. The caller owns the handle.
HANDLE StartAsStandardUser(const std::string& commandLine, DWORD* processId = nullptr);
ProcessResult RunAsStandardUser(const std::string& commandLine, DWORD timeoutMs = 30000);

// What a DACL grants: Users, Authenticated Users, Everyone and Interactive
// together, SYSTEM, Administrators; whether it is protected from inheriting.
struct DaclView {
    bool read = false;
    bool kept = true;  // false: the platform does not keep DACLs on such objects
    bool protectedDacl = false;
    ACCESS_MASK users = 0, system = 0, administrators = 0;
};
DaclView KeyDacl(HKEY root, const char* path);
// This process's token with the Administrators group made deny-only: a
// standard user's, for processes started with it. Kept for the process.
HANDLE StandardUserToken();
DaclView FileDacl(const std::string& path);
// No access for ordinary users; where the platform keeps the DACL, full
// control for SYSTEM and Administrators and the given protection.
void ExpectOnlyAdministrators(const DaclView& view, ACCESS_MASK fullControl, bool protectedDacl);
// Gives a key, made when missing, the DACL of an SDDL text. Wine keeps it only
// while the prefix's wineserver runs; the key's owner can always set it again.
bool SetKeyDacl(HKEY root, const char* path, const char* sddl);
