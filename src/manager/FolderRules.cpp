#include "FolderRules.h"
#include "FolderAccess.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"

namespace {

// The index of the first entry whose stored path is path, or -1.
int FindStoredPath(const std::string& path)
{
    const TextList& rules = Profile.Folders;
    for (size_t i = 0; i < rules.size(); ++i)
        if (EntryText(rules[i]) == path) return static_cast<int>(i);
    return -1;
}

}  // namespace

int SetFolderRule(const std::string& path, const AccessFlags& flags)
{
    const std::string code = AccessCode(flags);
    if (code.empty()) return -1;
    const std::string upper = UpperCase(path);
    TextList& rules = Profile.Folders;
    FolderRulesChanged();
    int existing = FindStoredPath(upper);
    if (existing >= 0) {
        rules[existing] = code + upper;
        return existing;
    }
    const std::string expanded = ExpandMacros(upper);
    size_t at = 0;
    while (at < rules.size() && !(expanded < ExpandMacros(EntryText(rules[at])))) ++at;
    rules.insert(rules.begin() + at, code + upper);
    return static_cast<int>(at);
}

bool RemoveFolderRule(const std::string& path)
{
    int existing = FindStoredPath(UpperCase(path));
    if (existing < 0) return false;
    return RemoveFolderRuleAt(existing);
}

bool RemoveFolderRuleAt(size_t index)
{
    TextList& rules = Profile.Folders;
    if (index >= rules.size()) return false;
    rules.erase(rules.begin() + index);
    FolderRulesChanged();
    return true;
}

std::string FolderRuleLine(const std::string& entry)
{
    return EntryText(entry) + "   (" + AccessText(EntryCode(entry)) + ")";
}
