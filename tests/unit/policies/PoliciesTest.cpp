// Policy restrictions written into the real registry, for the current user or a user's hive named by his
// identifier; the profile's lines read into a three-state check list (the manager's window: tests/unit/manager).
#include "Policies.h"
#include "UserHive.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include <gtest/gtest.h>
#include <set>
namespace {
const char* const PoliciesKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies";
void Walk(HKEY root, const std::string& path, const std::string& shown, std::set<std::string>& found) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key)) return;
    char name[256];
    DWORD nameSize, value, size;
    for (DWORD i = 0; nameSize = sizeof name, size = sizeof value,
                      !RegEnumValueA(key, i, name, &nameSize, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
         ++i)
        found.insert(shown + name + "=" + std::to_string(value));
    for (DWORD i = 0; nameSize = sizeof name, !RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr); ++i)
        Walk(key, name, shown + name + "\\", found);
    RegCloseKey(key);
}
// Every value below the two policy roots of a hive as sorted "key\name=value " entries; keys below
// "Software\Policies" start with "Policies\".
std::string Written(HKEY root = HKEY_CURRENT_USER) {
    std::set<std::string> found;
    Walk(root, PoliciesKey, "", found), Walk(root, "Software\\Policies", "Policies\\", found);
    std::string text;
    for (const std::string& entry : found) text += entry + " ";
    return text;
}
void Clear() { RegDeleteTreeA(HKEY_CURRENT_USER, PoliciesKey), RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Policies"); }
struct PolicyRegistry : ::testing::Test {
    void SetUp() override { CloseUserHive(), Clear(), Profile = TProfile(); }
    void TearDown() override { CloseUserHive(); }
};
TEST_F(PolicyRegistry, EachRowWritesItsValue) {
    const char* const rows[PolicyCount] = {
        "System\\DisableRegistryTools=1", "Explorer\\NoControlPanel=1", "System\\NoDispCPL=1", "System\\NoSecCPL=1",
        "Network\\NoNetSetup=1", "Network\\NoFileSharingControl=1", "Network\\NoPrintSharingControl=1",
        "Explorer\\NoSaveSettings=1", "Explorer\\NoSetFolders=1", "Explorer\\NoSetTaskbar=1", "System\\NoDevMgrPage=1",
        "System\\NoConfigPage=1", "System\\NoFileSysPage=1", "System\\NoVirtMemPage=1", "Explorer\\NoNetHood=1",
        "Policies\\Microsoft\\Windows\\System\\DisableCMD=2 WinOldApp\\Disable=1", "Explorer\\ClearRecentDocsOnExit=1",
        "System\\DisableTaskMgr=1", "System\\DisableLockWorkstation=1", "System\\DisableChangePassword=1",
        "Explorer\\NoDesktop=1", "WinOldApp\\NoRealMode=1", "Explorer\\NoRun=1", "Explorer\\NoClose=1",
        "Explorer\\NoFind=1", "Explorer\\NoRecentDocsMenu=1", "Explorer\\NoLogoff=1", "Explorer\\NoFolderOptions=1",
        "Explorer\\NoWindowsUpdate=1", "Uninstall\\NoRemovePage=1", "Uninstall\\NoAddPage=1",
        "Uninstall\\NoWindowsSetupPage=1",
    };
    for (int row = -1; row <= PolicyCount; ++row) {  // rows out of range write nothing
        Clear();
        SetPolicy(row, 1);
        EXPECT_EQ(row < 0 || row == PolicyCount ? "" : rows[row] + std::string(" "), Written()) << row;
    }
}
// Lines apply by the row number before "=", never by their place; a line whose number is missing, repeated or
// out of range, or whose state is not exactly "0", "1" or "2", counts for nothing. Disable switches off only the
// rows the profile set: a value that an administrator put under a row the profile leaves unchanged stays.
TEST_F(PolicyRegistry, ProfileLinesOnEnableAndDisable) {
    SetPolicy(2, 1);
    Profile.Policies = {"22=1", "1=0", "2=2", "3= 1", "4=01", "5=1 ", "6=", "7", "8=-0", "9=1=1", "=1", "32=1",
                        "22=0", "15=1", "10=3", " 11=1"};
    ApplyPolicies();
    EXPECT_EQ("Explorer\\NoControlPanel=0 Explorer\\NoRun=1 Policies\\Microsoft\\Windows\\System\\DisableCMD=2 "
              "System\\NoDispCPL=1 WinOldApp\\Disable=1 ", Written());
    RemovePolicies();
    EXPECT_EQ("Explorer\\NoControlPanel=0 Explorer\\NoRun=0 Policies\\Microsoft\\Windows\\System\\DisableCMD=0 "
              "System\\NoDispCPL=1 WinOldApp\\Disable=0 ", Written());
}
TEST_F(PolicyRegistry, UserHiveFromAnIdentifier) {
    // Each names a key that exists, so only the check can refuse it; the refused ones come first, with no hive open.
    const std::pair<std::string, bool> cases[] = {
        {"21-1\\..\\..\\.DEFAULT", false}, {"", false}, {"21--1001", false}, {"-21-1001", false}, {"21-1001-", false},
        {"21-1 ", false}, {"21-12345678901", false}, {"1-2-3-4-5-6-7-8-9-10-11-12-13-14-15-16", false},
        {"1-2-3-4-5-6-7-8-9-10-11-12-13-14-15", true}, {"18", true}, {"21-4294967295", true},
        {"21-1004336348-1177238915-682003330-1001", true},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(0, RegSetKeyValueA(HKEY_USERS, ("S-1-5-" + c.first).c_str(), "V", REG_SZ, "", 1));
        EXPECT_EQ(c.second, OpenUserHive(c.first)) << c.first;
        EXPECT_EQ(c.second, UserHiveKey != HKEY_CURRENT_USER) << c.first;
    }
    // The last one stays open: a hive that is not loaded keeps it.
    HKEY opened = UserHiveKey;
    EXPECT_FALSE(OpenUserHive("21-999-999-999-1001"));
    SetPolicy(0, 1);
    EXPECT_EQ("System\\DisableRegistryTools=1 |", Written(opened) + "|" + Written());
    // Closing returns to the current user and never closes his key.
    CloseUserHive(), CloseUserHive();
    SetPolicy(0, 1);
    EXPECT_EQ("System\\DisableRegistryTools=1 ", Written());
}
struct FakeCheckList : PolicyCheckList {
    int ItemCount() const override { return PolicyCount; }
    int ItemState(int index) const override { return states.at(index); }
    void SetItemState(int index, int state) override { states.at(index) = state; }
    std::vector<int> states = std::vector<int>(PolicyCount);
};
TEST(CheckList, MalformedLineStopsWithAnErrorNamingIt) {
    for (const char* bad :
         {"x=1", "3=a", "3", "=1", "3=", "-1=1", "32=1", "3=3", "3=1 ", " 3=1", "3=01", "99999999999=1"}) {
        Profile.Policies = {"0=2", "0=1", bad, "1=1"};
        FakeCheckList list;
        std::string error;
        EXPECT_FALSE(PoliciesToCheckList(list, error));  // the lines before it are set, the repeated row skipped
        EXPECT_EQ("Invalid restriction line in the profile: \"" + std::string(bad) + "\" 2 0",
                  error + " " + char('0' + list.states[0]) + " " + char('0' + list.states[1]));
    }
}
}  // namespace
