// The setup program in a fresh prefix, as an administrator runs it: a silent
// install with its files, services, shortcuts and uninstall entry; an upgrade
// that keeps the administrator's work and restarts the agent; silent
// uninstalls that keep that work, or with /REMOVEPROFILES remove it.
#include "../agent_shared/AgentTest.h"
#include "ManagerSupport.h"
#include <shlobj.h>

using namespace agenttest;

namespace {

const char* const UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantrel";
const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const Shipped[] = {"vtlock.exe", "vrcmd.dll",   "vtlock.sys",    "vthooks.dll", "vtscc.exe",
                               "vtstate.exe", "vtprofile.exe", "folders.bmp", "foldersmask.bmp", "vtlock.chm"};

std::string Folder(int csidl)
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return std::string(path) + "\\";
}
const std::string Program = Folder(CSIDL_PROGRAM_FILES) + "Vantrel\\", Menu = Folder(CSIDL_COMMON_PROGRAMS) + "Vantrel\\";
const std::string DefaultProfile = Program + "Profiles\\default.vtp", Desktop = Folder(CSIDL_COMMON_DESKTOPDIRECTORY);

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyExists(const char* key)
{
    HKEY handle;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
}

std::string MachineText(const char* key, const char* name)
{
    char text[2048] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return "<missing>";
    return text;
}

// Runs a command line and waits until it and every process it started have
// ended (the uninstaller runs on from a copy of itself); its exit code.
DWORD RunAll(const std::string& commandLine)
{
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    DWORD code = STILL_ACTIVE;
    if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                       &process)) {
        AssignProcessToJobObject(job, process.hProcess);
        ResumeThread(process.hThread);
        CloseHandle(process.hThread);
        WaitForSingleObject(process.hProcess, 120000);
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hProcess);
    }
    EXPECT_TRUE(WaitFor([&] {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
        return QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info, nullptr) &&
               info.ActiveProcesses == 0;
    }, 120000));
    CloseHandle(job);
    return code;
}

DWORD Install() { return RunAll(QuoteArgument(BinDir() + "VantrelSetup.exe") + " /S"); }

// Waits for the agent service's process too: stopped is not yet ended.
DWORD Uninstall(const std::string& arguments)
{
    ChildProcess agent(OpenServiceProcess("VTLOCKAGENT"));
    DWORD code = RunAll(MachineText(UninstallKey, "QuietUninstallString") + arguments);
    EXPECT_TRUE(!agent || Ended(agent));
    return code;
}

// "target arguments" of a shortcut, or "<none>".
std::string ShortcutOf(const std::string& path)
{
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    std::string shortcut = "<none>";
    char target[MAX_PATH * 2] = {}, arguments[MAX_PATH] = {};
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(std::wstring(path.begin(), path.end()).c_str(), STGM_READ)) &&
        SUCCEEDED(link->GetPath(target, sizeof target, nullptr, SLGP_RAWPATH)) &&
        SUCCEEDED(link->GetArguments(arguments, sizeof arguments)))
        shortcut = std::string(target) + " " + arguments;
    if (file) file->Release();
    if (link) link->Release();
    CoUninitialize();
    return shortcut;
}

// The agent service answers "Vantrel.Start": the driver gets the default profile.
bool AgentAnswersStart()
{
    if (!WaitFor([] { return ServiceProcessId("VTLOCKAGENT") && FindAgent(); }, 20000)) return false;
    unsigned int loads = QueryDriverState().LoadRequests;
    Broadcast("Vantrel.Start");
    return WaitDriver([&](const VTLOCK_STATE& s) { return s.Started && s.LoadRequests > loads; });
}

// The administrator's work: a default profile, settings and passwords.
std::string WriteWork()
{
    std::string bytes = PlainProfile(RulesProfile(1, {"&.REG"}));
    EXPECT_TRUE(WriteWholeFile(DefaultProfile, bytes));
    SetSettings(true, false, true);
    SetPasswords(AdminPassword, TogglePassword);
    return bytes;
}

class Setup : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (KeyExists(UninstallKey)) Uninstall(" /REMOVEPROFILES");
    }
    // The agent service's window is reachable only while an ordinary window process runs.
    ChildProcess keep{StartProcess(QuoteArgument(BinDir() + "vtkeep.exe"))};
    BoxAnswerer boxes;
};

