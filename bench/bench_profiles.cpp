// Profile save, load and driver image build for generated profiles of
// 1,000 and 10,000 folder rules plus as many file rules, against plain
// Win32 writes and reads of the same number of bytes, and the agent's whole
// apply of the same profile ("Vantrel.Start" to the driver started). Prints
// the minimum and median of several runs (7, or 5 for the image build and the
// apply) and their ratios.
#include "AgentApply.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtTest.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

// Folders and files that exist, so the image builder finds short and long
// forms: folder rules below long-named folders, file-name rules on files of
// the current folder, and as many file-type rules. The names are upper case
// on disk as in the rules: Wine finds a name given in another case only by
// reading the whole folder, which would measure the folder's size instead.
void GenerateProfile(const std::string& tree, const std::string& files, int rules)
{
    CreateProfileLists();
    std::string group;
    for (int i = 0; i < rules; ++i) {
        if (i % 100 == 0) {
            group = tree + "FOLDER GROUP " + std::to_string(i / 100);
            CreateDirectoryA(group.c_str(), nullptr);
        }
        std::string folder = group + "\\PROTECTED FOLDER NUMBER " + std::to_string(i);
        CreateDirectoryA(folder.c_str(), nullptr);
        Profile.Folders.push_back((i % 3 ? "-" : "&") + UpperCase(folder));
    }
    // The file-name rules name the same 500 files over and over: Wine searches
    // a folder by reading all of it when a name is missing (every file-type
    // rule), so a current folder that grew with the rules would measure Wine.
    for (int i = 0; i < rules; ++i) {
        if (i % 2) {
            Profile.Files.push_back("&.X" + std::to_string(i));
        } else {
            std::string name = "PROTECTED FILE " + std::to_string(i / 2 % 500) + ".DAT";
            if (i < 1000) WriteWholeFile(files + name, "x");
            Profile.Files.push_back("-" + name);
        }
    }
    for (int row = 0; row < 32; ++row) Profile.Policies.push_back(std::to_string(row) + "=2");
    Profile.Tasks = {"REGEDIT.EXE      // Registry Editor  (Microsoft)"};
}

