// The installed manager: its start sequence, its elevation, "/LOAD:" and "/NOTIFY:", and
// the road of a profile from the manager through the agent service to the driver.
#include "InstalledManager.h"
#include "RegValues.h"
#include "UProfiles.h"
#include <tlhelp32.h>
#include <winternl.h>
class ManagerRun : public InstalledManager {
protected:
    void TearDown() override {
        StopProcess(manager);
        if (keep) RunAndWait(QuoteArgument(folder + "vtlock.exe") + " /STOPAGENT");
        StopProcess(keep);
        InstalledManager::TearDown();
    }
    HANDLE keep = nullptr;
};
// A stored administrator's password asked, a wrong one ending the program; then protection
// stops and the default profile, or the one "/LOAD:" names, shows, else the wizard.
TEST_F(ManagerRun, TheStartSequence) {
    // typed: null when not asked; title: null when the program ends.
    const struct { const char *stored, *typed, *load, *title; } cases[] = {
        {nullptr, nullptr, "", " Vantrel  - Default profile"},
        {"secret", "secret", "", " Vantrel  - Default profile"},
        {"secret", "Secret", "", nullptr},
        {nullptr, nullptr, "missing.vtp", "VT Vantrel"},
    };
    Profile = TProfile();
    ASSERT_TRUE(SaveProfileFile(folder + "Profiles\\default.vtp", 0));
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.typed ? c.typed : "not asked") + c.load);
        SetPasswords(c.stored, nullptr);
        MessageListener listener;
        BoxAnswerer answerer("ok");
        Start(*c.load ? QuoteArgument("/LOAD:" + folder + c.load) : "");
        if (c.typed) {
            HWND ask = Wait(AdminPasswordPromptClass);
            ASSERT_NE(ask, nullptr);
            SendMessageA(FindControl(ask, AdminPasswordPromptId::PasswordEdit), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(c.typed));
            PostMessageA(FindControl(ask, AdminPasswordPromptId::OkButton), BM_CLICK, 0, 0);
        }
        if (!c.title) {
            ASSERT_EQ(WaitForSingleObject(manager, 20000), WAIT_OBJECT_0);
            ASSERT_EQ(answerer.Seen().size(), 1u);
            EXPECT_EQ(answerer.Seen()[0].caption + "|" + answerer.Seen()[0].text,
                      "Vantrel|Administrator's password is incorrect.");
            EXPECT_TRUE(HeardUpToMarker(listener).empty());
            continue;
        }
        HWND window = Wait("TForm1");
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(WaitFor([&] { return WindowText(window) == c.title; })) << WindowText(window);
        if (*c.load) EXPECT_EQ(WindowText(Wait(ProfileWizardClass)), "Quick start Wizard");
        else EXPECT_FALSE(ShownWindow(managerId, ProfileWizardClass));
        std::vector<HeardMessage> heard = HeardUpToMarker(listener);
        ASSERT_EQ(heard.size(), 1u);
        EXPECT_TRUE(heard[0].name == "Vantrel.Stop" && heard[0].wParam == 0 && heard[0].lParam == 0);
        EXPECT_TRUE(answerer.Seen().empty());
    }
}
// The process the given one started last, opened; null when there is none.
HANDLE ChildOf(DWORD parent) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    HANDLE child = nullptr;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (entry.th32ParentProcessID == parent && entry.th32ProcessID != parent) {
            if (child) CloseHandle(child);
            child = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry.th32ProcessID);
        }
    CloseHandle(snapshot);
    return child;
}
// Another process's command line, read from its process parameters.
std::string CommandLineOf(HANDLE process) {
    auto query = reinterpret_cast<decltype(&NtQueryInformationProcess)>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic = {};
    PEB peb = {};
    RTL_USER_PROCESS_PARAMETERS parameters = {};
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
        !ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, nullptr) ||
        !ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters, nullptr))
        return "";
    std::wstring line(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    if (!ReadProcessMemory(process, parameters.CommandLine.Buffer, &line[0], parameters.CommandLine.Length, nullptr))
        return "";
    return std::string(line.begin(), line.end());
}
// Started by a standard user, the manager starts itself again to be elevated, with the same arguments, and ends.
// Wine starts the copy with the same token: it says what it lacks and ends, without asking again.
TEST_F(ManagerRun, AStandardUserIsAskedForElevation) {
    const std::string arguments = QuoteArgument("/LOAD:" + folder + "Profiles\\my profile.vtp") + " /NOTIFY:5";
    Start(arguments, "vtlock.exe", StandardUserToken());
    ASSERT_EQ(WaitForSingleObject(manager, 20000), WAIT_OBJECT_0);
    DWORD code = ~0u;
    EXPECT_TRUE(GetExitCodeProcess(manager, &code) && code == 0);
    HANDLE copy = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (copy = ChildOf(managerId)) != nullptr; }));
    ChildProcess elevated(copy);
    EXPECT_EQ(CommandLineOf(elevated), "\"" + folder + "vtlock.exe\" " + arguments);
    BoxAnswerer answerer("ok");
    const std::vector<SeenBox> seen = answerer.WaitSeen(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption + "|" + seen[0].text + "|" + seen[0].icon,
              "Vantrel|The profile manager needs administrator rights.|information");
    EXPECT_EQ(WaitForSingleObject(elevated, 20000), WAIT_OBJECT_0);
    EXPECT_EQ(ChildOf(GetProcessId(elevated)), nullptr) << "the copy asked again";
}
// A profile loaded, saved as the default one (announced with the "/NOTIFY:" value), protection
// enabled at exit: the agent has the driver enforce it and ends the disabled program.
TEST_F(ManagerRun, FromTheManagerThroughTheAgentToTheDriver) {
    // The service's window is reachable only while an ordinary window process runs.
    keep = StartProcess(QuoteArgument(BinDir() + "msglisten.exe"));
    const std::string vtlock = QuoteArgument(folder + "vtlock.exe");
    ASSERT_EQ(RunAndWait(vtlock + " /INSTALL").exitCode, 0u);
    ASSERT_EQ(RunAndWait(vtlock + " /INSTALLSERVICE").exitCode, 0u);
    ASSERT_TRUE(StartNamedService("VTLOCKAGENT"));
    ASSERT_TRUE(WaitFor([] { return QueryServiceState("VTLOCKAGENT") == SERVICE_RUNNING &&
                                    FindWindowA("VTLOCK.AGENT", nullptr); }, 20000));
    const std::string other = NewTempDir("Shop Data"), program = other + "roadblock.exe";
    ASSERT_TRUE(CopyFileA((BinDir() + "verinfo_full.exe").c_str(), program.c_str(), FALSE));
    Profile = {{"-C:\\WINDOWS"}, {"-.TXT"}, {}, {"ROADBLOCK.EXE      // Vantrel test program  (Vantrel Test Makers)"},
               {}, false, 0};
    ASSERT_TRUE(SaveProfileFile(other + "Alice.vtp", 0));
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, SettingsKey, "AutoStart", 0));
    // Protection is on as the manager opens; its start asks the agent to stop it.
    HANDLE device = CreateFileA(VTLOCK_PATH_NT5, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD returned = 0;
    ASSERT_TRUE(DeviceIoControl(device, VTLOCK_CTL_START, nullptr, 0, nullptr, 0, &returned, nullptr));
    CloseHandle(device);
    MessageListener listener;
    Start(QuoteArgument("/load:" + other + "Alice.vtp") + " /NOTIFY:+$10");
    HWND window = Wait("TForm1");
    ASSERT_NE(window, nullptr) << "the manager opens without asking for a password";
    ASSERT_TRUE(WaitFor([&] { return WindowText(window) == " Vantrel  - Alice"; })) << WindowText(window);
    EXPECT_EQ(QueryDriverState().Started, 0u) << "stopped before the profile was shown";
    EXPECT_EQ(ListLines(FindControl(window, ManagerWindowId::ProgramList)), Profile.Tasks);
    SetPasswords("admin", "toggle");
    BoxAnswerer answerer("yes");
    PostMessageA(window, WM_COMMAND, IDM_SaveProfileAsDefault, 0);
    ASSERT_EQ(answerer.WaitSeen(1).size(), 1u);
    ASSERT_TRUE(WaitSettled(window));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(answerer.WaitSeen(3).back().text, "Enable protection at exit from the program?");
    ASSERT_EQ(WaitForSingleObject(manager, 20000), WAIT_OBJECT_0);
    std::vector<std::string> announced;
    for (const HeardMessage& m : HeardUpToMarker(listener))
        announced.push_back(m.name + " " + std::to_string(m.wParam) + " " + std::to_string(m.lParam));
    EXPECT_EQ(announced, (std::vector<std::string>{"Vantrel.Stop 0 0", "Vantrel.Saved 0 16", "Vantrel.Start 0 0"}));
    // The driver reports the image this profile file makes.
    ASSERT_TRUE(LoadProfile(folder + "Profiles\\default.vtp"));
    BuildDriverImage();
    ASSERT_TRUE(WaitFor([] { return QueryDriverState().Started == 1; }, 20000));
    const VTLOCK_STATE state = QueryDriverState();
    EXPECT_TRUE(state.ImageBytes == DriverImageSize && Profile.Folders == TextList{"-C:\\WINDOWS"});
    EXPECT_EQ(state.FileStrings, VtLockImageField(DriverImage.data(), VTLOCK_IMAGE_OFF_NFILES));
    EXPECT_EQ(state.FolderStrings, VtLockImageField(DriverImage.data(), VTLOCK_IMAGE_OFF_NFOLDERS));
    EXPECT_TRUE(RunAndWait(QuoteArgument(program), 20000).finished) << "the disabled program was not ended";
    RemoveTree(other);
}
