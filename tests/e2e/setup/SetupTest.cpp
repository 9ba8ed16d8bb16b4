// The setup program in a fresh prefix: a silent install with its files,
// services, shortcuts and uninstall entry; an upgrade that keeps the
// administrator's work; silent uninstalls with and without /REMOVEPROFILES.
#include "SetupKit.h"

using namespace agenttest;
using namespace setuptest;

namespace {

const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const PasswordsKey = "Software\\Corvane\\vrcmd";

class Setup : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The agent service's window is reachable only while an ordinary window process runs.
        keep_ = StartProcess(QuoteArgument(BinDir() + "vtkeep.exe"));
        RemoveAll();
    }
    void TearDown() override
    {
        RemoveAll();
        StopProcess(keep_);
    }

    // The agent service's process is waited for: stopped is not yet ended.
    static void RemoveAll()
    {
        ChildProcess agent(OpenServiceProcess("VTLOCKAGENT"));
        if (MachineKeyExists(UninstallKey)) UninstallSilently(" /REMOVEPROFILES");
        if (agent) {
            EXPECT_TRUE(ProcessEnded(agent));
        }
    }

    static std::string DefaultProfile() { return InstallDir() + "Profiles\\default.vtp"; }

    // The administrator's work: a default profile, settings and passwords.
    static std::string WriteAdministratorsWork()
    {
        ProfileText profile;
        profile.folders = {"-C:\\DATA"};
        profile.files = {"&.REG"};
        std::string bytes = PlainProfile(profile);
        EXPECT_TRUE(WriteWholeFile(DefaultProfile(), bytes));
        SetSettings(true, false, true);
        SetPasswords();
        return bytes;
    }

    HANDLE keep_ = nullptr;
};

TEST_F(Setup, SilentInstallPutsEverythingInPlace)
{
    BoxAnswerer answerer;
    ProcessResult run = InstallSilently();
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(0u, run.exitCode);

    for (const std::string& name : ShippedFiles) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ReadWholeFile(BinDir() + name), ReadWholeFile(InstallDir() + name));
    }
    EXPECT_TRUE(FileExists(InstallDir() + "uninstall.exe"));
    ExpectOnlyAdministrators(FileDacl(InstallDir() + "Profiles"), FILE_ALL_ACCESS, true);
    EXPECT_FALSE(FileExists(InstallDir() + "VantrelSetup.exe"));
    EXPECT_TRUE(FileExists(ShellFolder(CSIDL_SYSTEM) + "\\Drivers\\vtlock.sys"));

    ServiceConfig driver = QueryServiceConfig("VTLOCK");
    EXPECT_TRUE(driver.found);
    EXPECT_EQ(1u, driver.type);
    EXPECT_EQ(3u, driver.start);
    ServiceConfig agent = QueryServiceConfig("VTLOCKAGENT");
    EXPECT_EQ(0x110u, agent.type);
    EXPECT_EQ(2u, agent.start);
    EXPECT_EQ(InstallDir() + "vtlock.exe -service", agent.command);
    EXPECT_EQ("\"" + InstallDir() + "vtscc.exe\" /NTUSER", MachineString(RunKey, "NTUserDispatcherVR"));

    const struct {
        std::string link, target, arguments;
    } shortcuts[] = {
        {StartMenuDir() + "Vantrel profile manager.lnk", InstallDir() + "vtlock.exe", ""},
        {StartMenuDir() + "Toggle protection.lnk", InstallDir() + "vtlock.exe", "/TOGGLE"},
        {StartMenuDir() + "Uninstall Vantrel.lnk", InstallDir() + "uninstall.exe", ""},
        {CommonDesktop() + "Toggle protection.lnk", InstallDir() + "vtlock.exe", "/TOGGLE"},
    };
    for (const auto& s : shortcuts) {
        SCOPED_TRACE(s.link);
        Shortcut shortcut = ReadShortcut(s.link);
        ASSERT_TRUE(shortcut.found);
        EXPECT_EQ(s.target, shortcut.target);
        EXPECT_EQ(s.arguments, shortcut.arguments);
    }

    const char* const entry[][2] = {
        {"DisplayName", "Vantrel"},
        {"DisplayVersion", "1.0"},
        {"Publisher", "Corvane"},
    };
    for (const auto& value : entry) EXPECT_EQ(value[1], MachineString(UninstallKey, value[0])) << value[0];
    std::string dir = InstallDir();
    dir.pop_back();
    EXPECT_EQ(dir + "\\vtlock.exe,0", MachineString(UninstallKey, "DisplayIcon"));
    EXPECT_EQ("\"" + dir + "\\uninstall.exe\"", MachineString(UninstallKey, "UninstallString"));
    EXPECT_EQ("\"" + dir + "\\uninstall.exe\" /S", MachineString(UninstallKey, "QuietUninstallString"));

    ASSERT_TRUE(WriteWholeFile(DefaultProfile(), PlainProfile(RulesProfile(2))));
    EXPECT_TRUE(AgentAnswersStart());
    EXPECT_TRUE(answerer.Seen().empty());
}

