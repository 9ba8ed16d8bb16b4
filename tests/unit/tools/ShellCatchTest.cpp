// What ShellExecuteA opens reaches the shellcatch tool registered for it.
#include "VtTest.h"
#include <shellapi.h>
#include <gtest/gtest.h>

namespace {

struct OpenCase {
    const char* name;
    std::string target;
};

INT_PTR Open(const std::string& target)
{
    return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

}  // namespace

TEST(ShellCatch, HelpFilesAndLinksReachTheTool)
{
    const std::string dir = NewTempDir("help");
    ASSERT_TRUE(WriteWholeFile(dir + "vtlock.hlp", "help") && WriteWholeFile(dir + "vtlock.chm", "help"));
    const OpenCase cases[] = {
        {"help file", dir + "vtlock.hlp"},
        {"compiled help", dir + "vtlock.chm"},
        {"web page", "http://vantrel.example/"},
        {"mail link", "mailto:support@vantrel.example?subject=Vantrel"},
    };
    ShellCatcher catcher;
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_GT(Open(cases[i].target), 32);
        std::vector<std::string> opened = catcher.WaitOpened(i + 1);
        ASSERT_EQ(opened.size(), i + 1);
        EXPECT_EQ(opened[i], cases[i].target);
    }
    RemoveTree(dir);
}

TEST(ShellCatch, MissingHelpFileFailsWithoutStartingTheTool)
{
    ShellCatcher catcher;
    const std::string dir = NewTempDir("nohelp");
    EXPECT_LT(Open(dir + "vtlock.hlp"), 32);
    EXPECT_LT(Open(dir + "vtlock.chm"), 32);
    Sleep(500);
    EXPECT_TRUE(catcher.Opened().empty());
    RemoveTree(dir);
}
