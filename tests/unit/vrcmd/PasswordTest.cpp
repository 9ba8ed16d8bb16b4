// Setting, checking and replacing the two passwords and their digests,
// through the real DLL and the real registry.
#include "VrcmdTest.h"
#include "VtTest.h"
#include <sddl.h>

namespace {

// Values of the documented digest, worked out independently of the library:
// the digest travels in broadcasts and profile files.
TEST(VrcmdDigest, KnownValues)
{
    const std::pair<const char*, DWORD> known[] = {
        {"", 0x74141C20u}, {"a", 0x6C4E37EBu}, {"Password1", 0x1BB51599u}, {"\xE9t\xE9", 0xF736F3EEu}};
    for (const auto& k : known) EXPECT_EQ(k.second, Command18(k.first)) << k.first;
    EXPECT_EQ(Command18(""), Command18(nullptr));
}

// Only SYSTEM and Administrators may open the key: a user who read a digest
// there could switch protection off with it. Command9 made it in SetUp.
TEST_F(VrcmdStore, KeyForAdministratorsOnlyAndRepairedWhenWeakened)
{
    ExpectOnlyAdministrators(KeyDacl(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY), KEY_ALL_ACCESS, true);
    ASSERT_TRUE(SetToggle("kept"));
    for (const char* sddl : {"D:P(A;CI;KA;;;SY)(A;CI;KA;;;BA)(A;CI;KR;;;WD)",  // everyone may read
                             "D:(A;CI;KA;;;SY)(A;CI;KA;;;BA)",                 // inherits from above
                             "D:P(A;CI;KA;;;SY)(A;CI;KA;;;AU)"}) {             // users instead of administrators
        SCOPED_TRACE(sddl);
        PSECURITY_DESCRIPTOR weak = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &weak, nullptr));
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY, 0, WRITE_DAC, &key));
        EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, weak));
        RegCloseKey(key);
        LocalFree(weak);
        EXPECT_TRUE(Yes(Command9()));
        ExpectOnlyAdministrators(KeyDacl(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY), KEY_ALL_ACCESS, true);
        EXPECT_TRUE(Yes(Command19("kept")));
    }
}

using Check = DWORD(WINAPI*)(const char*);
struct Kind {
    const char* name;
    bool (*set)(const char*);
    Check check, other;
    DWORD(WINAPI* isSet)();
    DWORD(WINAPI* otherIsSet)();
};

TEST_F(VrcmdStore, EachPasswordMatchesItselfOnly)
{
    const Kind kinds[] = {{"administrator", SetAdministrator, Command14, Command19, Command13, Command17},
                          {"toggle", SetToggle, Command19, Command14, Command17, Command13}};
    const std::string longText = std::string(300, 'n') + "\xE9";
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        SetUp();
        EXPECT_FALSE(Yes(kind.isSet()));
        EXPECT_FALSE(Yes(kind.check("secret")));
        ASSERT_TRUE(kind.set("Open Sesame"));
        EXPECT_TRUE(Yes(kind.isSet()));
        EXPECT_FALSE(Yes(kind.otherIsSet()));
        EXPECT_TRUE(Yes(kind.check("Open Sesame")));
        EXPECT_TRUE(Yes(Command21(Command18("Open Sesame"))));
        EXPECT_FALSE(Yes(kind.other("Open Sesame")));
        for (const char* wrong : {static_cast<const char*>(nullptr), "", "open sesame", "Open Sesame ", "Open Sesam"}) {
            EXPECT_FALSE(Yes(kind.check(wrong))) << (wrong ? wrong : "(null)");
            EXPECT_FALSE(Yes(Command21(Command18(wrong)))) << (wrong ? wrong : "(null)");
        }
        EXPECT_FALSE(Yes(Command21(0)));
        // A new text of any length replaces the old one, and is taken whole.
        ASSERT_TRUE(kind.set(longText.c_str()));
        EXPECT_TRUE(Yes(kind.check(longText.c_str())));
        EXPECT_FALSE(Yes(kind.check("Open Sesame")));
        EXPECT_FALSE(Yes(kind.check(longText.substr(0, 300).c_str())));
        EXPECT_FALSE(Yes(kind.check((longText.substr(0, 300) + "\xC9").c_str())));
        EXPECT_TRUE(Yes(Command21(Command18(longText.c_str()))));
        EXPECT_FALSE(Yes(Command21(Command18("Open Sesame"))));
    }
    // With both set, either digest is accepted.
    ASSERT_TRUE(SetAdministrator("admin"));
    EXPECT_TRUE(Yes(Command21(Command18("admin"))));
    EXPECT_TRUE(Yes(Command21(Command18(longText.c_str()))));
}