TEST_F(Setup, UpgradeKeepsProfilesSettingsAndPasswordsAndRestartsTheAgent)
{
    ASSERT_TRUE(InstallSilently().finished);
    std::string profile = WriteAdministratorsWork();
    DWORD before = 0;
    ASSERT_TRUE(WaitFor([&] { return (before = ServiceProcessId("VTLOCKAGENT")) != 0; }));
    ChildProcess old(OpenServiceProcess("VTLOCKAGENT"));

    BoxAnswerer answerer;
    ProcessResult run = InstallSilently();
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(0u, run.exitCode);

    for (const std::string& name : ShippedFiles)
        EXPECT_EQ(ReadWholeFile(BinDir() + name), ReadWholeFile(InstallDir() + name)) << name;
    EXPECT_EQ(profile, ReadWholeFile(DefaultProfile()));
    DWORD autoStart = 0, size = sizeof autoStart;
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\VtLock", "AutoStart", RRF_RT_REG_DWORD,
                                          nullptr, &autoStart, &size));
    EXPECT_EQ(1u, autoStart);
    EXPECT_TRUE(Command14(AdminPassword) & 0xFF);
    EXPECT_TRUE(Command19(TogglePassword) & 0xFF);

    DWORD after = 0;
    EXPECT_TRUE(WaitFor([&] { return (after = ServiceProcessId("VTLOCKAGENT")) != 0; }));
    EXPECT_NE(before, after) << "the agent was not started anew";
    EXPECT_TRUE(ProcessEnded(old));
    // AutoStart is on: the new agent applies the kept profile by itself.
    EXPECT_TRUE(WaitDriver([](const VTLOCK_STATE& s) { return s.Started == 1 && s.FolderStrings > 0; }, 20000));
    EXPECT_TRUE(AgentAnswersStart());
    EXPECT_TRUE(answerer.Seen().empty());
}

TEST_F(Setup, SilentUninstallRemovesTheProgramAndKeepsOrRemovesTheWork)
{
    const struct {
        const char* name;
        const char* arguments;
        bool keeps;
    } cases[] = {
        {"plain", "", true},
        {"with /REMOVEPROFILES", " /REMOVEPROFILES", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(InstallSilently().finished);
        std::string profile = WriteAdministratorsWork();
        WaitFor([] { return ServiceProcessId("VTLOCKAGENT") != 0; });
        ChildProcess agent(OpenServiceProcess("VTLOCKAGENT"));

        BoxAnswerer answerer;
        ProcessResult run = UninstallSilently(c.arguments);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(0u, run.exitCode);
        EXPECT_TRUE(ProcessEnded(agent));

        EXPECT_FALSE(ServiceExists("VTLOCKAGENT"));
        EXPECT_FALSE(ServiceExists("VTLOCK"));
        EXPECT_EQ("<missing>", MachineString(RunKey, "NTUserDispatcherVR"));
        for (const std::string& name : ShippedFiles) EXPECT_FALSE(FileExists(InstallDir() + name)) << name;
        EXPECT_FALSE(FileExists(InstallDir() + "uninstall.exe"));
        EXPECT_FALSE(FileExists(ShellFolder(CSIDL_SYSTEM) + "\\Drivers\\vtlock.sys"));
        EXPECT_FALSE(FileExists(StartMenuDir()));
        EXPECT_FALSE(FileExists(CommonDesktop() + "Toggle protection.lnk"));
        EXPECT_FALSE(MachineKeyExists(UninstallKey));

        EXPECT_EQ(c.keeps, FileExists(DefaultProfile()));
        if (c.keeps) {
            EXPECT_EQ(profile, ReadWholeFile(DefaultProfile()));
        }
        EXPECT_EQ(c.keeps, MachineKeyExists("Software\\VtLock"));
        EXPECT_EQ(c.keeps, MachineKeyExists(PasswordsKey));
        EXPECT_EQ(c.keeps, FileExists(InstallDir()));
        EXPECT_TRUE(answerer.Seen().empty());
        RemoveAll();
        RemoveTree(InstallDir());
    }
}

}  // namespace
