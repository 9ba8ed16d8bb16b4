// The manager's logic at size: expanding a tree node of 200 subfolders
// (reading them, their has-children flags and FindFolderAccess of each)
// under 0, 1,000 and 10,000 folder rules, and refilling the file rule list
// (sort and lines with type descriptions) of 1,000 and 10,000 file rules
// over 50 extensions. Prints the minimum and median of several runs and
// their ratios.
#include "BenchClock.h"
#include "FileRules.h"
#include "FolderAccess.h"
#include "FolderScan.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtTest.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int Runs = 9;
constexpr int Subfolders = 200;
constexpr int Extensions = 50;
constexpr int RegisteredExtensions = 40;

// A node of 200 subfolders, every other one with a subfolder of its own.
// Names are upper case on disk as in the rules.
std::string MakeNode(const std::string& root)
{
    const std::string node = UpperCase(root) + "TREE\\NODE";
    CreateDirectoryA((UpperCase(root) + "TREE").c_str(), nullptr);
    CreateDirectoryA(node.c_str(), nullptr);
    for (int i = 0; i < Subfolders; ++i) {
        const std::string sub = node + "\\SUB " + std::to_string(i);
        CreateDirectoryA(sub.c_str(), nullptr);
        if (i % 2) CreateDirectoryA((sub + "\\INNER").c_str(), nullptr);
    }
    return node;
}

// Rules as a large profile has them, in expanded path order: rules below
// the node's subfolders, for some subfolders themselves, for the node, for
// folders elsewhere on the drive and below the macro folders.
TextList MakeFolderRules(const std::string& node, int count)
{
    TextList rules;
    if (count == 0) return rules;
    rules.push_back("-" + node);
    const char* const macros[] = {"%WINDIR%\\APP ", "%PROGRAMFILES%\\VENDOR ", "%LOCALDESKTOP%\\ITEM "};
    for (int i = 1; static_cast<int>(rules.size()) < count; ++i) {
        const std::string code = i % 3 ? "-" : "&";
        switch (i % 4) {
        case 0: rules.push_back(code + node + "\\SUB " + std::to_string(i % Subfolders) + "\\DEEP " +
                                std::to_string(i)); break;
        case 1: rules.push_back(code + "C:\\DATA\\GROUP " + std::to_string(i / 100) + "\\FOLDER " +
                                std::to_string(i)); break;
        case 2: rules.push_back(code + macros[i % 3] + std::to_string(i)); break;
        default:
            if (i % 20 == 3) rules.push_back("!" + node + "\\SUB " + std::to_string(i / 20 % Subfolders));
            else rules.push_back(code + "D:\\ARCHIVE\\" + std::to_string(i));
        }
    }
    std::stable_sort(rules.begin(), rules.end(), [](const std::string& a, const std::string& b) {
        return ExpandMacros(a.substr(1)) < ExpandMacros(b.substr(1));
    });
    return rules;
}

struct FolderRow {
    Timing expand, lookups, table;
    int own = 0;
};

// Reads the node's subfolders as an expansion does: names, has-children
// flags and the access of each.
void ExpandNode(const std::string& node)
{
    for (const std::string& name : ListSubfolders(node)) {
        const std::string path = node + "\\" + name;
        HasSubfolders(path);
        FindFolderAccess(path);
    }
}

Timing Summary(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2]};
}

// The expansions of the three profiles take turns, so that a drift of the
// file system's speed in the course of the run falls on all of them alike.
std::vector<FolderRow> MeasureFolders(const std::string& node, const std::vector<TextList>& profiles)
{
    std::vector<FolderRow> rows(profiles.size());
    std::vector<std::vector<double>> expansions(profiles.size());
    ExpandNode(node);
    for (int run = 0; run < Runs; ++run) {
        for (size_t p = 0; p < profiles.size(); ++p) {
            Profile.Folders = profiles[p];
            FolderRulesChanged();
            FindFolderAccess(node);
            double start = Now();
            ExpandNode(node);
            expansions[p].push_back(Now() - start);
        }
    }
    const std::vector<std::string> names = ListSubfolders(node);
    for (size_t p = 0; p < profiles.size(); ++p) {
        FolderRow& row = rows[p];
        row.expand = Summary(expansions[p]);
        Profile.Folders = profiles[p];
        row.table = Measure(Runs, [&] {
            FolderRulesChanged();
            FindFolderAccess(node);
        });
        row.lookups = Measure(Runs, [&] {
            for (const std::string& name : names) FindFolderAccess(node + "\\" + name);
        });
        for (const std::string& name : names) row.own += FindFolderAccess(node + "\\" + name).OwnRule;
    }
    return rows;
}

