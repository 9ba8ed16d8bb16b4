// The agent as the NT service "VTLOCKAGENT", and its autostart entries.
#pragma once
#include <windows.h>

extern SERVICE_STATUS_HANDLE ServiceStatusHandle;

bool InstallAgentService();
bool UninstallAgentService();
void RunAsService();
void WINAPI AgentServiceMain(DWORD argc, LPSTR* argv);
void WINAPI AgentServiceHandler(DWORD control);
void ReportAgentServiceStatus(DWORD state);
void StopAgentService();
