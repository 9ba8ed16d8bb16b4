// What the manager hands to the shell: the help file named after the
// program, the maker's web page and mail links, each reaching the program
// registered for it exactly as the shell passes it on.
#include "ManagerIds.h"
#include "ManagerSupport.h"
#include "RemoteWindows.h"
#include "RuntimeEnv.h"

#include <gtest/gtest.h>

namespace {

class Shell : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitRuntimeEnvironment(); }
    void TearDown() override
    {
        StopProcess(manager);
        if (!folder.empty()) RemoveTree(folder);
    }
    // The manager installed afresh with the files beside it, started under
    // the program file name and open.
    HWND Start(const std::string& program, const std::vector<const char*>& files = {})
    {
        TearDown();
        SetPasswords(nullptr, nullptr);
        folder = InstallCopy();
        if (program != "vtlock.exe") CopyFileA((folder + "vtlock.exe").c_str(), (folder + program).c_str(), TRUE);
        for (const char* file : files) WriteWholeFile(folder + file, "help");
        manager = StartProcess(QuoteArgument(folder + program), &managerId);
        HWND shown = nullptr;
        WaitFor([&] { return (shown = ShownWindow(managerId, "TForm1")) != nullptr; }, 20000);
        return shown && WaitSettled(shown) ? shown : nullptr;
    }
    // What the shell opened for the action, once the manager is done with it.
    std::string Opened(HWND window)
    {
        const size_t count = catcher.WaitOpened(++opens).size();
        if (!WaitSettled(window) || count != opens) return "(opened " + std::to_string(count) + ")";
        return catcher.Opened().back();
    }

    ShellCatcher catcher;
    size_t opens = 0;
    std::string folder;
    HANDLE manager = nullptr;
    DWORD managerId = 0;
};

}  // namespace

TEST_F(Shell, HelpOpensTheHelpFileNamedAfterTheProgram)
{
    struct HelpCase {
        const char* program;
        std::vector<const char*> files;  // beside the program
        const char* opened;
    } const cases[] = {
        {"vtlock.exe", {"vtlock.hlp", "vtlock.chm"}, "vtlock.hlp"},
        {"lab.exe", {"lab.hlp", "vtlock.hlp"}, "lab.hlp"},
        {"vtlock.exe", {"vtlock.chm"}, "vtlock.chm"},
    };
    for (const HelpCase& row : cases) {
        SCOPED_TRACE(std::string(row.program) + " opens " + row.opened);
        HWND window = Start(row.program, row.files);
        ASSERT_NE(window, nullptr);
        PostMessageA(window, WM_COMMAND, IDM_Help2, 0);
        EXPECT_EQ(Opened(window), folder + row.opened);
    }
}

TEST_F(Shell, HelpMenuAndAboutBoxLinksOpenTheMakersAddresses)
{
    const std::string home = VT_HOME_PAGE, support = VT_SUPPORT_MAIL, authors = VT_AUTHORS_MAIL;
    HWND window = Start("vtlock.exe");
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_COMMAND, IDM_About1, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (about = ShownWindow(managerId, "TFAbout")) != nullptr; }));
    struct LinkCase {
        int command;  // a command of the Help menu, or 0 for a link of the About box
        int link;
        std::string shown, opened;
    } const cases[] = {
        {IDM_VisitVantrelhomepage1, 0, "", home},
        {IDM_Contactwithauthors1, 0, "", "mailto:" + support + "?subject=Vantrel"},
        {0, AboutId::Label3, home, home},
        {0, AboutId::Label4, support, "mailto:" + support},
        {0, AboutId::Label5, authors, "mailto:" + authors},
    };
    for (const LinkCase& row : cases) {
        SCOPED_TRACE(row.opened);
        if (row.command) {
            PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(row.command), 0);
        } else {
            HWND link = FindControl(about, row.link);
            ASSERT_NE(link, nullptr);
            EXPECT_EQ(WindowText(link), row.shown);
            PostClick(link, POINT{4, 4});
        }
        EXPECT_EQ(Opened(window), row.opened);
    }
}
