#include "UProfiles.h"
#include "DirectoryEntries.h"
#include "RuntimeEnv.h"
#include "VtLockIoctl.h"

#include <algorithm>
#include <cctype>
#include <cstring>

std::vector<uint8_t> DriverImage;
uint32_t DriverImageSize = 0;

namespace {

const size_t GrowthStep = 1024;

// During one build the rules share most of their folders, and each directory
// search is costly: the table finds every entry once per build, and its one
// search gives both of its names. The table goes when the build ends, so the
// next build sees the disk anew.
EntryTable* BuildEntries = nullptr;

struct BuildEntriesScope {
    EntryTable entries;
    BuildEntriesScope() { BuildEntries = &entries; }
    ~BuildEntriesScope() { BuildEntries = nullptr; }
};

DirectoryEntry LookUpEntry(const std::string& folder, const std::string& name)
{
    return BuildEntries ? BuildEntries->LookUp(folder, name) : SearchEntry(folder, name);
}

// Capacity stays a multiple of 1024 bytes and is raised only when the next
// string would not fit. Raising it by a single step each time would copy the
// whole image once per kilobyte (quadratic in the image size), so a raise at
// least doubles it: the copies of a whole build then add up to less than twice
// its final size.
void EnsureRoom(size_t extra)
{
    size_t needed = DriverImage.size() + extra;
    if (needed <= DriverImage.capacity()) return;
    size_t capacity = std::max(needed, DriverImage.capacity() * 2);
    DriverImage.reserve((capacity + GrowthStep - 1) / GrowthStep * GrowthStep);
}

void AppendString(char code, const std::string& text)
{
    DriverImage.push_back(static_cast<uint8_t>(code));
    DriverImage.insert(DriverImage.end(), text.begin(), text.end());
    DriverImage.push_back(0);
}

void PutNumber(size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i) DriverImage[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

std::string WithoutOneTrailingBackslash(const std::string& path)
{
    if (!path.empty() && path.back() == '\\') return path.substr(0, path.size() - 1);
    return path;
}

// Windows 98 and ME: major version 4 with a minor version other than 0.
bool HasSystemBackupFolder()
{
    DWORD version = GetVersion();
    return LOBYTE(LOWORD(version)) == 4 && HIBYTE(LOWORD(version)) != 0;
}

bool IsDriveSpec(const std::string& name)
{
    return name.size() == 2 && name[1] == ':' && isalpha(static_cast<unsigned char>(name[0]));
}

// Whether the short form can be assembled from the table, as the system
// assembles it: a drive and backslashes between plain names, or one bare name
// (resolved against the current folder). Other separators, "." and "..",
// empty names, streams and wildcards are read by the system's own rules, and
// a path of 260 characters or more is refused by it.
bool HasPlainComponents(const std::string& path)
{
    if (path.empty() || path.size() >= MAX_PATH || path.find_first_of("/*?") != std::string::npos) return false;
    size_t start = 0;
    if (path.find('\\') != std::string::npos) {
        if (!IsDriveSpec(path.substr(0, 2)) || path[2] != '\\') return false;
        start = 3;
    }
    if (path.find(':', start) != std::string::npos) return false;
    for (size_t end; start <= path.size(); start = end + 1) {
        end = std::min(path.find('\\', start), path.size());
        std::string name = path.substr(start, end - start);
        if (name.empty() || name == "." || name == "..") return false;
    }
    return true;
}

bool IsAbsent(const DirectoryEntry& entry)
{
    return !entry.found && (entry.error == ERROR_FILE_NOT_FOUND || entry.error == ERROR_PATH_NOT_FOUND);
}

// The short form of a plain path from the build's table: the drive as given,
// then the short name of every entry, the last one included, each searched in
// the folder its predecessors' long names reach (the long form has searched
// them already but the last). Where a search failed for another reason than
// the entry's absence (a long folder too long to search, an invalid name,
// access denied), the system's own search through the short names may still
// succeed: the table has no answer, and false sends the path to
// GetShortPathNameA, as it does every path that is not plain.
bool ShortFormFromTable(const std::string& path, std::string& shortForm)
{
    if (!BuildEntries || !HasPlainComponents(path)) return false;
    std::string folder, assembled;
    size_t start = 0;
    if (path.find('\\') != std::string::npos) {
        folder = assembled = path.substr(0, 2);
        start = 3;
    }
    for (size_t end; start <= path.size(); start = end + 1) {
        end = std::min(path.find('\\', start), path.size());
        DirectoryEntry entry = LookUpEntry(folder, path.substr(start, end - start));
        if (IsAbsent(entry)) {
            shortForm = path;
            return true;
        }
        if (!entry.found) return false;
        if (!assembled.empty()) assembled += '\\';
        assembled += entry.shortName;
        if (!folder.empty()) folder += '\\';
        folder += entry.longName;
    }
    shortForm = assembled.size() < MAX_PATH ? UpperCase(assembled) : path;
    return true;
}

void AppendFileSection(uint32_t& count)
{
    for (const std::string& exception : SystemFileExceptions()) AppendImageString(exception, count);
    for (const std::string& line : Profile.Files)
        if (line.size() >= 2 && line[1] != '.') AppendImageString(line, count);
    for (const std::string& line : Profile.Files)
        if (line.size() >= 2 && line[1] == '.') AppendImageString(line, count);
    uint32_t terminator = 0;
    AppendImageString(std::string(), terminator);
}

void AppendFolderSection(uint32_t& count)
{
    for (const std::string& line : Profile.Folders) {
        std::string expanded = ExpandMacros(line);
        if (!expanded.empty()) AppendImageString(expanded, count);
    }
    for (const std::string& exception : SystemFolderExceptions()) AppendImageString(exception, count);
    uint32_t terminator = 0;
    AppendImageString(std::string(), terminator);
}

}  // namespace

const std::vector<std::string>& SystemFileExceptions()
{
    static const std::vector<std::string> exceptions = {
        "+USER.DAT", "+SYSTEM.DAT", "+WIN386.SWP", "+NTUSER.DAT", "+NTUSER.DAT.LOG", "+HIBERFIL.SYS", "+PAGEFILE.SYS",
    };
    return exceptions;
}

std::vector<std::string> SystemFolderExceptions()
{
    std::vector<std::string> exceptions;
    if (HasSystemBackupFolder()) exceptions.push_back("+" + WindowsDir + "\\SYSBCKUP");
    exceptions.push_back("+" + WindowsDir + "\\SPOOL");
    exceptions.push_back("+" + WindowsDir + "\\REPAIR");
    exceptions.push_back("+" + SystemDir + "\\CONFIG");
    exceptions.push_back("+" + SystemDir + "\\SPOOL");
    exceptions.push_back("+" + WithoutOneTrailingBackslash(TempDir));
    exceptions.push_back("+" + WithoutOneTrailingBackslash(UserTempDir));
    return exceptions;
}

void BuildDriverImage()
{
    BuildEntriesScope scope;
    DriverImage.clear();
    EnsureRoom(VTLOCK_IMAGE_HEADER_SIZE);
    DriverImage.resize(VTLOCK_IMAGE_HEADER_SIZE, 0);
    PutNumber(VTLOCK_IMAGE_OFF_MARK, VTLOCK_IMAGE_MARK);
    PutNumber(VTLOCK_IMAGE_OFF_FILES, VTLOCK_IMAGE_HEADER_SIZE);

    uint32_t fileCount = 0;
    uint32_t folderCount = 0;
    AppendFileSection(fileCount);
    AppendFolderSection(folderCount);

    DriverImageSize = static_cast<uint32_t>(DriverImage.size());
    PutNumber(VTLOCK_IMAGE_OFF_LENGTH, DriverImageSize);
    PutNumber(VTLOCK_IMAGE_OFF_NFILES, fileCount);
    PutNumber(VTLOCK_IMAGE_OFF_NFOLDERS, folderCount);
}

void AppendImageString(const std::string& text, uint32_t& counter)
{
    if (text.empty()) {
        EnsureRoom(1);
        DriverImage.push_back(0);
        ++counter;
        return;
    }
    std::string path = text.substr(1);
    std::string alternate;
    std::string longForm = LongPathForm(path);
    if (longForm != path) alternate = longForm;
    std::string shortForm;
    if (!ShortFormFromTable(path, shortForm)) shortForm = ShortPathForm(path);
    if (shortForm != path) alternate = shortForm;

    EnsureRoom(text.size() + 1 + (alternate.empty() ? 0 : alternate.size() + 2));
    AppendString(text[0], path);
    ++counter;
    if (!alternate.empty()) {
        AppendString(text[0], alternate);
        ++counter;
    }
}

std::string ShortPathForm(const std::string& path)
{
    char buffer[MAX_PATH];
    DWORD length = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return path;
    return UpperCase(std::string(buffer, length));
}

std::string LongPathForm(const std::string& path)
{
    std::string result;
    size_t start = 0;
    for (size_t slash; (slash = path.find('\\', start)) != std::string::npos; start = slash + 1) {
        std::string component = path.substr(start, slash - start);
        if (result.empty())
            result = FindLongName(std::string(), component);
        else
            result += "\\" + FindLongName(result, component);
    }
    if (start < path.size()) result += "\\" + path.substr(start);
    if (!result.empty() && result[0] == '\\') result.erase(0, 1);
    return UpperCase(result);
}

// A bare drive ("C:") would be searched as the drive's current folder and
// report that folder's name, and wildcards would report some other entry:
// neither is another name of the component, so both are kept as they are.
std::string FindLongName(const std::string& folder, const std::string& name)
{
    if (name.find_first_of("*?") != std::string::npos) return name;
    if (folder.empty() && IsDriveSpec(name)) return name;
    return LookUpEntry(folder, name).longName;
}
