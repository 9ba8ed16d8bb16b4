#include "FolderAccess.h"
#include "AccessKinds.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

// The last rule, in list order, of one expanded path.
struct LastRule {
    size_t position;
    int image;
};

struct RuleTable {
    bool built = false;
    size_t ruleCount = 0;
    std::vector<std::string> paths;  // owns the texts the keys point into
    std::unordered_map<std::string_view, LastRule> byPath;
    std::vector<size_t> lengths;  // the distinct lengths of the keys, ascending
};

RuleTable Table;

void BuildTable()
{
    const TextList& rules = Profile.Folders;
    Table.paths.clear();
    Table.byPath.clear();
    Table.lengths.clear();
    // Keys are views into paths: reserve so that no text moves.
    Table.paths.reserve(rules.size());
    for (size_t i = 0; i < rules.size(); ++i) {
        Table.paths.push_back(ExpandMacros(EntryText(rules[i])));
        std::string_view key = Table.paths.back();
        Table.byPath[key] = {i, AccessImage(EntryCode(rules[i]))};
        Table.lengths.push_back(key.size());
    }
    std::sort(Table.lengths.begin(), Table.lengths.end());
    Table.lengths.erase(std::unique(Table.lengths.begin(), Table.lengths.end()), Table.lengths.end());
    Table.ruleCount = rules.size();
    Table.built = true;
}

}  // namespace

void FolderRulesChanged()
{
    Table.built = false;
}

FolderAccess FindFolderAccess(const std::string& path)
{
    if (!Table.built || Table.ruleCount != Profile.Folders.size()) BuildTable();
    const std::string upper = UpperCase(path);
    const std::string_view whole = upper;
    FolderAccess access;
    const LastRule* last = nullptr;
    size_t lastLength = 0;
    for (size_t length : Table.lengths) {
        if (length > whole.size()) break;
        auto found = Table.byPath.find(whole.substr(0, length));
        if (found == Table.byPath.end()) continue;
        if (!last || found->second.position > last->position) {
            last = &found->second;
            lastLength = length;
        }
    }
    if (last) {
        access.ImageIndex = last->image;
        access.OwnRule = lastLength == whole.size();
    }
    return access;
}
