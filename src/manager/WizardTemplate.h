// What the profile creation wizard adds to the profile being edited, from
// the states of its fourteen check boxes.
#pragma once
#include "AccessKinds.h"
#include "Policies.h"
#include "UProfiles.h"

#include <array>
#include <string>
#include <vector>

// Element n - 1 is the state of the wizard's box n.
using WizardBoxes = std::array<bool, 14>;

struct TemplateFolderRule {
    std::string Path;  // a path macro
    AccessFlags Flags;
};

struct ProfileTemplate {
    std::vector<TemplateFolderRule> FolderRules;  // set in this order
    TextList FileRules;                           // appended in this order
    std::vector<int> CheckedRestrictions;         // restriction items to check
};

// The template of the checked boxes, in the order the manager window's
// BuildProfileTemplate adds it: the folder boxes 1 to 5, the file type
// boxes 7, 6, 8, 9, 10, the loader files box 11, then the restriction
// boxes 13, 12 and 14.
ProfileTemplate MakeProfileTemplate(const WizardBoxes& boxes);

// Adds the template to Profile: each folder rule as the manager sets one
// (an existing rule for the path replaced), the file rules appended, and the
// restriction items checked in the check list. Nothing is removed.
void ApplyProfileTemplate(const ProfileTemplate& profileTemplate, PolicyCheckList& restrictions);
