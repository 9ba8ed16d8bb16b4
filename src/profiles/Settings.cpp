#include "UProfiles.h"
#include "RegValues.h"
#include "RuntimeEnv.h"

TGlobalSettings GlobalSettings;
std::string ProfilesDir;
const char* const SettingsKey = "Software\\VtLock";

namespace {

// True exactly when the value reads as the number 1, whatever its type.
bool ReadFlag(const char* name, bool* present = nullptr)
{
    DWORD value = 0;
    bool read = ReadRegDword(HKEY_LOCAL_MACHINE, SettingsKey, name, value);
    if (present) *present = read;
    return read && value == 1;
}

void WriteFlag(const char* name, bool flag)
{
    WriteRegDword(HKEY_LOCAL_MACHINE, SettingsKey, name, flag ? 1 : 0);
}

bool FolderExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void LoadSettings()
{
    GlobalSettings.AutoStart = ReadFlag("AutoStart", &GlobalSettings.SettingsStored);
    GlobalSettings.UserControl = ReadFlag("UserControl");
    GlobalSettings.UseDefault = ReadFlag("UseDefault");

    ProfilesDir = ExeFolder() + "Profiles\\";
    std::string folder = ProfilesDir.substr(0, ProfilesDir.size() - 1);
    if (!FolderExists(folder)) CreateDirectoryA(folder.c_str(), nullptr);
}

void SaveSettings()
{
    WriteFlag("AutoStart", GlobalSettings.AutoStart);
    WriteFlag("UserControl", GlobalSettings.UserControl);
    WriteFlag("UseDefault", GlobalSettings.UseDefault);
}

std::string GetCurrentUserName()
{
    char name[256] = {};
    DWORD size = sizeof name;
    if (!GetUserNameA(name, &size)) return std::string();
    return name;
}

bool ProfileFileExists(const std::string& name)
{
    HANDLE file = CreateFileA((ProfilesDir + name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

std::string SelectStartupProfile()
{
    if (GlobalSettings.UserControl) {
        std::string user = GetCurrentUserName();
        if (!user.empty() && ProfileFileExists(user + ".vtp")) return user + ".vtp";
        if (!GlobalSettings.UseDefault) return std::string();
    }
    return ProfileFileExists("default.vtp") ? std::string("default.vtp") : std::string();
}
