// Setting, checking and replacing the two passwords, through the real DLL
// and the real registry.
#include "VrcmdTest.h"
#include "VtTest.h"
#include <sddl.h>

namespace {

using Check = DWORD(WINAPI*)(const char*);

template <class Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

TEST_F(VrcmdStore, NothingIsSetAtFirstAndNothingMatches) {
    EXPECT_FALSE(Yes(Command13()));
    EXPECT_FALSE(Yes(Command17()));
    const std::string longText(300, 'x');
    for (const char* text : {"", "a", "secret", " ", longText.c_str()}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(Yes(Command14(text)));
        EXPECT_FALSE(Yes(Command19(text)));
        EXPECT_FALSE(Yes(Command21(Command18(text))));
    }
    for (DWORD digest : {0u, 1u, 0xFFFFFFFFu}) EXPECT_FALSE(Yes(Command21(digest))) << digest;
}

// Only SYSTEM and Administrators may open the key: a user who read a digest
// there could switch protection off with it.
TEST_F(VrcmdStore, StartupCallMakesTheKeyForAdministratorsOnly) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY);
    EXPECT_TRUE(Yes(Command9()));
    ExpectOnlyAdministrators(KeyDacl(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY), KEY_ALL_ACCESS, true);
    EXPECT_TRUE(Yes(Command9()));
    EXPECT_FALSE(Yes(Command13()));
}

