#include "ProfileCheck.h"
#include "FolderDecision.h"
#include "Policies.h"
#include "RuntimeEnv.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

enum SectionIndex { FoldersAt, FilesAt, PoliciesAt, TasksAt, OptionsAt };

class Checker {
public:
    explicit Checker(const ProfileLineNumbers& numbers) : numbers_(numbers) {}

    void Warn(SectionIndex section, size_t index, const std::string& text) { Add(section, index, false, text); }
    void Fail(SectionIndex section, size_t index, const std::string& text) { Add(section, index, true, text); }
    void WarnAt(size_t line, const std::string& text) { findings_.push_back({line, false, text}); }

    std::vector<Finding> Result()
    {
        std::stable_sort(findings_.begin(), findings_.end(),
                         [](const Finding& a, const Finding& b) { return a.line < b.line; });
        return findings_;
    }

    size_t LineOf(SectionIndex section, size_t index) const
    {
        const std::vector<size_t>& lines = numbers_.sections[section];
        return index < lines.size() ? lines[index] : 0;
    }

private:
    void Add(SectionIndex section, size_t index, bool error, const std::string& text)
    {
        findings_.push_back({LineOf(section, index), error, text});
    }

    const ProfileLineNumbers& numbers_;
    std::vector<Finding> findings_;
};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

bool IsHidden(char code) { return code == AccessHidden || code == AccessReadOnlyHidden || code == AccessHiddenNoAccess; }
bool DeniesAccess(char code) { return code == AccessNoAccess || code == AccessHiddenNoAccess; }

