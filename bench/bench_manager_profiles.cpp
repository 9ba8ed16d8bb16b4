// The profile manager with a large default profile: from start to ready
// (the forms created, the window shown with every tab filled from the
// profile named as with /LOAD:) at 1,000 and 10,000 folder rules plus as
// many file rules and 1,000 disabled programs, against what the start must
// at least do (LoadProfile and the folder tree's fill of the same profile),
// and OnSaveProfile alone with its summary answered at once; and, to
// show where the start spends its time, LoadProfileIntoWindow and the three
// list fills it makes. Prints the minimum and median of several runs and
// their ratios.
#include "Application.h"
#include "BenchClock.h"
#include "CommandLine.h"
#include "ManagerIds.h"
#include "ManagerWindow.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtTest.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr int Runs = 5;
constexpr int Programs = 1000;
constexpr int Extensions = 50;

// A profile as a large site has it: folder rules spread over the drive and
// below the Windows folder, in path order; file rules by type and by name.
void MakeProfile(int rules)
{
    CreateProfileLists();
    for (int i = 0; i < rules; ++i) {
        const std::string code = i % 5 ? "-" : "&";
        if (i % 4 == 0) Profile.Folders.push_back(code + WindowsDir + "\\APP " + std::to_string(i));
        else
            Profile.Folders.push_back(code + "C:\\DATA\\GROUP " + std::to_string(i / 100) + "\\F " + std::to_string(i));
        if (i % 2) Profile.Files.push_back(code + ".EXT" + std::to_string(i % Extensions));
        else Profile.Files.push_back(code + "FILE" + std::to_string(i) + ".DOC");
    }
    std::sort(Profile.Folders.begin(), Profile.Folders.end(),
              [](const std::string& a, const std::string& b) { return a.substr(1) < b.substr(1); });
    for (int i = 0; i < Programs; ++i)
        Profile.Tasks.push_back("PROGRAM" + std::to_string(i) + ".EXE      //Program " + std::to_string(i));
    for (int i = 0; i < 32; ++i) Profile.Policies.push_back(std::to_string(i) + "=" + std::to_string(i % 3));
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) Application.HandleMessage(msg, nullptr);
}

// Answers the save summary as soon as it is shown.
HHOOK SummaryHook = nullptr;
LRESULT CALLBACK AnswerYes(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) PostMessageA(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDYES, 0);
    return CallNextHookEx(SummaryHook, code, wParam, lParam);
}

struct Row {
    Timing ready, load, tree, save, intoWindow, folderList, fileList, programList;
};

Row MeasureSize(const std::string& dir, int rules)
{
    MakeProfile(rules);
    ProfilesDir = dir;
    SaveProfile("default", 0);
    const std::string path = dir + "default.vtp";
    Row row;
    StartupProfilePath = path;
    row.ready = Measure(Runs, [] {
        CreateManagerForms();
        ManagerWindow->Show();
        UpdateWindow(ManagerWindow->Handle());
        Pump();
        DestroyManagerForms();
    });
    row.load = Measure(Runs, [&] { LoadProfile(path); });

    CreateManagerForms();
    ManagerWindow->Show();
    ProfilesDir = dir;
    row.tree = Measure(Runs, [] { ManagerWindow->RebuildFolderTree(); });
    row.intoWindow = Measure(Runs, [&] { ManagerWindow->LoadProfileIntoWindow(path); });
    row.folderList = Measure(Runs, [] { ManagerWindow->FolderPage.ShowFolderRules(); });
    row.fileList = Measure(Runs, [] { ManagerWindow->FilePage.ShowFileRules(); });
    row.programList = Measure(Runs, [] { ManagerWindow->ProgramsPage.ShowPrograms(); });
    SummaryHook = SetWindowsHookExA(WH_CBT, AnswerYes, nullptr, GetCurrentThreadId());
    // The first message box of a process loads what every later one reuses.
    Measure(1, [] { SendMessageA(ManagerWindow->Handle(), WM_COMMAND, IDM_SaveProfile, 0); });
    row.save = Measure(Runs, [] { SendMessageA(ManagerWindow->Handle(), WM_COMMAND, IDM_SaveProfile, 0); });
    UnhookWindowsHookEx(SummaryHook);
    DestroyManagerForms();
    return row;
}

void PrintTiming(const Timing& t)
{
    std::printf(" %9.1f %9.1f", t.min, t.median);
}

}  // namespace

int main()
{
    int exitCode = 0;
    if (RelaunchWithUnmanagedWindows(exitCode)) return exitCode;
    InitRuntimeEnvironment();
    Application.Initialize();
    const std::string dir = NewTempDir("benchprofiles");
    const Row small = MeasureSize(dir, 1000), large = MeasureSize(dir, 10000);

    std::printf("Default profile of N folder rules, N file rules and %d programs; %d runs each; times in ms\n\n",
                Programs, Runs);
    std::printf("%-32s %9s %9s %9s %9s %8s %8s\n", "operation", "1k min", "1k med", "10k min", "10k med", "x (min)",
                "x (med)");
    const struct {
        const char* name;
        Timing Row::*timing;
    } lines[] = {{"start to ready", &Row::ready},
                 {"LoadProfile", &Row::load},
                 {"tree fill (ComboBox1Change)", &Row::tree},
                 {"OnSaveProfile", &Row::save},
                 {"LoadProfileIntoWindow", &Row::intoWindow},
                 {"  folder rule list fill", &Row::folderList},
                 {"  file rule list fill", &Row::fileList},
                 {"  disabled programs list fill", &Row::programList}};
    for (const auto& line : lines) {
        std::printf("%-32s", line.name);
        PrintTiming(small.*line.timing);
        PrintTiming(large.*line.timing);
        std::printf(" %8.2f %8.2f\n", (large.*line.timing).min / (small.*line.timing).min,
                    (large.*line.timing).median / (small.*line.timing).median);
    }
    for (const Row* row : {&small, &large})
        std::printf("start to ready / (LoadProfile + tree fill), %s: %.2f (min) %.2f (med)\n",
                    row == &small ? "1k " : "10k", row->ready.min / (row->load.min + row->tree.min),
                    row->ready.median / (row->load.median + row->tree.median));
    std::printf("\nGoals: at 10,000 rules ready within 3x LoadProfile plus the tree fill; 10x the rules at most\n"
                "12x the time.\n");
    RemoveTree(dir);
    return 0;
}
