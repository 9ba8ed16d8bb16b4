// Shared by the backend's end-to-end tests: an installed copy, profiles, settings, broadcasts, the agent's pipe,
// what peers hold.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include "AgentClient.h"
#include "RemoteWindows.h"
#include "VtTest.h"
#include "vrcmd.h"
namespace agenttest {
inline const char *const AdminPassword = "admin-secret", *const TogglePassword = "toggle-secret",
                  *const PoliciesKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
inline bool WaitStarted(unsigned int on) { return WaitFor([&] { return QueryDriverState().Started == on; }); }
inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
// A text value of the machine's hive, unexpanded; "<missing>" when there is none.
inline std::string MachineText(const char* key, const char* name) {
    char text[2048] = {};
    DWORD size = sizeof text;
    return RegGetValueA(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr,
                        text, &size) ? "<missing>" : text;
}
// The "no registry editor" restriction in a hive ("KEY\\", or this user's); -1 when unset.
inline long long RegistryTools(HKEY root = HKEY_CURRENT_USER, const std::string& hive = "") {
    DWORD value = 0, size = sizeof value;
    return RegGetValueA(root, (hive + PoliciesKey).c_str(), "DisableRegistryTools", RRF_RT_REG_DWORD, nullptr, &value,
                        &size) ? -1 : static_cast<long long>(value);
}
inline void SetSettings(DWORD autoStart, DWORD userControl, DWORD useDefault) {
    for (auto v : {std::make_pair("AutoStart", autoStart), {"UserControl", userControl}, {"UseDefault", useDefault}})
        ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\VtLock", v.first, REG_DWORD, &v.second, 4), 0);
}
// A profile as an administrator types it: n folder rules "-C:\VTDATA\F0"... and the rest as given.
struct ProfileText {
    std::vector<std::string> folders, files, policies, tasks;
    DWORD passwordHash;
    ProfileText(int n = 0, std::vector<std::string> fileRules = {"&.VTX"}, std::vector<std::string> policyLines = {},
                DWORD hash = 0) : files(fileRules), policies(policyLines), passwordHash(hash) {
        for (int i = 0; i < n; ++i) folders.push_back("-C:\\VTDATA\\F" + std::to_string(i));
    }
    std::string Plain() const {
        std::string text;
        for (auto s : {std::make_pair("[DIRECTORIES]", folders), {"[FILES]", files}, {"[POLICIES]", policies},
                       {"[TASKS]", tasks}, {"[OPTIONS]", {"PWD=" + std::to_string(passwordHash)}}}) {
            text += std::string(s.first) + "\r\n";
            for (const std::string& line : s.second) text += line + "\r\n";
        }
        return text + "[END1]\r\n";
    }
};
inline void Broadcast(const char* name, WPARAM w = 0, LPARAM l = 0) {
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA(name), w, l);
}
inline HWND FindAgent() { return FindWindowA("VTLOCK.AGENT", nullptr); }
// Nothing of an agent is left that would turn a new one away.
inline bool AgentGone() {
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, "VTLOCK.AGENT.MUTEX");
    if (mutex) CloseHandle(mutex);
    return FindAgent() == nullptr && mutex == nullptr;
}
// Ended within the time, with the exit code.
inline bool Ended(HANDLE process, DWORD exitCode = 0, DWORD timeoutMs = 10000) {
    DWORD code = STILL_ACTIVE;
    return WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0 && GetExitCodeProcess(process, &code) &&
           code == exitCode;
}
// Requests are handled in order: once a later "Vantrel.Start" took effect, so have they.
inline VTLOCK_STATE FenceAgent() {
    VTLOCK_STATE before = QueryDriverState(), state = {};
    Broadcast("Vantrel.Start");
    EXPECT_TRUE(WaitFor([&] { return (state = QueryDriverState()).LoadRequests > before.LoadRequests &&
                                     state.StartRequests > before.StartRequests; })) << "the agent started nothing";
    return state;
}
// "type start error-control name: command", or empty. First the command line is set, as an earlier version may
// have written it; with stop, the service is stopped and waited for.
inline std::string ServiceConfig(const char* name, bool stop = false, const std::string& setCommand = "") {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = OpenServiceA(manager, name, SERVICE_QUERY_CONFIG | SERVICE_STOP | SERVICE_CHANGE_CONFIG);
    EXPECT_TRUE(setCommand.empty() || ChangeServiceConfigA(service, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE,
                SERVICE_NO_CHANGE, setCommand.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    std::vector<char> buffer(8192);
    auto* q = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
    DWORD needed = 0;
    SERVICE_STATUS status;
    std::string text;
    if (service && QueryServiceConfigA(service, q, DWORD(buffer.size()), &needed))
        text = std::to_string(q->dwServiceType) + " " + std::to_string(q->dwStartType) + " " +
               std::to_string(q->dwErrorControl) + " " + q->lpDisplayName + ": " + q->lpBinaryPathName;
    if (stop) ControlService(service, SERVICE_CONTROL_STOP, &status);
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    EXPECT_TRUE(!stop || WaitFor([&] { return QueryServiceState(name) == SERVICE_STOPPED; })) << name << " runs on";
    return text;
}
// An installed copy with the driver's service (its own "/INSTALL"); its agent is closed at the end.
class AgentBed {
public:
    AgentBed() : dir_(InstallCopy()) { if (ServiceConfig("VTLOCK").empty()) RunAndWait(Exe() + " /INSTALL"); }
    ~AgentBed() { CloseAgent(); }
    const std::string& Dir() const { return dir_; }
    std::string Exe() const { return QuoteArgument(dir_ + "vtlock.exe"); }
    void WriteProfile(const std::string& name, const ProfileText& p) const {
        ASSERT_TRUE(WriteWholeFile(dir_ + "Profiles\\" + name, p.Plain()));
    }
    HANDLE Agent() const { return agent_; }
    void StartAgent() {
        agent_ = StartProcess(Exe() + " /AGENT");
        ASSERT_TRUE(agent_ && WaitFor([] { return FindAgent() != nullptr; })) << "the agent's window did not appear";
    }
    // An administrator's stop lets the agent disable protection; a stuck one is ended.
    void CloseAgent() {
        if (agent_ == nullptr) return;
        if (FindAgent()) AskAgent(VtPipeStopAgent);
        Ended(agent_);
        StopProcess(agent_);
        WaitFor(AgentGone, 5000);
    }
private:
    std::string dir_;
    HANDLE agent_ = nullptr;
};
}  // namespace agenttest