TEST_F(VrcmdStore, StartupCallRepairsAWeakenedKey) {
    const char* const weakenings[] = {
        "D:P(A;CI;KA;;;SY)(A;CI;KA;;;BA)(A;CI;KR;;;WD)",  // everyone may read
        "D:(A;CI;KA;;;SY)(A;CI;KA;;;BA)",                 // inherits from above
        "D:P(A;CIIO;GR;;;BU)(A;CI;KA;;;SY)(A;CI;KA;;;BA)",  // users may read below
        "D:P(A;CI;KA;;;SY)(A;CI;KA;;;AU)(A;CI;KA;;;IU)",  // administrators left out
    };
    ASSERT_TRUE(SetToggle("kept"));
    for (const char* sddl : weakenings) {
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

struct Kind {
    const char* name;
    bool (*set)(const char*);
    Check check;
    Check other;
    DWORD(WINAPI* isSet)();
    DWORD(WINAPI* otherIsSet)();
};

const Kind Kinds[] = {
    {"administrator", SetAdministrator, Command14, Command19, Command13, Command17},
    {"toggle", SetToggle, Command19, Command14, Command17, Command13},
};

TEST_F(VrcmdStore, SetPasswordIsRecognisedAndNothingElse) {
    for (const Kind& kind : Kinds) {
        SCOPED_TRACE(kind.name);
        SetUp();
        ASSERT_TRUE(kind.set("Open Sesame"));
        EXPECT_TRUE(Yes(kind.isSet()));
        EXPECT_FALSE(Yes(kind.otherIsSet()));
        EXPECT_TRUE(Yes(kind.check("Open Sesame")));
        for (const char* wrong : {"", "open sesame", "Open Sesame ", "Open Sesam", "Open\tSesame"}) {
            SCOPED_TRACE(wrong);
            EXPECT_FALSE(Yes(kind.check(wrong)));
        }
        EXPECT_FALSE(Yes(kind.other("Open Sesame")));
    }
}

// Whatever its length, the new text is taken whole and the old one is gone:
// the same text with its last character changed or dropped does not match.
TEST_F(VrcmdStore, ChangingAPasswordReplacesTheOldOne) {
    for (const Kind& kind : Kinds) {
        for (size_t length : {6, 255, 256, 257, 5000}) {
            SCOPED_TRACE(std::string(kind.name) + ", " + std::to_string(length) + " characters");
            SetUp();
            std::string text(length, 'n');
            ASSERT_TRUE(kind.set("first"));
            ASSERT_TRUE(kind.set(text.c_str()));
            EXPECT_TRUE(Yes(kind.check(text.c_str())));
            EXPECT_FALSE(Yes(kind.check("first")));
            EXPECT_FALSE(Yes(kind.check(text.substr(0, length - 1).c_str())));
            EXPECT_FALSE(Yes(kind.check((text.substr(0, length - 1) + "m").c_str())));
            EXPECT_TRUE(Yes(Command21(Command18(text.c_str()))));
            EXPECT_FALSE(Yes(Command21(Command18("first"))));
        }
    }
}

TEST_F(VrcmdStore, EightBitPasswordsWork) {
    const char password[] = "\xE9t\xE9 \xFF\x80";
    ASSERT_TRUE(SetAdministrator(password));
    EXPECT_TRUE(Yes(Command14(password)));
    EXPECT_FALSE(Yes(Command14("\xC9T\xC9 \xFF\x80")));
}

TEST_F(VrcmdStore, NoPasswordTextInTheRegistry) {
    const char admin[] = "AdminSecret42";
    const char toggle[] = "ToggleSecret77";
    ASSERT_TRUE(SetAdministrator(admin));
    ASSERT_TRUE(SetToggle(toggle));
    std::vector<StoredValue> values = StoredValues();
    ASSERT_EQ(2u, values.size());
    for (const StoredValue& value : values) {
        SCOPED_TRACE(value.name);
        for (const std::string& secret : {std::string(admin), std::string(toggle)}) {
            EXPECT_EQ(std::string::npos, value.bytes.find(secret));
            EXPECT_EQ(std::string::npos, value.name.find(secret));
            // Not as UTF-16 either.
            std::string wide;
            for (char c : secret) wide += std::string{c, '\0'};
            EXPECT_EQ(std::string::npos, value.bytes.find(wide));
        }
    }
}

TEST_F(VrcmdStore, SamePasswordTwiceIsSaltedDifferently) {
    ASSERT_TRUE(SetAdministrator("same"));
    std::vector<StoredValue> first = StoredValues();
    ASSERT_TRUE(SetAdministrator("same"));
    std::vector<StoredValue> second = StoredValues();
    ASSERT_EQ(1u, first.size());
    ASSERT_EQ(1u, second.size());
    EXPECT_NE(first[0].bytes, second[0].bytes);
    EXPECT_TRUE(Yes(Command14("same")));
}

TEST_F(VrcmdStore, UnstoredNewPasswordIsForgotten) {
    ASSERT_TRUE(SetAdministrator("kept"));
    ASSERT_TRUE(SetToggle("kept-toggle"));
    EXPECT_TRUE(Yes(Command15("dropped")));
    EXPECT_TRUE(Yes(Command16("dropped-toggle")));
    Command12();
    EXPECT_FALSE(Yes(Command10()));
    EXPECT_FALSE(Yes(Command11()));
    EXPECT_TRUE(Yes(Command14("kept")));
    EXPECT_FALSE(Yes(Command14("dropped")));
    EXPECT_TRUE(Yes(Command19("kept-toggle")));
    EXPECT_FALSE(Yes(Command19("dropped-toggle")));
}

TEST_F(VrcmdStore, NewPasswordIsStoredOnlyOnce) {
    EXPECT_FALSE(Yes(Command10()));
    EXPECT_FALSE(Yes(Command13()));
    ASSERT_TRUE(Yes(Command15("once")));
    EXPECT_FALSE(Yes(Command13()));
    EXPECT_TRUE(Yes(Command10()));
    EXPECT_FALSE(Yes(Command10()));
    EXPECT_TRUE(Yes(Command14("once")));
}

TEST_F(VrcmdStore, UnusableNewPasswordsAreRefused) {
    ASSERT_TRUE(SetAdministrator("kept"));
    for (const char* text : {static_cast<const char*>(nullptr), ""}) {
        SCOPED_TRACE(text ? text : "(null)");
        EXPECT_TRUE(Yes(Command15("waiting")));
        EXPECT_FALSE(Yes(Command15(text)));
        // The refused text also replaced the one waiting.
        EXPECT_FALSE(Yes(Command10()));
        EXPECT_FALSE(Yes(Command16(text)));
        EXPECT_FALSE(Yes(Command11()));
        EXPECT_TRUE(Yes(Command14("kept")));
        EXPECT_FALSE(Yes(Command17()));
    }
}

// Null and empty texts never match, even with both passwords set.
TEST_F(VrcmdStore, TextsThatAreNeverPasswords) {
    ASSERT_TRUE(SetToggle("t"));
    ASSERT_TRUE(SetAdministrator("a"));
    for (const char* text : {static_cast<const char*>(nullptr), ""}) {
        SCOPED_TRACE(text ? "(empty)" : "(null)");
        EXPECT_FALSE(Yes(Command14(text)));
        EXPECT_FALSE(Yes(Command19(text)));
    }
}

// A damaged record must not open the door: it counts as set and matches nothing.
TEST_F(VrcmdStore, DamagedRecordMatchesNothing) {
    const std::string shortData = "junk";
    const std::string wrongMagic(60, 'J');
    for (DWORD type : {DWORD(REG_BINARY), DWORD(REG_SZ)}) {
        for (const std::string& bytes : {shortData, wrongMagic, std::string()}) {
            SCOPED_TRACE(bytes);
            SetUp();
            WriteStoredValue("Administrator", type, bytes);
            EXPECT_TRUE(Yes(Command13()));
            for (const char* text : {"", "junk", "a"}) EXPECT_FALSE(Yes(Command14(text))) << text;
            EXPECT_FALSE(Yes(Command21(0)));
            EXPECT_FALSE(Yes(Command21(Command18(""))));
            // Setting the password again mends it.
            ASSERT_TRUE(SetAdministrator("mended"));
            EXPECT_TRUE(Yes(Command14("mended")));
        }
    }
}

// A second copy of the library, loaded separately as another process would,
// sees what this one stored: the passwords live in the registry, not in memory.
TEST_F(VrcmdStore, AnotherInstanceSeesStoredPasswords) {
    std::string copy = NewTempDir("vrcmd") + "vrcmdcopy.dll";
    ASSERT_TRUE(CopyFileA((BinDir() + "vrcmd.dll").c_str(), copy.c_str(), FALSE));
    HMODULE other = LoadLibraryA(copy.c_str());
    ASSERT_NE(nullptr, other);
    auto otherCheck = Export<Check>(other, "Command14");
    auto otherSet = Export<Check>(other, "Command15");
    auto otherStore = Export<DWORD(WINAPI*)()>(other, "Command10");
    ASSERT_TRUE(otherCheck && otherSet && otherStore);

    ASSERT_TRUE(SetAdministrator("shared"));
    EXPECT_TRUE(Yes(otherCheck("shared")));
    // What waits in one instance is not stored by the other.
    EXPECT_TRUE(Yes(otherSet("elsewhere")));
    EXPECT_FALSE(Yes(Command10()));
    EXPECT_TRUE(Yes(otherStore()));
    EXPECT_TRUE(Yes(Command14("elsewhere")));
    FreeLibrary(other);
}

}  // namespace
