// The shell's handlers for help files, web pages and mail links, pointed at
// the shellcatch tool. The prefix is the test's own: nothing is put back.
#include "VtTest.h"
#include <gtest/gtest.h>
ShellCatcher::ShellCatcher() : log_("shell", '\n')
{
    const std::string command =
        QuoteArgument(BinDir() + "shellcatch.exe") + " --log " + QuoteArgument(log_.Path()) + " \"%1\"";
    const char ProgId[] = "VantrelTest.ShellCatch";
    const std::pair<std::string, std::string> entries[] = {
        {std::string(ProgId) + "\\shell\\open\\command", command},
        {".hlp", ProgId}, {".chm", ProgId},
        {"http\\shell\\open\\command", command},
        {"https\\shell\\open\\command", command},
        {"mailto\\shell\\open\\command", command},
    };
    for (const auto& entry : entries)
        if (RegSetValueA(HKEY_CLASSES_ROOT, entry.first.c_str(), REG_SZ, entry.second.c_str(), 0) != ERROR_SUCCESS)
            ADD_FAILURE() << "cannot register HKCR\\" << entry.first;
}
