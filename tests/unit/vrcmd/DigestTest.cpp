// The 32-bit digest of Command18 and the digests Command21 accepts.
#include "VrcmdTest.h"

namespace {

struct KnownDigest {
    const char* password;
    DWORD digest;
};

// Values of the documented function (FNV-1a, then the avalanche), worked out
// independently of the library.
const KnownDigest KnownDigests[] = {
    {"", 0x74141C20u},
    {"a", 0x6C4E37EBu},
    {"secret", 0x437A99A7u},
    {"Password1", 0x1BB51599u},
    {"\xE9t\xE9", 0xF736F3EEu},
};

TEST(VrcmdDigest, KnownValues) {
    for (const KnownDigest& known : KnownDigests) {
        SCOPED_TRACE(known.password);
        EXPECT_EQ(known.digest, Command18(known.password));
    }
}

TEST(VrcmdDigest, SamePasswordAlwaysGivesSameDigest) {
    std::string password = "stable";
    DWORD first = Command18(password.c_str());
    for (int i = 0; i < 3; ++i) EXPECT_EQ(first, Command18(std::string(password).c_str()));
    EXPECT_NE(first, Command18("Stable"));
    EXPECT_NE(first, Command18("stable "));
}

TEST(VrcmdDigest, NullCountsAsEmptyAndLongTextsAreDigested) {
    EXPECT_EQ(Command18(""), Command18(nullptr));
    std::string huge(100000, 'h');
    DWORD digest = Command18(huge.c_str());
    EXPECT_EQ(digest, Command18(huge.c_str()));
    EXPECT_NE(digest, Command18((huge + "h").c_str()));
}

TEST_F(VrcmdStore, Command21AcceptsBothDigestsAndNothingElse) {
    ASSERT_TRUE(SetAdministrator("admin-pass"));
    EXPECT_TRUE(Yes(Command21(Command18("admin-pass"))));
    EXPECT_FALSE(Yes(Command21(Command18("toggle-pass"))));
    ASSERT_TRUE(SetToggle("toggle-pass"));
    EXPECT_TRUE(Yes(Command21(Command18("admin-pass"))));
    EXPECT_TRUE(Yes(Command21(Command18("toggle-pass"))));
    for (const char* other : {"", "admin-pass ", "Toggle-pass", "x"})
        EXPECT_FALSE(Yes(Command21(Command18(other)))) << other;
    for (DWORD digest : {DWORD(0), DWORD(0xFFFFFFFF), Command18("admin-pass") ^ 1})
        EXPECT_FALSE(Yes(Command21(digest))) << digest;
}

TEST_F(VrcmdStore, Command21RefusesTheDigestOfTheUnsetPassword) {
    ASSERT_TRUE(SetToggle("toggle-only"));
    EXPECT_FALSE(Yes(Command21(Command18(""))));
    EXPECT_FALSE(Yes(Command21(0)));
    EXPECT_TRUE(Yes(Command21(Command18("toggle-only"))));
}

}  // namespace
