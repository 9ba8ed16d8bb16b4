// Shared by the setup tests: the setup program and the uninstaller run as an
// administrator runs them, and what they leave on the PC.
#pragma once
#include "../agent_shared/AgentTest.h"

#include <shlobj.h>

#include <string>
#include <vector>

namespace setuptest {

// What the build ships, all installed by the setup program.
inline const std::vector<std::string> ShippedFiles = {"vtlock.exe", "vrcmd.dll", "vtlock.sys", "vthooks.dll",
                                                      "vtscc.exe",  "vtstate.exe", "vtprofile.exe",
                                                      "folders.bmp", "foldersmask.bmp", "vtlock.chm"};

inline const char* const UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantrel";

std::string ShellFolder(int csidl);
inline std::string InstallDir() { return ShellFolder(CSIDL_PROGRAM_FILES) + "\\Vantrel\\"; }
inline std::string StartMenuDir() { return ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Vantrel\\"; }
inline std::string CommonDesktop() { return ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\"; }

bool FileExists(const std::string& path);
// A string value below HKEY_LOCAL_MACHINE, or "<missing>".
std::string MachineString(const char* key, const char* name);
bool MachineKeyExists(const char* key);

// Runs a command line and waits until it and every process it started have
// ended (the uninstaller runs on from a copy of itself).
ProcessResult RunAllAndWait(const std::string& commandLine, DWORD timeoutMs = 120000);

// VantrelSetup.exe /S from the build, waited for with all it started.
ProcessResult InstallSilently();
// The entry's QuietUninstallString with extra arguments, waited for likewise.
ProcessResult UninstallSilently(const std::string& extra = std::string());

struct Shortcut {
    bool found = false;
    std::string target, arguments;
};
Shortcut ReadShortcut(const std::string& path);

struct ServiceConfig {
    bool found = false;
    DWORD type = 0, start = 0;
    std::string command;
};
ServiceConfig QueryServiceConfig(const char* name);

// The agent service answers "Vantrel.Start": the driver receives the
// default profile and starts protecting.
bool AgentAnswersStart();

}  // namespace setuptest
