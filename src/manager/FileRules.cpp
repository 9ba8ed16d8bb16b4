#include "FileRules.h"
#include "AccessKinds.h"
#include "FileNames.h"
#include "RuntimeEnv.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace {

const size_t ClassesValueBytes = 256;
const char* const LineSeparator = "  //";

// The default value of HKEY_CLASSES_ROOT\subkey as text, up to its first null.
bool ReadClassesDefault(const std::string& subkey, std::string& text)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    char buffer[ClassesValueBytes];
    DWORD size = sizeof buffer;
    LONG result = RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return false;
    text.assign(buffer, strnlen(buffer, size));
    return true;
}

bool LocaleLess(const std::string& a, const std::string& b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_LESS_THAN;
}

}  // namespace

std::string FileTypeDescription(const std::string& extension)
{
    std::string className, description;
    if (extension.empty() || !ReadClassesDefault(extension, className) ||
        !ReadClassesDefault(className, description))
        return "Unknown type";
    return "  (" + description + ")  ";
}

void SortFileRules()
{
    // After the first refill the list is sorted up to the entries added
    // since: sort only those and merge them in.
    TextList& rules = Profile.Files;
    auto unsorted = std::is_sorted_until(rules.begin(), rules.end(), LocaleLess);
    std::stable_sort(unsorted, rules.end(), LocaleLess);
    std::inplace_merge(rules.begin(), unsorted, rules.end(), LocaleLess);
}

std::string FileRuleLine(const std::string& entry, const std::string& description)
{
    const std::string gap = std::string(LineSeparator) + "  ";
    return EntryText(entry) + gap + description + gap + AccessText(EntryCode(entry)) + LineSeparator;
}

TextList FileRuleLines()
{
    // Registry keys ignore the case of a to z, so ".txt" and ".TXT" share a read.
    std::unordered_map<std::string, std::string> descriptions;
    TextList lines;
    lines.reserve(Profile.Files.size());
    for (const std::string& entry : Profile.Files) {
        const std::string extension = FileTypeExtension(EntryText(entry));
        const std::string key = UpperCase(extension);
        auto known = descriptions.find(key);
        if (known == descriptions.end()) known = descriptions.emplace(key, FileTypeDescription(extension)).first;
        lines.push_back(FileRuleLine(entry, known->second));
    }
    return lines;
}

std::string FileRuleNameOfLine(const std::string& line)
{
    return line.substr(0, line.find(LineSeparator));
}

size_t FindFileRule(const std::string& name, size_t from)
{
    const TextList& rules = Profile.Files;
    for (size_t i = from; i < rules.size(); ++i)
        if (EntryText(rules[i]) == name) return i;
    return std::string::npos;
}

bool RemoveFileRule(const std::string& name)
{
    size_t found = FindFileRule(name);
    if (found == std::string::npos) return false;
    Profile.Files.erase(Profile.Files.begin() + found);
    return true;
}

void AddFileRules(const TextList& added)
{
    for (const std::string& entry : added) Profile.Files.push_back(UpperCase(entry));
}

bool ReplaceFileRule(size_t index, const TextList& added)
{
    TextList& rules = Profile.Files;
    if (index >= rules.size()) return false;
    rules.erase(rules.begin() + index);
    rules.insert(rules.end(), added.begin(), added.end());
    return true;
}

TextList AddedFileRuleEntries(const std::string& editText, int radioIndex)
{
    const std::string code = FileRadioCode(radioIndex);
    if (editText.compare(0, 2, " \"") != 0) return {code + editText};
    TextList entries;
    std::string rest = editText.substr(2);
    for (;;) {
        size_t close = rest.find('"');
        if (close == std::string::npos) break;
        if (close > 0) entries.push_back(code + rest.substr(0, close));
        rest.erase(0, close + 1);
        size_t open = rest.find('"');
        if (open == std::string::npos) break;
        rest.erase(0, open + 1);
    }
    return entries;
}

BrowsedFiles BrowsedFileText(const std::vector<std::string>& chosen, bool typeBoxChecked)
{
    BrowsedFiles result;
    if (chosen.empty()) return result;
    if (chosen.size() == 1) {
        const std::string name = FileNameOfPath(chosen.front());
        result.Text = typeBoxChecked ? TextFromLastDot(name) : name;
        return result;
    }
    for (const std::string& path : chosen) result.Text += " \"" + FileNameOfPath(path) + "\"";
    result.Multiple = true;
    return result;
}
