// FindFolderAccess against the plain walk over the rules that it replaces,
// and the tree's cases of nested rules, macros and case.
#include "ManagerLogicTest.h"
#include "AccessKinds.h"

#include <random>

namespace {

// The walk the table stands in for: every rule in list order, expanded, a
// later match overriding an earlier one.
FolderAccess PlainWalk(const std::string& path)
{
    const std::string upper = UpperCase(path);
    FolderAccess access;
    for (const std::string& rule : Profile.Folders) {
        const std::string rulePath = ExpandMacros(rule.size() > 1 ? rule.substr(1) : std::string());
        if (upper.compare(0, rulePath.size(), rulePath) == 0 && upper.size() >= rulePath.size()) {
            access.ImageIndex = AccessImage(rule.substr(0, 1));
            access.OwnRule = upper.size() == rulePath.size();
        }
    }
    return access;
}

using Tokens = std::vector<std::string>;

class RandomProfiles {
public:
    explicit RandomProfiles(unsigned seed) : random_(seed) {}

    int Below(size_t n) { return std::uniform_int_distribution<int>(0, static_cast<int>(n) - 1)(random_); }
    const std::string& Pick(const Tokens& items) { return items[Below(items.size())]; }

    std::string Join(const Tokens& tokens, int most)
    {
        std::string path;
        for (int n = Below(most + 1); n > 0; --n) path += Pick(tokens);
        return path;
    }

    void FillRules()
    {
        static const Tokens codes = {"+", "-", "!", "&", "@", "#", "x", "%"};
        static const Tokens tokens = {"C:", "\\", "A", "B", "AB", "a", "%WINDIR%", "%TEMP%", "%windir%",
                                      "%DESKTOP%", "%QLAUNCH%", "\xC4", "%"};
        TextList& rules = Profile.Folders;
        rules.clear();
        for (int n = Below(14); n > 0; --n) {
            int kind = Below(10);
            if (kind == 0) rules.push_back(std::string());
            else if (kind == 1 && !rules.empty()) rules.push_back(rules[Below(rules.size())]);
            else if (kind == 2 && !rules.empty()) rules.push_back(Pick(codes) + EntryText(rules[Below(rules.size())]));
            else rules.push_back(Pick(codes) + Join(tokens, 5));
        }
    }

    // Paths made at random, and the rules' own paths with their prefixes and
    // extensions, so that exact and partial matches are frequent.
    std::vector<std::string> Queries()
    {
        static const Tokens tokens = {"C:", "\\", "A", "B", "a", "b", "AB", "\xC4", "\xE4", "%"};
        static const Tokens tails = {"", "\\A", "B", "a"};
        std::vector<std::string> paths = {std::string()};
        for (int n = 0; n < 20; ++n) paths.push_back(Join(tokens, 6));
        for (const std::string& rule : Profile.Folders) {
            const std::string expanded = ExpandMacros(EntryText(rule));
            paths.push_back(expanded);
            paths.push_back(expanded.substr(0, Below(expanded.size() + 1)));
            paths.push_back(expanded + Pick(tails));
        }
        return paths;
    }

private:
    std::mt19937 random_;
};

}  // namespace

using FindFolderAccessTest = ManagerLogic;

TEST_F(FindFolderAccessTest, GivesThePlainWalksAnswerForRandomRulesAndPaths)
{
    // Macro folders that are prefixes of each other, one empty, one holding
    // lower case and one holding another macro's name.
    WindowsDir = "C:\\A";
    TempDir = "C:\\AB\\";
    CommonDesktopDir = "";
    QuickLaunchDir = "C:\\a%WINDIR%";
    RandomProfiles random(20240611);
    size_t compared = 0, matched = 0, own = 0;
    for (int list = 0; list < 4000; ++list) {
        random.FillRules();
        FolderRulesChanged();
        for (const std::string& path : random.Queries()) {
            FolderAccess expected = PlainWalk(path), found = FindFolderAccess(path);
            ASSERT_EQ(found.ImageIndex, expected.ImageIndex) << "list " << list << " path " << path;
            ASSERT_EQ(found.OwnRule, expected.OwnRule) << "list " << list << " path " << path;
            ++compared;
            matched += expected.ImageIndex != 0;
            own += expected.OwnRule;
        }
    }
    // The generator has to reach the interesting cases for the comparison to mean something.
    EXPECT_GT(compared, 100000u);
    EXPECT_GT(matched, compared / 10);
    EXPECT_GT(own, compared / 20);
}

