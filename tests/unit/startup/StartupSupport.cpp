#include "StartupTest.h"
#include "RuntimeEnv.h"
#include "VtTest.h"
#include <sstream>

int WriteEnvReport(const char* path)
{
    InitRuntimeEnvironment();
    std::ostringstream out;
    out << "IsWindowsNT=" << (IsWindowsNT ? 1 : 0) << "\n"
        << "SystemDir=" << SystemDir << "\n"
        << "WindowsDir=" << WindowsDir << "\n"
        << "TempDir=" << TempDir << "\n"
        << "UserTempDir=" << UserTempDir << "\n"
        << "ProgramFilesDir=" << ProgramFilesDir << "\n"
        << "CommonDesktopDir=" << CommonDesktopDir << "\n"
        << "DesktopDir=" << DesktopDir << "\n"
        << "CommonProgramsDir=" << CommonProgramsDir << "\n"
        << "ProgramsDir=" << ProgramsDir << "\n"
        << "QuickLaunchDir=" << QuickLaunchDir << "\n";
    return WriteWholeFile(path, out.str()) ? 0 : 1;
}

std::map<std::string, std::string> ChildEnvironment()
{
    std::map<std::string, std::string> values;
    char exe[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string report = NewTempDir("env") + "env.txt";
    ProcessResult run =
        RunAndWait(QuoteArgument(exe) + " " + EnvReportSwitch + " " + QuoteArgument(report));
    if (!run.finished || run.exitCode != 0) return values;
    std::istringstream lines(ReadWholeFile(report));
    std::string line;
    while (std::getline(lines, line)) {
        size_t eq = line.find('=');
        if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return values;
}

SavedRegValues::SavedRegValues(HKEY root, const std::string& subkey, const std::vector<std::string>& names)
    : root_(root), subkey_(subkey)
{
    for (const std::string& name : names) {
        char data[4096];
        DWORD type = REG_NONE, size = sizeof data;
        bool present = RegGetValueA(root, subkey.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, data,
                                    &size) == ERROR_SUCCESS;
        saved_.push_back({name, present, type, present ? std::string(data, size) : std::string()});
    }
}

SavedRegValues::~SavedRegValues()
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root_, subkey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    for (const Saved& s : saved_) {
        if (s.present)
            RegSetValueExA(key, s.name.c_str(), 0, s.type, reinterpret_cast<const BYTE*>(s.bytes.data()),
                           static_cast<DWORD>(s.bytes.size()));
        else
            RegDeleteValueA(key, s.name.c_str());
    }
    RegCloseKey(key);
}
