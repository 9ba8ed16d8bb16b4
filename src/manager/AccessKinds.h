// The six access kinds of folder and file rules: their access-code
// characters, tree images and display texts, and how the manager's dialogs
// and access buttons map onto them.
#pragma once
#include <string>

struct AccessFlags {
    bool ReadOnly = false;
    bool Hidden = false;
    bool NoAccess = false;
};

bool operator==(const AccessFlags& a, const AccessFlags& b);

// "+", "-", "!", "&", "@" or "#"; empty for Read only together with No access.
std::string AccessCode(const AccessFlags& flags);
// The tree image of a one-character code, 0 to 5; 0 for anything else.
int AccessImage(const std::string& code);
// The display text of a one-character code; empty for anything else.
std::string AccessText(const std::string& code);

// A rule entry is its access-code character followed by what it covers.
std::string EntryCode(const std::string& entry);  // the first character, or empty
std::string EntryText(const std::string& entry);  // everything after it

// The "Add folder" dialog's six radio buttons.
AccessFlags FolderRadioFlags(int radioIndex);  // outside 0 to 5: full access
int FolderRadioIndex(const std::string& code);  // any other code: 0

// The "Add a file" dialog's three radio buttons.
std::string FileRadioCode(int radioIndex);  // anything but 1 and 2: "+"
int FileRadioIndex(const std::string& code);  // -1 for a code the dialog does not offer

// The folder tab's access buttons: "Read Only", "Hidden" and "No Access" are
// toggles whose pressed states are carried as flags; "Full access" is plain.
enum class AccessButton { ReadOnly, Hidden, NoAccess, FullAccess };

// The pressed states after a click on sender (which has already toggled):
// Read Only and No Access release each other, Full access releases all three.
AccessFlags ReleaseConflictingButtons(AccessButton sender, AccessFlags pressed);
// The pressed buttons summed (Read Only 1, No Access 2, Hidden 4) and turned
// into a tree image; the sums 3 and 7, which no click leaves, give 0.
int PressedButtonsImage(const AccessFlags& pressed);
// The buttons shown pressed for a tree image.
AccessFlags ImageButtons(int image);
