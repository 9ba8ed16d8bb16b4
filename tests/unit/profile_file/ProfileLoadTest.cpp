// Loading files written by hand or by other systems: line ends, scramble
// marker, sections and the password option. That damaged files load without
// a crash or a hang is checked end to end (tests/e2e/vtprofile, decode).
#include "ProfileTestKit.h"

namespace {

struct LoadCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lists;  // as Listed() gives them
};

TEST_F(ProfileFileTest, LoadsWhatIsPresent)
{
    const LoadCase cases[] = {
        {"plain text", "[DIRECTORIES]\r\n-C:\\A\r\n[FILES]\r\n-.EXE\r\n[POLICIES]\r\n0=1\r\n[TASKS]\r\nX.EXE\r\n"
                       "[OPTIONS]\r\nPWD=5\r\n[END1]\r\n",
         {"-C:\\A|", "-.EXE|", "0=1|", "X.EXE|", "PWD=5|[END1]|"}},
        {"every line end", "[TASKS]\rA\r\rB\n\nC\r\n\r\nD\n\rE", {"", "", "", "A||B||C||D||E|", ""}},
        {"bytes 0 and 26 are data", std::string("[TASKS]\r\nA\0B\r\n\x1a", 15),
         {"", "", "", std::string("A\0B|\x1a|", 6), ""}},
        {"saved by an earlier release", GoldenFile(), Listed({GoldenFolders, GoldenFiles, GoldenPolicies, GoldenTasks,
                                                              {"PWD=3000000000", "[END1]"}})},
        {"scramble marker after line 1", "[DIRECTORIES]\r\n-C:\\PLAIN\r\n*\r\n" + GoldenFile().substr(3),
         {"-C:\\PLAIN|-C:\\DATA|\x9E\xCE|", "&.EXE|", "0=1|", "REGEDIT.EXE      // Registry Editor|",
          "PWD=3000000000|[END1]|"}},
        {"empty file", "", {"", "", "", "", ""}},
        {"lines before the first header are dropped", "junk\r\n[FILES]\r\n-A\r\n", {"", "-A|", "", "", ""}},
        {"a header twice appends", "[FILES]\r\n-A\r\n[TASKS]\r\nT\r\n[FILES]\r\n-B\r\n", {"", "-A|-B|", "", "T|", ""}},
        {"headers compare exactly, blanks kept", "[FILES]\r\n[files]\r\n [TASKS]\r\n[TASKS] \r\n  -A \t\r\n",
         {"", "[files]| [TASKS]|[TASKS] |  -A \t|", "", "", ""}},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        Profile.Folders = {"-C:\\STALE"};
        ASSERT_TRUE(LoadBytes(c.bytes));
        EXPECT_EQ(c.lists, Listed(Profile));
    }
}

// The reader's buffer holds 64 KiB: a CR LF split between two reads, and a
// line longer than three reads.
TEST_F(ProfileFileTest, LinesAcrossReads)
{
    for (size_t length : {65525, 65526, 65527, 200000}) {
        SCOPED_TRACE(length);
        const std::string line(length, 'A');
        ASSERT_TRUE(LoadBytes("[FILES]\r\n" + line + "\r\nB\r\n\r\n"));
        EXPECT_EQ((TextList{line, "B", ""}), Profile.Files);
    }
}

TEST_F(ProfileFileTest, ReadsThePasswordOption)
{
    const std::string blanks(40, ' ');
    const std::pair<std::vector<std::string>, uint32_t> cases[] = {  // the lines, the hash (0: none)
        {{}, 0}, {{"PWD=0"}, 0}, {{"PWD="}, 0}, {{"PWD=12x"}, 0}, {{"PWD=42 "}, 0}, {{"PWD=-"}, 0},
        {{"pwd=42"}, 0}, {{" PWD=42"}, 0}, {{"PWD=   42"}, 42}, {{"PWD=+0042"}, 42},
        {{"PWD=3000000000"}, 3000000000u}, {{"PWD=-1"}, 4294967295u}, {{"PWD=4294967296"}, 0},
        {{"PWD=4294967297"}, 1}, {{"PWD=9223372036854775807"}, 4294967295u}, {{"PWD=9223372036854775809"}, 0},
        {{"PWD=-9223372036854775807"}, 1}, {{"PWD=-9223372036854775809"}, 0}, {{"PWD=18446744073709551617"}, 0},
        // Only the first 50 characters after "PWD=" count.
        {{"PWD=" + blanks + "1234567890X"}, 1234567890u}, {{"PWD=" + blanks + " 12345678901"}, 123456789u},
        // A later valid line overrides; invalid lines and zeros change nothing.
        {{"PWD=5", "PWD=7"}, 7}, {{"PWD=7", "PWD=0", "PWD=bad", "[END1]"}, 7}, {{"PWD=bad", "PWD=9"}, 9},
    };
    for (const auto& c : cases) {
        std::string bytes = "[OPTIONS]\r\n";
        for (const std::string& line : c.first) bytes += line + "\r\n";
        SCOPED_TRACE(bytes);
        Profile.OwnPassword = true;
        Profile.PasswordHash = 1234;
        ASSERT_TRUE(LoadBytes(bytes));
        EXPECT_EQ(c.first, Profile.Options);
        EXPECT_EQ(c.second, Profile.PasswordHash);
        EXPECT_EQ(c.second != 0, Profile.OwnPassword);
    }
}

TEST_F(ProfileFileTest, FileThatCannotBeOpenedLeavesTheProfileAlone)
{
    Profile.Files = {"-KEEP"};
    Profile.OwnPassword = true;
    Profile.PasswordHash = 77;
    EXPECT_FALSE(LoadProfile(PathOf("missing.vtp")));
    EXPECT_EQ((TextList{"-KEEP"}), Profile.Files);
    EXPECT_TRUE(Profile.OwnPassword);
    EXPECT_EQ(77u, Profile.PasswordHash);
    ASSERT_TRUE(WriteWholeFile(PathOf("ro.vtp"), "[FILES]\r\n-RO\r\n"));
    ASSERT_TRUE(SetFileAttributesA(PathOf("ro.vtp").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(LoadProfile(PathOf("ro.vtp")));
    EXPECT_EQ((TextList{"-RO"}), Profile.Files);
}

}  // namespace
