// The user hive root: opening a logged-on user's hive under HKEY_USERS from
// an identifier that any process can send to the agent.
#include "Policies.h"
#include "RuntimeEnv.h"

#include <gtest/gtest.h>

namespace {

const char* const SystemKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

long long DwordUnder(HKEY root, const std::string& key, const std::string& name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return -1;
    DWORD value = 0, size = sizeof value;
    LONG status = RegQueryValueExA(opened, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(opened);
    return status == ERROR_SUCCESS ? value : -1;
}

bool CreateUsersKey(const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_USERS, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

class UserHive : public ::testing::Test {
protected:
    // A stand-in for a loaded user hive: Wine lets a test create the key
    // directly below HKEY_USERS, which is all the agent ever opens.
    void SetUp() override {
        InitRuntimeEnvironment();
        CloseUserHive();
        ASSERT_TRUE(CreateUsersKey(UserSid));
        RegDeleteKeyA(HKEY_CURRENT_USER, SystemKey);
    }
    void TearDown() override { CloseUserHive(); }
    const std::string UserSid = "S-1-5-21-1004336348-1177238915-682003330-1001";
};

}  // namespace

TEST_F(UserHive, ValuesGoBelowTheOpenedHiveNotTheCurrentUser) {
    ASSERT_TRUE(OpenUserHive("21-1004336348-1177238915-682003330-1001"));
    EXPECT_NE(UserHiveKey, HKEY_CURRENT_USER);
    SetPolicy(0, 1);
    EXPECT_EQ(DwordUnder(HKEY_USERS, UserSid + "\\" + SystemKey, "DisableRegistryTools"), 1);
    EXPECT_EQ(DwordUnder(HKEY_CURRENT_USER, SystemKey, "DisableRegistryTools"), -1);
}

TEST_F(UserHive, HiveNotLoadedKeepsThePreviousRoot) {
    EXPECT_FALSE(OpenUserHive("21-999-999-999-1001"));
    EXPECT_EQ(UserHiveKey, HKEY_CURRENT_USER);
    ASSERT_TRUE(OpenUserHive("21-1004336348-1177238915-682003330-1001"));
    HKEY opened = UserHiveKey;
    EXPECT_FALSE(OpenUserHive("21-999-999-999-1001"));
    EXPECT_EQ(UserHiveKey, opened);
}

TEST_F(UserHive, MalformedIdentifiersAreRefused) {
    // Each of these names a key that exists, so only the check can refuse it.
    struct Case { const char* suffix; const char* keyCreated; };
    const Case cases[] = {
        {"21-1\\Software", "S-1-5-21-1\\Software"},
        {"21-1\\..\\..\\.DEFAULT", "S-1-5-21-1"},
        {"..", "S-1-5-.."},
        {"21-abc", "S-1-5-21-abc"},
        {"", "S-1-5-"},
        {"21--1001", "S-1-5-21--1001"},
        {"-21-1001", "S-1-5--21-1001"},
        {"21-1001-", "S-1-5-21-1001-"},
        {"21-1 ", "S-1-5-21-1 "},
        {"1-2-3-4-5-6-7-8-9-10-11-12-13-14-15-16", "S-1-5-1-2-3-4-5-6-7-8-9-10-11-12-13-14-15-16"},
        {"21-12345678901", "S-1-5-21-12345678901"},
    };
    for (const Case& c : cases) {
        CreateUsersKey(c.keyCreated);
        EXPECT_FALSE(OpenUserHive(c.suffix)) << "\"" << c.suffix << "\"";
        EXPECT_EQ(UserHiveKey, HKEY_CURRENT_USER) << "\"" << c.suffix << "\"";
    }
}

TEST_F(UserHive, WellFormedIdentifiersWithinBoundsOpen) {
    const char* const suffixes[] = {"18", "1-2-3-4-5-6-7-8-9-10-11-12-13-14-15", "21-4294967295"};
    for (const char* suffix : suffixes) {
        ASSERT_TRUE(CreateUsersKey(std::string("S-1-5-") + suffix));
        EXPECT_TRUE(OpenUserHive(suffix)) << suffix;
        CloseUserHive();
    }
}

TEST_F(UserHive, ClosingReturnsToTheCurrentUserAndNeverClosesIt) {
    ASSERT_TRUE(OpenUserHive("21-1004336348-1177238915-682003330-1001"));
    CloseUserHive();
    EXPECT_EQ(UserHiveKey, HKEY_CURRENT_USER);
    CloseUserHive();
    CloseUserHive();
    EXPECT_EQ(UserHiveKey, HKEY_CURRENT_USER);
    SetPolicy(0, 1);
    EXPECT_EQ(DwordUnder(HKEY_CURRENT_USER, SystemKey, "DisableRegistryTools"), 1);
}
