// A burst of mixed requests: the agent keeps running, leaks no handles, and
// the driver ends in the state of the last request.
#include "../agent_shared/AgentTest.h"
#include "ManagerSupport.h"
#include <winternl.h>

using namespace agenttest;

namespace {

// From the system's process list: Wine answers GetProcessHandleCount only
// for the calling process. 0 when it cannot be read.
ULONG HandleCount(HANDLE process)
{
    auto query = reinterpret_cast<decltype(&NtQuerySystemInformation)>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<char> buffer(1 << 20);
    if (!query || query(SystemProcessInformation, buffer.data(), ULONG(buffer.size()), nullptr) != 0) return 0;
    for (size_t offset = 0;;) {
        auto* info = reinterpret_cast<SYSTEM_PROCESS_INFORMATION*>(buffer.data() + offset);
        if (ULONG_PTR(info->UniqueProcessId) == GetProcessId(process)) return info->HandleCount;
        if (info->NextEntryOffset == 0) return 0;
        offset += info->NextEntryOffset;
    }
}

TEST(AgentLoad, ABurstOfMixedRequests)
{
    AgentBed bed;
    SetPasswords(AdminPassword, TogglePassword);
    SetSettings(false, false, false);
    ProfileText profile = RulesProfile(20);
    profile.policies = {"0=1", "1=0", "2=2"};
    profile.tasks = {"NOSUCHPROGRAM.EXE"};
    bed.WriteProfile("default.vtp", profile);
    bed.StartAgent();
    const LPARAM digest = Command18(TogglePassword);
    const WPARAM window = WPARAM(FindAgent());

    struct Request {
        const char* message;
        WPARAM wParam;
        LPARAM lParam;
        unsigned int starts, stops;  // sent to the driver
    } round[] = {
        {"Vantrel.Start", 0, 0, 1, 1},   {"Corvane2.TaskMan1", window, 0, 0, 0}, {"Vantrel.Disable", 0, digest ^ 0x5A, 0, 0},
        {"Vantrel.Stop", 0, 0, 0, 1},    {"Vantrel.Enable", 0, 0, 1, 1},         {"Vantrel.Disable", 0, digest, 0, 1},
        {"Vantrel.Start", 0, 0, 1, 1},
    };
    auto burst = [&](unsigned int rounds) {
        VTLOCK_STATE before = QueryDriverState();
        unsigned int starts = 0, stops = 0;
        for (unsigned int i = 0; i < rounds; ++i) {
            for (const Request& r : round) {
                Broadcast(r.message, r.wParam, r.lParam);
                starts += r.starts, stops += r.stops;
            }
            if (i % 30 == 29) Sleep(50);  // a real burst comes from several senders
        }
        EXPECT_TRUE(WaitDriver([&](const VTLOCK_STATE& s) {
            return s.StopRequests >= before.StopRequests + stops && s.StartRequests >= before.StartRequests + starts;
        }, 120000)) << "every request was handled";
        VTLOCK_STATE after = QueryDriverState();
        EXPECT_EQ(after.StartRequests - before.StartRequests, starts);
        EXPECT_EQ(after.StopRequests - before.StopRequests, stops);
        EXPECT_EQ(after.LoadRefused, before.LoadRefused);
        EXPECT_EQ(after.Started, 1u) << "the last request was a start";
    };
    burst(1);  // what is loaded once is loaded then
    const ULONG handles = HandleCount(bed.Agent());
    ASSERT_GT(handles, 0u) << "the handle count cannot be read";
    burst(150);
    EXPECT_EQ(WaitForSingleObject(bed.Agent(), 0), DWORD(WAIT_TIMEOUT)) << "the agent still runs";
    EXPECT_LE(HandleCount(bed.Agent()), handles + 8);
}

}  // namespace
