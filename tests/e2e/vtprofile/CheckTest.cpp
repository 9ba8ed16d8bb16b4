// check: each rule on a profile crafted to trigger it, named by its line,
// with the exit code of its severity; a clean profile exits with 0.
#include "VtprofileKit.h"

namespace {

struct CheckCase {
    const char* name;
    std::vector<std::string> lines;  // the profile, as plain text
    int line;                        // the line the finding names
    const char* severity;            // "error" or "warning"
    std::string says;                // part of the finding's text
};

class Check : public VtprofileTest {
protected:
    void Expect(const CheckCase& c)
    {
        SCOPED_TRACE(c.name);
        std::string path = WriteLines("check.txt", c.lines);
        CapturedRun run = Tool({"check", path});
        DWORD code = std::string(c.severity) == "error" ? 2 : 1;
        EXPECT_EQ(code, run.exitCode) << run.output;
        std::string head = path + ":" + std::to_string(c.line) + ": " + c.severity + ": ";
        size_t at = run.output.find(head);
        ASSERT_NE(std::string::npos, at) << run.output;
        std::string finding = run.output.substr(at, run.output.find('\n', at) - at);
        EXPECT_NE(std::string::npos, finding.find(c.says)) << finding;
    }
};

TEST_F(Check, FolderRulesThatLockTheComputerUp)
{
    const std::string own = ToolFolder();
    const CheckCase cases[] = {
        {"no access to Windows", {"[DIRECTORIES]", "-C:\\DATA", "&%WINDIR%"}, 3, "error",
         "denies access to the Windows folder " + WindowsDir},
        {"hidden system folder", {"[DIRECTORIES]", "!%SYSDIR%"}, 2, "warning", "hides the system folder " + SystemDir},
        {"no access to Program Files", {"[DIRECTORIES]", "#" + ProgramFilesDir}, 2, "error",
         "the Program Files folder"},
        {"whole drive", {"[DIRECTORIES]", "&D:"}, 2, "error", "denies access to the whole drive D:"},
        {"hidden drive with backslash", {"[DIRECTORIES]", "@E:\\"}, 2, "warning", "hides the whole drive E:"},
        {"own folder", {"[DIRECTORIES]", "&" + own}, 2, "error", "Vantrel's own folder " + own},
        {"profiles folder", {"[DIRECTORIES]", "+C:\\X", "#" + own + "\\PROFILES"}, 3, "error",
         "the profiles folder " + own + "\\PROFILES"},
    };
    for (const CheckCase& c : cases) Expect(c);
}

TEST_F(Check, RulesThatSilentlyDoNothing)
{
    const CheckCase cases[] = {
        {"lower case", {"[DIRECTORIES]", "-C:\\Data"}, 2, "warning", "has lower-case letters"},
        {"unknown macro", {"[DIRECTORIES]", "-%WINDOWS%\\FONTS"}, 2, "warning", "%WINDOWS% is no macro"},
        {"repeated folder, same after expansion", {"[DIRECTORIES]", "-%WINDIR%\\WEB", "&C:\\X", "!" + WindowsDir + "\\WEB"},
         4, "warning", "repeats the folder of line 2"},
        {"repeated file rule", {"[FILES]", "-.DOC", "+A.TXT", "&.DOC"}, 4, "warning", "repeats the file rule of line 2"},
        {"repeated program", {"[TASKS]", "NOTEPAD.EXE", "CMD.EXE      // Command", "notepad.exe"}, 4, "warning",
         "NOTEPAD.EXE is disabled already on line 2"},
        {"repeated restriction", {"[POLICIES]", "3=1", "4=1", "3=0"}, 4, "warning", "restriction 3 is set already"},
        {"password flag without hash", {"[OPTIONS]", "PWD=secret"}, 2, "warning", "gives no password hash"},
        {"password hash of zero low bits", {"[TASKS]", "[OPTIONS]", "PWD=4294967296"}, 3, "warning",
         "gives no password hash"},
    };
    for (const CheckCase& c : cases) Expect(c);
}

TEST_F(Check, SystemFileTypesWithoutException)
{
    const CheckCase cases[] = {
        {"no access to programs", {"[FILES]", "&.EXE"}, 2, "error", "no program can start"},
        {"no access to libraries", {"[FILES]", "-.TXT", "&.DLL"}, 3, "error", "no program can load its libraries"},
        {"read-only drivers", {"[FILES]", "-.SYS"}, 2, "warning", "every .SYS file is read-only"},
        {"exception for another type only", {"[FILES]", "+EXPLORER.EXE", "-.DLL"}, 3, "warning",
         "every .DLL file is read-only"},
    };
    for (const CheckCase& c : cases) Expect(c);
}

TEST_F(Check, ProgramsWindowsNeeds)
{
    for (const char* program : {"EXPLORER.EXE", "WINLOGON.EXE", "CSRSS.EXE", "SERVICES.EXE", "LSASS.EXE",
                                "SMSS.EXE", "VTLOCK.EXE"})
        Expect({program, {"[TASKS]", "NOTEPAD.EXE", std::string(program) + "      // System"}, 3, "error",
                std::string("disabling ") + program});
}

TEST_F(Check, CleanProfileExitsWithZero)
{
    std::string path = WriteLines("clean.txt", {
        "[DIRECTORIES]", "-%WINDIR%", "-%PROGRAMFILES%", "&C:\\PAYROLL", "+C:\\PAYROLL\\INBOX", "@%DESKTOP%",
        "[FILES]", "-.EXE", "+SETUP.EXE", "&.REG", "-BOOT.INI",
        "[POLICIES]", "0=1", "1=0", "2=2",
        "[TASKS]", "REGEDIT.EXE      // Registry Editor",
        "[OPTIONS]", "PWD=0", "[END1]"});
    CapturedRun run = Tool({"check", path});
    EXPECT_EQ(0u, run.exitCode) << run.output;
    EXPECT_EQ(path + ": no problems found\r\n", run.output);
}

TEST_F(Check, UnreadableFileExitsWithTwo)
{
    CapturedRun run = Tool({"check", PathOf("none.vtp")});
    EXPECT_EQ(2u, run.exitCode);
    EXPECT_NE(std::string::npos, run.errors.find("cannot open"));
}

}  // namespace
