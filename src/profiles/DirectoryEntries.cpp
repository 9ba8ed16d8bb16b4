#include "DirectoryEntries.h"
#include "RuntimeEnv.h"

#include <cstring>

namespace {

// A folder asked for this many names is read whole. Under Wine one search
// costs about 0.1 ms when the name exists and 0.3 ms when it does not, while
// reading a folder costs about 6 us an entry: reading pays as soon as a folder
// is asked for one name in 15 to 50 of its entries, as the folders of many
// rules and the current folder of many file rules are.
const int SearchesBeforeReading = 8;

DirectoryEntry FoundEntry(const WIN32_FIND_DATAA& data)
{
    DirectoryEntry entry;
    entry.found = true;
    entry.longName.assign(data.cFileName, strnlen(data.cFileName, MAX_PATH));
    size_t alternate = strnlen(data.cAlternateFileName, sizeof data.cAlternateFileName);
    entry.shortName = alternate ? std::string(data.cAlternateFileName, alternate) : entry.longName;
    return entry;
}

DirectoryEntry AbsentEntry(const std::string& name, DWORD error)
{
    DirectoryEntry entry;
    entry.error = error;
    entry.longName = entry.shortName = name;
    return entry;
}

std::string InFolder(const std::string& folder, const std::string& name)
{
    return folder.empty() ? name : folder + "\\" + name;
}

// Printable ASCII without the characters a search reads as wildcards or
// separators: the names whose matches the system decides by ASCII case alone.
bool IsPlainName(const std::string& name)
{
    for (char c : name)
        if (c < 0x20 || c > 0x7e || std::strchr("\"*/:<>?\\|", c)) return false;
    return !name.empty();
}

// The system searches a name without its trailing dots and blanks, and
// without regard to the case of ASCII letters.
std::string Folded(const std::string& name)
{
    size_t end = name.find_last_not_of(". ");
    return UpperCase(name.substr(0, end == std::string::npos ? 0 : end + 1));
}

// A device name, with any extension, opens the device in every folder.
bool IsDeviceName(const std::string& name)
{
    std::string base = Folded(name.substr(0, name.find('.')));
    static const std::unordered_set<std::string> devices = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    if (devices.count(base)) return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

}  // namespace

DirectoryEntry SearchEntry(const std::string& folder, const std::string& name)
{
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(InFolder(folder, name).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return AbsentEntry(name, GetLastError());
    FindClose(search);
    return FoundEntry(data);
}

const DirectoryEntry& EntryTable::LookUp(const std::string& folder, const std::string& name)
{
    std::string key = InFolder(folder, name);
    auto known = entries_.find(key);
    if (known != entries_.end()) return known->second;
    Listing& listing = listings_[folder];
    if (!listing.listed && ++listing.searches == SearchesBeforeReading) ReadFolder(folder, listing);
    DirectoryEntry entry;
    if (!listing.listed || !AnswerFromListing(listing, name, entry)) entry = SearchEntry(folder, name);
    return entries_[key] = entry;
}

// A folder that cannot be read is searched name by name.
void EntryTable::ReadFolder(const std::string& folder, Listing& listing)
{
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(InFolder(folder, "*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        DirectoryEntry entry = FoundEntry(data);
        if (entry.longName == "." || entry.longName == "..") continue;
        listing.plain = listing.plain && IsPlainName(entry.longName) && IsPlainName(entry.shortName);
        listing.folded.insert(Folded(entry.longName));
        listing.folded.insert(Folded(entry.shortName));
        listing.byName[entry.longName] = entry;
    } while (FindNextFileA(search, &data));
    FindClose(search);
    listing.listed = true;
}

// A name listed exactly as given is that entry, and a plain name that matches
// no entry's long or short name in any case is absent, as a search would find.
// Every other name (another case of a listed one, a name a search would read
// otherwise, a folder holding names the system compares by other rules) is
// left to its own search.
bool EntryTable::AnswerFromListing(const Listing& listing, const std::string& name, DirectoryEntry& entry)
{
    if (!IsPlainName(name) || IsDeviceName(name)) return false;
    auto exact = listing.byName.find(name);
    if (exact != listing.byName.end()) {
        if (name.back() == '.' || name.back() == ' ') return false;
        entry = exact->second;
        return true;
    }
    std::string folded = Folded(name);
    if (!listing.plain || folded.empty() || listing.folded.count(folded)) return false;
    entry = AbsentEntry(name, ERROR_FILE_NOT_FOUND);
    return true;
}
