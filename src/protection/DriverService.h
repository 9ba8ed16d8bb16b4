// The protection driver's kernel-driver service "VTLOCK": "/INSTALL" and "/UNINSTALL".
#pragma once
#include <windows.h>
#include <string>

// The start of the message shown when the service control manager cannot be opened.
extern const char* const NoServiceManagerMessage;

// Each shows its failure in a message box and returns false; what is not
// there needs no removing. Windows 95/98/ME has nothing to install.
bool InstallDriverService();
bool UninstallDriverService();
