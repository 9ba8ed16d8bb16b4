// The agent: one instance, the user's toggle and digests, who is logged on, and disabled programs.
#include "../agent_shared/AgentTest.h"
#include "Agent.h"
#include "Channel.h"
#include "ManagerSupport.h"
#include "ProgramBlocking.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include <sstream>
#include <winternl.h>
using namespace agenttest;
// Wine's mount manager defines (or, with DRIVE_NO_ROOT_DIR, removes) drive R: of a type over a Unix folder, as
// winecfg does; the request's layout is Wine's own.
bool DefineWineDrive(UINT type) {
    struct Request { ULONG size, type, fsType; DWORD serial; ULONGLONG unixDevice; WCHAR letter; USHORT mountPoint,
                     device, label; };
    const char mountPoint[] = "/tmp";
    char buffer[sizeof(Request) + sizeof mountPoint] = {};
    Request* request = reinterpret_cast<Request*>(buffer);
    request->size = sizeof buffer;
    request->type = type;
    request->letter = L'r';
    request->mountPoint = type == DRIVE_NO_ROOT_DIR ? 0 : USHORT(sizeof(Request));
    memcpy(buffer + sizeof(Request), mountPoint, sizeof mountPoint);
    HANDLE manager = CreateFileA("\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD returned = 0;
    const DWORD defineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
    bool done = DeviceIoControl(manager, defineUnixDrive, buffer, sizeof buffer, nullptr, 0, &returned, nullptr);
    CloseHandle(manager);
    return done;
}
TEST(Agent, StartsOnceWithTheUsersOwnProfile) {
    AgentBed bed;
    ASSERT_TRUE(DefineWineDrive(DRIVE_RAMDISK) && GetDriveTypeA("R:\\") == DRIVE_RAMDISK);
    const std::string own = std::string(getenv("USERNAME")) + ".vtp";
    SetSettings(true, true, false);  // AutoStart, the user's own profile
    bed.WriteProfile(own, ProfileText(3, {"&.VT0", "&.VT1", "&.VT2"}));
    bed.WriteProfile("default.vtp", ProfileText(1));
    VTLOCK_STATE before = QueryDriverState();
    bed.StartAgent();
    ASSERT_TRUE(WaitStarted(1));
    VTLOCK_STATE after = QueryDriverState();
    EXPECT_EQ(after.LoadRequests, before.LoadRequests + 1);
    EXPECT_EQ(after.FileStrings, 7u + 3u) << "the seven system files and the user's three rules";
    EXPECT_GE(after.FolderStrings, 3u + 6u);
    DWORD fixed = 0;  // every fixed or RAM drive is protected
    for (char root[] = "A:\\"; root[0] <= 'Z'; ++root[0])
        fixed |= GetDriveTypeA(root) == DRIVE_FIXED || GetDriveTypeA(root) == DRIVE_RAMDISK ? 1u << (root[0] - 'A') : 0;
    EXPECT_EQ(after.DriveMask, fixed);
    EXPECT_TRUE(fixed & (1u << ('R' - 'A'))) << "the RAM disk";
    DefineWineDrive(DRIVE_NO_ROOT_DIR);
    EXPECT_EQ(WindowText(FindAgent()), "VT Vantrel");
    EXPECT_EQ(DWORD(GetWindowLongPtrA(FindAgent(), GWL_STYLE)) & (WS_VISIBLE | WS_POPUP | WS_CAPTION), DWORD(WS_POPUP));
    ProcessResult second = RunAndWait(bed.Exe() + " /AGENT", 15000);
    EXPECT_TRUE(second.finished && second.exitCode == 0) << "a second agent ends at once";
    EXPECT_EQ(FenceAgent().LoadRequests, after.LoadRequests + 1) << "the first agent answers, the second applied none";
    // A profile without folder or file rules replaces the rules in force, as the administrator's tool shows.
    bed.WriteProfile(own, ProfileText(0, {}, {"0=1"}));
    const VTLOCK_STATE ruleless = FenceAgent();
    const std::string held = RunCaptured(QuoteArgument(BinDir() + "vtstate.exe")).output;
    EXPECT_NE(held.find(" bytes, 7 file strings, " + std::to_string(after.FolderStrings - 3) + " folder strings\r\n"),
              std::string::npos) << held;
    EXPECT_LT(ruleless.ImageBytes, after.ImageBytes);
}
std::string Box(const SeenBox& b) { return b.caption + ": " + b.text + " (" + b.icon + ", " + b.buttons + ")"; }
// From the system's process list: Wine answers GetProcessHandleCount only for the calling process.
ULONG HandleCount(HANDLE process) {
    auto query = reinterpret_cast<decltype(&NtQuerySystemInformation)>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<char> buffer(1 << 20);
    if (!query || query(SystemProcessInformation, buffer.data(), ULONG(buffer.size()), nullptr) != 0) return 0;
    for (auto* p = reinterpret_cast<SYSTEM_PROCESS_INFORMATION*>(buffer.data());;
         p = reinterpret_cast<SYSTEM_PROCESS_INFORMATION*>(reinterpret_cast<char*>(p) + p->NextEntryOffset)) {
        if (ULONG_PTR(p->UniqueProcessId) == GetProcessId(process)) return p->HandleCount;
        if (p->NextEntryOffset == 0) return 0;
    }
}
// A profile's own password replaces the default toggle password; the agent's handles do not grow.
TEST(Agent, ToggleWithPasswordsDigestsAndTheQuestion) {
    AgentBed bed;
    SetPasswords(AdminPassword, TogglePassword);
    SetSettings(false, false, false);
    bed.StartAgent();
    const std::string T = TogglePassword, A = AdminPassword, own = "own-secret";
    // The profile has its own password; the button that leaves the toggle's dialog, none: "/D:" with the password.
    const struct { bool ownSet; const char* button; std::string password; bool disables, complains; } cases[] = {
        {0, "ok", T, 1, 0}, {0, "ok", A, 1, 0}, {0, "ok", "guess", 0, 1}, {0, "ok", "", 0, 0}, {0, "cancel", T, 0, 0},
        {1, "ok", own, 1, 0}, {1, "ok", A, 1, 0}, {1, "ok", T, 0, 1}, {0, "", T, 1, 0}, {0, "", A, 1, 0},
        {0, "", "guess", 0, 0}, {0, "", "", 0, 0}, {1, "", own, 1, 0}, {0, "", own, 0, 0}, {1, "", T, 1, 0}};
    ULONG handles = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " \"" + c.password + "\"" + (c.ownSet ? ", own password set" : ""));
        bed.WriteProfile("default.vtp", ProfileText(2, {"&.VTX"}, {}, c.ownSet ? Command18(own.c_str()) : 0));
        VTLOCK_STATE before = FenceAgent();
        Broadcast("Corvane2.TaskMan1", WPARAM(FindAgent()), 0);  // a window report, for the handle count
        if (&c == &cases[1]) handles = HandleCount(bed.Agent());
        BoxAnswerer answerer(*c.button ? c.button : "ok", c.password, *c.button != 0);
        const std::string command = *c.button ? "/TOGGLE" : QuoteArgument("/D:" + c.password);
        EXPECT_EQ(RunAndWait(bed.Exe() + " " + command).exitCode, 0u);
        const size_t boxes = *c.button ? 1 + c.complains : 0;
        answerer.WaitSeen(boxes);
        EXPECT_TRUE(WaitSettled(FindAgent()));
        EXPECT_EQ(FenceAgent().StopRequests - before.StopRequests, c.disables ? 2u : 1u) << "disabled, and the fence";
        std::vector<SeenBox> seen = answerer.Seen();
        ASSERT_EQ(seen.size(), boxes);
        if (c.complains) { EXPECT_EQ(Box(seen[1]), "Disable protection: Password is incorrect. (information, ok)"); }
    }
    EXPECT_TRUE(handles > 0 && HandleCount(bed.Agent()) <= handles + 8) << handles << ": requests leave handles open";
    // Protection is off: the toggle asks before it enables.
    Broadcast("Vantrel.Stop");
    ASSERT_TRUE(WaitStarted(0));
    for (const std::string answer : {"no", "yes"}) {
        VTLOCK_STATE before = QueryDriverState();
        BoxAnswerer answerer(answer);
        EXPECT_EQ(RunAndWait(bed.Exe() + " /TOGGLE").exitCode, 0u);
        std::vector<SeenBox> seen = answerer.WaitSeen(1);
        EXPECT_EQ(seen.empty() ? "" : Box(seen[0]), "Enable protection: It will enable Vantrel protection. Continue? "
                                                   "(question, yes,no)");
        EXPECT_TRUE(WaitSettled(FindAgent()));
        EXPECT_EQ(QueryDriverState().StartRequests, before.StartRequests + (answer == "yes")) << answer;
    }
    const unsigned int loads = QueryDriverState().LoadRequests;
    EXPECT_EQ(RunAndWait(bed.Exe() + " /E").exitCode, 0u);
    EXPECT_TRUE(WaitFor([&] { return QueryDriverState().LoadRequests > loads; })) << "\"/E\" applies the profile again";
}
bool SendCopyData(WPARAM code, const std::string& text) {
    COPYDATASTRUCT data = {0, DWORD(text.size() + 1), const_cast<char*>(text.c_str())};
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(FindAgent(), WM_COPYDATA, code, LPARAM(&data), SMTO_NORMAL, 10000, &result) != 0;
}
// vtscc waits for a late agent; then the temporary folder and the hive sent by hand.
TEST(Agent, LearnsTheUserFromVtsccAndCopyData) {
    const std::string hive = "S-1-5-21-77-88-99-4242";
    AgentBed bed;
    SetSettings(false, false, false);
    bed.WriteProfile("default.vtp", ProfileText(1, {"&.VTX"}, {"0=1"}));
    ChildProcess vtscc(StartProcess(QuoteArgument(bed.Dir() + "vtscc.exe") + " /NTUSER"));
    EXPECT_EQ(WaitForSingleObject(vtscc, 1000), DWORD(WAIT_TIMEOUT)) << "it waits while there is no agent";
    VTLOCK_STATE before = QueryDriverState();
    bed.StartAgent();
    EXPECT_TRUE(Ended(vtscc, 0, 15000));
    EXPECT_EQ(RunAndWait(QuoteArgument(bed.Dir() + "vtscc.exe")).exitCode, 0u);
    EXPECT_EQ(FenceAgent().LoadRequests, before.LoadRequests + 2) << "the hive reported once, without /NTUSER not";
    // The folder is a built-in exception of the image: ten more characters in it, ten more bytes each time.
    ASSERT_TRUE(SendCopyData(CopyDataUserTemp, "C:\\VTNOWHERE\\TEMPA\\"));
    const unsigned int shortBytes = FenceAgent().ImageBytes;
    ASSERT_TRUE(SendCopyData(CopyDataUserTemp, "C:\\VTNOWHERE\\TEMPA0123456789\\"));
    const unsigned int longBytes = FenceAgent().ImageBytes;
    EXPECT_TRUE(longBytes > shortBytes && (longBytes - shortBytes) % 10 == 0) << shortBytes << " " << longBytes;
    for (WPARAM code : {0, 23913, 23915, 23916, 23918}) {
        unsigned int loads = QueryDriverState().LoadRequests;
        ASSERT_TRUE(SendCopyData(code, "C:\\VTNOWHERE\\"));
        EXPECT_EQ(QueryDriverState().LoadRequests, loads) << "other codes do nothing: " << code;
        EXPECT_EQ(FenceAgent().ImageBytes, longBytes) << code;
    }
    // A hive that is not loaded is not taken, but the profile is applied all the same.
    ASSERT_EQ(RegSetKeyValueA(HKEY_USERS, hive.c_str(), nullptr, REG_SZ, "", 1), 0);
    RegDeleteKeyValueA(HKEY_USERS, (hive + "\\" + PoliciesKey).c_str(), "DisableRegistryTools");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, PoliciesKey, "DisableRegistryTools");
    unsigned int loads = QueryDriverState().LoadRequests;
    ASSERT_TRUE(SendCopyData(CopyDataUserSid, "21-77-88-99-9999"));
    EXPECT_EQ(QueryDriverState().LoadRequests, loads + 1);
    EXPECT_EQ(RegistryTools(), 1);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, PoliciesKey, "DisableRegistryTools");
    ASSERT_TRUE(SendCopyData(CopyDataUserSid, hive.substr(6)));
    EXPECT_EQ(QueryDriverState().LoadRequests, loads + 2);
    EXPECT_EQ(RegistryTools(HKEY_USERS, hive + "\\"), 1);
    EXPECT_EQ(RegistryTools(), -1) << "not in this user's hive";
    PostMessageA(FindAgent(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ended(bed.Agent()));
    EXPECT_EQ(RegistryTools(HKEY_USERS, hive + "\\"), 0) << "closing switches the restrictions off in that hive";
    EXPECT_EQ(QueryDriverState().Started, 0u) << "and protection";
}
std::string SeenUser;
// Each tick is "name:profiles applied so far"; each one applied was disabled first.
TEST(UserWatch, ANewNameMustBeSeenOnTwoTicksInARow) {
    AgentBed installed;
    SetSettings(false, false, false);
    InitRuntimeEnvironment();
    LoadSettings();
    ProfilesDir = NewTempDir("profiles");
    CreateProfileLists();
    WriteWholeFile(ProfilesDir + "default.vtp", ProfileText(2).Plain());
    StartNamedService("VTLOCK");
    ASSERT_TRUE(OpenProtectionDriver());
    AgentUserNameSource = [] { return SeenUser; };
    for (const char* ticks : {"alice:0 alice:0 alice:0", "bob:0 alice:0 bob:0 alice:0", "Alice:0 Alice:1",
                              "bob:0 bob:1 bob:1 bob:1", "bob:0 bob:1 alice:1 alice:2 alice:2",
                              "bob:0 carol:1 carol:1 bob:1 bob:2"}) {
        StartupUserName = "alice";
        UserChangePending = false;
        VTLOCK_STATE before = QueryDriverState();
        std::istringstream words(ticks);
        for (std::string tick; words >> tick;) {
            SeenUser = tick.substr(0, tick.find(':'));
            UserWatchTimerProc(nullptr, WM_TIMER, 0, 0);
            VTLOCK_STATE now = QueryDriverState();
            EXPECT_EQ(now.LoadRequests - before.LoadRequests, std::stoul(tick.substr(tick.find(':') + 1))) << ticks;
            EXPECT_EQ(now.StopRequests - before.StopRequests, 2 * (now.LoadRequests - before.LoadRequests)) << ticks;
        }
    }
    DisableProtection();
}
TEST(CopyDataText, ReadsOnlyWithinTheBlock) {
    const std::string big(CopyDataMaxBytes + 1, 'x');
    const struct { const char* bytes; DWORD size; std::string text; } cases[] = {  // "unchanged": refused
        {"AB\0CD", 6, "AB"}, {"ABCD", 3, "ABC"}, {"", 1, ""}, {"ABC", 0, "unchanged"}, {nullptr, 10, "unchanged"},
        {big.c_str(), CopyDataMaxBytes, big.substr(1)}, {big.c_str(), CopyDataMaxBytes + 1, "unchanged"}};
    for (const auto& c : cases) {
        COPYDATASTRUCT data = {0, c.size, const_cast<char*>(c.bytes)};
        std::string text = "unchanged";
        EXPECT_EQ(CopyDataText(&data, text), c.text != "unchanged") << c.size;
        EXPECT_EQ(text, c.text) << c.size;
    }
    std::string text;
    EXPECT_FALSE(CopyDataText(nullptr, text));
}
// A program older than the agent has its next window reported; then names listed or not.
TEST(Agent, DisabledProgramsAreEndedWhenTheyOpenAWindow) {
    AgentBed bed;
    SetSettings(false, false, false);
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, "VtTest.LateWindow");
    ChildProcess late(StartProcess(QuoteArgument(BinDir() + "blockme.exe") + " VtTest.LateWindow"));
    HWND old = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (old = FindWindowA("blockme", "blockme")) != nullptr; }));
    ProfileText profile(1);
    profile.tasks = {"BLOCKME.EXE"};
    bed.WriteProfile("default.vtp", profile);
    VTLOCK_STATE before = QueryDriverState();
    bed.StartAgent();
    EXPECT_EQ(FenceAgent().StartRequests, before.StartRequests + 1) << "without AutoStart only the fence applied";
    Broadcast("Corvane2.TaskMan1", WPARAM(old), 1);
    Broadcast("Corvane2.TaskMan1", WPARAM(old), -1);
    FenceAgent();
    EXPECT_EQ(WaitForSingleObject(late, 0), DWORD(WAIT_TIMEOUT)) << "an old window, and reports with lParam not 0";
    SetEvent(event);
    EXPECT_TRUE(Ended(late)) << "ended by the agent, exit code 0";
    CloseHandle(event);
    const struct { const char* task; const char* fileName; bool ended; } cases[] = {  // no task: protection off
        {"BLOCKME.EXE      //Test program", "blockme.exe", true}, {"BLOCKME.EXE", "BlockMe.exe", true},
        {"", "BLOCKME.EXE", false}, {"BLOCKME.EXE  //Two blanks only", "blockme.exe", false},
        {"blockme.exe      //Stored in lower case", "blockme.exe", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.task) + " / " + c.fileName);
        profile.tasks = {"NOTEPAD.EXE", *c.task ? c.task : cases[0].task};
        bed.WriteProfile("default.vtp", profile);
        FenceAgent();
        if (!*c.task) Broadcast("Vantrel.Stop");
        const std::string path = NewTempDir("programs") + c.fileName;
        CopyFileA((BinDir() + "blockme.exe").c_str(), path.c_str(), FALSE);
        ChildProcess program(StartProcess(QuoteArgument(path)));
        if (!c.ended && WaitForInputIdle(program, 10000) == 0) {
            FenceAgent();  // the window's report is handled
            EXPECT_EQ(WaitForSingleObject(program, 0), DWORD(WAIT_TIMEOUT));
            PostMessageA(FindWindowA("blockme", nullptr), WM_CLOSE, 0, 0);
        }
        EXPECT_TRUE(Ended(program, c.ended ? 0 : 7)) << "7: closed, 0: ended by the agent";
    }
    // Where Toolhelp fails, a program's name comes from the system's process list, also from a list that a
    // busy machine makes longer than 20 KiB (here: this process with 300 waiting threads).
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::vector<HANDLE> threads(300);
    for (HANDLE& thread : threads)
        thread = CreateThread(nullptr, 4096, [](void* event) -> DWORD { return WaitForSingleObject(event, INFINITE); },
                              release, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    EXPECT_EQ(UpperCase(ProcessNameFromSystemInformation(GetCurrentProcessId())), "E2E_AGENT.EXE");
    SetEvent(release);
    for (HANDLE thread : threads) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    CloseHandle(release);
    EXPECT_EQ(ProcessNameFromSystemInformation(0xFFFFFFF0u), "");
}
