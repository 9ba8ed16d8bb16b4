#include "FolderDecision.h"
#include "UProfiles.h"

// The tree's rule: the last rule in list order whose macro-expanded path is
// the leading characters of the path decides. Stands in until the manager's
// own lookup can be linked here.
FolderDecision DecideFolder(const std::string& path)
{
    FolderDecision decision;
    for (size_t i = 0; i < Profile.Folders.size(); ++i) {
        const std::string& line = Profile.Folders[i];
        if (line.empty()) continue;
        std::string rulePath = ExpandMacros(line.substr(1));
        if (path.compare(0, rulePath.size(), rulePath) != 0) continue;
        decision.rule = static_cast<int>(i);
        decision.ownRule = rulePath.size() == path.size();
    }
    return decision;
}

std::string AccessText(const std::string& code)
{
    static const char* const texts[][2] = {
        {"+", "Full access (read/write)"},
        {"-", "Read only access"},
        {"&", "Access denied"},
        {"!", "Hidden - not visible in the Explorer"},
        {"@", "Read only access, invisible in the Explorer"},
        {"#", "Access denied, invisible in the Explorer"},
    };
    for (const auto& row : texts)
        if (code == row[0]) return row[1];
    return std::string();
}
