// The agent as a service: the NT service entry and control handler, the
// Windows 95/98/ME service-process registration, and the stop request.
#include "AgentService.h"
#include "Agent.h"
#include "AgentInstance.h"
#include "Channel.h"
#include "Policies.h"
#include "RuntimeEnv.h"
#include "VtPipe.h"

#include <atomic>

SERVICE_STATUS_HANDLE ServiceStatusHandle = nullptr;

namespace {

char AgentServiceName[] = "VTLOCKAGENT";
// How long the control handler waits for each answer of the agent's thread
// before it reports that the stop is still pending.
constexpr UINT ServiceStopWaitMs = 1000;
constexpr DWORD StopRetryMs = 50;
constexpr DWORD ReplyGraceMs = 250;

// Set when the agent's thread has returned from RunAgent: nothing is left
// for the stop control to switch off.
std::atomic<bool> AgentThreadDone{false};

using RegisterServiceProcessFn = DWORD(WINAPI*)(DWORD processId, DWORD type);

void ReportStatus(DWORD state, DWORD exitCode, DWORD checkPoint = 0)
{
    SERVICE_STATUS status = {};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = SERVICE_ACCEPT_STOP;
    status.dwWin32ExitCode = exitCode;
    status.dwServiceSpecificExitCode = 0;
    status.dwCheckPoint = checkPoint;
    status.dwWaitHint = 1000;
    SetServiceStatus(ServiceStatusHandle, &status);
}

// Protection is switched off on the agent's own thread only, so the channel
// and the policies are never used by two threads at once. While the agent
// still starts (it may be applying a profile) it has no window: the handler
// waits for it. A sent message is answered also while the agent shows a
// message box; while no answer comes, the stop is reported pending.
void DisableProtectionForStop()
{
    DWORD checkPoint = 0;
    AgentServiceStopAsked = true;
    while (!AgentQuitting && !AgentThreadDone) {
        HWND window = AgentWindow;
        DWORD_PTR result = 0;
        if (window != nullptr &&
            SendMessageTimeoutA(window, MsgAgentServiceStop, 0, 0, SMTO_NORMAL, ServiceStopWaitMs, &result))
            return;
        ReportStatus(SERVICE_STOP_PENDING, 0, ++checkPoint);
        Sleep(StopRetryMs);
    }
}

void RunAsNtService()
{
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
    RunAgent(true);
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
    // Without a handler the service could be neither reported nor stopped:
    // the agent does not start, and the ended process tells the service
    // manager that the service is gone.
    if (ServiceStatusHandle == nullptr)
        ExitProcess(GetLastError());
    // The agent of another process (started with /AGENT) holds the single instance.
    if (VtPipeAgentRuns()) {
        AgentThreadDone = true;
        ReportStatus(SERVICE_STOPPED, ERROR_SERVICE_ALREADY_RUNNING);
        return;
    }
    ReportAgentServiceStatus(SERVICE_RUNNING);
    RunAgent(false);
    AgentThreadDone = true;
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
