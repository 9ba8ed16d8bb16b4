// Policy restrictions written into the real registry of the test prefix.
#include "Policies.h"
#include "RegValues.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"

#include <gtest/gtest.h>

namespace {

const char* const SystemKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const char* const NetworkKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network";
const char* const CmdKey = "Software\\Policies\\Microsoft\\Windows\\System";
const char* const WinOldAppKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\WinOldApp";
const char* const UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Uninstall";

// The value as a user of the hive sees it; -1 when it is absent.
long long ValueUnder(HKEY root, const std::string& key, const std::string& name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return -1;
    DWORD type = 0, value = 0, size = sizeof value;
    LONG status = RegQueryValueExA(opened, name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(opened);
    if (status != ERROR_SUCCESS || type != REG_DWORD) return -1;
    return value;
}

long long UserValue(const std::string& key, const std::string& name) {
    return ValueUnder(HKEY_CURRENT_USER, key, name);
}

// The registry key of a row and its value name, from the table itself.
void RowPlace(int row, std::string& key, std::string& name) {
    std::string text = PolicyTable[row];
    size_t first = text.find(',');
    size_t second = text.find(',', first + 1);
    key = PolicyKeys[std::stoi(text.substr(first + 1, second - first - 1))];
    name = text.substr(second + 1);
}

void ClearPolicyKeys() {
    for (int i = 1; i <= 8; ++i) RegDeleteKeyA(HKEY_CURRENT_USER, PolicyKeys[i]);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer");
}

int WrittenRows() {
    int written = 0;
    for (int row = 0; row < PolicyCount; ++row) {
        std::string key, name;
        RowPlace(row, key, name);
        if (UserValue(key, name) != -1) ++written;
    }
    return written + (UserValue(WinOldAppKey, "Disable") != -1 ? 1 : 0);
}

class PolicyRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        InitRuntimeEnvironment();
        CloseUserHive();
        ClearPolicyKeys();
        Profile = TProfile();
    }
    void TearDown() override { CloseUserHive(); }
};

}  // namespace

TEST_F(PolicyRegistry, EachRowOnWritesItsValue) {
    struct Case { int row; const char* key; const char* name; DWORD on; };
    const Case cases[] = {
        {0, SystemKey, "DisableRegistryTools", 1},
        {4, NetworkKey, "NoNetSetup", 1},
        {15, CmdKey, "DisableCMD", 2},
        {17, SystemKey, "DisableTaskMgr", 1},
        {21, WinOldAppKey, "NoRealMode", 1},
        {29, UninstallKey, "NoRemovePage", 1},
        {31, UninstallKey, "NoWindowsSetupPage", 1},
    };
    for (const Case& c : cases) {
        SetPolicy(c.row, 1);
        EXPECT_EQ(UserValue(c.key, c.name), c.on) << "row " << c.row;
        SetPolicy(c.row, 0);
        EXPECT_EQ(UserValue(c.key, c.name), 0) << "row " << c.row;
    }
}

TEST_F(PolicyRegistry, CommandPromptRowWritesItsCompanion) {
    SetPolicy(15, 1);
    EXPECT_EQ(UserValue(CmdKey, "DisableCMD"), 2);
    EXPECT_EQ(UserValue(WinOldAppKey, "Disable"), 1);
    SetPolicy(15, 0);
    EXPECT_EQ(UserValue(CmdKey, "DisableCMD"), 0);
    EXPECT_EQ(UserValue(WinOldAppKey, "Disable"), 0);
}

TEST_F(PolicyRegistry, RowsOutsideTheTableWriteNothing) {
    SetPolicy(-1, 1);
    SetPolicy(PolicyCount, 1);
    for (int i = 0; i < 40; ++i) Profile.Policies.push_back(std::to_string(i) + "=1");
    ApplyPolicies();
    EXPECT_EQ(WrittenRows(), PolicyCount + 1);
}

TEST_F(PolicyRegistry, ProfileWithoutPolicyLinesWritesNothing) {
    ApplyPolicies();
    RemovePolicies();
    EXPECT_EQ(WrittenRows(), 0);
}

TEST_F(PolicyRegistry, UnchangedRowIsLeftOnEnableAndSwitchedOffOnDisable) {
    Profile.Policies = {"0=1", "1=0", "2=2", "3=2", "4=2"};
    ApplyPolicies();
    EXPECT_EQ(UserValue(SystemKey, "DisableRegistryTools"), 1);
    EXPECT_EQ(UserValue("Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", "NoControlPanel"), 0);
    EXPECT_EQ(UserValue(NetworkKey, "NoNetSetup"), -1);
    RemovePolicies();
    EXPECT_EQ(UserValue(SystemKey, "DisableRegistryTools"), 0);
    EXPECT_EQ(UserValue(NetworkKey, "NoNetSetup"), 0);
    EXPECT_EQ(WrittenRows(), 5);
}

TEST_F(PolicyRegistry, OnlyExactStateTextsAreWritten) {
    Profile.Policies = {"0= 1", "1=01", "2=1 ", "3=", "4", "5=true", "6=-0", "7=1=1"};
    ApplyPolicies();
    EXPECT_EQ(WrittenRows(), 0);
}
