// Profile files: loading files written by hand, by other systems or by an earlier release; saving (the exact
// bytes, every line back, a save that cannot complete). Damaged files: tests/e2e/vtprofile.
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtTest.h"
#include <gtest/gtest.h>
namespace {
bool LoadBytes(const std::string& b) { return WriteWholeFile(ProfilesDir + "t", b) && LoadProfile(ProfilesDir + "t"); }
// Loads from a pipe that gives the bytes and then breaks, as a read error part way through a file.
DWORD WINAPI ServePipe(void* pipe) {
    const char bytes[] = "[FILES]\r\n-.EXE\r\n";
    DWORD written = 0;
    if (ConnectNamedPipe(pipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED)
        WriteFile(pipe, bytes, sizeof bytes - 1, &written, nullptr), FlushFileBuffers(pipe);
    CloseHandle(pipe);
    return 0;
}
bool LoadBrokenPipe() {
    const std::string name = "\\\\.\\pipe\\vtload" + std::to_string(GetCurrentProcessId());
    HANDLE pipe = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
    EXPECT_NE(pipe, INVALID_HANDLE_VALUE);
    HANDLE server = CreateThread(nullptr, 0, ServePipe, pipe, 0, nullptr);
    const bool loaded = LoadProfile(name);
    return WaitForSingleObject(server, INFINITE), CloseHandle(server), loaded;
}
struct ProfileFileTest : ::testing::Test {
    void SetUp() override { CreateProfileLists(), ProfilesDir = NewTempDir("profiles"); }
};
// A profile of an earlier release (hash 3000000000, lines below): the installed base's files must load, and a save
// give the same bytes. Its folder line "\x9E\xCE" falls on key bytes that would scramble it to CR LF: kept plain.
std::string GoldenFile() {
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
std::vector<std::string> Listed(const TProfile& p) {
    std::vector<std::string> lists;
    for (const TextList* list : {&p.Folders, &p.Files, &p.Policies, &p.Tasks, &p.Options}) {
        lists.emplace_back();
        for (const std::string& line : *list) lists.back() += line + "|";
    }
    return lists;
}
TEST_F(ProfileFileTest, LoadsWhatIsPresent) {
    const std::string big(65526, 'A'), huge(200000, 'A');  // the reader's 64 KiB buffer: CR LF split, three reads
    const struct { const char* name; std::string bytes; std::vector<std::string> lists; } cases[] = {
        {"plain text", "[DIRECTORIES]\r\n-C:\\A\r\n[FILES]\r\n-.EXE\r\n[POLICIES]\r\n0=1\r\n[TASKS]\r\nX.EXE\r\n"
                       "[OPTIONS]\r\nPWD=5\r\n[END1]\r\n", {"-C:\\A|", "-.EXE|", "0=1|", "X.EXE|", "PWD=5|[END1]|"}},
        {"every line end", "[TASKS]\rA\r\rB\n\nC\r\n\r\nD\n\rE", {"", "", "", "A||B||C||D||E|", ""}},
        {"bytes 0 and 26", std::string("[TASKS]\r\nA\0B\r\n\x1a", 15), {"", "", "", std::string("A\0B|\x1a|", 6), ""}},
        {"an earlier release's", GoldenFile(),
         Listed({GoldenFolders, GoldenFiles, GoldenPolicies, GoldenTasks, {"PWD=3000000000", "[END1]"}})},
        {"scramble marker after line 1", "[DIRECTORIES]\r\n-C:\\PLAIN\r\n*\r\n" + GoldenFile().substr(3),
         {"-C:\\PLAIN|-C:\\DATA|\x9E\xCE|", "&.EXE|", "0=1|", GoldenTasks[0] + "|", "PWD=3000000000|[END1]|"}},
        {"empty", "", {"", "", "", "", ""}},
        {"junk before the first header, a header twice, headers compare exactly, blanks kept",
         "junk\r\n[FILES]\r\n-A\r\n[TASKS]\r\nT\r\n[FILES]\r\n[files]\r\n [TASKS]\r\n[TASKS] \r\n  -A \t\r\n",
         {"", "-A|[files]| [TASKS]|[TASKS] |  -A \t|", "", "T|", ""}},
        {"65525", "[FILES]\r\n" + big.substr(1) + "\r\nB\r\n", {"", big.substr(1) + "|B|", "", "", ""}},
        {"65526", "[FILES]\r\n" + big + "\r\nB\r\n\r\n", {"", big + "|B||", "", "", ""}},
        {"65527", "[FILES]\r\n" + big + "A\r\nB\r\n", {"", big + "A|B|", "", "", ""}},
        {"200000", "[FILES]\r\n" + huge + "\r\nB\r\n", {"", huge + "|B|", "", "", ""}},
    };
    for (const auto& c : cases) {
        Profile.Folders = {"-C:\\STALE"};
        ASSERT_TRUE(LoadBytes(c.bytes)) << c.name;
        EXPECT_EQ(c.lists, Listed(Profile)) << c.name;
    }
}
TEST_F(ProfileFileTest, ReadsThePasswordOption) {
    const std::string blanks(40, ' ');
    const std::pair<std::vector<std::string>, uint32_t> cases[] = {  // the lines, the hash (0: none)
        {{}, 0}, {{"PWD=0"}, 0}, {{"PWD="}, 0}, {{"PWD=12x"}, 0}, {{"PWD=42 "}, 0}, {{"PWD=-"}, 0}, {{"pwd=42"}, 0},
        {{" PWD=42"}, 0}, {{"PWD=   42"}, 42}, {{"PWD=+0042"}, 42}, {{"PWD=3000000000"}, 3000000000u},
        {{"PWD=-1"}, 4294967295u}, {{"PWD=4294967296"}, 0}, {{"PWD=4294967297"}, 1},
        {{"PWD=9223372036854775807"}, 4294967295u}, {{"PWD=9223372036854775809"}, 0},
        {{"PWD=-9223372036854775807"}, 1}, {{"PWD=-9223372036854775809"}, 0}, {{"PWD=18446744073709551617"}, 0},
        // Only the first 50 characters after "PWD=" count.
        {{"PWD=" + blanks + "1234567890X"}, 1234567890u}, {{"PWD=" + blanks + " 12345678901"}, 123456789u},
        // A later valid line overrides; invalid lines and zeros change nothing.
        {{"PWD=5", "PWD=7"}, 7}, {{"PWD=7", "PWD=0", "PWD=bad", "[END1]"}, 7}, {{"PWD=bad", "PWD=9"}, 9},
    };
    for (const auto& c : cases) {
        std::string bytes = "[OPTIONS]\r\n";
        for (const std::string& line : c.first) bytes += line + "\r\n";
        Profile.OwnPassword = true, Profile.PasswordHash = 1234;
        ASSERT_TRUE(LoadBytes(bytes));
        EXPECT_EQ(c.first, Profile.Options);
        EXPECT_EQ(std::make_pair(c.second, c.second != 0), std::make_pair(Profile.PasswordHash, Profile.OwnPassword)) << bytes;
    }
    // A file that cannot be opened, or whose reading fails part way, leaves the profile alone.
    EXPECT_FALSE(LoadProfile(ProfilesDir + "missing.vtp"));
    EXPECT_FALSE(LoadBrokenPipe());
    EXPECT_EQ(std::make_pair(9u, true), std::make_pair(Profile.PasswordHash, Profile.OwnPassword));
    EXPECT_EQ((TextList{"PWD=bad", "PWD=9"}), Profile.Options);
    EXPECT_TRUE(Profile.Files.empty());
}
TEST_F(ProfileFileTest, SaveWritesTheBytesOfEarlierReleasesAndEveryLineBack) {
    Profile = {GoldenFolders, GoldenFiles, GoldenPolicies, GoldenTasks, {"PWD=1", "junk"}};
    ASSERT_TRUE(SaveProfile("", 3000000000u));
    EXPECT_EQ((TextList{"PWD=3000000000"}), Profile.Options);
    EXPECT_EQ(GoldenFile(), ReadWholeFile(ProfilesDir + "default.vtp"));
    // For every key byte k, runs of k^13 and k^10 as long as the key: wherever the line starts in the key, some
    // bytes would scramble to a line end. Bytes 0, 26 and above 127 are data too.
    std::string traps, high;
    for (unsigned char k : ProfileKey)
        traps.append(ProfileKeyLength, char(k ^ 13)).append(ProfileKeyLength, char(k ^ 10));
    for (int b = 128; b < 256; ++b) high += static_cast<char>(b);
    Profile.Folders = {"-C:\\DATA", "", "!%WINDIR%\\FONTS", std::string("&C:\\ZE\0RO", 9), "-C:\\DATA"};
    Profile.Files = {"-.EXE", "  &NTLDR  ", "\x1a\x1a", high};
    Profile.Policies = {"0=1", "17=2", ""};
    Profile.Tasks = {"NOTEPAD.EXE      // Notepad", traps, " ", "\t"};
    TProfile expected = Profile;
    expected.Options = {"PWD=0", "[END1]"};
    ASSERT_TRUE(SaveProfile("Bob Smith", 0));
    EXPECT_EQ("*\r\n", ReadWholeFile(ProfilesDir + "Bob Smith.vtp").substr(0, 3));
    ASSERT_TRUE(LoadProfile(ProfilesDir + "Bob Smith.vtp"));
    EXPECT_EQ(Listed(expected), Listed(Profile));
    EXPECT_FALSE(Profile.OwnPassword);
}
// The old file stays as it was, and the user is told why with the system's text.
TEST_F(ProfileFileTest, SaveThatCannotCompleteKeepsTheOldFile) {
    const std::string path = ProfilesDir + "default.vtp", existing = ProfilesDir;
    Profile.Folders = {"-C:\\OLD"};
    ASSERT_TRUE(SaveProfile("", 5));
    const std::string old = ReadWholeFile(path);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    BoxAnswerer answerer("ok");
    Profile.Folders = {"&C:\\NEW"};
    EXPECT_FALSE(SaveProfile("", 9));
    ProfilesDir += "missing\\";
    Profile.Options = {"PWD=5"};
    EXPECT_FALSE(SaveProfile("", 9));
    EXPECT_EQ((TextList{"PWD=5"}), Profile.Options);  // the file could not be made: nothing changed
    ProfilesDir = existing;
    EXPECT_EQ(old, ReadWholeFile(path));
    ASSERT_TRUE(LoadProfile(path));  // a read-only file loads
    EXPECT_EQ((TextList{"-C:\\OLD"}), Profile.Folders);
    std::vector<SeenBox> boxes = answerer.WaitSeen(2);
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("Cannot save profile: " + SystemErrorText(ERROR_ACCESS_DENIED) + "|Error|error|ok",
              boxes[0].text + "|" + boxes[0].caption + "|" + boxes[0].icon + "|" + boxes[0].buttons);
    EXPECT_EQ("Cannot save profile: " + SystemErrorText(ERROR_PATH_NOT_FOUND), boxes[1].text);
    // Once the file may be written again, saving replaces it.
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL));
    Profile.Folders = {"&C:\\NEW"};
    EXPECT_TRUE(SaveProfile("", 9));
    ASSERT_TRUE(LoadProfile(path));
    EXPECT_EQ((TextList{"&C:\\NEW"}), Profile.Folders);
}
}  // namespace
