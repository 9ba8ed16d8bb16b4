// Shared by the profile file tests: a fresh profile and profiles folder for
// each test, a file saved by an earlier release, and the lists as text.
#pragma once
#include "UProfiles.h"
#include "VtTest.h"

#include <gtest/gtest.h>

class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateProfileLists();
        ProfilesDir = NewTempDir("profiles");
    }

    static std::string PathOf(const std::string& fileName) { return ProfilesDir + fileName; }

    // Writes bytes as a file of the profiles folder and loads it.
    static bool LoadBytes(const std::string& bytes)
    {
        EXPECT_TRUE(WriteWholeFile(PathOf("test.vtp"), bytes));
        return LoadProfile(PathOf("test.vtp"));
    }
};

// A profile saved by an earlier release with the hash 3000000000, whose lines
// are listed below: the installed base's files must keep loading, and a save
// must give the same bytes. Its folder line "\x9E\xCE" falls on key bytes that
// would scramble it to CR and LF, so it is written as it is.
inline std::string GoldenFile()
{
    const std::string hex =
        "2A0D0ACA81988BA6FDD1BB9CC6B2AC8F0D0A8BA4F5B9F017E0EB0D0A9ECE0D0AF9A593CCBED6290D0A1194EA9CF70D0A90C2"
        "FDB6D8D4D7A8C9910D0AC8DBC00D0ABA26EDD707D4FB0D0AD4C881F6DAB087D9DC83D8AE84ADBB83A2DEDEB197B4BE8ACDF1"
        "86B7AFB29BBBD288BD0D0ABEFB06E0E3DC8AF1BE0D0A8AD7BFB847078A9FF482FBA282CA0D0ACAD2D0A9AB910D0A";
    std::string bytes;
    for (size_t i = 0; i < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}
const TextList GoldenFolders = {"-C:\\DATA", "\x9E\xCE"}, GoldenFiles = {"&.EXE"}, GoldenPolicies = {"0=1"},
               GoldenTasks = {"REGEDIT.EXE      // Registry Editor"};

// The five lists in file order, each line followed by "|".
inline std::vector<std::string> Listed(const TProfile& p)
{
    std::vector<std::string> lists;
    for (const TextList* list : {&p.Folders, &p.Files, &p.Policies, &p.Tasks, &p.Options}) {
        lists.emplace_back();
        for (const std::string& line : *list) lists.back() += line + "|";
    }
    return lists;
}
