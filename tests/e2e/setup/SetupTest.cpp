// Silent install, upgrade and uninstalls, as an administrator runs them in a fresh prefix.
#include "../agent_shared/AgentTest.h"
#include "ManagerSupport.h"
#include "RuntimeEnv.h"
#include <shlobj.h>
using namespace agenttest;
const char* const UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantrel";
const char* const Shipped[] = {"vtlock.exe", "vrcmd.dll",   "vtlock.sys",    "vthooks.dll", "vtscc.exe",
                               "vtstate.exe", "vtprofile.exe", "folders.bmp", "foldersmask.bmp", "vtlock.chm"};
std::string KnownFolder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return std::string(path) + "\\";
}
const std::string Program = KnownFolder(CSIDL_PROGRAM_FILES) + "Vantrel\\", DefaultProfile = Program +
    "Profiles\\default.vtp", Menu = KnownFolder(CSIDL_COMMON_PROGRAMS) + "Vantrel\\",
    Desktop = KnownFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
bool KeyExists(const char* key) {
    HKEY handle;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) == ERROR_SUCCESS && !RegCloseKey(handle);
}
// Its exit code, once it and all it started have ended: the uninstaller runs on from a copy.
DWORD RunAll(const std::string& commandLine) {
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    DWORD code = STILL_ACTIVE;
    if (CreateProcessRetrying(commandLine, false, CREATE_SUSPENDED, startup, process)) {
        AssignProcessToJobObject(job, process.hProcess);
        ResumeThread(process.hThread);
        // Taking messages as any program does, so that the shell-hook library can leave this process.
        WaitFor([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, 120000);
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread), CloseHandle(process.hProcess);
    }
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
    EXPECT_TRUE(WaitFor([&] { return QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info,
                                                               sizeof info, nullptr) && info.ActiveProcesses == 0; },
                        120000));
    CloseHandle(job);
    return code;
}
DWORD Install() { return RunAll(QuoteArgument(BinDir() + "VantrelSetup.exe") + " /S"); }
// Made and deleted with its handle kept: the service manager refuses to make it again until the handle is closed.
SC_HANDLE MarkedForDeletion(const char* name) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = CreateServiceA(manager, name, name, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                       SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, "x.exe", nullptr, nullptr, nullptr,
                                       nullptr, nullptr);
    EXPECT_TRUE(service && DeleteService(service));
    CloseServiceHandle(manager);
    return service;
}
// Files in use that the setup program could only move aside, to be deleted at the next restart; the
// uninstaller's copy of itself always is.
std::string RenamesPending() {
    std::vector<char> text(8192);
    DWORD size = DWORD(text.size());
    std::string pending;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager",
                     "PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, text.data(), &size) == ERROR_SUCCESS)
        for (size_t at = 0, n = 0; at < size; at += strlen(&text[at]) + 1, ++n)  // source and target in turn
            if (n % 2 == 0 && text[at] && !strstr(&text[at], "\\~nsu")) pending += std::string(&text[at]) + " ";
    return pending;
}
// In place of the service's agent, an agent started with /AGENT and a profile manager, from the installed program.
struct RunningPrograms {
    ChildProcess agent, manager;
    RunningPrograms() : agent((ServiceConfig("VTLOCKAGENT", true), WaitFor(AgentGone),
                               StartProcess(QuoteArgument(Program + "vtlock.exe") + " /AGENT"))),
                        manager(StartProcess(QuoteArgument(Program + "vtlock.exe"))) {
        EXPECT_TRUE(WaitFor([] { return FindAgent() && FindWindowA("TForm1", nullptr); }));
    }
    // The setup program ended both before it ended (the manager without asking, as it is silent).
    void ExpectEnded() const {
        EXPECT_TRUE(Ended(agent, 0, 0) && Ended(manager, 1, 0)) << "the agent, the manager";
        EXPECT_EQ(RenamesPending(), "");
    }
};
// Whether a shortcut holds the text, as its links store it (wide or not).
bool ShortcutHolds(const std::string& link, const std::string& text) {
    std::string bytes = ReadWholeFile(link), wide;
    for (char c : text) wide += c, wide += '\0';
    return !bytes.empty() && (bytes.find(text) != std::string::npos || bytes.find(wide) != std::string::npos);
}
// The administrator's work: a default profile, settings and passwords.
std::string WriteWork() {
    std::string bytes = ProfileText(1, {"&.REG"}).Plain();
    EXPECT_TRUE(WriteWholeFile(DefaultProfile, bytes));
    SetSettings(true, false, true);
    SetPasswords(AdminPassword, TogglePassword);
    return bytes;
}
TEST(Setup, InstallUpgradeAndUninstall) {
    // The agent service's window is reachable only while an ordinary window process runs.
    ChildProcess keep(StartProcess(QuoteArgument(BinDir() + "msglisten.exe")));
    BoxAnswerer boxes;
    SC_HANDLE deleted = MarkedForDeletion("VTLOCKAGENT");
    EXPECT_EQ(Install(), 2u) << "the agent service cannot be made";
    std::vector<SeenBox> seen = boxes.WaitSeen(2);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption + ": " + seen[0].text + "\n" + seen[1].icon + " " + seen[1].caption + ": " +
                  seen[1].text, "Error: Cannot create the agent service: " +
                  SystemErrorText(ERROR_SERVICE_MARKED_FOR_DELETE) + "\nerror Vantrel Setup: Cannot install Vantrel: "
                  "vtlock.exe /INSTALLSERVICE ended with exit code 1.");
    CloseServiceHandle(deleted);
    ASSERT_EQ(Install(), 0u) << "over the failed install";
    EXPECT_TRUE(Exists(Program + "uninstall.exe") && !Exists(Program + "VantrelSetup.exe"));
    const struct { std::string link, target; bool toggle; } shortcuts[] = {
        {Menu + "Vantrel profile manager.lnk", "vtlock.exe", 0}, {Menu + "Toggle protection.lnk", "vtlock.exe", 1},
        {Menu + "Uninstall Vantrel.lnk", "uninstall.exe", 0}, {Desktop + "Toggle protection.lnk", "vtlock.exe", 1}};
    for (const auto& s : shortcuts)
        EXPECT_TRUE(ShortcutHolds(s.link, Program + s.target) && ShortcutHolds(s.link, "/TOGGLE") == s.toggle)
            << s.link;
    const std::string folder = Program.substr(0, Program.size() - 1);
    const std::pair<const char*, std::string> entry[] = {{"DisplayName", "Vantrel"}, {"DisplayVersion", "1.0"},
        {"Publisher", "Corvane"}, {"DisplayIcon", folder + "\\vtlock.exe,0"},
        {"UninstallString", "\"" + folder + "\\uninstall.exe\""},
        {"QuietUninstallString", "\"" + folder + "\\uninstall.exe\" /S"}};
    for (const auto& value : entry) EXPECT_EQ(MachineText(UninstallKey, value.first), value.second) << value.first;
    std::string work = WriteWork();
    ASSERT_TRUE(WaitFor([] { return ServiceProcessId("VTLOCKAGENT") && FindAgent(); }, 20000));
    FenceAgent();  // the agent service answers
    ServiceConfig("VTLOCKAGENT", false, Program + "vtlock.exe -service");  // as an earlier version wrote it
    {
        RunningPrograms running;
        ASSERT_EQ(Install(), 0u) << "the upgrade";
        running.ExpectEnded();
    }
    const std::string command = "\"" + Program + "vtlock.exe\" -service";  // "C:\Program Files\..." quoted
    EXPECT_EQ(ServiceConfig("VTLOCKAGENT"), "272 2 1 Vantrel Service: " + command);
    for (const char* name : Shipped) EXPECT_EQ(ReadWholeFile(BinDir() + name), ReadWholeFile(Program + name)) << name;
    EXPECT_EQ(ReadWholeFile(DefaultProfile), work);
    EXPECT_TRUE((Command14(AdminPassword) & 0xFF) && (Command19(TogglePassword) & 0xFF)) << "the passwords are kept";
    // Started anew; AutoStart is kept on: the new agent applies the kept profile by itself.
    EXPECT_TRUE(WaitFor([] { return ServiceProcessId("VTLOCKAGENT") && QueryDriverState().Started &&
                                    QueryDriverState().FolderStrings > 0; }, 20000));
    for (const char* arguments : {"", " /REMOVEPROFILES"}) {
        SCOPED_TRACE(arguments);
        if (!KeyExists(UninstallKey)) {
            ASSERT_EQ(Install(), 0u);
            work = WriteWork();
        }
        {
            RunningPrograms running;
            EXPECT_EQ(RunAll(MachineText(UninstallKey, "QuietUninstallString") + arguments), 0u);
            running.ExpectEnded();
        }
        EXPECT_EQ(ServiceConfig("VTLOCKAGENT") + ServiceConfig("VTLOCK"), "");
        for (const char* name : Shipped) EXPECT_FALSE(Exists(Program + name)) << name;
        for (const std::string& gone : {Program + "uninstall.exe", KnownFolder(CSIDL_SYSTEM) + "Drivers\\vtlock.sys",
                                        Menu, Desktop + "Toggle protection.lnk"})
            EXPECT_FALSE(Exists(gone)) << gone;
        EXPECT_FALSE(KeyExists(UninstallKey));
        const bool keeps = *arguments == 0;  // the administrator's work: profile, settings, folder, passwords
        EXPECT_EQ(ReadWholeFile(DefaultProfile), keeps ? work : "");
        for (bool k : {KeyExists("Software\\VtLock"), Exists(Program), KeyExists("Software\\Corvane\\vrcmd")})
            EXPECT_EQ(k, keeps);
    }
    seen = boxes.Seen();
    for (size_t i = 2; i < seen.size(); ++i) ADD_FAILURE() << "a box more: " << seen[i].caption << ": " << seen[i].text;
}
