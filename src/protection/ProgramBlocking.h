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