TEST_F(FindFolderAccessTest, TheTreesCases)
{
    const TextList nested = {"-C:\\DATA", "!C:\\DATA\\SECRET"};
    const TextList macro = {"-%WINDIR%"};
    // A file's own order is kept: a shallower rule after a deeper one covers it too.
    const TextList loadedOrder = {"&C:\\DATA\\SECRET", "-C:\\DATA"};
    const TextList samePath = {"&C:\\DATA", "#C:\\DATA"};
    const TextList lowerAndEmpty = {"&", "-c:\\data", "!%windir%"};
    const struct {
        const TextList& rules;
        const char* path;
        int image;
        bool own;
    } cases[] = {
        {nested, "C:", 0, false},
        {nested, "C:\\DATA", 1, true},
        {nested, "C:\\Data\\Letters", 1, false},
        {nested, "C:\\DATA\\SECRET", 3, true},
        {nested, "c:\\data\\secret\\deeper", 3, false},
        {nested, "C:\\DATAX", 1, false},  // leading characters, not whole folder names
        {nested, "C:\\DAT", 0, false},
        {macro, "C:\\windows", 1, true},
        {macro, "C:\\windows\\system32\\drivers", 1, false},
        {macro, "C:\\PROGRAM FILES", 0, false},
        {loadedOrder, "C:\\DATA\\SECRET", 1, false},
        {samePath, "C:\\DATA\\X", 5, false},
        {lowerAndEmpty, "C:\\DATA", 2, false},
        {lowerAndEmpty, "C:\\WINDOWS", 2, false},
        {lowerAndEmpty, "", 2, true},
    };
    for (const auto& c : cases) {
        Profile.Folders = c.rules;
        FolderRulesChanged();
        FolderAccess access = FindFolderAccess(c.path);
        EXPECT_EQ(access.ImageIndex, c.image) << c.rules.front() << " " << c.path;
        EXPECT_EQ(access.OwnRule, c.own) << c.rules.front() << " " << c.path;
    }
}

TEST_F(FindFolderAccessTest, FollowsTheRulesAfterAChange)
{
    Profile.Folders = {"-C:\\DATA"};
    EXPECT_EQ(FindFolderAccess("C:\\DATA").ImageIndex, 1);
    // Same length, new text: the call tells.
    Profile.Folders[0] = "&C:\\DATA";
    FolderRulesChanged();
    EXPECT_EQ(FindFolderAccess("C:\\DATA").ImageIndex, 2);
    // A rule removed from the list directly is noticed by the length.
    Profile.Folders.clear();
    EXPECT_EQ(FindFolderAccess("C:\\DATA").ImageIndex, 0);
    // A changed macro folder after the call.
    Profile.Folders = {"!%WINDIR%"};
    EXPECT_EQ(FindFolderAccess("D:\\WIN").ImageIndex, 0);
    WindowsDir = "D:\\WIN";
    FolderRulesChanged();
    EXPECT_EQ(FindFolderAccess("D:\\WIN").ImageIndex, 3);
}

TEST_F(FindFolderAccessTest, VeryLongPaths)
{
    const std::string deep = "C:\\" + std::string(5000, 'D');
    Profile.Folders = {"-C:\\", "&" + deep};
    EXPECT_EQ(FindFolderAccess(deep + "\\E").ImageIndex, 2);
    EXPECT_EQ(FindFolderAccess(deep.substr(0, 4000)).ImageIndex, 1);
}
