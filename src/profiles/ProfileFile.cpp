#include "ProfileLines.h"
#include "UProfiles.h"
#include "MsgBox.h"

#include <cstring>

namespace {

const char* const ScrambleMarker = "*";
const char* const SaveErrorPrefix = "Cannot save profile: ";

// Writes the whole layout and closes the file; false, with the error as the
// thread's last error, when a write or the close failed.
bool WriteProfileFile(HANDLE file)
{
    LineWriter writer(file);
    writer.PutPlain(ScrambleMarker);
    KeyPosition = 0;
    for (const ProfileSection& section : ProfileSections) {
        writer.PutScrambled(section.header);
        for (const std::string& line : Profile.*section.list) writer.PutScrambled(line);
    }
    writer.PutScrambled("[END1]");
    bool written = writer.Finish();
    bool closed = CloseHandle(file) != 0;
    if (!written) SetLastError(writer.Error());
    return written && closed;
}

// The old file must be one that may be overwritten: a read-only file, or one
// that another process holds open, is refused before anything changes (a
// rename alone would replace a read-only file on some systems).
bool TargetWritable(const std::string& path)
{
    // Checked by its attribute too: where the program runs with full rights
    // on the underlying file system, opening alone does not refuse it.
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    CloseHandle(file);
    return true;
}

bool FailSave(const std::string& tempPath)
{
    DWORD error = GetLastError();
    DeleteFileA(tempPath.c_str());
    ShowSystemError(SaveErrorPrefix, error);
    return false;
}

// One list being refilled. The lines it held are overwritten in place and
// the rest cut off at the end, so loading a profile again (as the agent does
// on every start of protection) reuses their memory instead of freeing and
// allocating every line anew.
struct Section {
    TextList* list;
    std::vector<size_t>* numbers;  // the lines' places in the file, when asked for
    size_t filled = 0;

    void Add(const char* data, size_t length, size_t lineNumber)
    {
        if (filled < list->size())
            (*list)[filled].assign(data, length);
        else
            list->emplace_back(data, length);
        ++filled;
        if (numbers) numbers->push_back(lineNumber);
    }

    void Finish() { list->resize(filled); }
};

bool Equals(const char* data, size_t length, const char* text)
{
    return length == strlen(text) && memcmp(data, text, length) == 0;
}

Section* SectionOf(const char* data, size_t length, Section* sections)
{
    if (length == 0 || data[0] != '[') return nullptr;
    for (int i = 0; i < ProfileSectionCount; ++i)
        if (Equals(data, length, ProfileSections[i].header)) return &sections[i];
    return nullptr;
}

// The lists a load fills. They take the Profile's place only once the whole
// file was read, and then hold the old lines for the next load to reuse.
TProfile& LoadScratch()
{
    static TProfile scratch;
    return scratch;
}

// Fills the scratch lists with the file's lines; false, with the error as the
// thread's last error, when a read failed before the end of the file.
bool ReadProfileLines(HANDLE file, ProfileLineNumbers* numbers)
{
    Section sections[ProfileSectionCount];
    if (numbers) *numbers = ProfileLineNumbers();
    for (int i = 0; i < ProfileSectionCount; ++i)
        sections[i] = {&(LoadScratch().*ProfileSections[i].list), numbers ? &numbers->sections[i] : nullptr};
    LineReader reader(file);
    Section* section = nullptr;
    bool scrambled = false;
    char* data = nullptr;
    size_t length = 0;
    size_t lineNumber = 0;
    while (reader.Next(data, length)) {
        ++lineNumber;
        if (scrambled) ScrambleBytes(data, length);
        if (Equals(data, length, ScrambleMarker)) {
            scrambled = true;
        } else if (Section* header = SectionOf(data, length, sections)) {
            section = header;
            if (numbers) ++numbers->headers;
        } else if (section) {
            section->Add(data, length, lineNumber);
        } else if (numbers && length > 0) {
            numbers->outside.push_back(lineNumber);
        }
    }
    for (Section& s : sections) s.Finish();
    if (reader.Failed()) SetLastError(reader.Error());
    return !reader.Failed();
}

// A decimal number of up to 64 bits: leading blanks and a sign allowed,
// nothing after the digits.
bool ParseInt64(const std::string& text, uint64_t& value)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    const uint64_t limit = negative ? 9223372036854775808ull : 9223372036854775807ull;
    uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        unsigned digit = static_cast<unsigned>(text[i] - '0');
        if (magnitude > (limit - digit) / 10) return false;
        magnitude = magnitude * 10 + digit;
    }
    value = negative ? 0 - magnitude : magnitude;
    return true;
}

void ReadPasswordOption()
{
    Profile.OwnPassword = false;
    Profile.PasswordHash = 0;
    for (const std::string& line : Profile.Options) {
        if (line.compare(0, 4, "PWD=") != 0) continue;
        uint64_t value = 0;
        if (!ParseInt64(line.substr(4, 50), value)) continue;
        uint32_t low = static_cast<uint32_t>(value);
        if (low == 0) continue;
        Profile.PasswordHash = low;
        Profile.OwnPassword = true;
    }
}

}  // namespace

const ProfileSection ProfileSections[ProfileSectionCount] = {
    {"[DIRECTORIES]", &TProfile::Folders}, {"[FILES]", &TProfile::Files}, {"[POLICIES]", &TProfile::Policies},
    {"[TASKS]", &TProfile::Tasks},         {"[OPTIONS]", &TProfile::Options},
};

bool SaveProfile(const std::string& name, uint32_t passwordHash)
{
    return SaveProfileFile(ProfilesDir + (name.empty() ? std::string("default") : name) + ".vtp", passwordHash);
}

// The new file is written completely beside the old one and only then put in
// its place, so a failed save never costs the profile that was there.
bool SaveProfileFile(const std::string& path, uint32_t passwordHash)
{
    std::string tempPath = path + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
    if (!TargetWritable(path)) return FailSave(tempPath);
    HANDLE file = CreateFileA(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FailSave(tempPath);

    Profile.Options.clear();
    Profile.Options.push_back("PWD=" + std::to_string(passwordHash));

    if (!WriteProfileFile(file)) return FailSave(tempPath);
    if (!MoveFileExA(tempPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return FailSave(tempPath);
    return true;
}

bool LoadProfile(const std::string& path)
{
    return LoadProfileNumbered(path, nullptr);
}

bool LoadProfileNumbered(const std::string& path, ProfileLineNumbers* numbers)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;

    KeyPosition = 0;
    bool read = ReadProfileLines(file, numbers);
    DWORD error = GetLastError();
    CloseHandle(file);
    if (!read) {
        SetLastError(error);
        return false;
    }
    for (const ProfileSection& section : ProfileSections) (Profile.*section.list).swap(LoadScratch().*section.list);
    ReadPasswordOption();
    return true;
}
