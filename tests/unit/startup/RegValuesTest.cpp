// The single-value registry routines against the real registry. A DWORD as
// written is checked where settings are saved (tests/unit/profile_settings),
// deleting where services are removed (tests/e2e/service_nt, service98).
#include <gtest/gtest.h>
#include "RegValues.h"

namespace {

const std::string Key = "Software\\VtStartupTest";

TEST(RegValues, StringIsWrittenWithItsZeroByte)
{
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, Key + "\\a\\b", "S", "C:\\x.vtp"));
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, (Key + "\\a\\b").c_str(), 0, KEY_READ, &key));
    char data[64];
    DWORD type = 0, size = sizeof data;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "S", nullptr, &type, reinterpret_cast<BYTE*>(data), &size));
    RegCloseKey(key);
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_EQ(std::string("C:\\x.vtp", 9), std::string(data, size));
}

struct TypedCase {
    DWORD type;
    std::string bytes;
    long long dword;   // -1: the number read fails
    const char* text;  // null: the text read fails
};

TEST(RegValues, ReadsWhateverTheType)
{
    const std::string longest(1023, 'v'), tooLong(1024, 'v');
    const TypedCase cases[] = {
        {REG_DWORD, std::string("AB\0\0", 4), 0x4241, "AB"},
        {REG_SZ, std::string("AB\0", 3), 0x4241, "AB"},  // shorter data fills the low bytes
        {REG_SZ, std::string("ABCDEFG\0", 8), -1, "ABCDEFG"},
        {REG_BINARY, "xyz", 0x7A7978, "xyz"},  // no 0 byte: the text ends with the data
        {REG_BINARY, std::string("ab\0cd", 5), -1, "ab"},
        {REG_BINARY, "", 0, ""},
        {REG_EXPAND_SZ, std::string("%TEMP%\\x\0", 9), -1, "%TEMP%\\x"},
        {REG_MULTI_SZ, std::string("one\0two\0\0", 9), -1, "one"},
        {REG_SZ, longest + '\0', -1, longest.c_str()},
        {REG_SZ, tooLong + '\0', -1, nullptr},
    };
    for (const TypedCase& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 20));
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_CURRENT_USER, Key.c_str(), "V", c.type, c.bytes.data(),
                                                 DWORD(c.bytes.size())));
        DWORD number = 0x5A5A5A5A;
        EXPECT_EQ(c.dword >= 0, ReadRegDword(HKEY_CURRENT_USER, Key, "V", number));
        EXPECT_EQ(c.dword >= 0 ? DWORD(c.dword) : 0x5A5A5A5Au, number);
        // A long text read just before leaves its bytes where a read past the
        // data's end would find them.
        std::string text(1000, 'q');
        ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, Key, "Long", text));
        ASSERT_TRUE(ReadRegString(HKEY_CURRENT_USER, Key, "Long", text));
        EXPECT_EQ(c.text != nullptr, ReadRegString(HKEY_CURRENT_USER, Key, "V", text));
        EXPECT_EQ(c.text ? c.text : std::string(1000, 'q'), text);
    }
}

}  // namespace
