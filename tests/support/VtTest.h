// Helpers shared by the tests: folders, processes, the message-box answerer
// and the message listener. Everything runs inside the test's Wine prefix.
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

// A fresh folder holding the shipped programs (vtlock.exe, vrcmd.dll,
// vtlock.sys, vthooks.dll, vtscc.exe, whichever are built) and an empty
// Profiles folder, as an administrator would install them; trailing backslash.
std::string InstallCopy();

std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& bytes);

struct ProcessResult {
    bool started = false;
    bool finished = false;   // false: still running at the timeout (then killed)
    DWORD exitCode = 0;
};
// One command-line argument quoted by the runtime's rules, so that it is
// split back exactly as given.
std::string QuoteArgument(const std::string& arg);

// Runs a command line and waits for it.
ProcessResult RunAndWait(const std::string& commandLine, DWORD timeoutMs = 30000);
// Starts a command line; the caller owns the process handle.
HANDLE StartProcess(const std::string& commandLine, DWORD* processId = nullptr);
// CreateProcessA, tried again a few times when Wine refuses a start.
bool CreateProcessRetrying(const std::string& commandLine, bool inheritHandles, DWORD flags,
                           STARTUPINFOA& startup, PROCESS_INFORMATION& info);
// Terminates a process started with StartProcess, waits for it and closes the
// handle (set to null); a null handle is left alone.
void StopProcess(HANDLE& process);

// A process a case started or watches: ended if it still runs and waited for
// when the object goes, also when the case stops early, so that no case
// leaves a process behind for the next.
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

// One message box or dialog as the user saw it (a log line of boxanswer).
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
    BoxReply& Keys(int id, const std::string& text);  // typed one WM_CHAR at a time: the control's limit applies
    BoxReply& Click(int id);                          // BM_CLICK on a check box or radio button
    BoxReply& SelectFolder(const std::string& path);  // BFFM_SETSELECTIONA in a folder picker
    BoxReply& Press(const std::string& button);       // "ok", "cancel", "yes", "no", ... or an id
    BoxReply& Press(int id);
    const std::string& Arguments() const { return arguments_; }

private:
    std::string arguments_;
};

// The system's file-open dialog: the names typed into its file name field
// (each quoted when there are several, as for a multiple choice), then Open.
BoxReply OpenFileReply(const std::vector<std::string>& names, const std::string& caption = "Open");
// The system's folder picker: the folder chosen, then OK.
BoxReply FolderReply(const std::string& path, const std::string& caption = "Browse for Folder");

// Runs the boxanswer tool in the background. Every "#32770" box that no reply
// matches is answered with the given button ("ok", "cancel", "yes", "no");
// with typeText set, the tool first types that text into its edit box.
class BoxAnswerer {
public:
    explicit BoxAnswerer(const std::string& button = "ok", const std::string& typeText = std::string(),
                         bool typeSet = false);
    explicit BoxAnswerer(const std::vector<BoxReply>& replies, const std::string& button = "ok");
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;
    // Waits until at least count boxes were answered (or the timeout) and
    // returns all answered so far.
    std::vector<SeenBox> WaitSeen(size_t count, DWORD timeoutMs = 15000);
    // The boxes answered so far, without waiting.
    std::vector<SeenBox> Seen();

private:
    void Start(const std::string& arguments);

    std::string logPath_;
    HANDLE process_ = nullptr;
};

// Runs the msglisten tool in the background: a hidden top-level window in
// another process that records every registered Vantrel message it receives.
struct HeardMessage {
    std::string name;  // "Vantrel.Ask", ...
    unsigned long long wParam = 0;
    long long lParam = 0;
};

class MessageListener {
public:
    MessageListener();
    ~MessageListener();
    MessageListener(const MessageListener&) = delete;
    MessageListener& operator=(const MessageListener&) = delete;
    std::vector<HeardMessage> WaitHeard(size_t count, DWORD timeoutMs = 10000);
    std::vector<HeardMessage> Heard();

private:
    std::string logPath_;
    HANDLE process_ = nullptr;
};

// Registers the shellcatch tool in this prefix's HKEY_CLASSES_ROOT as the
// program that opens .hlp and .chm files and http, https and mailto links, so
// that a test sees what ShellExecute opened; the previous handlers come back
// at destruction.
class ShellCatcher {
public:
    ShellCatcher();
    ~ShellCatcher();
    ShellCatcher(const ShellCatcher&) = delete;
    ShellCatcher& operator=(const ShellCatcher&) = delete;
    // One entry per start of the tool: the file or link it was given (%1).
    std::vector<std::string> Opened();
    std::vector<std::string> WaitOpened(size_t count, DWORD timeoutMs = 10000);

private:
    struct Saved {
        std::string key;
        bool existed;
        std::string value;
    };
    std::string logPath_;
    std::vector<Saved> saved_;
};

// Real input from the X server (xdotool, on the bench's DISPLAY); each call
// returns once xdotool has finished (the window may not have read the input
// yet), true when it succeeded. Keys go to the X server's focus, which on the
// bench's Xvfb without a window manager is the window under the pointer and
// which Wine does not move for its (managed) windows; their captions are no
// part of their X windows. XFocus gives the X focus to the X window of the
// window's top-level window, which must be in front; Wine then hands the keys
// to whatever window it has in front, also a message box or dialog shown
// later, as long as that top-level window stays shown.
bool XDoTool(const std::string& arguments, DWORD timeoutMs = 10000);
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

// What a DACL grants: Users, Authenticated Users, Everyone and Interactive
// together, SYSTEM, Administrators; whether it is protected from inheriting.
struct DaclView {
    bool read = false;
    bool kept = true;  // false: the platform does not keep DACLs on such objects
    bool protectedDacl = false;
    ACCESS_MASK users = 0, system = 0, administrators = 0;
};
DaclView KeyDacl(HKEY root, const char* path);
DaclView FileDacl(const std::string& path);
// No access for ordinary users; where the platform keeps the DACL, full
// control for SYSTEM and Administrators and the given protection.
void ExpectOnlyAdministrators(const DaclView& view, ACCESS_MASK fullControl, bool protectedDacl);
