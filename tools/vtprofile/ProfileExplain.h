// The explanation of what the loaded profile gives one folder or file: the
// folder rule that decides, the file rules that apply, and the built-in
// exceptions of the driver image.
#pragma once
#include "UProfiles.h"

#include <string>
#include <vector>

// path: a folder or a file, as the administrator typed it. Folders and files
// on disk are told apart by their attributes; a path that does not exist is a
// file when its last name has a dot and it does not end in a backslash.
std::vector<std::string> ExplainPath(const std::string& path, const ProfileLineNumbers& numbers);
