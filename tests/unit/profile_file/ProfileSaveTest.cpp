// Saving: the bytes of a saved file, every line back on loading, and a save
// that cannot complete.
#include "ProfileTestKit.h"
#include "RuntimeEnv.h"

namespace {

// The names in a folder, "." and ".." left out.
std::vector<std::string> FolderEntries(const std::string& dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((dir + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do
        if (entry.cFileName[0] != '.') names.push_back(entry.cFileName);
    while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

TEST_F(ProfileFileTest, SaveWritesTheBytesOfEarlierReleases)
{
    Profile = {GoldenFolders, GoldenFiles, GoldenPolicies, GoldenTasks, {"PWD=1", "junk"}};
    ASSERT_TRUE(SaveProfile("", 3000000000u));
    EXPECT_EQ((TextList{"PWD=3000000000"}), Profile.Options);
    EXPECT_EQ(GoldenFile(), ReadWholeFile(PathOf("default.vtp")));
    ASSERT_TRUE(SaveProfile("Bob Smith", 0));
    EXPECT_EQ((std::vector<std::string>{"Bob Smith.vtp", "default.vtp"}), FolderEntries(ProfilesDir));
}

// For every key byte k, runs of k^13 and k^10 as long as the key: wherever
// the line starts in the key, some bytes would scramble to a line end, which
// would split the line on loading.
std::string LineEndTraps()
{
    std::string line;
    for (unsigned char k : ProfileKey) {
        line.append(ProfileKeyLength, static_cast<char>(k ^ 13));
        line.append(ProfileKeyLength, static_cast<char>(k ^ 10));
    }
    return line;
}

TEST_F(ProfileFileTest, SaveThenLoadGivesEveryLineBack)
{
    std::string high;
    for (int b = 128; b < 256; ++b) high += static_cast<char>(b);
    Profile.Folders = {"-C:\\DATA", "", "!%WINDIR%\\FONTS", std::string("&C:\\ZE\0RO", 9), "-C:\\DATA"};
    Profile.Files = {"-.EXE", "  &NTLDR  ", "\x1a\x1a", high};
    Profile.Policies = {"0=1", "17=2", ""};
    Profile.Tasks = {"NOTEPAD.EXE      // Notepad", LineEndTraps(), " ", "\t"};
    TProfile expected = Profile;
    expected.Options = {"PWD=0", "[END1]"};
    ASSERT_TRUE(SaveProfile("", 0));
    CreateProfileLists();
    ASSERT_TRUE(LoadProfile(PathOf("default.vtp")));
    EXPECT_EQ(Listed(expected), Listed(Profile));
    EXPECT_FALSE(Profile.OwnPassword);
}

// The old file stays as it was and no temporary file is left behind; the
// user is told why, with the system's text.
TEST_F(ProfileFileTest, SaveThatCannotCompleteKeepsTheOldFile)
{
    const std::string path = PathOf("default.vtp"), existing = ProfilesDir;
    Profile.Folders = {"-C:\\OLD"};
    ASSERT_TRUE(SaveProfile("", 5));
    const std::string old = ReadWholeFile(path);
    Profile.Folders = {"&C:\\NEW"};
    BoxAnswerer answerer("ok");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(SaveProfile("", 9));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL));
    ProfilesDir += "missing\\";
    Profile.Options = {"PWD=5"};
    EXPECT_FALSE(SaveProfile("", 9));
    EXPECT_EQ((TextList{"PWD=5"}), Profile.Options);  // the file could not be made: nothing changed
    ProfilesDir = existing;
    EXPECT_EQ(old, ReadWholeFile(path));
    EXPECT_EQ((std::vector<std::string>{"default.vtp"}), FolderEntries(ProfilesDir));

    std::vector<SeenBox> boxes = answerer.WaitSeen(2);
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("Cannot save profile: " + SystemErrorText(ERROR_ACCESS_DENIED), boxes[0].text);
    EXPECT_EQ("Cannot save profile: " + SystemErrorText(ERROR_PATH_NOT_FOUND), boxes[1].text);
    EXPECT_EQ("Error", boxes[0].caption);
    EXPECT_EQ("error", boxes[0].icon);
    EXPECT_EQ("ok", boxes[0].buttons);
    // Once the file may be written again, saving replaces it.
    EXPECT_TRUE(SaveProfile("", 9));
    ASSERT_TRUE(LoadProfile(path));
    EXPECT_EQ((TextList{"&C:\\NEW"}), Profile.Folders);
}

}  // namespace
