// The protection channel: the open device of the protection driver and the
// operations that use it. Every device request goes through Command7.
#pragma once
#include <windows.h>
#include <string>

extern HANDLE DriverHandle;       // 0 while closed
extern bool ProtectionEnabled;
// Brings the window of the channel's owner to the front before a failure is
// shown; none by default.
extern void (*RaiseOwnerWindow)();

bool OpenProtectionDriver();
bool StartDriverAndOpenDevice(HANDLE& handle);
void SendProfileToDriver(const std::string& name);
void EnableProtection();
void DisableProtection();
DWORD GetProtectedDriveMask();
