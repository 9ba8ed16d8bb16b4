// A burst of mixed requests: the agent keeps running, leaks no handles, and
// the driver ends in the state of the last request.
#include "../agent_shared/AgentTest.h"
#include <winternl.h>

using namespace agenttest;

namespace {

enum class Request { Start, Stop, Enable, GoodDisable, BadDisable, Window };

struct Counts {
    unsigned int starts = 0;  // start codes sent by the agent
    unsigned int stops = 0;   // stop codes sent by the agent
};

// GetProcessHandleCount, or the system's process list where that answers
// only for the calling process (Wine); 0 when neither knows.
DWORD HandleCount(HANDLE process)
{
    DWORD count = 0;
    if (GetProcessHandleCount(process, &count) && count > 0)
        return count;
    using QueryFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<char> buffer(1 << 20);
    ULONG needed = 0;
    if (!query || query(5 /* SystemProcessInformation */, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) != 0)
        return 0;
    DWORD id = GetProcessId(process);
    for (size_t offset = 0;;) {
        auto* info = reinterpret_cast<SYSTEM_PROCESS_INFORMATION*>(buffer.data() + offset);
        if (reinterpret_cast<ULONG_PTR>(info->UniqueProcessId) == id)
            return info->HandleCount;
        if (info->NextEntryOffset == 0)
            return 0;
        offset += info->NextEntryOffset;
    }
}

// Every start or enable sends a stop before the image and a start; every
// stop and accepted disable sends a stop.
Counts Post(Request r, DWORD goodDigest, HWND someWindow)
{
    switch (r) {
    case Request::Start: Broadcast("Vantrel.Start"); return {1, 1};
    case Request::Enable: Broadcast("Vantrel.Enable"); return {1, 1};
    case Request::Stop: Broadcast("Vantrel.Stop"); return {0, 1};
    case Request::GoodDisable: Broadcast("Vantrel.Disable", 0, goodDigest); return {0, 1};
    case Request::BadDisable: Broadcast("Vantrel.Disable", 0, goodDigest ^ 0x5A5A5A5A); return {0, 0};
    case Request::Window: Broadcast("Corvane2.TaskMan1", reinterpret_cast<WPARAM>(someWindow), 0); return {0, 0};
    }
    return {};
}

TEST(AgentLoad, ABurstOfMixedRequests)
{
    AgentBed bed;
    SetPasswords();
    SetSettings(false, false, false);
    ProfileText profile = RulesProfile(20);
    profile.policies = {"0=1", "1=0", "2=2"};
    profile.tasks = {"NOSUCHPROGRAM.EXE"};
    bed.WriteProfile("default.vtp", profile);
    bed.StartAgent();
    DWORD goodDigest = Command18(TogglePassword);

    // Settle: one round of everything, then measure.
    Broadcast("Vantrel.Start");
    ASSERT_TRUE(WaitDriver([](const VTLOCK_STATE& s) { return s.Started == 1; }));
    FenceAgent();
    DWORD handlesBefore = HandleCount(bed.Agent());
    ASSERT_GT(handlesBefore, 0u) << "the handle count cannot be read";
    VTLOCK_STATE before = QueryDriverState();

    const Request pattern[] = {Request::Start, Request::Window,      Request::BadDisable, Request::Stop,
                               Request::Enable, Request::GoodDisable, Request::Window,     Request::Start,
                               Request::BadDisable, Request::Stop,    Request::Enable,     Request::Window};
    const int total = 2400;
    Counts expected;
    bool lastOn = true;
    HWND someWindow = FindAgent();
    for (int i = 0; i < total; ++i) {
        Request r = pattern[(i * 7 + i / 12) % (sizeof pattern / sizeof pattern[0])];
        Counts c = Post(r, goodDigest, someWindow);
        expected.starts += c.starts;
        expected.stops += c.stops;
        if (c.starts)
            lastOn = true;
        else if (c.stops)
            lastOn = false;
        if (i % 200 == 199)
            Sleep(50);  // let the queue drain a little; a real burst comes from several senders
    }
    Counts last = Post(Request::Start, goodDigest, someWindow);
    expected.starts += last.starts;
    expected.stops += last.stops;
    lastOn = true;

    ASSERT_TRUE(WaitDriver(
        [&](const VTLOCK_STATE& s) {
            return s.StartRequests >= before.StartRequests + expected.starts &&
                   s.StopRequests >= before.StopRequests + expected.stops;
        },
        120000))
        << "every request was handled";
    VTLOCK_STATE after = QueryDriverState();
    EXPECT_EQ(after.StartRequests - before.StartRequests, expected.starts);
    EXPECT_EQ(after.StopRequests - before.StopRequests, expected.stops);
    EXPECT_EQ(after.LoadRefused, before.LoadRefused);
    EXPECT_EQ(after.Started, lastOn ? 1u : 0u);
    EXPECT_EQ(WaitForSingleObject(bed.Agent(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the agent still runs";
    EXPECT_LE(HandleCount(bed.Agent()), handlesBefore + 8);
}

}  // namespace
