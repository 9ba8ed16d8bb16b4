// explain: the deciding folder rule with its line, macro and prefix match,
// the file rules for a name or a type, and the built-in exceptions.
#include "VtprofileKit.h"

namespace {

class Explain : public VtprofileTest {
protected:
    std::string Explained(const std::vector<std::string>& profile, const std::string& path)
    {
        CapturedRun run = Tool({"explain", WriteLines("explain.txt", profile), path});
        EXPECT_EQ(0u, run.exitCode) << run.errors;
        return run.output;
    }
};

struct ExplainCase {
    const char* name;
    std::vector<std::string> profile;
    std::string path;
    std::vector<std::string> says;  // lines or parts of lines, in this order
};

TEST_F(Explain, NamesTheDecidingRulesAndWhy)
{
    const std::string deep = WindowsDir + "\\SECRET";
    const ExplainCase cases[] = {
        {"nested rules with macros",
         {"[DIRECTORIES]", "-%WINDIR%", "&%WINDIR%\\SECRET", "+C:\\OTHER"},
         deep + "\\PLANS\\",
         {"Folder " + deep + "\\PLANS\r\n",
          "  Access denied, decided by line 3, \"&%WINDIR%\\SECRET\".\r\n",
          "  %WINDIR% stands for " + WindowsDir + ".\r\n",
          "  The rule's path is therefore " + deep + ".\r\n",
          "  " + deep + " is the first " + std::to_string(deep.size()) + " characters of " + deep + "\\PLANS",
          "Built-in exceptions: none covers it.\r\n"}},
        {"own rule", {"[DIRECTORIES]", "&C:\\PAYROLL", "+C:\\PAYROLL\\INBOX"}, "c:\\payroll\\inbox",
         {"Folder C:\\PAYROLL\\INBOX\r\n", "Full access (read/write), decided by line 3",
          "The rule names this folder itself (its own rule)."}},
        {"file in a ruled folder with a type rule",
         {"[DIRECTORIES]", "#C:\\PAYROLL", "[FILES]", "+NOTE.TXT", "-.DOC"}, "C:\\PAYROLL\\2024\\PLAN.DOC",
         {"Folder C:\\PAYROLL\\2024, where the file lies\r\n",
          "  Access denied, invisible in the Explorer, decided by line 2, \"#C:\\PAYROLL\".",
          "File PLAN.DOC\r\n",
          "  Read only access by line 5, \"-.DOC\", a rule for every file of type .DOC.\r\n"}},
        {"file rule by name", {"[FILES]", "&BOOT.INI", "-.INI"}, "C:\\BOOT.INI",
         {"  No folder rule covers it: Full access (read/write).",
          "  Access denied by line 2, \"&BOOT.INI\", a rule for every file of this name in any folder.\r\n",
          "  Read only access by line 3, \"-.INI\""}},
        {"leading characters, not whole names", {"[DIRECTORIES]", "&C:\\WIN"}, "C:\\WINDOWS2",
         {"Access denied, decided by line 2", "C:\\WIN is the first 6 characters of C:\\WINDOWS2",
          "Note: rules match by leading characters, not by whole folder names"}},
        {"lower-case rule never matches", {"[DIRECTORIES]", "&c:\\data"}, "C:\\DATA",
         {"No folder rule covers it: Full access (read/write)."}},
    };
    for (const ExplainCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out = Explained(c.profile, c.path);
        size_t at = 0;
        for (const std::string& part : c.says) {
            size_t found = out.find(part, at);
            ASSERT_NE(std::string::npos, found) << "missing: " << part << "\n" << out;
            at = found + part.size();
        }
    }
}

TEST_F(Explain, BuiltInExceptions)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string tempDir = UpperCase(temp);
    tempDir.pop_back();
    std::string out = Explained({"[DIRECTORIES]", "&C:"}, tempDir + "\\WORK\\A.TMP");
    EXPECT_NE(std::string::npos, out.find("Access denied, decided by line 2, \"&C:\"")) << out;
    EXPECT_NE(std::string::npos, out.find("Built-in exception: the driver always gives full access to " + tempDir +
                                          ", whatever the profile says")) << out;

    out = Explained({"[FILES]", "&.DAT"}, "C:\\USERS\\ANNA\\NTUSER.DAT");
    EXPECT_NE(std::string::npos, out.find("Access denied by line 2, \"&.DAT\"")) << out;
    EXPECT_NE(std::string::npos, out.find("full access to NTUSER.DAT")) << out;

    out = Explained({"[DIRECTORIES]", "&C:"}, SystemDir + "\\CONFIG\\SAM");
    EXPECT_NE(std::string::npos, out.find("full access to " + SystemDir + "\\CONFIG,")) << out;
}

}  // namespace
