// Shared by the start-up tests: the child-process report of the runtime
// environment and a guard that restores registry values a test changes.
#pragma once
#include <windows.h>
#include <map>
#include <string>
#include <vector>

constexpr const char* EnvReportSwitch = "--env-report";

// Prepares the runtime environment and writes "Name=value" lines to path.
int WriteEnvReport(const char* path);

// Runs this test program as a child in report mode and returns its values.
std::map<std::string, std::string> ChildEnvironment();

// Remembers registry values on creation and puts them back on destruction:
// values that were missing are deleted again.
class SavedRegValues {
public:
    SavedRegValues(HKEY root, const std::string& subkey, const std::vector<std::string>& names);
    ~SavedRegValues();
    SavedRegValues(const SavedRegValues&) = delete;
    SavedRegValues& operator=(const SavedRegValues&) = delete;

private:
    struct Saved {
        std::string name;
        bool present;
        DWORD type;
        std::string bytes;
    };
    HKEY root_;
    std::string subkey_;
    std::vector<Saved> saved_;
};
