// The single-value registry routines against the real registry.
#include <gtest/gtest.h>
#include "RegValues.h"
#include "VtTest.h"

namespace {

const std::string TestRoot = "Software\\VtStartupTest";

// A fresh subkey of HKEY_CURRENT_USER per test, removed afterwards.
class RegValues : public ::testing::Test {
protected:
    std::string key = TestRoot + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name();

    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, TestRoot.c_str()); }

    void SetRaw(const std::string& name, DWORD type, const std::string& bytes)
    {
        HKEY k = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &k, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(k, name.c_str(), 0, type,
                                                reinterpret_cast<const BYTE*>(bytes.data()),
                                                static_cast<DWORD>(bytes.size())));
        RegCloseKey(k);
    }

    // Type and bytes as stored, or type REG_NONE with no bytes when missing.
    std::pair<DWORD, std::string> GetRaw(const std::string& name)
    {
        char data[4096];
        DWORD type = REG_NONE, size = sizeof data;
        if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, data,
                         &size) != ERROR_SUCCESS)
            return {REG_NONE, std::string()};
        return {type, std::string(data, size)};
    }

    bool KeyExists(const std::string& path)
    {
        HKEY k = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
        RegCloseKey(k);
        return true;
    }
};

TEST_F(RegValues, WritesCreateMissingKeysAndReadBack)
{
    std::string deep = key + "\\a\\b";
    ASSERT_TRUE(WriteRegDword(HKEY_CURRENT_USER, deep, "Count", 0xFEDCBA98));
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, deep, "Path", "C:\\Some Folder\\x.vtp"));
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, deep, "Empty", ""));

    DWORD number = 0;
    std::string text = "before";
    EXPECT_TRUE(ReadRegDword(HKEY_CURRENT_USER, deep, "Count", number));
    EXPECT_EQ(0xFEDCBA98u, number);
    EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, deep, "Path", text));
    EXPECT_EQ("C:\\Some Folder\\x.vtp", text);
    EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, deep, "Empty", text));
    EXPECT_EQ("", text);

    key = deep;
    EXPECT_EQ(std::make_pair(DWORD(REG_DWORD), std::string("\x98\xBA\xDC\xFE", 4)), GetRaw("Count"));
    // The stored length counts the terminating 0 byte.
    EXPECT_EQ(std::make_pair(DWORD(REG_SZ), std::string("C:\\Some Folder\\x.vtp", 21)), GetRaw("Path"));
    EXPECT_EQ(std::make_pair(DWORD(REG_SZ), std::string(1, '\0')), GetRaw("Empty"));
}

TEST_F(RegValues, OverwriteReplacesTypeAndValue)
{
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, key, "V", "text"));
    ASSERT_TRUE(WriteRegDword(HKEY_CURRENT_USER, key, "V", 1));
    EXPECT_EQ(std::make_pair(DWORD(REG_DWORD), std::string("\1\0\0\0", 4)), GetRaw("V"));
}

TEST_F(RegValues, MissingKeyOrValueFailsAndKeepsTarget)
{
    ASSERT_TRUE(WriteRegDword(HKEY_CURRENT_USER, key, "Present", 5));
    DWORD number = 77;
    std::string text = "unchanged";
    EXPECT_FALSE(ReadRegDword(HKEY_CURRENT_USER, key, "Missing", number));
    EXPECT_FALSE(ReadRegDword(HKEY_CURRENT_USER, key + "\\NoSuchKey", "Present", number));
    EXPECT_FALSE(ReadRegString(HKEY_CURRENT_USER, key, "Missing", text));
    EXPECT_FALSE(ReadRegString(HKEY_CURRENT_USER, key + "\\NoSuchKey", "Present", text));
    EXPECT_EQ(77u, number);
    EXPECT_EQ("unchanged", text);
    // Reading never creates anything.
    EXPECT_FALSE(KeyExists(key + "\\NoSuchKey"));
}

struct TypedCase {
    const char* name;
    DWORD type;
    std::string bytes;
    bool dwordRead;
    DWORD dword;  // low bytes compared when the data is shorter than 4
    DWORD dwordMask;
    std::string text;
};

