// Profiles: the in-memory profile and its line formats, the path macros, the
// profile file reader and writer, the global settings with the choice of a
// user's profile, and the byte image sent to the protection driver.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

// ---- Profile data model -------------------------------------------------

// An ordered list of 8-bit text lines; duplicates and empty lines allowed.
using TextList = std::vector<std::string>;

struct TProfile {
    TextList Folders;   // "[DIRECTORIES]": access code + upper-case folder path
    TextList Files;     // "[FILES]": access code + file name or "." + extension
    TextList Policies;  // "[POLICIES]": "row=state"
    TextList Tasks;     // "[TASKS]": EXE name [+ "      //" + description]
    TextList Options;   // "[OPTIONS]": "PWD=" + hash, and whatever followed it
    bool OwnPassword = false;
    uint32_t PasswordHash = 0;
};

extern TProfile Profile;

// Access codes shared with the protection driver.
constexpr char AccessFull = '+';
constexpr char AccessReadOnly = '-';
constexpr char AccessHidden = '!';
constexpr char AccessNoAccess = '&';
constexpr char AccessReadOnlyHidden = '@';
constexpr char AccessHiddenNoAccess = '#';

// The separator between a disabled program's name and its description.
extern const char* const TaskMarker;  // six blanks and "//"

void CreateProfileLists();

// ---- Path macros ---------------------------------------------------------

struct PathMacro {
    const char* name;        // "%WINDIR%" ...
    std::string* variable;   // the folder value it stands for
};
// The nine macros in the order they are replaced.
extern const PathMacro PathMacros[9];

std::string ExpandMacros(const std::string& text);
void ReplaceFirst(std::string& text, const std::string& macro, const std::string& value);
void LoadUserShellFolders();
void SetUserTempDir(const std::string& path);

// ---- Profile file ---------------------------------------------------------

constexpr int ProfileKeyLength = 74;
extern const unsigned char ProfileKey[ProfileKeyLength];
extern int KeyPosition;  // 1-based index of the key byte used last; 0 before the first

// The sections of a profile file in their order, each with the list it fills.
constexpr int ProfileSectionCount = 5;
struct ProfileSection {
    const char* header;  // "[DIRECTORIES]" ...
    TextList TProfile::*list;
};
extern const ProfileSection ProfileSections[ProfileSectionCount];

std::string ScrambleLine(const std::string& line, const std::string& marker);
// Writes ProfilesDir + (name.empty() ? "default" : name) + ".vtp" with SaveProfileFile.
bool SaveProfile(const std::string& name, uint32_t passwordHash);
// Writes the Profile to path: first beside it under a temporary name, then in
// its place. Any failure shows "Cannot save profile: " with the system's text
// and returns false; the old file is untouched.
bool SaveProfileFile(const std::string& path, uint32_t passwordHash);
// Replaces Profile by the file at path; false (profile unchanged, the error as
// the thread's last error) when it cannot be opened or read to its end.
bool LoadProfile(const std::string& path);

// Where the loaded lines stood in their file: for each section (in the order
// of ProfileSections) the 1-based file line number of each line of its list.
// Also the lines that no section took, and how many section headers there were.
struct ProfileLineNumbers {
    std::vector<size_t> sections[ProfileSectionCount];
    std::vector<size_t> outside;  // non-empty lines before the first header, dropped
    size_t headers = 0;
};
// LoadProfile that also records the line numbers.
bool LoadProfileNumbered(const std::string& path, ProfileLineNumbers* numbers);

// ---- Global settings --------------------------------------------------------

struct TGlobalSettings {
    bool AutoStart = false;
    bool UserControl = false;
    bool UseDefault = false;
    bool SettingsStored = false;
};

extern TGlobalSettings GlobalSettings;
extern std::string ProfilesDir;  // ExeFolder() + "Profiles\"
extern const char* const SettingsKey;  // "Software\VtLock"

// Also creates the profiles folder when missing, readable by SYSTEM and
// Administrators only (nothing on Windows 95/98/ME).
void LoadSettings();
// False at the first flag that could not be written, the thread's last error
// saying why; the flags after it are not written.
bool SaveSettings();
// Gives the profiles folder, made when missing, the security LoadSettings
// gives a new one; the profile files in it inherit it.
void ProtectProfilesFolder();
// The file name (inside ProfilesDir) of the profile for the logged-on user,
// or empty when none fits.
std::string SelectStartupProfile();

// The logon name of the calling thread's user (at most 255 characters).
std::string GetCurrentUserName();
// Whether ProfilesDir + name can be opened for reading.
bool ProfileFileExists(const std::string& name);

// ---- Driver image -----------------------------------------------------------

extern std::vector<uint8_t> DriverImage;  // capacity grows in 1024-byte steps
extern uint32_t DriverImageSize;          // bytes in use

void BuildDriverImage();
// The built-in full-access exceptions every image carries: the system's own
// files by name, and the folders (from the current folder variables) after
// the profile's folder rules. Each is an access code followed by a name or path.
const std::vector<std::string>& SystemFileExceptions();
std::vector<std::string> SystemFolderExceptions();
void AppendImageString(const std::string& text, uint32_t& counter);
std::string ShortPathForm(const std::string& path);
std::string LongPathForm(const std::string& path);
std::string FindLongName(const std::string& folder, const std::string& name);
