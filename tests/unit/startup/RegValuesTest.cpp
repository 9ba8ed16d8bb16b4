// The single-value registry routines against the real registry.
#include <gtest/gtest.h>
#include "RegValues.h"
#include "VtTest.h"

namespace {

const std::string Key = "Software\\VtStartupTest";

// Type and bytes as another program reads them; REG_NONE when missing.
std::pair<DWORD, std::string> Raw(const std::string& key, const char* name)
{
    char data[4096];
    DWORD type = REG_NONE, size = sizeof data;
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size))
        return {REG_NONE, std::string()};
    return {type, std::string(data, size)};
}

// Deleting, and reading what is missing, are checked where the system relies
// on them: the settings, the shell folders and the services' uninstall.
TEST(RegValues, WrittenAsAnotherProgramReadsThem)
{
    const std::string deep = Key + "\\a\\b";
    ASSERT_TRUE(WriteRegDword(HKEY_CURRENT_USER, deep, "N", 0xFEDCBA98));
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, deep, "S", "C:\\x.vtp"));
    EXPECT_EQ(std::make_pair(DWORD(REG_DWORD), std::string("\x98\xBA\xDC\xFE", 4)), Raw(deep, "N"));
    EXPECT_EQ(std::make_pair(DWORD(REG_SZ), std::string("C:\\x.vtp", 9)), Raw(deep, "S"));  // with its 0 byte
    ASSERT_TRUE(WriteRegDword(HKEY_CURRENT_USER, deep, "S", 1));
    EXPECT_EQ(DWORD(REG_DWORD), Raw(deep, "S").first);
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
