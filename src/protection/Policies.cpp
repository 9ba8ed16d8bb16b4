// The 32 Windows policy restrictions, written below the user hive.
#include "Policies.h"
#include "RegValues.h"
#include "UProfiles.h"
#include "UserHive.h"

#include <cstdlib>

const char* const PolicyKeys[9] = {
    "",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\ActiveDesktop",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
    "Software\\Policies\\Microsoft\\Windows\\System",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\WinOldApp",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Uninstall",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\DisallowCpl",
};

const char* const PolicyTable[PolicyCount] = {
    "0,1,DisableRegistryTools",
    "0,4,NoControlPanel",
    "0,1,NoDispCPL",
    "0,1,NoSecCPL",
    "0,3,NoNetSetup",
    "0,3,NoFileSharingControl",
    "0,3,NoPrintSharingControl",
    "0,4,NoSaveSettings",
    "0,4,NoSetFolders",
    "0,4,NoSetTaskbar",
    "0,1,NoDevMgrPage",
    "0,1,NoConfigPage",
    "0,1,NoFileSysPage",
    "0,1,NoVirtMemPage",
    "0,4,NoNetHood",
    "1,5,DisableCMD",
    "0,4,ClearRecentDocsOnExit",
    "0,1,DisableTaskMgr",
    "0,1,DisableLockWorkstation",
    "0,1,DisableChangePassword",
    "0,4,NoDesktop",
    "0,6,NoRealMode",
    "0,4,NoRun",
    "0,4,NoClose",
    "0,4,NoFind",
    "0,4,NoRecentDocsMenu",
    "0,4,NoLogoff",
    "0,4,NoFolderOptions",
    "0,4,NoWindowsUpdate",
    "0,7,NoRemovePage",
    "0,7,NoAddPage",
    "0,7,NoWindowsSetupPage",
};

const char* const PolicyCaptions[PolicyCount] = {
    "Disable Registry editing tools",
    "Prevent access to Control Panel (Win 2000/XP)",
    "Disable properties of display (Display applet of Control Panel)",
    "Disable Security applet of Control Panel",
    "Disable properties of Network neighborhood (Network applet of Control Panel)",
    "Disable file sharing control",
    "Disable printer sharing control",
    "No save Control Panel settings",
    "Disable Settings folder of Start menu",
    "Disable settings of taskbar",
    "Disable Devices manager page (System applet of Control Panel)",
    "Disable Configurations page (System applet of Control Panel)",
    "Disable File system page (System applet of Control Panel)",
    "Disable Virtual memory page (System applet of Control Panel)",
    "Disable Network neighborhood",
    "No DOS box/Command prompt",
    "Clear recent documents on user log off",
    "Allow Task manager for user (Win 2000/XP)",
    "Disable Locking of computer (Win 2000/XP)",
    "Disable user password change (Win 2000/XP)",
    "Disable Desktop",
    "Disable DOS real mode (Win 95/98)",
    "Disable Run command of Start menu",
    "Disable Shutdown command of Start menu",
    "Disable Find command of Start menu",
    "Disable Documents folder of Start menu",
    "Disable Log off command of Start menu",
    "Disable folder options",
    "Disable Windows update",
    "Disable Remove programs page of Add/Remove programs applet of Control Panel (Win 2000/XP)",
    "Disable Add programs page of Add/Remove programs applet of Control Panel (Win 2000/XP)",
    "Disable Windows setup page of Add/Remove programs applet of Control Panel (Win 2000/XP)",
};

namespace {

struct PolicyRow {
    bool companion;       // kind "1": value 2 when on, with "Disable" under key 6
    int key;
    std::string valueName;
};

PolicyRow SplitRow(int row) {
    std::string text = PolicyTable[row];
    size_t first = text.find(',');
    size_t second = text.find(',', first + 1);
    PolicyRow parts;
    parts.companion = text.substr(0, first) == "1";
    parts.key = std::atoi(text.substr(first + 1, second - first - 1).c_str());
    parts.valueName = text.substr(second + 1);
    return parts;
}

// A non-empty run of decimal digits that fits in an int.
bool ParseDecimal(const std::string& text, int& value) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    value = std::atoi(text.c_str());
    return true;
}

PolicyLine ReadPolicyLine(const std::string& line)
{
    PolicyLine read;
    size_t equals = line.find('=');
    std::string state = equals == std::string::npos ? std::string() : line.substr(equals + 1);
    int row = 0;
    if (!ParseDecimal(line.substr(0, equals), row) || state.size() != 1 || state[0] < '0' || state[0] > '2') {
        read.fault = PolicyLineFault::Malformed;
    } else if (row >= PolicyCount) {
        read.fault = PolicyLineFault::OutOfRange;
    } else {
        read.row = row;
        read.state = state[0] - '0';
    }
    return read;
}

}  // namespace

std::vector<PolicyLine> ReadPolicyLines(const TextList& lines)
{
    std::vector<PolicyLine> read;
    size_t setBy[PolicyCount];
    bool set[PolicyCount] = {};
    for (size_t i = 0; i < lines.size(); ++i) {
        PolicyLine line = ReadPolicyLine(lines[i]);
        if (line.fault == PolicyLineFault::None && set[line.row]) {
            line.fault = PolicyLineFault::Repeated;
            line.earlier = setBy[line.row];
            line.row = -1;
        } else if (line.fault == PolicyLineFault::None) {
            set[line.row] = true;
            setBy[line.row] = i;
        }
        read.push_back(line);
    }
    return read;
}

void SetPolicy(int row, int state) {
    if (row < 0 || row >= PolicyCount) return;
    PolicyRow parts = SplitRow(row);
    DWORD value = state;
    if (parts.companion && state == 1) value = 2;
    WriteRegDword(UserHiveKey, PolicyKeys[parts.key], parts.valueName, value);
    if (parts.companion)
        WriteRegDword(UserHiveKey, PolicyKeys[6], "Disable", value == 0 ? 0 : value - 1);
}

void ApplyPolicies() {
    for (const PolicyLine& line : ReadPolicyLines(Profile.Policies))
        if (line.row >= 0 && line.state != 2) SetPolicy(line.row, line.state);
}

void RemovePolicies() {
    for (const PolicyLine& line : ReadPolicyLines(Profile.Policies))
        if (line.row >= 0 && line.state != 2) SetPolicy(line.row, 0);
}

void PoliciesFromCheckList(const PolicyCheckList& list) {
    Profile.Policies.clear();
    for (int i = 0; i < list.ItemCount(); ++i)
        Profile.Policies.push_back(std::to_string(i) + "=" + std::to_string(list.ItemState(i)));
}

bool PoliciesToCheckList(PolicyCheckList& list, std::string& error) {
    std::vector<PolicyLine> read = ReadPolicyLines(Profile.Policies);
    for (size_t i = 0; i < read.size(); ++i) {
        if (read[i].fault == PolicyLineFault::Repeated) continue;
        if (read[i].row < 0 || read[i].row >= list.ItemCount()) {
            error = "Invalid restriction line in the profile: \"" + Profile.Policies[i] + "\"";
            return false;
        }
        list.SetItemState(read[i].row, read[i].state);
    }
    error.clear();
    return true;
}

void GrayAllPolicies(PolicyCheckList& list) {
    for (int i = 0; i < list.ItemCount(); ++i) list.SetItemState(i, 2);
}
