#include "CommandLine.h"
#include "Agent.h"
#include "AgentService.h"
#include "CommandLibrary.h"
#include "DriverService.h"
#include "RuntimeEnv.h"
#include "Unit1.h"

#include <cstdint>
#include <cstdlib>

std::string StartupProfilePath;
int SaveNotifyValue = 0;

namespace {

// Posted to every top-level window, never sent: the sender does not wait.
void Broadcast(UINT message, LPARAM lParam)
{
    PostMessageA(HWND_BROADCAST, message, 0, lParam);
}

// The install commands have shown why they failed; the setup program reads the code.
constexpr int InstallFailed = 1;
int InstallResult(bool done) { return done ? 0 : InstallFailed; }

int DoInstall(const std::string&) { return InstallResult(InstallDriverService()); }
int DoUninstall(const std::string&) { return InstallResult(UninstallDriverService()); }
int DoStopAgent(const std::string&) { Broadcast(MsgStopAgent, 0); return 0; }
int DoAgent(const std::string&) { RunAgent(); return 0; }
int DoToggle(const std::string&) { Broadcast(MsgAsk, 0); return 0; }
int DoService(const std::string&) { RunAsService(); return 0; }
int DoInstallService(const std::string&) { return InstallResult(InstallAgentService()); }
int DoUninstallService(const std::string&) { return InstallResult(UninstallAgentService()); }
int DoLoad(const std::string& value) { StartupProfilePath = value; return 0; }
int DoNotify(const std::string& value) { SaveNotifyValue = ReadNotifyNumber(value); return 0; }
int DoEnable(const std::string&) { Broadcast(MsgEnable, 0); return 0; }

// Only the digest of the password leaves the process.
int DoDisable(const std::string& value)
{
    DWORD digest = Command18(value.c_str());
    Broadcast(MsgDisable, static_cast<LPARAM>(digest));
    return 0;
}

bool Matches(const SwitchRow& row, const std::string& upper)
{
    if (row.kind == SwitchKind::Whole) return upper == row.text;
    return upper.compare(0, std::char_traits<char>::length(row.text), row.text) == 0;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
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

ScanResult ScanArguments(const std::vector<std::string>& args, const std::vector<SwitchRow>& table)
{
    ScanResult result;
    for (const std::string& arg : args) {
        const std::string upper = UpperCase(arg);
        for (const SwitchRow& row : table) {
            if (!Matches(row, upper)) continue;
            std::string value;
            if (row.kind == SwitchKind::Prefix) value = arg.substr(std::char_traits<char>::length(row.text));
            int code = row.action(value);
            if (result.exitCode == 0) result.exitCode = code;
            if (row.setsHandled) result.handled = true;
        }
    }
    return result;
}

std::vector<std::string> ProcessArguments()
{
    std::vector<std::string> args;
    for (int i = 1; i < __argc; ++i) args.emplace_back(__argv[i]);
    return args;
}

int ReadNotifyNumber(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    uint32_t value = 0;
    if (i < text.size() && text[i] == '$') {
        for (++i; i < text.size() && HexDigit(text[i]) >= 0; ++i) value = value * 16 + HexDigit(text[i]);
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        for (i += 2; i < text.size() && HexDigit(text[i]) >= 0; ++i) value = value * 16 + HexDigit(text[i]);
    } else {
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
    }
    if (negative) value = 0u - value;
    return static_cast<int>(value);
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
