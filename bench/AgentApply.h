// The agent's whole apply as the benchmarks time it: from posting
// "Vantrel.Start" (which raises protection, so any process may broadcast it)
// to the driver reporting its next start. The agent applies its start-up
// profile on every "Vantrel.Start", started or not, so the runs need no stop
// in between.
#pragma once
#include "AgentClient.h"
#include "BenchClock.h"
#include "VtTest.h"

#include <string>
#include <vector>

// An installed copy of the programs with the driver's service; the agent runs
// on it with the caller's current folder, where it resolves bare file names.
struct BenchAgent {
    std::string dir;    // the installed copy, trailing backslash; profiles go in dir + "Profiles\\"
    std::string exe;    // its vtlock.exe, quoted
    HANDLE process = nullptr;
};

inline BenchAgent InstallBenchAgent()
{
    BenchAgent agent;
    agent.dir = InstallCopy();
    agent.exe = QuoteArgument(agent.dir + "vtlock.exe");
    RunAndWait(agent.exe + " /INSTALL");
    return agent;
}

// False when the agent's window or the driver did not appear.
inline bool StartBenchAgent(BenchAgent& agent)
{
    agent.process = StartProcess(agent.exe + " /AGENT");
    return WaitFor([] { return FindWindowA("VTLOCK.AGENT", nullptr) != nullptr; }) && QueryDriverState().Size != 0;
}

inline void StopBenchAgent(BenchAgent& agent)
{
    AskAgent(VtPipeStopAgent);
    WaitForSingleObject(agent.process, 10000);
    StopProcess(agent.process);
}

// The milliseconds of each run; an empty list when the driver did not start within a minute.
inline std::vector<double> ApplyTimes(int runs)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const unsigned int starts = QueryDriverState().StartRequests;
        const double start = Now();
        PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("Vantrel.Start"), 0, 0);
        for (VTLOCK_STATE state = QueryDriverState(); state.StartRequests == starts || state.Started != 1;
             state = QueryDriverState()) {
            if (Now() - start > 60000) return std::vector<double>();
            Sleep(1);
        }
        times.push_back(Now() - start);
    }
    return times;
}

inline Timing MinAndMedian(std::vector<double> times)
{
    if (times.empty()) return {-1, -1};
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2]};
}
