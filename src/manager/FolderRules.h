// Editing the profile's folder rules as the manager does: paths upper-cased,
// one rule per stored path, new rules placed by macro-expanded path order.
#pragma once
#include "AccessKinds.h"

#include <cstddef>
#include <string>

// Gives the upper-cased path the access of flags in Profile.Folders. An entry
// whose stored path (macros unexpanded) is that path gets the new code in its
// place; otherwise the new entry goes in front of the first entry whose
// expanded path sorts after the new expanded path (byte order, a path before
// every longer path that begins with it), or last. Returns the entry's index;
// -1, changing nothing, for Read only with No access, which has no code.
int SetFolderRule(const std::string& path, const AccessFlags& flags);

// Removes the first entry whose stored path is the upper-cased path; false
// when none has it.
bool RemoveFolderRule(const std::string& path);

// Removes the entry at index, as the rule list's Delete rule does; false when
// there is no such entry.
bool RemoveFolderRuleAt(size_t index);

// The rule list's line of an entry: its stored path, "   (", the display text
// of its access, ")".
std::string FolderRuleLine(const std::string& entry);
