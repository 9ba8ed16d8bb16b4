// Shared by the command library's tests: a clean password store per case and
// the library's booleans as the system reads them (low byte).
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>
#include "vrcmd.h"

inline bool Yes(DWORD result) { return (result & 0xFF) != 0; }

// Stores a password as the Settings dialog does: Command15/16, then 10/11.
inline bool SetAdministrator(const char* password) { return Yes(Command15(password)) && Yes(Command10()); }
inline bool SetToggle(const char* password) { return Yes(Command16(password)) && Yes(Command11()); }

struct StoredValue {
    std::string name;
    DWORD type = 0;
    std::string bytes;
};

// Every value under the library's key, as a peer reading the registry sees them.
inline std::vector<StoredValue> StoredValues()
{
    std::vector<StoredValue> values;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return values;
    char name[256];
    BYTE data[4096];
    for (DWORD i = 0, nameSize, dataSize, type;
         nameSize = sizeof name, dataSize = sizeof data,
         RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) == ERROR_SUCCESS;
         ++i)
        values.push_back({std::string(name, nameSize), type, std::string(reinterpret_cast<char*>(data), dataSize)});
    RegCloseKey(key);
    return values;
}

// Each case starts with no password stored and none waiting.
class VrcmdStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        Command12();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY);
        ASSERT_TRUE(Yes(Command9()));
    }
    void TearDown() override { Command12(); }
};
