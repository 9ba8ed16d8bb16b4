// Saving and loading back: every list line for line, and the exact bytes of
// a saved file.
#include "ProfileTestKit.h"

#include <algorithm>

namespace {

// Every byte from 128 to 255, once.
std::string HighBytes()
{
    std::string bytes;
    for (int b = 128; b < 256; ++b) bytes += static_cast<char>(b);
    return bytes;
}

// For every key byte k, a run of k^13 and a run of k^10 as long as the key, so
// that wherever the line starts in the key some bytes would scramble to a
// line end and must stay as they are.
std::string LineEndTraps()
{
    std::string line;
    for (unsigned char k : ProfileKey) {
        line.append(ProfileKeyLength, static_cast<char>(k ^ 13));
        line.append(ProfileKeyLength, static_cast<char>(k ^ 10));
    }
    return line;
}

void FillAwkwardProfile()
{
    Profile.Folders = {"-C:\\DATA", "", "!%WINDIR%\\FONTS", std::string("&C:\\ZE\0RO", 9), "-C:\\DATA"};
    Profile.Files = {"-.EXE", "  &NTLDR  ", "\x1a\x1a", HighBytes()};
    Profile.Policies = {"0=1", "1=0", "17=2", ""};
    Profile.Tasks = {"NOTEPAD.EXE      // Notepad  (Microsoft)", LineEndTraps(), " ", "\t"};
    Profile.Options = {"PWD=99", "left over"};
}

TEST_F(ProfileFileTest, SaveThenLoadGivesEveryLineBack)
{
    FillAwkwardProfile();
    const TProfile saved = Profile;
    ASSERT_TRUE(SaveProfile("alice", 0));

    CreateProfileLists();
    ASSERT_TRUE(LoadProfile(PathOf("alice.vtp")));
    EXPECT_EQ(saved.Folders, Profile.Folders);
    EXPECT_EQ(saved.Files, Profile.Files);
    EXPECT_EQ(saved.Policies, Profile.Policies);
    EXPECT_EQ(saved.Tasks, Profile.Tasks);
    EXPECT_EQ((TextList{"PWD=0", "[END1]"}), Profile.Options);
    EXPECT_FALSE(Profile.OwnPassword);
    EXPECT_EQ(0u, Profile.PasswordHash);
}

TEST_F(ProfileFileTest, EmptyProfileRoundTrips)
{
    ASSERT_TRUE(SaveProfile("", 0));
    Profile.Folders = {"-C:\\STALE"};
    ASSERT_TRUE(LoadProfile(PathOf("default.vtp")));
    EXPECT_TRUE(Profile.Folders.empty());
    EXPECT_TRUE(Profile.Files.empty());
    EXPECT_TRUE(Profile.Policies.empty());
    EXPECT_TRUE(Profile.Tasks.empty());
    EXPECT_EQ((TextList{"PWD=0", "[END1]"}), Profile.Options);
}

TEST_F(ProfileFileTest, SaveReplacesOptionsWithTheUnsignedHash)
{
    struct Case {
        uint32_t hash;
        const char* line;
    };
    const Case cases[] = {
        {0u, "PWD=0"},
        {1u, "PWD=1"},
        {2147483647u, "PWD=2147483647"},
        {2147483648u, "PWD=2147483648"},
        {3000000000u, "PWD=3000000000"},
        {4294967295u, "PWD=4294967295"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Profile.Options = {"PWD=5", "[END1]", "junk"};
        ASSERT_TRUE(SaveProfile("", c.hash));
        EXPECT_EQ((TextList{c.line}), Profile.Options);

        CreateProfileLists();
        ASSERT_TRUE(LoadProfile(PathOf("default.vtp")));
        EXPECT_EQ(c.hash, Profile.PasswordHash);
        EXPECT_EQ(c.hash != 0, Profile.OwnPassword);
        EXPECT_EQ((TextList{c.line, "[END1]"}), Profile.Options);
    }
}

TEST_F(ProfileFileTest, FileNameFollowsTheUserName)
{
    ASSERT_TRUE(SaveProfile("", 0));
    ASSERT_TRUE(SaveProfile("Bob Smith", 0));
    std::vector<std::string> names = FolderEntries(ProfilesDir);
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"Bob Smith.vtp", "default.vtp"}), names);
}

TEST_F(ProfileFileTest, SavingAgainReplacesTheFile)
{
    Profile.Folders = {"-C:\\FIRST", "-C:\\SECOND"};
    ASSERT_TRUE(SaveProfile("", 0));
    Profile.Folders = {"&C:\\ONLY"};
    ASSERT_TRUE(SaveProfile("", 7));

    CreateProfileLists();
    ASSERT_TRUE(LoadProfile(PathOf("default.vtp")));
    EXPECT_EQ((TextList{"&C:\\ONLY"}), Profile.Folders);
    EXPECT_EQ(7u, Profile.PasswordHash);
    EXPECT_EQ((std::vector<std::string>{"default.vtp"}), FolderEntries(ProfilesDir));
}

TEST_F(ProfileFileTest, KeyHasTheAgreedShape)
{
    int high = 0, printable = 0;
    for (unsigned char k : ProfileKey) {
        EXPECT_TRUE(k != 0 && k != 13 && k != 10) << int(k);
        if (k >= 128) ++high;
        if (k >= 32 && k < 127) ++printable;
    }
    EXPECT_EQ(69, high);
    EXPECT_EQ(5, printable);
}

TEST_F(ProfileFileTest, SavedBytesAreExact)
{
    // The first folder line starts at key byte 14; its one byte is chosen so
    // that scrambling would give CR, so it must be written unchanged.
    const std::string trap(1, static_cast<char>(ProfileKey[13] ^ 13));
    const std::string longLine(100, 'A');
    Profile.Folders = {trap, longLine};
    ASSERT_TRUE(SaveProfile("", 0));
    const std::string file = ReadWholeFile(PathOf("default.vtp"));

    std::string expected = "*\r\n";
    const std::string header = "[DIRECTORIES]";
    for (size_t i = 0; i < header.size(); ++i) expected += static_cast<char>(header[i] ^ ProfileKey[i]);
    expected += "\r\n" + trap + "\r\n";
    // Key byte 15 on, wrapping from byte 74 back to byte 1; an "A" whose
    // scrambled form would be a line end stays "A".
    int kept = 0;
    for (size_t i = 0; i < longLine.size(); ++i) {
        char x = static_cast<char>('A' ^ ProfileKey[(14 + i) % 74]);
        kept += x == '\r' || x == '\n';
        expected += (x == '\r' || x == '\n') ? 'A' : x;
    }
    expected += "\r\n";
    ASSERT_GE(file.size(), expected.size());
    EXPECT_EQ(expected, file.substr(0, expected.size()));
    EXPECT_GT(kept, 0) << "the key should turn some \"A\" into a line end";

    // The whole file: the other headers, the options line and the end marker,
    // the key running on across lines, every line ending in CR LF.
    EXPECT_EQ("*\r\n" + ScrambledLines({header, trap, longLine, "[FILES]", "[POLICIES]", "[TASKS]", "[OPTIONS]",
                                         "PWD=0", "[END1]"}),
              file);
}

}  // namespace
