// The protection driver's kernel-driver service "VTLOCK": "/INSTALL" and "/UNINSTALL".
#pragma once
#include <windows.h>
#include <string>

bool InstallDriverService();
bool UninstallDriverService();

// Each opens the service with SERVICE_ALL_ACCESS and closes it again; a
// service that cannot be opened gives false without a message.
bool StopNamedService(SC_HANDLE manager, const std::string& name);
bool RemoveNamedService(SC_HANDLE manager, const std::string& name);
