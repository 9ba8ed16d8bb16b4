// The agent: one instance, the user's toggle and passwords, what a standard user cannot do, who is logged on, and
// disabled programs.
#include "../agent_shared/AgentTest.h"
#include "Agent.h"
#include "Channel.h"
#include "ManagerSupport.h"
#include "ProgramBlocking.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include <functional>
#include <sstream>
using namespace agenttest;
// Wine's mount manager defines (or, with DRIVE_NO_ROOT_DIR, removes) drive R: of a type over a Unix folder, as
// winecfg does; the request's layout is Wine's own.
bool DefineWineDrive(UINT type) {
    struct Request { ULONG size, type, fsType; DWORD serial; ULONGLONG unixDevice; WCHAR letter; USHORT mountPoint,
                     device, label; };
    struct { Request r; char mountPoint[5]; } request = {
        {sizeof request, type, 0, 0, 0, L'r', USHORT(type == DRIVE_NO_ROOT_DIR ? 0 : sizeof(Request)), 0, 0}, "/tmp"};
    HANDLE manager = CreateFileA("\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD returned = 0;
    const DWORD defineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
    bool done = DeviceIoControl(manager, defineUnixDrive, &request, sizeof request, nullptr, 0, &returned, nullptr);
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
    // A profile without folder or file rules replaces the rules in force.
    bed.WriteProfile(own, ProfileText(0, {}, {"0=1"}));
    const VTLOCK_STATE ruleless = FenceAgent();
    EXPECT_EQ(ruleless.FileStrings * 100 + ruleless.FolderStrings, 7u * 100 + after.FolderStrings - 3);
}
std::string Box(const SeenBox& b) { return b.caption + ": " + b.text + " (" + b.icon + ", " + b.buttons + ")"; }
// As a standard user: the toggle's dialog in the user's own process and "/D:", both judged by the agent; a
// profile's own password replaces the default toggle password.
TEST(Agent, AUsersToggleAndDisableWithPasswords) {
    AgentBed bed;
    SetPasswords(AdminPassword, TogglePassword);
    SetSettings(false, false, false);
    bed.StartAgent();
    const std::string T = TogglePassword, A = AdminPassword, own = "own-secret";
    // The profile has its own password; the button that leaves the toggle's dialog, none: "/D:" with the password.
    const struct { bool ownSet; const char* button; std::string password; bool disables, complains; } cases[] = {
        {0, "ok", T, 1, 0}, {0, "ok", "guess", 0, 1}, {0, "ok", "", 0, 0}, {0, "cancel", T, 0, 0}, {1, "ok", own, 1, 0},
        {1, "ok", T, 0, 1}, {0, "", A, 1, 0}, {0, "", "", 0, 1}, {1, "", A, 1, 0}, {0, "", own, 0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " \"" + c.password + "\"" + (c.ownSet ? ", own password set" : ""));
        bed.WriteProfile("default.vtp", ProfileText(2, {"&.VTX"}, {}, c.ownSet ? Command18(own.c_str()) : 0));
        VTLOCK_STATE before = FenceAgent();
        BoxAnswerer answerer(*c.button ? c.button : "ok", c.password, *c.button != 0);
        const std::string command = *c.button ? "/TOGGLE" : QuoteArgument("/D:" + c.password);
        EXPECT_EQ(RunAsStandardUser(bed.Exe() + " " + command).exitCode, c.disables ? 0u : 1u);
        answerer.WaitSeen((*c.button ? 1 : 0) + c.complains);
        EXPECT_EQ(FenceAgent().StopRequests - before.StopRequests, c.disables ? 2u : 1u) << "disabled, and the fence";
        std::vector<SeenBox> seen = answerer.Seen();
        ASSERT_EQ(seen.size(), (*c.button ? 1 : 0) + c.complains);
        EXPECT_EQ(c.complains ? Box(seen.back()) : "", c.complains ? "Disable protection: Password is incorrect. "
                                                                     "(information, ok)" : "");
    }
    // Protection is off: the toggle asks before it enables.
    ASSERT_TRUE(AskAgent(VtPipeStop).accepted) << "an administrator's stop needs no password";
    ASSERT_TRUE(WaitStarted(0));
    for (const std::string answer : {"no", "yes"}) {
        VTLOCK_STATE before = QueryDriverState();
        BoxAnswerer answerer(answer);
        EXPECT_EQ(RunAsStandardUser(bed.Exe() + " /TOGGLE").exitCode, answer == "yes" ? 0u : 1u);
        EXPECT_EQ(Box(answerer.WaitSeen(1).at(0)), "Enable protection: It will enable Vantrel protection. Continue? "
                                                  "(question, yes,no)");
        EXPECT_EQ(QueryDriverState().StartRequests, before.StartRequests + (answer == "yes")) << answer;
    }
    const unsigned int loads = QueryDriverState().LoadRequests;
    EXPECT_TRUE(RunAsStandardUser(bed.Exe() + " /E").exitCode == 0 && QueryDriverState().LoadRequests == loads + 1)
        << "\"/E\" applies the profile again, answered once done";
}
// One message to the agent's pipe as any program may write it; the reply's verdict, or -1 for none.
long RawPipeRequest(const std::string& bytes) {
    HANDLE pipe;
    while ((pipe = CreateFileA(VTPIPE_NAME, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)) ==
               INVALID_HANDLE_VALUE && GetLastError() == ERROR_PIPE_BUSY)
        WaitNamedPipeA(VTPIPE_NAME, 5000);
    DWORD mode = PIPE_READMODE_MESSAGE, written = 0, read = 0;
    VtPipeReply reply = {};
    bool answered = SetNamedPipeHandleState(pipe, &mode, nullptr, nullptr) &&
                    WriteFile(pipe, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                    ReadFile(pipe, &reply, sizeof reply, &read, nullptr) && VtPipeReplyValid(reply, read);
    CloseHandle(pipe);
    return answered ? long(reply.Verdict) : -1;
}
long RawPipeRequest(const VtPipeRequest& r) { return RawPipeRequest(std::string((const char*)&r, sizeof r)); }
bool SendCopyData(WPARAM code, const std::string& text) {
    COPYDATASTRUCT data = {0, DWORD(text.size() + 1), const_cast<char*>(text.c_str())};
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(FindAgent(), WM_COPYDATA, code, LPARAM(&data), SMTO_NORMAL, 10000, &result) != 0;
}
// With protection on: a squatter on the pipe's name, any program's messages, a standard user's "/STOPAGENT" and
// requests out of contract leave protection, the policies and the agent as they were; an administrator's
// "/STOPAGENT" ends the agent.
TEST(Agent, AStandardUserCannotSwitchProtectionOff) {
    AgentBed bed;
    SetPasswords(AdminPassword, TogglePassword);
    SetSettings(true, false, false);
    bed.WriteProfile("default.vtp", ProfileText(2, {"&.VTX"}, {"0=1"}));
    RegDeleteKeyValueA(HKEY_CURRENT_USER, PoliciesKey, "DisableRegistryTools");
    // A user's program that holds the name first is sent nothing, and the user is told.
    ToolLog squatLog("squat", '\n');
    HANDLE squatter = StartAsStandardUser(QuoteArgument(BinDir() + "pipesquat.exe") + " --log " +
                                          QuoteArgument(squatLog.Path()));
    ASSERT_TRUE(squatter && WaitFor([&] { return Exists(squatLog.Path()); })) << "the squatter did not start";
    bed.StartAgent();
    ASSERT_TRUE(WaitStarted(1));
    {
        BoxAnswerer boxes;
        EXPECT_EQ(RunAndWait(bed.Exe() + " " + QuoteArgument(std::string("/D:") + TogglePassword)).exitCode, 2u);
        EXPECT_EQ(Box(boxes.WaitSeen(1).at(0)), "Disable protection: The program that answers for the Vantrel agent "
                                                "does not run as an administrator. Nothing was sent. (error, ok)");
    }
    EXPECT_EQ(squatLog.WaitRecords(1, 10000), std::vector<std::string>{"read 0 "}) << "it connected, then sent nothing";
    StopProcess(squatter);
    ASSERT_TRUE(WaitFor([] { return AskAgent(VtPipeQuery).protectionOn; })) << "the agent took its pipe back";
    EXPECT_EQ(RunAsStandardUser(QuoteArgument(BinDir() + "pipesquat.exe") + " --log x").exitCode, 1u)
        << "no second instance beside the agent's";
    VtPipeRequest request = VtPipeMakeRequest(VtPipeStop);
    std::vector<std::pair<std::string, std::function<void()>>> attacks = {
        {"broadcasts", [] {
             for (const char* name : {"Vantrel.Stop", "Vantrel.StopAgent", "Vantrel.Ask"}) Broadcast(name);
             for (const char* password : {TogglePassword, AdminPassword})
                 Broadcast("Vantrel.Disable", 0, LPARAM(Command18(password)));
         }},
        {"window messages", [] {
             for (UINT message : {UINT(WM_CLOSE), UINT(WM_QUIT), UINT(WM_APP + 0x5A), UINT(WM_APP + 0x5B)})
                 PostMessageA(FindAgent(), message, 0, 0);
         }},
        {"copy-data", [] {
             EXPECT_TRUE(SendCopyData(23914, "C:\\"));
             EXPECT_TRUE(SendCopyData(23917, "21-77-88-99-4242"));
         }},
        {"requests out of contract", [&] {
             const std::string whole((const char*)&request, sizeof request);
             EXPECT_EQ(RawPipeRequest(whole.substr(0, 10)), long(VtPipeMalformed));
             EXPECT_EQ(RawPipeRequest(whole + "more"), long(VtPipeMalformed)) << "a longer message is not read";
             VtPipeRequest unterminated = request, unknown = request, sized = request;
             FillMemory(unterminated.Password, sizeof unterminated.Password, 'x');
             unknown.Code = VtPipeLogon + 1;
             sized.Size = 10;
             for (const VtPipeRequest* r : {&unterminated, &unknown, &sized})
                 EXPECT_EQ(RawPipeRequest(*r), long(VtPipeMalformed)) << r - &unterminated;
         }},
        {"a user's /STOPAGENT", [&] {
             BoxAnswerer boxes;
             EXPECT_EQ(RunAsStandardUser(bed.Exe() + " /STOPAGENT").exitCode, 1u);
             EXPECT_EQ(Box(boxes.WaitSeen(1).at(0)),
                       "Vantrel: Only an administrator can stop the Vantrel agent. (information, ok)");
         }}};
    for (const auto& attack : attacks) {
        VTLOCK_STATE before = QueryDriverState();
        attack.second();
        VTLOCK_STATE after = FenceAgent();
        EXPECT_EQ(after.StopRequests - before.StopRequests, 1u) << attack.first << ": only the fence stopped";
        EXPECT_EQ(after.ImageBytes, before.ImageBytes) << attack.first << ": the same exceptions";
        EXPECT_EQ(RegistryTools(), 1) << attack.first;
        EXPECT_EQ(WaitForSingleObject(bed.Agent(), 0), DWORD(WAIT_TIMEOUT)) << attack.first;
    }
    EXPECT_EQ(RunAndWait(bed.Exe() + " /STOPAGENT").exitCode, 0u);
    EXPECT_TRUE(Ended(bed.Agent()) && QueryDriverState().Started == 0);
    EXPECT_EQ(RegistryTools(), 0) << "the restrictions switched off";
}
// vtscc waits for a late agent; the user, his hive and temporary folder come from the sender's token, whatever the
// request names; a folder above a protected one is not taken, and with no profile protection is not switched off.
TEST(Agent, LearnsTheUserFromTheLogonProgramsToken) {
    AgentBed bed;
    SetSettings(false, false, false);
    bed.WriteProfile("default.vtp", ProfileText(1, {"&.VTX"}, {"0=1"}));
    ChildProcess vtscc(StartProcess(QuoteArgument(bed.Dir() + "vtscc.exe") + " /NTUSER"));
    EXPECT_EQ(WaitForSingleObject(vtscc, 1000), DWORD(WAIT_TIMEOUT)) << "it waits while there is no agent";
    VTLOCK_STATE before = QueryDriverState();
    bed.StartAgent();
    EXPECT_TRUE(Ended(vtscc, 0, 15000)) << "0: the agent took the report";
    EXPECT_EQ(RunAndWait(QuoteArgument(bed.Dir() + "vtscc.exe")).exitCode, 0u);
    EXPECT_EQ(FenceAgent().LoadRequests, before.LoadRequests + 2) << "the user reported once, without /NTUSER not";
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    const std::string sid = VtPipeTokenUser(token);
    char tempPath[MAX_PATH + 1] = {};
    const std::string temp(tempPath, GetTempPathA(sizeof tempPath, tempPath));
    EXPECT_EQ(RegistryTools(HKEY_USERS, sid + "\\"), 1);
    const std::string taken = "User " + sid + ", temporary folder " + temp + ".";
    const unsigned int bytes = FenceAgent().ImageBytes;
    const struct { std::string temp, sid, said; } logons[] = {
        {"C:\\", "S-1-5-21-77-88-99-4242", taken + " Ignored: the identifier S-1-5-21-77-88-99-4242, not the sender's."
                                                   " Ignored: the temporary folder C:\\, not the sender's own."},
        {"", "", taken}, {temp, sid.substr(6), taken}};
    auto logon = [](const std::string& temp, const std::string& sid) {
        VtPipeRequest request = VtPipeMakeRequest(VtPipeLogon);
        VtPipeSetText(request.UserTemp, sizeof request.UserTemp, temp);
        VtPipeSetText(request.UserSid, sizeof request.UserSid, sid);
        VtPipeReply reply = {};
        EXPECT_EQ(int(VtPipeTransact(request, reply)), int(VtPipeOutcome::Answered));
        EXPECT_EQ(reply.Verdict, DWORD(VtPipeAccepted));
        return std::string(reply.Text);
    };
    for (const auto& l : logons) {
        EXPECT_EQ(logon(l.temp, l.sid), l.said);
        EXPECT_EQ(FenceAgent().ImageBytes, bytes) << l.temp << ": the folder the agent derived stays the exception";
    }
    ProfileText protecting(1, {"&.VTX"}, {"0=1"});
    protecting.folders.push_back("&" + temp + "SECRET");
    bed.WriteProfile("default.vtp", protecting);
    FenceAgent();
    EXPECT_EQ(logon("", ""), "User " + sid + ". Ignored: the temporary folder " + temp +
                                 ", above or at the protected folder " + temp + "SECRET.");
    ASSERT_TRUE(DeleteFileA((bed.Dir() + "Profiles\\default.vtp").c_str()));
    const unsigned int stops = QueryDriverState().StopRequests;
    logon("", "");
    EXPECT_EQ(QueryDriverState().StopRequests, stops) << "with no profile to put in force, protection stays on";
    EXPECT_EQ(RunAndWait(bed.Exe() + " /STOPAGENT").exitCode, 0u);
    EXPECT_TRUE(Ended(bed.Agent()));
    EXPECT_EQ(RegistryTools(HKEY_USERS, sid + "\\"), 0) << "ending switches the restrictions off in that hive";
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
            const unsigned loads = QueryDriverState().LoadRequests - before.LoadRequests;
            EXPECT_EQ(loads, std::stoul(tick.substr(tick.find(':') + 1))) << ticks;
            EXPECT_EQ(QueryDriverState().StopRequests - before.StopRequests, 2 * loads) << ticks;
        }
    }
    DisableProtection();
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
        if (!*c.task) AskAgent(VtPipeStop);
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
    for (HANDLE thread : threads) WaitForSingleObject(thread, INFINITE), CloseHandle(thread);
    CloseHandle(release);
    EXPECT_EQ(ProcessNameFromSystemInformation(0xFFFFFFF0u), "");
}