std::string WithoutTrailingBackslashes(std::string path)
{
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

bool IsWholeDrive(const std::string& path)
{
    std::string bare = WithoutTrailingBackslashes(path);
    return bare.size() == 2 && bare[1] == ':' && isalpha(static_cast<unsigned char>(bare[0]));
}

struct CriticalFolder {
    std::string path;
    std::string name;
};

std::vector<CriticalFolder> CriticalFolders()
{
    std::string own = UpperCase(WithoutTrailingBackslashes(ExeFolder()));
    return {
        {WindowsDir, "the Windows folder"},
        {SystemDir, "the system folder"},
        {ProgramFilesDir, "the Program Files folder"},
        {own, "Vantrel's own folder"},
        {own + "\\PROFILES", "the profiles folder"},
    };
}

std::string JoinedNames(const std::vector<std::string>& names)
{
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

// Hidden or no-access rules on a whole drive, or deciding for a folder that
// Windows or Vantrel cannot do without: one finding per rule.
void CheckCriticalFolders(Checker& check)
{
    std::map<size_t, std::vector<std::string>> covered;
    for (size_t i = 0; i < Profile.Folders.size(); ++i) {
        const std::string& line = Profile.Folders[i];
        if (line.empty()) continue;
        std::string path = ExpandMacros(line.substr(1));
        if (IsWholeDrive(path)) covered[i].push_back("the whole drive " + WithoutTrailingBackslashes(path));
    }
    // A rule may name a folder by its short (8.3) form, which the driver is given too.
    for (const CriticalFolder& folder : CriticalFolders()) {
        int longRule = DecideFolder(folder.path).rule;
        int shortRule = DecideFolder(ShortPathForm(folder.path)).rule;
        if (longRule >= 0) covered[longRule].push_back(folder.name + " " + folder.path);
        if (shortRule >= 0 && shortRule != longRule) covered[shortRule].push_back(folder.name + " " + folder.path);
    }
    for (const auto& rule : covered) {
        const std::string& line = Profile.Folders[rule.first];
        if (DeniesAccess(line[0]))
            check.Fail(FoldersAt, rule.first, Quoted(line) + " denies access to " + JoinedNames(rule.second) +
                                                  ": Windows or Vantrel stops working");
        else if (IsHidden(line[0]))
            check.Warn(FoldersAt, rule.first, Quoted(line) + " hides " + JoinedNames(rule.second));
    }
}

bool IsMacroCharacter(char c) { return isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The %NAME% tokens of a text.
std::vector<std::string> MacroTokens(const std::string& text)
{
    std::vector<std::string> tokens;
    size_t start = text.find('%');
    while (start != std::string::npos) {
        size_t end = start + 1;
        while (end < text.size() && IsMacroCharacter(text[end])) ++end;
        if (end < text.size() && text[end] == '%' && end > start + 1) {
            tokens.push_back(text.substr(start, end - start + 1));
            start = text.find('%', end + 1);
        } else {
            start = text.find('%', end);
        }
    }
    return tokens;
}

bool IsKnownMacro(const std::string& token)
{
    for (const PathMacro& macro : PathMacros)
        if (token == macro.name) return true;
    return false;
}

void CheckFolderRuleTexts(Checker& check)
{
    std::map<std::string, size_t> seen;
    for (size_t i = 0; i < Profile.Folders.size(); ++i) {
        const std::string& line = Profile.Folders[i];
        if (line.empty()) continue;
        std::string path = line.substr(1);
        if (UpperCase(path) != path)
            check.Warn(FoldersAt, i, Quoted(line) + " has lower-case letters: folders are compared in upper case, "
                                                     "so it matches no folder in the manager's tree");
        for (const std::string& token : MacroTokens(path))
            if (!IsKnownMacro(token))
                check.Warn(FoldersAt, i, Quoted(line) + ": " + token + " is no macro; it stays as text and "
                                                                       "the rule matches no folder");
        std::string expanded = ExpandMacros(path);
        auto earlier = seen.find(expanded);
        if (earlier != seen.end())
            check.Warn(FoldersAt, i, Quoted(line) + " repeats the folder of line " +
                                         std::to_string(check.LineOf(FoldersAt, earlier->second)) +
                                         "; the later rule wins");
        else
            seen[expanded] = i;
    }
}

std::string FileTypeOf(const std::string& name)
{
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : UpperCase(name.substr(dot));
}

// Read-only or no-access rules for program, library or driver files with no
// full-access rule for any file of that type.
void CheckSystemFileTypes(Checker& check)
{
    static const char* const types[][2] = {
        {".EXE", "no program can start"}, {".DLL", "no program can load its libraries"},
        {".SYS", "Windows cannot load its drivers"}};
    for (size_t i = 0; i < Profile.Files.size(); ++i) {
        const std::string& line = Profile.Files[i];
        if (line.size() < 2 || (line[0] != AccessReadOnly && line[0] != AccessNoAccess)) continue;
        for (const auto& type : types) {
            if (UpperCase(line.substr(1)) != type[0]) continue;
            bool excepted = std::any_of(Profile.Files.begin(), Profile.Files.end(), [&](const std::string& other) {
                return other.size() >= 2 && other[0] == AccessFull && FileTypeOf(other.substr(1)) == type[0];
            });
            if (excepted) continue;
            if (line[0] == AccessNoAccess)
                check.Fail(FilesAt, i, Quoted(line) + " with no full-access exception: " + type[1] +
                                           " (add rules such as \"+EXPLORER.EXE\")");
            else
                check.Warn(FilesAt, i, Quoted(line) + " with no full-access exception: every " + type[0] +
                                           " file is read-only, so nothing can be installed or updated");
        }
    }
}

void CheckRepeatedFileRules(Checker& check)
{
    std::map<std::string, size_t> seen;
    for (size_t i = 0; i < Profile.Files.size(); ++i) {
        const std::string& line = Profile.Files[i];
        if (line.size() < 2) continue;
        auto earlier = seen.emplace(line.substr(1), i);
        if (!earlier.second)
            check.Warn(FilesAt, i, Quoted(line) + " repeats the file rule of line " +
                                       std::to_string(check.LineOf(FilesAt, earlier.first->second)));
    }
}

std::string ProgramName(const std::string& task)
{
    return UpperCase(task.substr(0, task.find(TaskMarker)));
}

void CheckTasks(Checker& check)
{
    static const char* const needed[] = {"EXPLORER.EXE", "WINLOGON.EXE", "CSRSS.EXE", "SERVICES.EXE",
                                         "LSASS.EXE",    "SMSS.EXE",     "VTLOCK.EXE"};
    std::map<std::string, size_t> seen;
    for (size_t i = 0; i < Profile.Tasks.size(); ++i) {
        std::string name = ProgramName(Profile.Tasks[i]);
        for (const char* program : needed)
            if (name == program)
                check.Fail(TasksAt, i, "disabling " + name + " stops a program that Windows or Vantrel needs");
        auto earlier = seen.emplace(name, i);
        if (!earlier.second)
            check.Warn(TasksAt, i, name + " is disabled already on line " +
                                       std::to_string(check.LineOf(TasksAt, earlier.first->second)));
    }
}

// Lines the agent ignores, read by their row number as the agent and the
// manager read them.
void CheckPolicies(Checker& check)
{
    std::vector<PolicyLine> read = ReadPolicyLines(Profile.Policies);
    for (size_t i = 0; i < read.size(); ++i) {
        const std::string& line = Profile.Policies[i];
        std::string row = line.substr(0, line.find('='));
        if (read[i].fault == PolicyLineFault::Repeated)
            check.Warn(PoliciesAt, i, "restriction " + row + " is set already on line " +
                                          std::to_string(check.LineOf(PoliciesAt, read[i].earlier)) +
                                          "; the agent and the manager ignore this line");
        else if (read[i].fault == PolicyLineFault::OutOfRange)
            check.Warn(PoliciesAt, i, Quoted(line) + ": there is no restriction " + row +
                                          " (0 to 31); the agent ignores the line and the manager reports it");
        else if (read[i].fault == PolicyLineFault::Malformed)
            check.Warn(PoliciesAt, i, Quoted(line) + " is no restriction line (a number, \"=\" and 0, 1 or 2); "
                                                     "the agent ignores it and the manager reports it");
    }
}

void CheckOutsideLines(Checker& check, const ProfileLineNumbers& numbers)
{
    for (size_t line : numbers.outside)
        check.WarnAt(line, "the line comes before any section header: it is dropped");
}

// A "PWD=" line that asks for a password of the profile's own but carries
// no hash the loader accepts: the default toggle password applies instead.
void CheckPassword(Checker& check)
{
    if (Profile.OwnPassword) return;
    for (size_t i = 0; i < Profile.Options.size(); ++i) {
        const std::string& line = Profile.Options[i];
        if (line.compare(0, 4, "PWD=") != 0) continue;
        std::string value = line.substr(4);
        if (!value.empty() && value.find_first_not_of('0') == std::string::npos) continue;
        check.Warn(OptionsAt, i, Quoted(line) + " gives no password hash: the profile has no password of its "
                                                "own and the default toggle password switches it off");
    }
}

}  // namespace

std::vector<Finding> CheckProfile(const ProfileLineNumbers& numbers)
{
    Checker check(numbers);
    CheckCriticalFolders(check);
    CheckFolderRuleTexts(check);
    CheckSystemFileTypes(check);
    CheckRepeatedFileRules(check);
    CheckTasks(check);
    CheckPolicies(check);
    CheckPassword(check);
    CheckOutsideLines(check, numbers);
    return check.Result();
}
