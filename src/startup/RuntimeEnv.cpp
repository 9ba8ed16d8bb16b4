#include "RuntimeEnv.h"
#include "RegValues.h"

bool IsWindowsNT = false;
std::string SystemDir = "C:\\WINDOWS\\SYSTEM32";
std::string WindowsDir = "C:\\WINDOWS";
std::string TempDir = "C:\\WINDOWS\\TEMP";
std::string UserTempDir = "C:\\WINDOWS\\TEMP";
std::string ProgramFilesDir = "C:\\PROGRAM FILES";
std::string CommonDesktopDir;
std::string DesktopDir;
std::string CommonProgramsDir;
std::string ProgramsDir;
std::string QuickLaunchDir = "C:\\WINDOWS\\APPLICATION DATA\\MICROSOFT\\INTERNET EXPLORER\\QUICK LAUNCH";

UINT MsgTaskMan = 0;
UINT MsgStart = 0;
UINT MsgStop = 0;
UINT MsgSaved = 0;
UINT MsgEnable = 0;

const char* const ShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

namespace {

const char* const CurrentVersionKey = "Software\\Microsoft\\Windows\\CurrentVersion";
const char* const QuickLaunchTail = "\\Microsoft\\Internet Explorer\\Quick Launch";

void DetectWindowsFamily()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;  // the 148-byte record
    IsWindowsNT = GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// Keeps target unchanged when the system gives an empty text.
template <class Query>
void ReadSystemFolder(std::string& target, Query query)
{
    char buffer[256] = {};
    query(buffer, static_cast<UINT>(sizeof buffer));
    buffer[sizeof buffer - 1] = '\0';
    if (buffer[0] != '\0') target = UpperCase(buffer);
}

void ReadSystemFolders()
{
    ReadSystemFolder(SystemDir, [](char* b, UINT n) { GetSystemDirectoryA(b, n); });
    ReadSystemFolder(WindowsDir, [](char* b, UINT n) { GetWindowsDirectoryA(b, n); });
    ReadSystemFolder(TempDir, [](char* b, UINT n) { GetTempPathA(n, b); });
    UserTempDir = TempDir;
}

void ReadShellFolders()
{
    ReadRegString(HKEY_LOCAL_MACHINE, CurrentVersionKey, "ProgramFilesDir", ProgramFilesDir);

    CommonDesktopDir.clear();
    DesktopDir.clear();
    CommonProgramsDir.clear();
    ProgramsDir.clear();
    ReadRegString(HKEY_LOCAL_MACHINE, ShellFoldersKey, "Common Desktop", CommonDesktopDir);
    ReadRegString(HKEY_CURRENT_USER, ShellFoldersKey, "Desktop", DesktopDir);
    ReadRegString(HKEY_LOCAL_MACHINE, ShellFoldersKey, "Common Programs", CommonProgramsDir);
    ReadRegString(HKEY_CURRENT_USER, ShellFoldersKey, "Programs", ProgramsDir);
    std::string appData;
    if (ReadRegString(HKEY_CURRENT_USER, ShellFoldersKey, "AppData", appData))
        QuickLaunchDir = UpperCase(appData + QuickLaunchTail);

    ProgramFilesDir = UpperCase(ProgramFilesDir);
    CommonDesktopDir = UpperCase(CommonDesktopDir);
    DesktopDir = UpperCase(DesktopDir);
    CommonProgramsDir = UpperCase(CommonProgramsDir);
    ProgramsDir = UpperCase(ProgramsDir);

    // A system without all-users folders uses the user's, and the other way round.
    if (CommonDesktopDir.empty()) CommonDesktopDir = DesktopDir;
    if (DesktopDir.empty()) DesktopDir = CommonDesktopDir;
    if (CommonProgramsDir.empty()) CommonProgramsDir = ProgramsDir;
    if (ProgramsDir.empty()) ProgramsDir = CommonProgramsDir;
}

void RegisterMessages()
{
    MsgTaskMan = RegisterWindowMessageA("Corvane2.TaskMan1");
    MsgStart = RegisterWindowMessageA("Vantrel.Start");
    MsgStop = RegisterWindowMessageA("Vantrel.Stop");
    MsgSaved = RegisterWindowMessageA("Vantrel.Saved");
    MsgEnable = RegisterWindowMessageA("Vantrel.Enable");
}

}  // namespace

void InitRuntimeEnvironment()
{
    DetectWindowsFamily();
    ReadSystemFolders();
    ReadShellFolders();
    RegisterMessages();
}

std::string SystemErrorText(DWORD code)
{
    char buffer[257] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                  0, buffer, 256, nullptr);
    std::string text(buffer, length < 256 ? length : 256);
    while (!text.empty()) {
        unsigned char last = static_cast<unsigned char>(text.back());
        if (last > ' ' && last != '.') break;
        text.pop_back();
    }
    return text;
}

std::string UpperCase(const std::string& text)
{
    std::string result = text;
    for (char& c : result)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return result;
}

std::string ExePath()
{
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

std::string ExeFolder()
{
    std::string folder = ExePath();
    size_t slash = folder.find_last_of('\\');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}
