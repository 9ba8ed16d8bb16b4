#include "UProfiles.h"
#include "RegValues.h"
#include "RuntimeEnv.h"
#include "UserHive.h"

const PathMacro PathMacros[9] = {
    {"%WINDIR%", &WindowsDir},
    {"%SYSDIR%", &SystemDir},
    {"%PROGRAMFILES%", &ProgramFilesDir},
    {"%DESKTOP%", &CommonDesktopDir},
    {"%LOCALDESKTOP%", &DesktopDir},
    {"%START%", &CommonProgramsDir},
    {"%LOCALSTART%", &ProgramsDir},
    {"%QLAUNCH%", &QuickLaunchDir},
    {"%TEMP%", &TempDir},
};

void ReplaceFirst(std::string& text, const std::string& macro, const std::string& value)
{
    std::string::size_type at = text.find(macro);
    if (at != std::string::npos) text.replace(at, macro.size(), value);
}

std::string ExpandMacros(const std::string& text)
{
    std::string result = text;
    // Most rules carry no macro at all; skip the nine searches for them.
    if (result.find('%') == std::string::npos) return result;
    for (const PathMacro& macro : PathMacros) ReplaceFirst(result, macro.name, *macro.variable);
    return result;
}

void LoadUserShellFolders()
{
    ReadRegString(UserHiveKey, ShellFoldersKey, "Desktop", DesktopDir);
    ReadRegString(UserHiveKey, ShellFoldersKey, "Programs", ProgramsDir);
    std::string appData;
    if (ReadRegString(UserHiveKey, ShellFoldersKey, "AppData", appData))
        QuickLaunchDir = UpperCase(appData + "\\Microsoft\\Internet Explorer\\Quick Launch");
    DesktopDir = UpperCase(DesktopDir);
    ProgramsDir = UpperCase(ProgramsDir);
    if (CommonDesktopDir.empty()) CommonDesktopDir = DesktopDir;
    if (CommonProgramsDir.empty()) CommonProgramsDir = ProgramsDir;
}

void SetUserTempDir(const std::string& path)
{
    if (!path.empty()) UserTempDir = path;
}