void PlainWrite(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void PlainRead(const std::string& path, std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD size = GetFileSize(file, nullptr), got = 0;
    bytes.resize(size);
    ReadFile(file, &bytes[0], size, &got, nullptr);
    CloseHandle(file);
}

// The safe-save pattern with plain calls: write beside, then replace.
void PlainWriteAndReplace(const std::string& path, const std::string& bytes)
{
    PlainWrite(path + ".tmp", bytes);
    MoveFileExA((path + ".tmp").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

void ScrambleAllLines(const TProfile& profile)
{
    KeyPosition = 0;
    for (const TextList* list : {&profile.Folders, &profile.Files, &profile.Policies, &profile.Tasks})
        for (const std::string& line : *list) ScrambleLine(line, "*");
}

struct Row {
    Timing save, load, build, apply, plainWrite, plainRead, plainReplace, scramble;
    size_t fileBytes = 0;
    uint32_t imageBytes = 0;
};

// The agent applies the profile as its default one, from the same current folder.
Timing AgentApply(BenchAgent& agent, const std::string& profile)
{
    CopyFileA(profile.c_str(), (agent.dir + "Profiles\\default.vtp").c_str(), FALSE);
    if (!StartBenchAgent(agent)) {
        StopBenchAgent(agent);
        return {-1, -1};
    }
    Timing apply = MinAndMedian(ApplyTimes(5));
    StopBenchAgent(agent);
    return apply;
}

Row Run(int rules, int runs, BenchAgent* agent)
{
    Row row;
    std::string root = NewTempDir("bench");
    std::string tree = root + "TREE\\", files = root + "FILES\\";
    CreateDirectoryA(tree.c_str(), nullptr);
    CreateDirectoryA(files.c_str(), nullptr);
    // Bare file names are looked up in the current folder.
    SetCurrentDirectoryA(files.c_str());
    ProfilesDir = root;
    GenerateProfile(tree, files, rules);
    const TProfile generated = Profile;

    row.save = Measure(runs, [] { SaveProfile("bench", 0); });
    const std::string path = root + "bench.vtp";
    row.load = Measure(runs, [&] { LoadProfile(path); });
    Profile = generated;
    if (agent) row.build = Measure(5, [] { BuildDriverImage(); });
    row.imageBytes = DriverImageSize;
    if (agent) row.apply = AgentApply(*agent, path);

    std::string bytes;
    PlainRead(path, bytes);
    row.fileBytes = bytes.size();
    const std::string plainPath = root + "plain.bin";
    row.plainWrite = Measure(runs, [&] { PlainWrite(plainPath, bytes); });
    row.plainReplace = Measure(runs, [&] { PlainWriteAndReplace(plainPath, bytes); });
    row.scramble = Measure(runs, [&] { ScrambleAllLines(generated); });
    std::string readBack;
    row.plainRead = Measure(runs, [&] { PlainRead(plainPath, readBack); });
    return row;
}

void PrintLine(const char* operation, const Timing& small, const Timing& large, const Timing* baseSmall,
               const Timing* baseLarge)
{
    std::printf("%-20s %10.2f %10.2f %10.2f %10.2f %8.2f %8.2f", operation, small.min, small.median, large.min,
                large.median, large.min / small.min, large.median / small.median);
    if (baseSmall && baseLarge)
        std::printf(" %9.2f %9.2f", small.median / baseSmall->median, large.median / baseLarge->median);
    std::printf("\n");
}

}  // namespace

// "--files-only" leaves out the image build and the agent's apply.
int main(int argc, char** argv)
{
    InitRuntimeEnvironment();
    const bool withImage = !(argc > 1 && std::string(argv[1]) == "--files-only");
    const int runs = 7;
    BenchAgent agent;
    if (withImage) agent = InstallBenchAgent();
    Row small = Run(1000, runs, withImage ? &agent : nullptr);
    Row large = Run(10000, runs, withImage ? &agent : nullptr);
    if (withImage) RunAndWait(agent.exe + " /UNINSTALL");

    std::printf("Profiles of 1,000 and 10,000 folder rules plus as many file rules; %d runs each; times in ms\n",
                runs);
    std::printf("profile file: %zu and %zu bytes; driver image: %u and %u bytes\n\n", small.fileBytes,
                large.fileBytes, small.imageBytes, large.imageBytes);
    std::printf("%-20s %10s %10s %10s %10s %8s %8s %9s %9s\n", "operation", "1k min", "1k median", "10k min",
                "10k median", "x (min)", "x (med)", "1k/base", "10k/base");
    PrintLine("SaveProfile", small.save, large.save, &small.plainWrite, &large.plainWrite);
    PrintLine("LoadProfile", small.load, large.load, &small.plainRead, &large.plainRead);
    PrintLine("BuildDriverImage", small.build, large.build, nullptr, nullptr);
    PrintLine("agent apply", small.apply, large.apply, nullptr, nullptr);
    PrintLine("plain write", small.plainWrite, large.plainWrite, nullptr, nullptr);
    PrintLine("plain read", small.plainRead, large.plainRead, nullptr, nullptr);
    PrintLine("plain write+replace", small.plainReplace, large.plainReplace, nullptr, nullptr);
    PrintLine("ScrambleLine, all", small.scramble, large.scramble, nullptr, nullptr);
    std::printf("\nx: 10k time / 1k time; base: the plain write (save) or plain read (load) of the same bytes;\n");
    std::printf("agent apply: \"Vantrel.Start\" posted to the driver started, -1 when it did not start.\n");
    std::printf("Goals: load and save of 10,000 rules within 4x the plain baseline; x at most 12;\n");
    std::printf("the image of 10,000 rules within 1,500 ms and of 1,000 within 200 ms (medians).\n");
    return 0;
}
