// Program blocking: the shell-hook library reports new program windows; the
// agent ends the processes of disabled programs.
#pragma once
#include <windows.h>
#include <string>

extern bool ProgramBlockingActive;

void StartProgramBlocking();
void StopProgramBlocking();
std::string GetWindowProcessName(HWND window);
void CloseIfDisabled(HWND window);

// The executable name of a process from the system process information,
// the way NT 4.0 (which has no toolhelp) gives it; empty when not found.
std::string ProcessNameFromSystemInformation(DWORD processId);
