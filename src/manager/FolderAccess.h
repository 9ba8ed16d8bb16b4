// The access that the profile's folder rules give a folder of the tree.
#pragma once
#include <string>

struct FolderAccess {
    int ImageIndex = 0;    // the tree image of the folder's access kind
    bool OwnRule = false;  // a rule names exactly this folder
};

// The answer of a walk over Profile.Folders in list order in which every rule
// whose macro-expanded path is a leading part of the upper-cased path
// overrides the ones before it. The rules are expanded once into a table
// from expanded path to the last rule of that path, so a lookup costs one
// probe per prefix of the path instead of one expansion per rule.
FolderAccess FindFolderAccess(const std::string& path);

// Drops the table, so the next lookup expands the rules again. Call it when
// Profile.Folders or a macro's folder changed other than through the
// procedures of FolderRules.h, and on every rebuild of the tree. A list
// whose length changed is expanded again even without the call.
void FolderRulesChanged();
