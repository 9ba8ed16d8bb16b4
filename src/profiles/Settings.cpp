#include "UProfiles.h"
#include "RegValues.h"
#include "RuntimeEnv.h"
#include <aclapi.h>
#include <sddl.h>

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

bool WriteFlag(const char* name, bool flag)
{
    return WriteRegDword(HKEY_LOCAL_MACHINE, SettingsKey, name, flag ? 1 : 0);
}

bool FolderExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Full control for SYSTEM and the Administrators group, nothing for anyone
// else and nothing from the folder above; the profiles inside inherit it, as
// their password digests must stay unread by users.
const char* const ProfilesFolderSddl = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

// Null on Windows 95/98/ME, which keeps no security on files. LocalFree it.
PSECURITY_DESCRIPTOR ProfilesFolderSecurity()
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (IsWindowsNT)
        ConvertStringSecurityDescriptorToSecurityDescriptorA(ProfilesFolderSddl, SDDL_REVISION_1, &descriptor,
                                                             nullptr);
    return descriptor;
}

std::string ProfilesFolder() { return ExeFolder() + "Profiles"; }

// One level only; true when the folder was made now.
bool CreateProfilesFolder(const std::string& folder)
{
    if (FolderExists(folder)) return false;
    PSECURITY_DESCRIPTOR descriptor = ProfilesFolderSecurity();
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    bool created = CreateDirectoryA(folder.c_str(), descriptor ? &attributes : nullptr) != FALSE;
    LocalFree(descriptor);
    return created;
}

}  // namespace

void LoadSettings()
{
    GlobalSettings.AutoStart = ReadFlag("AutoStart", &GlobalSettings.SettingsStored);
    GlobalSettings.UserControl = ReadFlag("UserControl");
    GlobalSettings.UseDefault = ReadFlag("UseDefault");

    ProfilesDir = ProfilesFolder() + "\\";
    CreateProfilesFolder(ProfilesFolder());
}

void ProtectProfilesFolder()
{
    std::string folder = ProfilesFolder();
    if (CreateProfilesFolder(folder)) return;
    PSECURITY_DESCRIPTOR descriptor = ProfilesFolderSecurity();
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    // SetNamedSecurityInfo also passes the inherited entries on to the
    // profiles already inside. Wine maps a DACL to the folder's Unix mode, and
    // only SetFileSecurity's mapping shuts others out, so it comes last.
    if (descriptor && GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) && present) {
        SetNamedSecurityInfoA(&folder[0], SE_FILE_OBJECT,
                              DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              dacl, nullptr);
        SetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION, descriptor);
    }
    LocalFree(descriptor);
}

bool SaveSettings()
{
    return WriteFlag("AutoStart", GlobalSettings.AutoStart) && WriteFlag("UserControl", GlobalSettings.UserControl) &&
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
