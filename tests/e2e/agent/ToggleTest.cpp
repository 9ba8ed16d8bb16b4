// Switching protection off and on at the user's request: the toggle's
// password dialog and question, and the digests that "/D:" broadcasts. The
// administrator password always works; a profile's own password replaces the
// default toggle password. All the while the agent's handles do not grow.
#include "../agent_shared/AgentTest.h"
#include "ManagerSupport.h"
#include <winternl.h>

using namespace agenttest;

namespace {

std::string Box(const SeenBox& b) { return b.caption + ": " + b.text + " (" + b.icon + ", " + b.buttons + ")"; }

// From the system's process list: Wine answers GetProcessHandleCount only
// for the calling process.
ULONG HandleCount(HANDLE process)
{
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

TEST(AgentToggle, PasswordsDigestsAndTheQuestion)
{
    AgentBed bed;
    SetPasswords(AdminPassword, TogglePassword);
    SetSettings(false, false, false);
    bed.StartAgent();
    const std::string own = "own-secret";
    const struct {
        bool ownSet;           // the profile has a password of its own
        const char* button;    // how the toggle's dialog is left; none: "/D:" with the password
        std::string password;  // typed or digested
        bool disables, complains;
    } cases[] = {
        {false, "ok", TogglePassword, true, false},     {false, "ok", AdminPassword, true, false},
        {false, "ok", "guess", false, true},            {false, "ok", "", false, false},
        {false, "cancel", TogglePassword, false, false}, {true, "ok", own, true, false},
        {true, "ok", AdminPassword, true, false},       {true, "ok", TogglePassword, false, true},
        {false, "", TogglePassword, true, false},       {false, "", AdminPassword, true, false},
        {false, "", "guess", false, false},             {false, "", "", false, false},
        {true, "", own, true, false},                   {false, "", own, false, false},
        {true, "", TogglePassword, true, false},
    };
    ULONG handles = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.ownSet ? "own password set, " : "") + (*c.button ? "typed " : "digest of ") +
                     "\"" + c.password + "\" " + c.button);
        ProfileText profile = RulesProfile(2);
        profile.passwordHash = c.ownSet ? Command18(own.c_str()) : 0;
        bed.WriteProfile("default.vtp", profile);
        VTLOCK_STATE before = FenceAgent();
        Broadcast("Corvane2.TaskMan1", WPARAM(FindAgent()), 0);  // a window report, for the handle count
        if (&c == &cases[1]) handles = HandleCount(bed.Agent());
        BoxAnswerer answerer(*c.button ? c.button : "ok", c.password, *c.button != 0);
        std::string command = *c.button ? "/TOGGLE" : QuoteArgument("/D:" + c.password);
        EXPECT_EQ(RunAndWait(bed.Exe() + " " + command).exitCode, 0u);
        const size_t boxes = *c.button ? 1 + c.complains : 0;
        answerer.WaitSeen(boxes);
        EXPECT_TRUE(WaitSettled(FindAgent()));
        EXPECT_EQ(FenceAgent().StopRequests - before.StopRequests, c.disables ? 2u : 1u) << "disabled, and the fence";
        std::vector<SeenBox> seen = answerer.Seen();
        ASSERT_EQ(seen.size(), boxes);
        if (c.complains) {
            EXPECT_EQ(Box(seen[1]), "Disable protection: Password is incorrect. (information, ok)");
        }
    }
    EXPECT_GT(handles, 0u) << "the handle count cannot be read";
    EXPECT_LE(HandleCount(bed.Agent()), handles + 8) << "each request leaves handles open";

    // Protection is off: the toggle asks before it enables.
    Broadcast("Vantrel.Stop");
    ASSERT_TRUE(WaitStarted(0));
    for (const std::string answer : {"no", "yes"}) {
        SCOPED_TRACE(answer);
        VTLOCK_STATE before = QueryDriverState();
        BoxAnswerer answerer(answer);
        EXPECT_EQ(RunAndWait(bed.Exe() + " /TOGGLE").exitCode, 0u);
        std::vector<SeenBox> seen = answerer.WaitSeen(1);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(Box(seen[0]), "Enable protection: It will enable Vantrel protection. Continue? (question, yes,no)");
        EXPECT_TRUE(WaitSettled(FindAgent()));
        VTLOCK_STATE after = QueryDriverState();
        EXPECT_EQ(after.LoadRequests + after.StartRequests,
                  before.LoadRequests + before.StartRequests + (answer == "yes" ? 2 : 0));
    }

    // "/E" applies the profile again; closing the agent switches protection off.
    Broadcast("Vantrel.Stop");
    ASSERT_TRUE(WaitStarted(0));
    EXPECT_EQ(RunAndWait(bed.Exe() + " /E").exitCode, 0u);
    EXPECT_TRUE(WaitStarted(1));
    PostMessageA(FindAgent(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ended(bed.Agent()));
    EXPECT_EQ(QueryDriverState().Started, 0u);
}

}  // namespace
