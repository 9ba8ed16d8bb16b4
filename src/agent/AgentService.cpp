// The agent as a service: the NT service entry and control handler, the
// Windows 95/98/ME service-process registration, and the stop request.
#include "AgentService.h"
#include "Agent.h"
#include "Channel.h"
#include "Policies.h"
#include "RuntimeEnv.h"

SERVICE_STATUS_HANDLE ServiceStatusHandle = nullptr;
bool RunningAsService = false;

namespace {

char AgentServiceName[] = "VTLOCKAGENT";
// How long the control handler waits for the agent's thread to disable protection.
constexpr UINT ServiceStopWaitMs = 10000;
constexpr DWORD ReplyGraceMs = 250;

using RegisterServiceProcessFn = DWORD(WINAPI*)(DWORD processId, DWORD type);

void ReportStatus(DWORD state, DWORD exitCode)
{
    SERVICE_STATUS status = {};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = SERVICE_ACCEPT_STOP;
    status.dwWin32ExitCode = exitCode;
    status.dwServiceSpecificExitCode = 0;
    status.dwCheckPoint = 0;
    status.dwWaitHint = 1000;
    SetServiceStatus(ServiceStatusHandle, &status);
}

// Protection is switched off on the agent's own thread, so the channel is
// never used by two threads at once; the sent message is also dispatched
// while the agent shows a message box. Only when that thread does not answer
// in time, or has no window yet, is it done here.
void DisableProtectionForStop()
{
    if (AgentQuitting)
        return;
    DWORD_PTR result = 0;
    AgentServiceStopAsked = true;
    if (AgentWindow != nullptr &&
        SendMessageTimeoutA(AgentWindow, MsgAgentServiceStop, 0, 0, SMTO_NORMAL, ServiceStopWaitMs, &result))
        return;
    DisableProtection();
    CloseUserHive();
}

void RunAsNtService()
{
    RunningAsService = true;
    SERVICE_TABLE_ENTRYA table[] = {{AgentServiceName, AgentServiceMain}, {nullptr, nullptr}};
    // Where the dispatcher runs on a thread of its own (Wine), the answer to
    // the stop control may still be on its way when the dispatcher returns;
    // ending at once breaks the service manager's pipe and fails the stop.
    if (StartServiceCtrlDispatcherA(table))
        Sleep(ReplyGraceMs);
    ExitProcess(0);
}

void RunAsServiceProcess()
{
    HMODULE kernel = LoadLibraryA("KERNEL32.DLL");
    if (kernel == nullptr)
        return;
    auto registerProcess = reinterpret_cast<RegisterServiceProcessFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "RegisterServiceProcess")));
    if (registerProcess)
        registerProcess(0, 1);
    RunAgent();
    if (registerProcess)
        registerProcess(0, 0);
    FreeLibrary(kernel);
    ExitProcess(0);
}

}  // namespace

void RunAsService()
{
    if (IsWindowsNT)
        RunAsNtService();
    else
        RunAsServiceProcess();
}

void WINAPI AgentServiceMain(DWORD, LPSTR*)
{
    ServiceStatusHandle = RegisterServiceCtrlHandlerA(AgentServiceName, AgentServiceHandler);
    ReportAgentServiceStatus(SERVICE_RUNNING);
    RunAgent();
    // The driver could not be opened: a service without its agent is stopped.
    ReportStatus(SERVICE_STOPPED, ERROR_OPEN_FAILED);
}

void WINAPI AgentServiceHandler(DWORD control)
{
    if (control == SERVICE_CONTROL_STOP) {
        DisableProtectionForStop();
        ReportAgentServiceStatus(SERVICE_STOPPED);
    } else if (control == SERVICE_CONTROL_INTERROGATE) {
        ReportAgentServiceStatus(SERVICE_RUNNING);
    }
}

void ReportAgentServiceStatus(DWORD state)
{
    ReportStatus(state, 0);
}

void StopAgentService()
{
    if (!IsWindowsNT)
        return;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = manager ? OpenServiceA(manager, AgentServiceName, SERVICE_STOP) : nullptr;
    if (service) {
        SERVICE_STATUS status;
        ControlService(service, SERVICE_CONTROL_STOP, &status);
        CloseServiceHandle(service);
    }
    if (manager)
        CloseServiceHandle(manager);
}
