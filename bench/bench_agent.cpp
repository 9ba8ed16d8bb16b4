// The agent's reaction time: from posting "Vantrel.Start" to the driver
// reporting the next start, for default profiles of 100, 1,000 and 10,000 folder
// rules plus as many file rules; beside it the time LoadProfile and
// BuildDriverImage take alone in this process for the same file. Prints a
// table, and the round trip of a request through the agent's pipe.
#include "AgentApply.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtLockIoctl.h"
#include "VtTest.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int Runs = 5;

// A plain-text profile: rules folder rules and as many file rules.
std::string ProfileText(int rules)
{
    std::string text = "[DIRECTORIES]\r\n";
    for (int i = 0; i < rules; ++i)
        text += (i % 3 ? "-" : "&") + std::string("C:\\VTBENCH\\GROUP ") + std::to_string(i / 100) + "\\FOLDER " +
                std::to_string(i) + "\r\n";
    text += "[FILES]\r\n";
    for (int i = 0; i < rules; ++i)
        text += (i % 2 ? "-FILE" + std::to_string(i) + ".DAT" : "&.X" + std::to_string(i)) + "\r\n";
    return text + "[POLICIES]\r\n0=1\r\n[TASKS]\r\n[OPTIONS]\r\nPWD=0\r\n[END1]\r\n";
}

// Median milliseconds of a query through the pipe, answered by the agent's window thread; -1 on failure.
double PipeRoundTrip()
{
    std::vector<double> times;
    for (int run = 0; run < 20 * Runs; ++run) {
        double start = Now();
        if (!AskAgent(VtPipeQuery).accepted)
            return -1;
        times.push_back(Now() - start);
    }
    return MinAndMedian(times).median;
}

double InProcessBuild(const std::string& path)
{
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        double start = Now();
        LoadProfile(path);
        BuildDriverImage();
        times.push_back(Now() - start);
    }
    return MinAndMedian(times).median;
}

}  // namespace

int main()
{
    InitRuntimeEnvironment();
    CreateProfileLists();
    BenchAgent agent = InstallBenchAgent();
    if (!StartBenchAgent(agent)) {
        std::printf("bench_agent: the agent or the driver did not start\n");
        StopBenchAgent(agent);
        return 1;
    }

    std::printf("Agent reaction to \"Vantrel.Start\" (median of %d runs)\n", Runs);
    std::printf("%8s %8s %12s %14s %8s %10s\n", "rules", "image KB", "agent ms", "in-process ms", "ratio",
                "agent/rule");
    for (int rules : {100, 1000, 10000}) {
        std::string path = agent.dir + "Profiles\\default.vtp";
        WriteWholeFile(path, ProfileText(rules));
        double reaction = MinAndMedian(ApplyTimes(Runs)).median;
        double build = InProcessBuild(path);
        std::printf("%8d %8.1f %12.2f %14.2f %8.2f %10.4f\n", rules, QueryDriverState().ImageBytes / 1024.0, reaction,
                    build, build > 0 ? reaction / build : 0.0, reaction / rules);
    }

    std::printf("Pipe request round trip: %.2f ms (median of %d)\n", PipeRoundTrip(), 20 * Runs);
    StopBenchAgent(agent);
    RunAndWait(agent.exe + " /UNINSTALL");
    return 0;
}
