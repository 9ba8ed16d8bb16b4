// Shared by the agent and service tests: an installed copy of the program
// with its driver, profile files, settings, broadcasts and the driver's state.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "VtLockIoctl.h"
#include "VtTest.h"
#include "vrcmd.h"

namespace agenttest {

inline const char* const AdminPassword = "admin-secret";
inline const char* const TogglePassword = "toggle-secret";

template <class Pred>
bool WaitDriver(Pred pred, DWORD timeoutMs = 10000)
{
    return WaitFor([&] { return pred(QueryDriverState()); }, timeoutMs);
}

inline void SetSetting(const char* name, DWORD value)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\VtLock", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

inline void SetSettings(bool autoStart, bool userControl, bool useDefault)
{
    SetSetting("AutoStart", autoStart ? 1 : 0);
    SetSetting("UserControl", userControl ? 1 : 0);
    SetSetting("UseDefault", useDefault ? 1 : 0);
}

inline void SetPasswords()
{
    Command15(AdminPassword);
    Command10();
    Command16(TogglePassword);
    Command11();
}

struct ProfileText {
    std::vector<std::string> folders;
    std::vector<std::string> files;
    std::vector<std::string> policies;
    std::vector<std::string> tasks;
    DWORD passwordHash = 0;
};

// A profile file as an administrator would type it: plain text, CR LF.
inline std::string PlainProfile(const ProfileText& p)
{
    std::string text;
    auto section = [&text](const char* header, const std::vector<std::string>& lines) {
        text += std::string(header) + "\r\n";
        for (const std::string& line : lines)
            text += line + "\r\n";
    };
    section("[DIRECTORIES]", p.folders);
    section("[FILES]", p.files);
    section("[POLICIES]", p.policies);
    section("[TASKS]", p.tasks);
    section("[OPTIONS]", {"PWD=" + std::to_string(p.passwordHash)});
    return text + "[END1]\r\n";
}

// A profile of folders folder rules and one file rule.
inline ProfileText RulesProfile(int folders)
{
    ProfileText p;
    for (int i = 0; i < folders; ++i)
        p.folders.push_back("-C:\\VTDATA\\F" + std::to_string(i));
    p.files.push_back("&.VTX");
    return p;
}

inline std::string UserName()
{
    char name[256] = {};
    DWORD size = sizeof name;
    GetUserNameA(name, &size);
    return name;
}

inline void Broadcast(const char* message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA(message), wParam, lParam);
}

inline HWND FindAgent() { return FindWindowA("VTLOCK.AGENT", nullptr); }

inline bool AgentMutexExists()
{
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, "VTLOCK.AGENT.MUTEX");
    if (mutex)
        CloseHandle(mutex);
    return mutex != nullptr;
}

// Nothing of an agent is left that would turn a new one away.
inline bool AgentGone() { return FindAgent() == nullptr && !AgentMutexExists(); }

inline bool ProcessEnded(HANDLE process, DWORD timeoutMs = 10000)
{
    return WaitFor([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, timeoutMs);
}

inline DWORD ExitCodeOf(HANDLE process)
{
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process, &code);
    return code;
}

inline bool ServiceExists(const char* name)
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceA(manager, name, SERVICE_QUERY_STATUS) : nullptr;
    if (service)
        CloseServiceHandle(service);
    if (manager)
        CloseServiceHandle(manager);
    return service != nullptr;
}

// The driver's service is made once per prefix; a second "/INSTALL" would
// report that it exists.
inline bool DriverServiceExists() { return ServiceExists("VTLOCK"); }

// Returns once the agent's thread has dealt with what was sent before.
inline bool SyncAgent()
{
    DWORD_PTR result = 0;
    HWND agent = FindAgent();
    return agent && SendMessageTimeoutA(agent, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
}

// Posted requests are handled in order: a "Vantrel.Stop" posted after them
// has been handled once the driver counts one more stop request, and so have
// they. Returns the state then.
inline VTLOCK_STATE FenceAgent()
{
    unsigned int stops = QueryDriverState().StopRequests;
    Broadcast("Vantrel.Stop");
    VTLOCK_STATE state = {};
    WaitFor([&] { return (state = QueryDriverState()).StopRequests > stops; });
    return state;
}

// One installed copy of the program with its driver service; the agent is
// started from it and closed again when the bed goes.
class AgentBed {
public:
    AgentBed() : dir_(InstallCopy())
    {
        if (!DriverServiceExists())
            RunAndWait(Exe() + " /INSTALL");
    }
    ~AgentBed() { CloseAgent(); }
    AgentBed(const AgentBed&) = delete;
    AgentBed& operator=(const AgentBed&) = delete;

    const std::string& Dir() const { return dir_; }
    std::string Exe() const { return QuoteArgument(dir_ + "vtlock.exe"); }
    std::string ProfilePath(const std::string& name) const { return dir_ + "Profiles\\" + name; }
    void WriteProfile(const std::string& name, const ProfileText& p) const
    {
        ASSERT_TRUE(WriteWholeFile(ProfilePath(name), PlainProfile(p)));
    }
    void RemoveProfile(const std::string& name) const { DeleteFileA(ProfilePath(name).c_str()); }

    // Starts "/AGENT" and waits for its window.
    void StartAgent(const std::string& extra = std::string())
    {
        agent_ = StartProcess(Exe() + " /AGENT" + extra, &agentId_);
        ASSERT_NE(agent_, nullptr);
        ASSERT_TRUE(WaitFor([] { return FindAgent() != nullptr; })) << "the agent's window did not appear";
    }
    HANDLE Agent() const { return agent_; }
    DWORD AgentId() const { return agentId_; }

    // WM_CLOSE lets the agent disable protection; a stuck one is ended.
    void CloseAgent()
    {
        if (agent_ == nullptr)
            return;
        if (HWND window = FindAgent())
            PostMessageA(window, WM_CLOSE, 0, 0);
        ProcessEnded(agent_);
        StopProcess(agent_);
        WaitFor(AgentGone, 5000);
    }

private:
    std::string dir_;
    HANDLE agent_ = nullptr;
    DWORD agentId_ = 0;
};

}  // namespace agenttest