TEST_F(Setup, InstallUpgradeAndUninstall)
{
    ASSERT_EQ(Install(), 0u);
    for (const char* name : Shipped) EXPECT_EQ(ReadWholeFile(BinDir() + name), ReadWholeFile(Program + name)) << name;
    EXPECT_TRUE(Exists(Program + "uninstall.exe"));
    EXPECT_FALSE(Exists(Program + "VantrelSetup.exe"));
    ExpectOnlyAdministrators(FileDacl(Program + "Profiles"), FILE_ALL_ACCESS, true);
    EXPECT_TRUE(Exists(Folder(CSIDL_SYSTEM) + "Drivers\\vtlock.sys"));
    ServiceConfig driver = QueryConfig("VTLOCK"), agent = QueryConfig("VTLOCKAGENT");
    EXPECT_EQ(driver.type + driver.start, 1u + SERVICE_DEMAND_START);
    EXPECT_EQ(agent.type + agent.start, 0x110u + SERVICE_AUTO_START);
    EXPECT_EQ(agent.command, Program + "vtlock.exe -service");
    EXPECT_EQ(MachineText(RunKey, "NTUserDispatcherVR"), "\"" + Program + "vtscc.exe\" /NTUSER");
    const std::string vtlock = Program + "vtlock.exe", folder = Program.substr(0, Program.size() - 1);
    EXPECT_EQ(ShortcutOf(Menu + "Vantrel profile manager.lnk"), vtlock + " ");
    EXPECT_EQ(ShortcutOf(Menu + "Toggle protection.lnk"), vtlock + " /TOGGLE");
    EXPECT_EQ(ShortcutOf(Menu + "Uninstall Vantrel.lnk"), Program + "uninstall.exe ");
    EXPECT_EQ(ShortcutOf(Desktop + "Toggle protection.lnk"), vtlock + " /TOGGLE");
    const std::pair<const char*, std::string> entry[] = {
        {"DisplayName", "Vantrel"}, {"DisplayVersion", "1.0"}, {"Publisher", "Corvane"},
        {"DisplayIcon", folder + "\\vtlock.exe,0"}, {"UninstallString", "\"" + folder + "\\uninstall.exe\""},
        {"QuietUninstallString", "\"" + folder + "\\uninstall.exe\" /S"}};
    for (const auto& value : entry) EXPECT_EQ(MachineText(UninstallKey, value.first), value.second) << value.first;
    ASSERT_TRUE(WriteWholeFile(DefaultProfile, PlainProfile(RulesProfile(2))));
    EXPECT_TRUE(AgentAnswersStart());

    std::string work = WriteWork();
    DWORD before = ServiceProcessId("VTLOCKAGENT");
    ChildProcess old(OpenServiceProcess("VTLOCKAGENT"));
    ASSERT_EQ(Install(), 0u) << "the upgrade";
    for (const char* name : Shipped) EXPECT_EQ(ReadWholeFile(BinDir() + name), ReadWholeFile(Program + name)) << name;
    EXPECT_EQ(ReadWholeFile(DefaultProfile), work);
    EXPECT_TRUE(Command14(AdminPassword) & 0xFF);
    EXPECT_TRUE(Command19(TogglePassword) & 0xFF);
    EXPECT_TRUE(Ended(old));
    DWORD after = 0;
    EXPECT_TRUE(WaitFor([&] { return (after = ServiceProcessId("VTLOCKAGENT")) != 0; }));
    EXPECT_NE(before, after) << "the agent was not started anew";
    // AutoStart is kept on: the new agent applies the kept profile by itself.
    EXPECT_TRUE(WaitDriver([](const VTLOCK_STATE& s) { return s.Started && s.FolderStrings > 0; }, 20000));

    for (const char* arguments : {"", " /REMOVEPROFILES"}) {
        SCOPED_TRACE(arguments);
        if (!KeyExists(UninstallKey)) {
            ASSERT_EQ(Install(), 0u);
            work = WriteWork();
        }
        EXPECT_EQ(Uninstall(arguments), 0u);
        EXPECT_FALSE(QueryConfig("VTLOCKAGENT").found || QueryConfig("VTLOCK").found);
        EXPECT_EQ(MachineText(RunKey, "NTUserDispatcherVR"), "<missing>");
        for (const char* name : Shipped) EXPECT_FALSE(Exists(Program + name)) << name;
        for (const std::string& gone : {Program + "uninstall.exe", Folder(CSIDL_SYSTEM) + "Drivers\\vtlock.sys", Menu,
                                        Desktop + "Toggle protection.lnk"})
            EXPECT_FALSE(Exists(gone)) << gone;
        EXPECT_FALSE(KeyExists(UninstallKey));
        const bool keeps = *arguments == 0;
        EXPECT_EQ(ReadWholeFile(DefaultProfile), keeps ? work : "");
        EXPECT_EQ(KeyExists("Software\\VtLock"), keeps);
        EXPECT_EQ(KeyExists("Software\\Corvane\\vrcmd"), keeps);
        EXPECT_EQ(Exists(Program), keeps);
    }
    EXPECT_TRUE(boxes.Seen().empty());
}

}  // namespace
