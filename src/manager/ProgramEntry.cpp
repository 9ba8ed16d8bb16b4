#include "ProgramEntry.h"
#include "FileNames.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"

#include <algorithm>
#include <cwchar>
#include <vector>

namespace {

// A key is followed by its null and one unit of padding before its value.
struct VersionKey {
    const WCHAR* name;
    size_t valueOffset;
};
const VersionKey FileDescriptionKey = {L"FileDescription", 17};
const VersionKey CompanyNameKey = {L"CompanyName", 13};

std::string NarrowText(const WCHAR* text, size_t length)
{
    if (length == 0) return std::string();
    int chars = static_cast<int>(length);
    int size = WideCharToMultiByte(CP_ACP, 0, text, chars, nullptr, 0, nullptr, nullptr);
    std::string result(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, chars, &result[0], size, nullptr, nullptr);
    return result;
}

// The key's value in the units, or false when the key is not there.
bool FindValue(const WCHAR* units, size_t count, const VersionKey& key, std::string& value)
{
    const WCHAR* end = units + count;
    const WCHAR* name = key.name;
    const WCHAR* at = std::search(units, end, name, name + wcslen(name));
    if (at == end) return false;
    const size_t start = std::min(static_cast<size_t>(at - units) + key.valueOffset, count);
    const WCHAR* first = units + start;
    value = NarrowText(first, std::find(first, end, L'\0') - first);
    return true;
}

}  // namespace

std::string VersionDescription(const WCHAR* units, size_t count)
{
    std::string description, company;
    bool hasDescription = FindValue(units, count, FileDescriptionKey, description);
    bool hasCompany = FindValue(units, count, CompanyNameKey, company);
    // The agent takes an entry's program name from before the marker, so the
    // marker also stands in front of a company name without a description:
    // "NAME.EXE      //   (Company)" still names NAME.EXE.
    std::string text;
    if (hasDescription || hasCompany) text = std::string(TaskMarker) + " " + description;
    if (hasCompany) text += "  (" + company + ")";
    return text;
}

std::string ProgramEntry(const std::string& path)
{
    std::string entry = UpperCase(FileNameOfPath(path));
    std::vector<WCHAR> units(VersionInfoUnits, L'\0');
    if (GetFileVersionInfoA(path.c_str(), 0, VersionInfoBytes, units.data()))
        entry += VersionDescription(units.data(), units.size());
    return entry;
}
