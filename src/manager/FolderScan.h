// The subfolders of a folder, as the folder tree reads them one level at a time.
#pragma once
#include <string>
#include <vector>

// The names of the folder's subfolders in the order the file system gives
// them, "." and ".." left out, hidden and system folders kept. Empty when
// the folder cannot be read.
std::vector<std::string> ListSubfolders(const std::string& folder);

// Whether the folder has at least one subfolder; false when it cannot be read.
bool HasSubfolders(const std::string& folder);