TEST_F(VrcmdStore, NewPasswordWaitsUntilStoredOnce)
{
    EXPECT_FALSE(Yes(Command10()));
    ASSERT_TRUE(Yes(Command15("once")));
    EXPECT_FALSE(Yes(Command13()));
    EXPECT_TRUE(Yes(Command10()));
    EXPECT_FALSE(Yes(Command10()));
    EXPECT_TRUE(Yes(Command14("once")));
    // Forgotten by Command12 and by a refused text; stored passwords stay.
    EXPECT_TRUE(Yes(Command15("dropped")));
    EXPECT_TRUE(Yes(Command16("dropped")));
    Command12();
    EXPECT_FALSE(Yes(Command10()));
    EXPECT_FALSE(Yes(Command11()));
    for (const char* refused : {static_cast<const char*>(nullptr), ""}) {
        EXPECT_TRUE(Yes(Command15("waiting")));
        EXPECT_TRUE(Yes(Command16("waiting")));
        EXPECT_FALSE(Yes(Command15(refused)));
        EXPECT_FALSE(Yes(Command16(refused)));
        EXPECT_FALSE(Yes(Command10()));
        EXPECT_FALSE(Yes(Command11()));
    }
    EXPECT_TRUE(Yes(Command14("once")));
    EXPECT_FALSE(Yes(Command14("dropped")));
    EXPECT_FALSE(Yes(Command17()));
}

TEST_F(VrcmdStore, RecordsHoldNeitherTheTextNorARepeatedSalt)
{
    const std::string secret = "AdminSecret42";
    ASSERT_TRUE(SetAdministrator(secret.c_str()));
    const std::vector<StoredValue> first = StoredValues();
    ASSERT_TRUE(SetAdministrator(secret.c_str()));
    const std::vector<StoredValue> second = StoredValues();
    ASSERT_EQ(1u, first.size());
    ASSERT_EQ(1u, second.size());
    EXPECT_EQ("Administrator", first[0].name);
    EXPECT_EQ(DWORD(REG_BINARY), first[0].type);
    EXPECT_NE(first[0].bytes, second[0].bytes);
    std::string wide;
    for (char c : secret) wide += std::string{c, '\0'};
    EXPECT_EQ(std::string::npos, first[0].bytes.find(secret));
    EXPECT_EQ(std::string::npos, first[0].bytes.find(wide));
}

// A damaged record must not open the door: it counts as set, and neither the
// text nor the digest kept in it matches.
TEST_F(VrcmdStore, DamagedRecordMatchesNothing)
{
    ASSERT_TRUE(SetAdministrator("pw"));
    const std::string good = StoredValues().at(0).bytes;
    ASSERT_EQ(60u, good.size());
    auto with = [&](size_t at, const std::string& bytes) { return std::string(good).replace(at, bytes.size(), bytes); };
    const std::pair<DWORD, std::string> damaged[] = {
        {REG_SZ, good},
        {REG_BINARY, with(0, "X")},  // another mark
        {REG_BINARY, good + "x"},
        {REG_BINARY, good.substr(0, 59)},
        {REG_BINARY, with(4, std::string(4, '\0'))},  // no iterations
        {REG_BINARY, with(4, std::string("\x81\x96\x98\0", 4))},  // 10000001 of them
        {REG_BINARY, ""},
    };
    for (const auto& d : damaged) {
        SCOPED_TRACE(testing::Message() << d.first << ": " << d.second.size() << " bytes");
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY, "Administrator", d.first,
                                                 d.second.data(), DWORD(d.second.size())));
        EXPECT_TRUE(Yes(Command13()));
        EXPECT_FALSE(Yes(Command14("pw")));
        EXPECT_FALSE(Yes(Command21(Command18("pw"))));
    }
    ASSERT_TRUE(SetAdministrator("mended"));
    EXPECT_TRUE(Yes(Command14("mended")));
}

}  // namespace