TEST_F(RegValues, ReadsWhateverTheType)
{
    const TypedCase cases[] = {
        {"dword as text stops at its 0 byte", REG_DWORD, std::string("AB\0\0", 4), true, 0x4241, ~0u, "AB"},
        {"dword without 0 byte as text", REG_DWORD, "ABCD", true, 0x44434241, ~0u, "ABCD"},
        {"short string as dword", REG_SZ, std::string("AB\0", 3), true, 0x4241, 0xFFFFFF, "AB"},
        {"long string as dword fails", REG_SZ, std::string("ABCDEFG\0", 8), false, 0, 0, "ABCDEFG"},
        {"binary without terminator", REG_BINARY, "xyz", true, 0x7A7978, 0xFFFFFF, "xyz"},
        {"binary with inner 0 byte", REG_BINARY, std::string("ab\0cd", 5), false, 0, 0, "ab"},
        {"four binary bytes", REG_BINARY, "\x01\x02\x03\x04", true, 0x04030201, ~0u, "\x01\x02\x03\x04"},
        {"empty binary", REG_BINARY, "", true, 0, 0, ""},
        {"expandable string kept unexpanded", REG_EXPAND_SZ, std::string("%TEMP%\\x\0", 9), false, 0, 0,
         "%TEMP%\\x"},
        {"multi string up to the first 0", REG_MULTI_SZ, std::string("one\0two\0\0", 9), false, 0, 0, "one"},
    };
    for (const TypedCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetRaw("V", c.type, c.bytes);
        DWORD number = 0x5A5A5A5A;
        EXPECT_EQ(c.dwordRead, ReadRegDword(HKEY_CURRENT_USER, key, "V", number));
        if (c.dwordRead)
            EXPECT_EQ(c.dword & c.dwordMask, number & c.dwordMask);
        else
            EXPECT_EQ(0x5A5A5A5Au, number);
        // A long text read just before leaves its bytes where a careless read
        // past the data's end would find them.
        std::string text(1000, 'q');
        ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, key, "Long", text));
        ASSERT_TRUE(ReadRegString(HKEY_CURRENT_USER, key, "Long", text));
        EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, key, "V", text));
        EXPECT_EQ(c.text, text);
    }
}

TEST_F(RegValues, TextOfMoreThan1023CharactersFails)
{
    struct LengthCase {
        size_t length;
        bool fits;
    };
    for (LengthCase c : {LengthCase{1, true}, {1022, true}, {1023, true}, {1024, false}, {5000, false}}) {
        SCOPED_TRACE(c.length);
        std::string stored(c.length, 'v');
        ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, key, "S", stored));
        std::string text = "unchanged";
        EXPECT_EQ(c.fits, ReadRegString(HKEY_CURRENT_USER, key, "S", text));
        EXPECT_EQ(c.fits ? stored : "unchanged", text);
    }
    SetRaw("B", REG_BINARY, std::string(1025, 'b'));
    std::string text = "unchanged";
    EXPECT_FALSE(ReadRegString(HKEY_CURRENT_USER, key, "B", text));
    EXPECT_EQ("unchanged", text);
}

TEST_F(RegValues, DeleteValue)
{
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, key, "Gone", "x"));
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, key, "Stays", "y"));
    EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, key, "Gone"));
    std::string text;
    EXPECT_FALSE(ReadRegString(HKEY_CURRENT_USER, key, "Gone", text));
    EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, key, "Stays", text));
    EXPECT_EQ("y", text);
    // Deleting what is not there fails; the key itself is made on the way.
    EXPECT_FALSE(DeleteRegValue(HKEY_CURRENT_USER, key, "Gone"));
    EXPECT_FALSE(DeleteRegValue(HKEY_CURRENT_USER, key + "\\New", "Never"));
    EXPECT_TRUE(KeyExists(key + "\\New"));
}

TEST_F(RegValues, OpenKeyAsRoot)
{
    HKEY open = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &open, nullptr));
    EXPECT_TRUE(WriteRegDword(open, "Sub", "N", 3));
    DWORD number = 0;
    EXPECT_TRUE(ReadRegDword(HKEY_CURRENT_USER, key + "\\Sub", "N", number));
    EXPECT_EQ(3u, number);
    RegCloseKey(open);
    // A closed handle is refused by every routine.
    std::string text = "unchanged";
    EXPECT_FALSE(WriteRegDword(open, "Sub", "N", 4));
    EXPECT_FALSE(WriteRegString(open, "Sub", "T", "t"));
    EXPECT_FALSE(ReadRegDword(open, "Sub", "N", number));
    EXPECT_FALSE(ReadRegString(open, "Sub", "N", text));
    EXPECT_FALSE(DeleteRegValue(open, "Sub", "N"));
    EXPECT_EQ(3u, number);
    EXPECT_EQ("unchanged", text);
}

}  // namespace
