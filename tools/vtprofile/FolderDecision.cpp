#include "FolderDecision.h"
#include "AccessKinds.h"
#include "FolderAccess.h"
#include "UProfiles.h"

// The tree tells a folder's access and whether a rule names the folder
// itself. The deciding rule's path is the longest leading part of the path
// that the tree reports as ruled by a rule of its own: any longer ruled part
// would have been decided by that same, later rule. Of the rules with that
// expanded path, the last in the list is the one the tree uses.
FolderDecision DecideFolder(const std::string& path)
{
    FolderDecision decision;
    FolderRulesChanged();
    decision.ownRule = FindFolderAccess(path).OwnRule;
    for (size_t length = path.size() + 1; length-- > 0;) {
        std::string ruled = path.substr(0, length);
        if (!FindFolderAccess(ruled).OwnRule) continue;
        for (size_t i = 0; i < Profile.Folders.size(); ++i)
            if (ExpandMacros(EntryText(Profile.Folders[i])) == ruled) decision.rule = static_cast<int>(i);
        break;
    }
    return decision;
}
