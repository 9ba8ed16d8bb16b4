// Damaged input: the loader keeps going, never crashes or hangs, and always
// leaves a consistent profile.
#include "ProfileTestKit.h"

#include <random>

namespace {

size_t TotalBytes(const TProfile& p)
{
    size_t total = 0;
    for (const TextList* list : {&p.Folders, &p.Files, &p.Policies, &p.Tasks, &p.Options})
        for (const std::string& line : *list) total += line.size();
    return total;
}

bool HasLineEnd(const TProfile& p)
{
    for (const TextList* list : {&p.Folders, &p.Files, &p.Policies, &p.Tasks, &p.Options})
        for (const std::string& line : *list)
            if (line.find_first_of("\r\n") != std::string::npos) return true;
    return false;
}

// What every load of any file must give: success, no line end inside a
// line, no more data than the file had, and a password flag that matches.
void ExpectSaneLoad(const std::string& path, size_t fileSize)
{
    ASSERT_TRUE(LoadProfile(path));
    EXPECT_FALSE(HasLineEnd(Profile));
    EXPECT_LE(TotalBytes(Profile), fileSize);
    EXPECT_EQ(Profile.PasswordHash != 0, Profile.OwnPassword);
}

std::string SavedSample(const std::string& name)
{
    Profile.Folders = {"-C:\\DATA", "!%WINDIR%\\FONTS", "#C:\\SECRET\\PLANS", ""};
    Profile.Files = {"-.EXE", "&NTLDR", "+.TXT"};
    for (int row = 0; row < 32; ++row) Profile.Policies.push_back(std::to_string(row) + "=" + std::to_string(row % 3));
    Profile.Tasks = {"REGEDIT.EXE      // Registry Editor  (Microsoft)", "CMD.EXE"};
    EXPECT_TRUE(SaveProfile(name, 2999999999u));
    return ReadWholeFile(ProfilesDir + name + ".vtp");
}

std::string Damaged(const std::string& valid, std::mt19937& random)
{
    std::string bytes = valid;
    auto pick = [&](size_t bound) { return bound == 0 ? size_t(0) : size_t(random() % bound); };
    switch (random() % 6) {
    case 0:  // bit flips
        for (int n = 1 + pick(8); n > 0 && !bytes.empty(); --n) bytes[pick(bytes.size())] ^= char(1 << pick(8));
        break;
    case 1:  // truncation
        bytes.resize(pick(bytes.size() + 1));
        break;
    case 2: {  // a stretch duplicated
        size_t from = pick(bytes.size()), length = pick(bytes.size() - from + 1);
        bytes.insert(pick(bytes.size() + 1), bytes.substr(from, length));
        break;
    }
    case 3: {  // a stretch removed
        size_t from = pick(bytes.size());
        bytes.erase(from, pick(bytes.size() - from + 1));
        break;
    }
    case 4:  // random bytes inserted, line ends among them
        for (int n = 1 + pick(16); n > 0; --n) bytes.insert(bytes.begin() + pick(bytes.size() + 1), char(random()));
        break;
    default:  // line ends changed to other line ends
        for (char& c : bytes)
            if ((c == '\r' || c == '\n') && pick(4) == 0) c = "\r\n"[pick(2)];
        break;
    }
    return bytes;
}

TEST_F(ProfileFileTest, EveryTruncationLoads)
{
    const std::string valid = SavedSample("sample");
    const std::string path = PathOf("cut.vtp");
    for (size_t length = 0; length <= valid.size(); ++length) {
        ASSERT_TRUE(WriteWholeFile(path, valid.substr(0, length)));
        ExpectSaneLoad(path, length);
    }
    // The whole file gives back what was saved.
    EXPECT_EQ(32u, Profile.Policies.size());
    EXPECT_EQ(2999999999u, Profile.PasswordHash);
}

TEST_F(ProfileFileTest, RandomBytesLoad)
{
    std::mt19937 random(20261206);
    const std::string path = PathOf("noise.vtp");
    for (int round = 0; round < 300; ++round) {
        std::string bytes(random() % 4096, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        if (round % 2) bytes.insert(0, "*\r\n");
        ASSERT_TRUE(WriteWholeFile(path, bytes));
        ExpectSaneLoad(path, bytes.size());
    }
}

TEST_F(ProfileFileTest, CorpusOfDamagedProfilesLoads)
{
    const std::string valid[] = {SavedSample("a"), ReadWholeFile(PathOf("a.vtp")).substr(3)};
    std::mt19937 random(1206);
    const std::string path = PathOf("damaged.vtp");
    for (int round = 0; round < 4000; ++round) {
        std::string bytes = Damaged(valid[round % 2], random);
        ASSERT_TRUE(WriteWholeFile(path, bytes));
        ExpectSaneLoad(path, bytes.size());
        if (HasFailure()) {
            ADD_FAILURE() << "round " << round;
            return;
        }
    }
}

TEST_F(ProfileFileTest, LineOfSeveralMegabytesLoads)
{
    std::string huge(6 << 20, 'x');
    for (size_t i = 0; i < huge.size(); i += 4099) huge[i] = static_cast<char>(i);
    for (char& c : huge)
        if (c == '\r' || c == '\n') c = ' ';

    ASSERT_TRUE(LoadBytes("[DIRECTORIES]\r\n" + huge));
    ASSERT_EQ(1u, Profile.Folders.size());
    EXPECT_TRUE(Profile.Folders[0] == huge);

    // The same line scrambled: the key wraps tens of thousands of times.
    ASSERT_TRUE(LoadBytes("*\r\n" + ScrambledLines({"[TASKS]", huge, "T"})));
    ASSERT_EQ(2u, Profile.Tasks.size());
    EXPECT_TRUE(Profile.Tasks[0] == huge);
    EXPECT_EQ("T", Profile.Tasks[1]);

    // Without a header it is dropped.
    ASSERT_TRUE(LoadBytes(huge));
    EXPECT_TRUE(Profile.Folders.empty());
}

TEST_F(ProfileFileTest, FileOfOnlyLineEndsLoads)
{
    const std::string ends[] = {"\r\n", "\n", "\r"};
    for (const std::string& end : ends) {
        std::string bytes;
        for (int i = 0; i < 200000; ++i) bytes += end;
        ASSERT_TRUE(LoadBytes(bytes));
        EXPECT_TRUE(Profile.Files.empty());
        ASSERT_TRUE(LoadBytes("[FILES]" + bytes));
        EXPECT_EQ(TextList(199999, ""), Profile.Files);
    }
}

}  // namespace
