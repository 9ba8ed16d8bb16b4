// Loading files written by hand or by other systems: line ends, scramble
// marker, sections, and the password option.
#include "ProfileTestKit.h"

namespace {

struct LoadCase {
    const char* name;
    std::string bytes;
    TextList folders, files, policies, tasks, options;
};

std::vector<LoadCase> LoadCases()
{
    const std::string scrambledTail = ScrambledLines({"[FILES]", "-.EXE", "[OPTIONS]", "PWD=12"});
    return {
        {"plain text with CR LF", "[DIRECTORIES]\r\n-C:\\A\r\n[FILES]\r\n-.EXE\r\n[POLICIES]\r\n0=1\r\n"
                                  "[TASKS]\r\nX.EXE\r\n[OPTIONS]\r\nPWD=5\r\n[END1]\r\n",
         {"-C:\\A"}, {"-.EXE"}, {"0=1"}, {"X.EXE"}, {"PWD=5", "[END1]"}},
        {"plain text with LF", "[DIRECTORIES]\n-C:\\A\n[FILES]\n-.EXE\n[OPTIONS]\nPWD=5\n",
         {"-C:\\A"}, {"-.EXE"}, {}, {}, {"PWD=5"}},
        {"plain text with CR", "[DIRECTORIES]\r-C:\\A\r[FILES]\r-.EXE\r",
         {"-C:\\A"}, {"-.EXE"}, {}, {}, {}},
        {"mixed line ends and empty lines", "[TASKS]\rA\r\rB\n\nC\r\n\r\nD\n\rE",
         {}, {}, {}, {"A", "", "B", "", "C", "", "D", "", "E"}, {}},
        {"bytes 0 and 26 are data", std::string("[TASKS]\r\nA\0B\r\n\x1a\r\n\x1a", 18),
         {}, {}, {}, {std::string("A\0B", 3), "\x1a", "\x1a"}, {}},
        {"scramble marker after line 1", "[DIRECTORIES]\r\n-C:\\PLAIN\r\n*\r\n" + scrambledTail,
         {"-C:\\PLAIN"}, {"-.EXE"}, {}, {}, {"PWD=12"}},
        {"empty file", "", {}, {}, {}, {}, {}},
        {"only line ends", "\r\n\n\r\r\n", {}, {}, {}, {}, {}},
        {"lines before the first header are dropped", "junk\r\n-C:\\LOST\r\n[FILES]\r\n-A\r\n",
         {}, {"-A"}, {}, {}, {}},
        {"a header twice appends", "[FILES]\r\n-A\r\n[TASKS]\r\nT\r\n[FILES]\r\n-B\r\n",
         {}, {"-A", "-B"}, {}, {"T"}, {}},
        {"missing sections and no end marker", "[POLICIES]\r\n3=2\r\n", {}, {}, {"3=2"}, {}, {}},
        {"headers compare exactly", "[FILES]\r\n[files]\r\n [TASKS]\r\n[TASKS] \r\n[END1]\r\n",
         {}, {"[files]", " [TASKS]", "[TASKS] ", "[END1]"}, {}, {}, {}},
        {"blanks are kept", "[FILES]\r\n  -A  \r\n\t\r\n", {}, {"  -A  ", "\t"}, {}, {}, {}},
    };
}

TEST_F(ProfileFileTest, LoadsWhatIsPresent)
{
    for (const LoadCase& c : LoadCases()) {
        SCOPED_TRACE(c.name);
        Profile.Folders = {"-C:\\STALE"};
        Profile.Tasks = {"STALE.EXE"};
        ASSERT_TRUE(LoadBytes(c.bytes));
        EXPECT_EQ(c.folders, Profile.Folders);
        EXPECT_EQ(c.files, Profile.Files);
        EXPECT_EQ(c.policies, Profile.Policies);
        EXPECT_EQ(c.tasks, Profile.Tasks);
        EXPECT_EQ(c.options, Profile.Options);
    }
}

TEST_F(ProfileFileTest, CarriageReturnAndLineFeedMayFallInDifferentReads)
{
    // A line end split at every position around the likely read sizes.
    for (size_t boundary : {size_t(1) << 16, size_t(1) << 18, size_t(1) << 20}) {
        for (size_t length = boundary - 12; length < boundary - 6; ++length) {
            SCOPED_TRACE(length);
            std::string line(length, 'A');
            ASSERT_TRUE(LoadBytes("[FILES]\r\n" + line + "\r\nB\r\n"));
            EXPECT_EQ((TextList{line, "B"}), Profile.Files);
        }
    }
}

struct PasswordCase {
    std::vector<std::string> options;
    bool own;
    uint32_t hash;
};

TEST_F(ProfileFileTest, ReadsThePasswordOption)
{
    const PasswordCase cases[] = {
        {{}, false, 0},
        {{"PWD=0"}, false, 0},
        {{"PWD="}, false, 0},
        {{"PWD=abc"}, false, 0},
        {{"PWD=12x"}, false, 0},
        {{"PWD=42 "}, false, 0},
        {{"PWD=-"}, false, 0},
        {{"pwd=42"}, false, 0},
        {{" PWD=42"}, false, 0},
        {{"PWD=42"}, true, 42},
        {{"PWD=   42"}, true, 42},
        {{"PWD=+42"}, true, 42},
        {{"PWD=0042"}, true, 42},
        {{"PWD=3000000000"}, true, 3000000000u},
        {{"PWD=-1"}, true, 4294967295u},
        {{"PWD=-2147483648"}, true, 2147483648u},
        {{"PWD=4294967296"}, false, 0},
        {{"PWD=4294967297"}, true, 1},
        {{"PWD=9223372036854775807"}, true, 4294967295u},
        {{"PWD=-9223372036854775808"}, false, 0},
        {{"PWD=9223372036854775808"}, false, 0},
        {{"PWD=18446744073709551617"}, false, 0},
        // Only the first 50 characters after "PWD=" count.
        {{"PWD=" + std::string(40, ' ') + "1234567890" + "X"}, true, 1234567890u},
        {{"PWD=" + std::string(41, ' ') + "123456789" + "01"}, true, 123456789u},
        {{"PWD=" + std::string("1234567890") + std::string(40, ' ') + "7"}, false, 0},
        // A later valid line overrides; invalid lines and zeros change nothing.
        {{"PWD=5", "PWD=7"}, true, 7},
        {{"PWD=7", "PWD=0"}, true, 7},
        {{"PWD=7", "PWD=bad", "[END1]"}, true, 7},
        {{"PWD=bad", "PWD=9"}, true, 9},
    };
    for (const PasswordCase& c : cases) {
        std::string bytes = "[OPTIONS]\r\n";
        for (const std::string& line : c.options) bytes += line + "\r\n";
        SCOPED_TRACE(bytes);
        Profile.OwnPassword = true;
        Profile.PasswordHash = 1234;
        ASSERT_TRUE(LoadBytes(bytes));
        EXPECT_EQ(c.options, Profile.Options);
        EXPECT_EQ(c.own, Profile.OwnPassword);
        EXPECT_EQ(c.hash, Profile.PasswordHash);
    }
}

TEST_F(ProfileFileTest, FileThatCannotBeOpenedLeavesTheProfileAlone)
{
    ASSERT_TRUE(WriteWholeFile(PathOf("locked.vtp"), "[FILES]\r\n-NEW\r\n"));
    HANDLE locked = CreateFileA(PathOf("locked.vtp").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);

    const std::string paths[] = {PathOf("missing.vtp"), ProfilesDir, PathOf("no folder\\x.vtp"),
                                 PathOf("locked.vtp"), ""};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        Profile.Folders = {"-C:\\KEEP"};
        Profile.Files = {"-KEEP"};
        Profile.Options = {"PWD=77"};
        Profile.OwnPassword = true;
        Profile.PasswordHash = 77;
        EXPECT_FALSE(LoadProfile(path));
        EXPECT_EQ((TextList{"-C:\\KEEP"}), Profile.Folders);
        EXPECT_EQ((TextList{"-KEEP"}), Profile.Files);
        EXPECT_EQ((TextList{"PWD=77"}), Profile.Options);
        EXPECT_TRUE(Profile.OwnPassword);
        EXPECT_EQ(77u, Profile.PasswordHash);
    }
    CloseHandle(locked);
}

TEST_F(ProfileFileTest, ReadOnlyFileLoads)
{
    ASSERT_TRUE(WriteWholeFile(PathOf("ro.vtp"), "[FILES]\r\n-RO\r\n"));
    ASSERT_TRUE(SetFileAttributesA(PathOf("ro.vtp").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(LoadProfile(PathOf("ro.vtp")));
    EXPECT_EQ((TextList{"-RO"}), Profile.Files);
    SetFileAttributesA(PathOf("ro.vtp").c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