void RegisterExtensions()
{
    for (int i = 0; i < RegisteredExtensions; ++i) {
        const std::string extension = ".VB" + std::to_string(i), className = "VtBench.Type" + std::to_string(i);
        const std::string description = "Bench document of kind " + std::to_string(i);
        RegSetValueA(HKEY_CLASSES_ROOT, extension.c_str(), REG_SZ, className.c_str(), 0);
        RegSetValueA(HKEY_CLASSES_ROOT, className.c_str(), REG_SZ, description.c_str(), 0);
    }
}

// File-name and file-type rules over 50 extensions in a shuffled order.
TextList MakeFileRules(int count)
{
    static const char* const codes[] = {"+", "-", "&"};
    TextList rules;
    for (int i = 0; i < count; ++i) {
        const std::string extension = ".VB" + std::to_string(i % Extensions);
        rules.push_back(codes[i % 3] + (i % 5 ? "DOCUMENT " + std::to_string(i) + extension : extension));
    }
    std::shuffle(rules.begin(), rules.end(), std::mt19937(1));
    return rules;
}

struct FileRow {
    Timing refill, sort, lines, sortedRefill;
};

FileRow MeasureFiles(int count)
{
    const TextList shuffled = MakeFileRules(count);
    FileRow row;
    row.refill = Measure(Runs, [&] {
        Profile.Files = shuffled;
        SortFileRules();
        FileRuleLines();
    });
    row.sort = Measure(Runs, [&] {
        Profile.Files = shuffled;
        SortFileRules();
    });
    row.lines = Measure(Runs, [] { FileRuleLines(); });
    row.sortedRefill = Measure(Runs, [] {
        SortFileRules();
        FileRuleLines();
    });
    return row;
}

void PrintTiming(const Timing& t)
{
    std::printf(" %9.3f %9.3f", t.min, t.median);
}

void PrintRatio(const Timing& large, const Timing& small)
{
    std::printf(" %8.2f %8.2f", large.min / small.min, large.median / small.median);
}

}  // namespace

int main()
{
    InitRuntimeEnvironment();
    const std::string root = NewTempDir("benchlogic");
    const std::string node = MakeNode(root);
    std::vector<TextList> profiles;
    for (int rules : {0, 1000, 10000}) profiles.push_back(MakeFolderRules(node, rules));
    const std::vector<FolderRow> folders = MeasureFolders(node, profiles);

    std::printf("Node of %d subfolders under 0, 1,000 and 10,000 folder rules; %d runs each; times in ms\n\n",
                Subfolders, Runs);
    std::printf("%-26s %9s %9s %9s %9s %9s %9s %8s %8s %8s %8s\n", "operation", "0 min", "0 med", "1k min",
                "1k med", "10k min", "10k med", "10k/0 mn", "10k/0 md", "10k/1k mn", "10k/1k md");
    const struct {
        const char* name;
        Timing FolderRow::*timing;
    } folderLines[] = {{"expand node (read+access)", &FolderRow::expand},
                       {"FindFolderAccess x 200", &FolderRow::lookups},
                       {"rule table rebuild", &FolderRow::table}};
    for (const auto& line : folderLines) {
        std::printf("%-26s", line.name);
        for (const FolderRow& row : folders) PrintTiming(row.*line.timing);
        PrintRatio(folders[2].*line.timing, folders[0].*line.timing);
        PrintRatio(folders[2].*line.timing, folders[1].*line.timing);
        std::printf("\n");
    }
    std::printf("subfolders with a rule of their own: %d, %d, %d\n\n", folders[0].own, folders[1].own,
                folders[2].own);

    RegisterExtensions();
    // The first reads of new keys are slower: read each once before measuring.
    Profile.Files = MakeFileRules(Extensions * 5);
    FileRuleLines();
    FileRow small = MeasureFiles(1000), large = MeasureFiles(10000);
    std::printf("File rules over %d extensions (%d registered); %d runs each; times in ms\n\n", Extensions,
                RegisteredExtensions, Runs);
    std::printf("%-26s %9s %9s %9s %9s %8s %8s\n", "operation", "1k min", "1k med", "10k min", "10k med",
                "x (min)", "x (med)");
    const struct {
        const char* name;
        Timing FileRow::*timing;
    } fileLines[] = {{"refill (sort + lines)", &FileRow::refill},
                     {"sort, shuffled", &FileRow::sort},
                     {"lines with descriptions", &FileRow::lines},
                     {"refill, already sorted", &FileRow::sortedRefill}};
    for (const auto& line : fileLines) {
        std::printf("%-26s", line.name);
        PrintTiming(small.*line.timing);
        PrintTiming(large.*line.timing);
        PrintRatio(large.*line.timing, small.*line.timing);
        std::printf("\n");
    }
    std::printf("\nGoals: expanding the node under 10,000 rules within 1.5x of 0 rules; the refill of 10x the\n"
                "file rules at most 12x the time.\n");
    RemoveTree(root);
    return 0;
}
