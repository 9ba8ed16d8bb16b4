#include "ProfileExplain.h"
#include "AccessKinds.h"
#include "FolderDecision.h"
#include "RuntimeEnv.h"

namespace {

enum SectionIndex { FoldersAt = 0, FilesAt = 1 };

struct Target {
    std::string folder;  // upper case, no trailing backslash; empty for a bare file name
    std::string file;    // upper case; empty for a folder
};

Target TargetOf(const std::string& typed)
{
    std::string path = UpperCase(typed);
    bool trailing = !path.empty() && path.back() == '\\';
    while (path.size() > 1 && path.back() == '\\') path.pop_back();
    size_t slash = path.find_last_of('\\');
    std::string last = slash == std::string::npos ? path : path.substr(slash + 1);
    DWORD attributes = GetFileAttributesA(typed.c_str());
    bool isFile = attributes != INVALID_FILE_ATTRIBUTES
                      ? (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0
                      : !trailing && last.find('.') != std::string::npos;
    if (!isFile) return {path, std::string()};
    return {slash == std::string::npos ? std::string() : path.substr(0, slash), last};
}

class Explainer {
public:
    explicit Explainer(const ProfileLineNumbers& numbers) : numbers_(numbers) {}

    std::string RuleAt(SectionIndex section, size_t index, const std::string& line) const
    {
        const std::vector<size_t>& lines = numbers_.sections[section];
        std::string where = index < lines.size() ? "line " + std::to_string(lines[index]) : "a rule";
        return where + ", \"" + line + "\"";
    }

    void Say(const std::string& text) { out_.push_back(text); }
    std::vector<std::string> Result() { return out_; }

private:
    const ProfileLineNumbers& numbers_;
    std::vector<std::string> out_;
};

void ExplainMacros(Explainer& say, const std::string& rulePath, const std::string& expanded)
{
    if (expanded == rulePath) return;
    for (const PathMacro& macro : PathMacros)
        if (rulePath.find(macro.name) != std::string::npos)
            say.Say("  " + std::string(macro.name) + " stands for " +
                    (macro.variable->empty() ? std::string("nothing on this computer") : *macro.variable) + ".");
    say.Say("  The rule's path is therefore " + expanded + ".");
}

void ExplainFolder(Explainer& say, const std::string& folder, bool holdsFile)
{
    FolderDecision decision = DecideFolder(folder);
    say.Say("Folder " + folder + (holdsFile ? ", where the file lies" : ""));
    if (decision.rule < 0) {
        say.Say("  No folder rule covers it: " + AccessText("+") + ".");
        return;
    }
    const std::string& line = Profile.Folders[decision.rule];
    std::string rulePath = EntryText(line);
    std::string expanded = ExpandMacros(rulePath);
    say.Say("  " + AccessText(EntryCode(line)) + ", decided by " + say.RuleAt(FoldersAt, decision.rule, line) +
            ".");
    ExplainMacros(say, rulePath, expanded);
    if (decision.ownRule) {
        say.Say("  The rule names this folder itself (its own rule).");
    } else {
        say.Say("  " + expanded + " is the first " + std::to_string(expanded.size()) + " characters of " + folder +
                ", so the rule covers the folder.");
        if (folder[expanded.size()] != '\\')
            say.Say("  Note: rules match by leading characters, not by whole folder names; " + expanded +
                    " covers " + folder + " as well.");
    }
    say.Say("  No later rule in the list covers the folder, so this one wins over any earlier one.");
}

void ExplainFileRules(Explainer& say, const std::string& file)
{
    size_t dot = file.find_last_of('.');
    std::string type = dot == std::string::npos ? std::string() : file.substr(dot);
    say.Say("File " + file);
    bool any = false;
    for (size_t i = 0; i < Profile.Files.size(); ++i) {
        const std::string& line = Profile.Files[i];
        if (line.size() < 2) continue;
        std::string covered = line.substr(1);
        if (covered == file) {
            say.Say("  " + AccessText(EntryCode(line)) + " by " + say.RuleAt(FilesAt, i, line) +
                    ", a rule for every file of this name in any folder.");
            any = true;
        } else if (!type.empty() && covered == type) {
            say.Say("  " + AccessText(EntryCode(line)) + " by " + say.RuleAt(FilesAt, i, line) +
                    ", a rule for every file of type " + type + ".");
            any = true;
        }
    }
    if (!any) say.Say("  No file rule names it or its type; the folder's access applies.");
}

bool Covers(const std::string& exceptionPath, const std::string& folder)
{
    return !exceptionPath.empty() && folder.compare(0, exceptionPath.size(), exceptionPath) == 0;
}

void ExplainExceptions(Explainer& say, const Target& target)
{
    std::vector<std::string> found;
    if (!target.folder.empty())
        for (const std::string& exception : SystemFolderExceptions())
            if (Covers(exception.substr(1), target.folder)) found.push_back(exception.substr(1));
    if (!target.file.empty())
        for (const std::string& exception : SystemFileExceptions())
            if (exception.substr(1) == target.file) found.push_back(exception.substr(1));
    if (found.empty()) {
        say.Say("Built-in exceptions: none covers it.");
        return;
    }
    for (const std::string& exception : found)
        say.Say("Built-in exception: the driver always gives full access to " + exception +
                ", whatever the profile says (Windows needs it).");
}

}  // namespace

std::vector<std::string> ExplainPath(const std::string& path, const ProfileLineNumbers& numbers)
{
    Explainer say(numbers);
    Target target = TargetOf(path);
    if (!target.folder.empty()) ExplainFolder(say, target.folder, !target.file.empty());
    if (!target.file.empty()) ExplainFileRules(say, target.file);
    ExplainExceptions(say, target);
    return say.Result();
}
