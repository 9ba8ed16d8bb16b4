// Shared by the end-to-end tests of the agent, its service and the setup: an
// installed copy of the program with its driver, profile files, settings,
// broadcasts and what the driver holds.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "RemoteWindows.h"
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

inline bool WaitStarted(unsigned int started, DWORD timeoutMs = 10000)
{
    return WaitDriver([&](const VTLOCK_STATE& s) { return s.Started == started; }, timeoutMs);
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
    SetSetting("AutoStart", autoStart);
    SetSetting("UserControl", userControl);
    SetSetting("UseDefault", useDefault);
}

struct ProfileText {
    std::vector<std::string> folders, files, policies, tasks;
    DWORD passwordHash = 0;
};

// A profile file as an administrator would type it: plain text, CR LF.
inline std::string PlainProfile(const ProfileText& p)
{
    std::string text;
    auto section = [&text](const char* header, const std::vector<std::string>& lines) {
        text += std::string(header) + "\r\n";
        for (const std::string& line : lines) text += line + "\r\n";
    };
    section("[DIRECTORIES]", p.folders);
    section("[FILES]", p.files);
    section("[POLICIES]", p.policies);
    section("[TASKS]", p.tasks);
    section("[OPTIONS]", {"PWD=" + std::to_string(p.passwordHash)});
    return text + "[END1]\r\n";
}

// Folder rules "-C:\VTDATA\F0"... and the given file rules.
inline ProfileText RulesProfile(int folders, std::vector<std::string> files = {"&.VTX"})
{
    ProfileText p;
    for (int i = 0; i < folders; ++i) p.folders.push_back("-C:\\VTDATA\\F" + std::to_string(i));
    p.files = files;
    return p;
}

inline void Broadcast(const char* message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA(message), wParam, lParam);
}

inline HWND FindAgent() { return FindWindowA("VTLOCK.AGENT", nullptr); }

// Nothing of an agent is left that would turn a new one away.
inline bool AgentGone()
{
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, "VTLOCK.AGENT.MUTEX");
    if (mutex) CloseHandle(mutex);
    return FindAgent() == nullptr && mutex == nullptr;
}

inline bool Ended(HANDLE process, DWORD timeoutMs = 10000)
{
    return WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
}

inline DWORD ExitCodeOf(HANDLE process)
{
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process, &code);
    return code;
}

// Requests are handled in order: once a "Vantrel.Start" posted after them has
// been carried out, so have they. The profile it applies must have rules.
// Returns the state then.
inline VTLOCK_STATE FenceAgent()
{
    VTLOCK_STATE before = QueryDriverState(), state = {};
    Broadcast("Vantrel.Start");
    EXPECT_TRUE(WaitFor([&] {
        state = QueryDriverState();
        return state.LoadRequests > before.LoadRequests && state.StartRequests > before.StartRequests;
    })) << "the agent did not carry out a start";
    return state;
}

struct ServiceConfig {
    bool found = false;
    DWORD type = 0, start = 0, errorControl = 0;
    std::string command, displayName;
};

inline ServiceConfig QueryConfig(const char* name)
{
    ServiceConfig config;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceA(manager, name, SERVICE_QUERY_CONFIG) : nullptr;
    std::vector<char> buffer(8192);
    auto* q = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
    DWORD needed = 0;
    auto text = [](const char* s) { return std::string(s ? s : ""); };
    if (service && QueryServiceConfigA(service, q, static_cast<DWORD>(buffer.size()), &needed))
        config = {true, q->dwServiceType, q->dwStartType, q->dwErrorControl, text(q->lpBinaryPathName),
                  text(q->lpDisplayName)};
    if (service) CloseServiceHandle(service);
    if (manager) CloseServiceHandle(manager);
    return config;
}

// One installed copy of the program with the driver's service (made once per
// prefix, by the program's own "/INSTALL"); the agent started from it is
// closed and waited for when the bed goes.
class AgentBed {
public:
    AgentBed() : dir_(InstallCopy())
    {
        if (!QueryConfig("VTLOCK").found) RunAndWait(Exe() + " /INSTALL");
    }
    ~AgentBed() { CloseAgent(); }
    AgentBed(const AgentBed&) = delete;
    AgentBed& operator=(const AgentBed&) = delete;

    const std::string& Dir() const { return dir_; }
    std::string Exe() const { return QuoteArgument(dir_ + "vtlock.exe"); }
    void WriteProfile(const std::string& name, const ProfileText& p) const
    {
        ASSERT_TRUE(WriteWholeFile(dir_ + "Profiles\\" + name, PlainProfile(p)));
    }
    void RemoveProfile(const std::string& name) const { DeleteFileA((dir_ + "Profiles\\" + name).c_str()); }

    // Starts "/AGENT" and waits for its window.
    void StartAgent()
    {
        agent_ = StartProcess(Exe() + " /AGENT");
        ASSERT_NE(agent_, nullptr);
        ASSERT_TRUE(WaitFor([] { return FindAgent() != nullptr; })) << "the agent's window did not appear";
    }
    HANDLE Agent() const { return agent_; }

    // WM_CLOSE lets the agent disable protection; a stuck one is ended.
    void CloseAgent()
    {
        if (agent_ == nullptr) return;
        if (HWND window = FindAgent()) PostMessageA(window, WM_CLOSE, 0, 0);
        Ended(agent_);
        StopProcess(agent_);
        WaitFor(AgentGone, 5000);
    }

private:
    std::string dir_;
    HANDLE agent_ = nullptr;
};

}  // namespace agenttest
