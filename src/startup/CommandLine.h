// The command line: the rows of a switch table, the scan and the values it
// leaves for the profile manager.
#pragma once
#include <string>
#include <vector>

extern std::string StartupProfilePath;  // "/LOAD:"
extern int SaveNotifyValue;             // "/NOTIFY:"

enum class SwitchKind { Whole, Prefix };

struct SwitchRow {
    const char* text;       // upper case
    SwitchKind kind;
    int (*action)(const std::string& value);  // the exit code: 0 when it did its work
    bool setsHandled;
};

struct ScanResult {
    bool handled = false;  // an action switch ran
    int exitCode = 0;      // the first non-zero code of the actions that ran
};

// Runs each argument's matching row in argument order.
ScanResult ScanArguments(const std::vector<std::string>& args, const std::vector<SwitchRow>& table);

// Arguments 1 to the last of the process command line, split by the runtime's rules.
std::vector<std::string> ProcessArguments();

// The "/NOTIFY:" number: blanks, optional sign, decimal or "$"/"0x" hex,
// stopping at the first other character; kept in 32 bits.
int ReadNotifyNumber(const std::string& text);
