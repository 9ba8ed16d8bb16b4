// What the manager hands to the shell: the help file named after the program, the maker's
// web page and mail links, each reaching its registered program as the shell passes it on.
#include "../manager/InstalledManager.h"
TEST_F(InstalledManager, HelpAndTheMakersLinksReachTheShell) {
    ShellCatcher catcher;
    size_t opens = 0;
    HWND window = nullptr;
    // What the shell opened for the action, once the manager is done with it.
    auto opened = [&] {
        const size_t count = catcher.WaitOpened(++opens).size();
        if (!WaitSettled(window) || count != opens) return "(opened " + std::to_string(count) + ")";
        return catcher.Opened().back();
    };
    // Help files are added beside the program between the starts.
    const struct { const char *program, *added, *opened; } helps[] = {
        {"vtlock.exe", "vtlock.chm", "vtlock.chm"},
        {"vtlock.exe", "vtlock.hlp", "vtlock.hlp"},
        {"lab.exe", "lab.hlp", "lab.hlp"},
    };
    for (const auto& help : helps) {
        SCOPED_TRACE(std::string(help.program) + " opens " + help.opened);
        ASSERT_TRUE(WriteWholeFile(folder + help.added, "help"));
        Start("", help.program);
        ASSERT_TRUE((window = Wait("TForm1")) && WaitSettled(window));
        PostMessageA(window, WM_COMMAND, IDM_Help, 0);
        EXPECT_EQ(opened(), folder + help.opened);
    }
    const std::string home = VT_HOME_PAGE, support = VT_SUPPORT_MAIL, authors = VT_AUTHORS_MAIL;
    PostMessageA(window, WM_COMMAND, IDM_About, 0);
    HWND about = Wait(AboutBoxClass);
    ASSERT_NE(about, nullptr);
    const struct { int command, link; std::string opened; } links[] = {  // command 0: a link of the About box
        {IDM_HomePage, 0, home}, {IDM_ContactAuthors, 0, "mailto:" + support + "?subject=Vantrel"},
        {0, AboutBoxId::HomePageLink, home}, {0, AboutBoxId::SupportMailLink, "mailto:" + support},
        {0, AboutBoxId::AuthorsMailLink, "mailto:" + authors},
    };
    for (const auto& link : links) {
        SCOPED_TRACE(link.opened);
        if (link.command) PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(link.command), 0);
        else PostClick(FindControl(about, link.link), POINT{4, 4});
        EXPECT_EQ(opened(), link.opened);
    }
}
