// Shared by the profile file tests: a fresh profile and profiles folder for
// each test, and the file-level helpers.
#pragma once
#include "UProfiles.h"
#include "VtTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateProfileLists();
        ProfilesDir = NewTempDir("profiles");
        ASSERT_FALSE(ProfilesDir.empty());
    }

    static std::string PathOf(const std::string& fileName) { return ProfilesDir + fileName; }

    // Writes bytes as a file of the profiles folder and loads it.
    static bool LoadBytes(const std::string& bytes, const std::string& fileName = "test.vtp")
    {
        EXPECT_TRUE(WriteWholeFile(PathOf(fileName), bytes));
        return LoadProfile(PathOf(fileName));
    }
};

// The names of the entries in a folder, "." and ".." left out.
inline std::vector<std::string> FolderEntries(const std::string& dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((dir + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = entry.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

// Lines scrambled as a writer would, with the key starting at its first byte:
// each byte XOR its key byte, unless that gives a line end.
inline std::string ScrambledLines(const std::vector<std::string>& lines)
{
    std::string out;
    size_t position = 0;
    for (const std::string& line : lines) {
        for (char c : line) {
            unsigned char x = ProfileKey[position++ % ProfileKeyLength] ^ static_cast<unsigned char>(c);
            out += (x == 13 || x == 10) ? c : static_cast<char>(x);
        }
        out += "\r\n";
    }
    return out;
}
