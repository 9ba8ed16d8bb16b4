#include "Roles.h"
#include "Agent.h"
#include "AgentClient.h"
#include "AgentService.h"
#include "CommandLibrary.h"
#include "CommandLine.h"
#include "DriverService.h"
#include "ManagerWindow.h"
#include "MsgBox.h"
#include "RuntimeEnv.h"

namespace {

// Exit codes of the commands that ask the agent.
constexpr int Refused = 1;   // refused, or the user gave no password
constexpr int NoAgent = 2;   // no agent answered, or it could not be trusted

const char* const DisableCaption = "Disable protection";

// The reason the user is told when a request did not go through.
int Outcome(const AgentAnswer& answer, const char* caption)
{
    if (answer.accepted) return 0;
    const bool answered = answer.outcome == VtPipeOutcome::Answered;
    ShowMessage(answer.text, caption, MB_OK | (answered ? MB_ICONINFORMATION : MB_ICONERROR));
    return answered ? Refused : NoAgent;
}

// The password is asked in this process and checked by the agent.
int AskToDisable()
{
    char typed[VRCMD_TYPED_PASSWORD_MAX + 1] = {};
    Command20(typed, sizeof typed);
    typed[VRCMD_TYPED_PASSWORD_MAX] = '\0';
    std::string password = typed;
    SecureZeroMemory(typed, sizeof typed);
    if (password.empty()) return Refused;
    AgentAnswer answer = AskAgent(VtPipeStop, password);
    SecureZeroMemory(&password[0], password.size());
    return Outcome(answer, DisableCaption);
}

int AskToEnable()
{
    if (ShowMessage("It will enable Vantrel protection. Continue?", "Enable protection", MB_YESNO | MB_ICONQUESTION) !=
        IDYES)
        return Refused;
    return Outcome(AskAgent(VtPipeStart), "Enable protection");
}

// The install commands have shown why they failed; the setup program reads the code.
constexpr int InstallFailed = 1;
int InstallResult(bool done) { return done ? 0 : InstallFailed; }

int DoInstall(const std::string&) { return InstallResult(InstallDriverService()); }
int DoUninstall(const std::string&) { return InstallResult(UninstallDriverService()); }
int DoStopAgent(const std::string&) { return Outcome(AskAgent(VtPipeStopAgent), "Vantrel"); }
int DoAgent(const std::string&) { RunAgent(true); return 0; }
int DoService(const std::string&) { RunAsService(); return 0; }
int DoInstallService(const std::string&) { return InstallResult(InstallAgentService()); }
int DoUninstallService(const std::string&) { return InstallResult(UninstallAgentService()); }
int DoLoad(const std::string& value) { StartupProfilePath = value; return 0; }
int DoNotify(const std::string& value) { SaveNotifyValue = ReadNotifyNumber(value); return 0; }
int DoEnable(const std::string&) { return Outcome(AskAgent(VtPipeStart), "Vantrel"); }

int DoToggle(const std::string&)
{
    AgentAnswer state = AskAgent(VtPipeQuery);
    if (!state.accepted) return Outcome(state, "Vantrel");
    return state.protectionOn ? AskToDisable() : AskToEnable();
}

// The password goes to the agent through its pipe, never to other windows.
int DoDisable(const std::string& value)
{
    if (value.empty()) {
        ShowMessage("Password is incorrect.", DisableCaption, MB_OK | MB_ICONINFORMATION);
        return Refused;
    }
    return Outcome(AskAgent(VtPipeStop, value), DisableCaption);
}

}  // namespace

const std::vector<SwitchRow>& SwitchTable()
{
    static const std::vector<SwitchRow> table = {
        {"/INSTALL", SwitchKind::Whole, DoInstall, true},
        {"/UNINSTALL", SwitchKind::Whole, DoUninstall, true},
        {"/STOPAGENT", SwitchKind::Whole, DoStopAgent, true},
        {"/AGENT", SwitchKind::Whole, DoAgent, true},
        {"/TOGGLE", SwitchKind::Whole, DoToggle, true},
        {"-SERVICE", SwitchKind::Whole, DoService, true},
        {"/INSTALLSERVICE", SwitchKind::Whole, DoInstallService, true},
        {"/UNINSTALLSERVICE", SwitchKind::Whole, DoUninstallService, true},
        {"/LOAD:", SwitchKind::Prefix, DoLoad, false},
        {"/NOTIFY:", SwitchKind::Prefix, DoNotify, false},
        {"/D:", SwitchKind::Prefix, DoDisable, true},
        {"/E", SwitchKind::Whole, DoEnable, true},
    };
    return table;
}

int RunProgram()
{
    InitRuntimeEnvironment();
    AgentStopHook = StopAgentService;
    Command9();
    Command12();
    const ScanResult scan = ScanArguments(ProcessArguments(), SwitchTable());
    if (scan.handled) return scan.exitCode;
    RunProfileManager();
    return 0;
}
