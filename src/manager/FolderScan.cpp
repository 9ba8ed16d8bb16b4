#include "FolderScan.h"

#include <windows.h>

namespace {

bool IsSubfolder(const WIN32_FIND_DATAA& entry)
{
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    const std::string name = entry.cFileName;
    return name != "." && name != "..";
}

// Calls visit with each subfolder entry of folder until it returns false. A
// removable drive without its medium fails quietly instead of asking for it.
template <class Visit>
void ForEachSubfolder(const std::string& folder, Visit visit)
{
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (IsSubfolder(entry) && !visit(entry)) break;
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    SetErrorMode(previousMode);
}

}  // namespace

std::vector<std::string> ListSubfolders(const std::string& folder)
{
    std::vector<std::string> names;
    ForEachSubfolder(folder, [&](const WIN32_FIND_DATAA& entry) {
        names.push_back(entry.cFileName);
        return true;
    });
    return names;
}

bool HasSubfolders(const std::string& folder)
{
    bool found = false;
    ForEachSubfolder(folder, [&](const WIN32_FIND_DATAA&) {
        found = true;
        return false;
    });
    return found;
}
