// The profile's file rules as the "File protection" tab and the "Add a file"
// dialog handle them: order, list lines, type descriptions, the dialog's names.
#pragma once
#include "UProfiles.h"

#include <cstddef>
#include <string>
#include <vector>

// "Unknown type", or "  (" + the description + ")  " when HKEY_CLASSES_ROOT
// names a class for the extension (at most 256 bytes) and the class a
// description (at most 256 bytes).
std::string FileTypeDescription(const std::string& extension);

// Sorts Profile.Files in place, whole entries, with the user's default
// locale and ignoring case (CompareStringA); equal entries keep their order.
void SortFileRules();

// The list line of an entry: its name, "  //  ", the description,
// "  //  ", the display text of its access, "  //".
std::string FileRuleLine(const std::string& entry, const std::string& description);

// The lines of Profile.Files in its order, each distinct extension described
// once per call: what the tab's list shows after SortFileRules.
TextList FileRuleLines();

// The name a list line stands for: its text before the first "  //".
std::string FileRuleNameOfLine(const std::string& line);

// The index of the first entry from `from` on whose name (the entry without
// its access code) is name; npos when none.
size_t FindFileRule(const std::string& name, size_t from = 0);

// Removes the first entry of that name; false when none has it.
bool RemoveFileRule(const std::string& name);

// "Add file": appends the dialog's entries upper-cased, duplicates kept.
void AddFileRules(const TextList& added);

// "Edit": the entry at index gives way to the dialog's entries, appended as
// they are; false, changing nothing, when there is no such entry.
bool ReplaceFileRule(size_t index, const TextList& added);

// The dialog's entries for the edit box's text and radio index: one per
// quoted name when the text begins with a blank and a double quote (empty
// names and a name without its closing quote left out), otherwise one for
// the whole text.
TextList AddedFileRuleEntries(const std::string& editText, int radioIndex);

// What Browse puts into the edit box for the chosen files (at least one).
struct BrowsedFiles {
    std::string Text;       // one name (or its extension), or every name quoted
    bool Multiple = false;  // several files: the type box is to be unchecked
};
BrowsedFiles BrowsedFileText(const std::vector<std::string>& chosen, bool typeBoxChecked);
