// Process-wide values prepared once at start: the operating-system family,
// the system and shell folders, and the registered window messages.
#pragma once
#include <windows.h>
#include <string>

extern bool IsWindowsNT;
extern std::string SystemDir;
extern std::string WindowsDir;
extern std::string TempDir;
extern std::string UserTempDir;
extern std::string ProgramFilesDir;
extern std::string CommonDesktopDir;
extern std::string DesktopDir;
extern std::string CommonProgramsDir;
extern std::string ProgramsDir;
extern std::string QuickLaunchDir;

// The registered window messages, in the order they are registered.
extern UINT MsgTaskMan;    // "Corvane2.TaskMan1"
extern UINT MsgStart;      // "Vantrel.Start"
extern UINT MsgStop;       // "Vantrel.Stop"
extern UINT MsgSaved;      // "Vantrel.Saved"
extern UINT MsgEnable;     // "Vantrel.Enable"

extern const char* const ShellFoldersKey;  // "Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"

void InitRuntimeEnvironment();

// The system's message for an error code, without trailing blanks, control
// characters and full stops.
std::string SystemErrorText(DWORD code);

// Upper-cases the letters a to z only.
std::string UpperCase(const std::string& text);

// Full path of the running executable.
std::string ExePath();
// Folder of the running executable, with its trailing backslash.
std::string ExeFolder();
