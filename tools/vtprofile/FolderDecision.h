// Which folder rule decides a folder's access, as the manager's folder tree
// sees it (FindFolderAccess), with the rule's place in the list.
#pragma once
#include <string>

struct FolderDecision {
    int rule = -1;         // index in Profile.Folders; -1 when no rule covers the folder
    bool ownRule = false;  // the rule's expanded path is the folder itself
};

// For an upper-case folder path without a trailing backslash.
FolderDecision DecideFolder(const std::string& path);
