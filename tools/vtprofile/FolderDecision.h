// Which folder rule decides a folder's access: the rule of the manager's
// folder tree, asked for one path at a time.
#pragma once
#include <string>

struct FolderDecision {
    int rule = -1;         // index in Profile.Folders; -1 when no rule covers the folder
    bool ownRule = false;  // the rule's expanded path is the folder itself
};

// For an upper-case folder path without a trailing backslash.
FolderDecision DecideFolder(const std::string& path);

// The manager's display text of an access code, "Full access (read/write)"
// for "+"; empty for a character that is no code.
std::string AccessText(const std::string& code);
