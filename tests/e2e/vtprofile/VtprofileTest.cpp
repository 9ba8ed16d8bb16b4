// vtprofile.exe as an administrator uses it: check, explain, decode and encode, and its failures.
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtTest.h"
#include <gtest/gtest.h>
struct Vtprofile : ::testing::Test {
    void SetUp() override { InitRuntimeEnvironment(); }
    // A file of the lines separated by "|", each ended by CR LF.
    std::string Lines(const std::string& name, std::string lines) {
        for (size_t bar; (bar = lines.find('|')) != std::string::npos;) lines.replace(bar, 1, "\r\n");
        EXPECT_TRUE(WriteWholeFile(dir + name, lines + "\r\n"));
        return dir + name;
    }
    static ProcessResult Tool(const std::vector<std::string>& args) {
        std::string line = QuoteArgument(BinDir() + "vtprofile.exe");
        for (const std::string& arg : args) line += " " + QuoteArgument(arg);
        return RunCaptured(line);
    }
    const std::string dir = NewTempDir("vtprofile");
};
TEST_F(Vtprofile, CheckNamesEachFindingWithItsLineAndSeverity) {
    const std::string own = UpperCase(BinDir().substr(0, BinDir().size() - 1));
    char shortForm[MAX_PATH] = {};
    ASSERT_TRUE(GetShortPathNameA(ProgramFilesDir.c_str(), shortForm, MAX_PATH) && shortForm != ProgramFilesDir);
    struct Case { std::string lines; int line; bool error; std::string says; };  // says: part of the finding
    std::vector<Case> cases = {
        {"[DIRECTORIES]|-C:\\DATA|&%WINDIR%", 3, true,
         "denies access to the Windows folder " + WindowsDir + " and the system folder " + SystemDir + ": Windows"},
        {"[DIRECTORIES]|&C:", 2, true, "denies access to the whole drive C:, the Windows folder " + WindowsDir +
         ", the system folder " + SystemDir + " and the Program Files folder " + ProgramFilesDir + ":"},
        {"[DIRECTORIES]|&" + UpperCase(shortForm), 2, true, "the Program Files folder " + ProgramFilesDir},
        {"[DIRECTORIES]|!%SYSDIR%", 2, false, "hides the system folder " + SystemDir},
        {"[DIRECTORIES]|#" + ProgramFilesDir, 2, true, "the Program Files folder"},
        {"[DIRECTORIES]|@E:\\", 2, false, "hides the whole drive E:"},
        {"[DIRECTORIES]|&" + own, 2, true, "Vantrel's own folder " + own},
        {"[DIRECTORIES]|+C:\\X|#" + own + "\\PROFILES", 3, true, "the profiles folder " + own + "\\PROFILES"},
        {"[DIRECTORIES]|-C:\\Data", 2, false, "has lower-case letters"},
        {"[DIRECTORIES]|-%WINDOWS%\\FONTS", 2, false, "%WINDOWS% is no macro"},
        {"[DIRECTORIES]|-%WINDIR%\\WEB|&C:\\X|!" + WindowsDir + "\\WEB", 4, false, "repeats the folder of line 2"},
        {"[FILES]|-.DOC|+A.TXT|&.DOC", 4, false, "repeats the file rule of line 2"},
        {"[TASKS]|NOTEPAD.EXE|CMD.EXE      // Command|notepad.exe", 4, false, "NOTEPAD.EXE is disabled already"},
        {"[POLICIES]|22=1|32=1", 3, false, "\"32=1\": there is no restriction 32 (0 to 31); the agent ignores"},
        {"[POLICIES]|=1", 2, false, "\"=1\" is no restriction line"},
        {"[TASKS]|[OPTIONS]|PWD=4294967296", 3, false, "gives no password hash"},
        {"[FILES]|&.EXE", 2, true, "no program can start"},
        {"[FILES]|-.TXT|&.DLL", 3, true, "no program can load its libraries"},
        {"[FILES]|+EXPLORER.EXE|-.DLL", 3, false, "every .DLL file is read-only"},
    };
    for (std::string program : {"EXPLORER", "LSASS", "VTLOCK"})
        cases.push_back({"[TASKS]|NOTEPAD.EXE|" + program + ".EXE      // System", 3, true, "disabling " + program});
    for (const Case& c : cases) {
        const std::string path = Lines("check.txt", c.lines);
        ProcessResult run = Tool({"check", path});
        const std::string head = path + ":" + std::to_string(c.line) + (c.error ? ": error: " : ": warning: ");
        const size_t at = std::min(run.output.find(head), run.output.size());
        EXPECT_TRUE(run.exitCode == (c.error ? 2u : 1u) &&
                    run.output.substr(at, run.output.find('\n', at) - at).find(c.says) != std::string::npos)
            << c.lines << "\n" << run.exitCode << " " << run.output;
    }
    // Several findings, in the order of their lines.
    const std::string several = Lines("several.txt", "junk|[POLICIES]|3=1|3=0|[FILES]|&.DLL");
    ProcessResult run = Tool({"check", several});
    EXPECT_EQ(std::to_string(run.exitCode) + " " + run.output,
              "2 " + several + ":1: warning: the line comes before any section header: it is dropped\r\n" + several +
                  ":4: warning: restriction 3 is set already on line 3; the agent and the manager ignore this "
                  "line\r\n" + several + ":6: error: \"&.DLL\" with no full-access exception: no program can load its libraries "
                            "(add rules such as \"+EXPLORER.EXE\")\r\n");
    for (const char* password : {"PWD=0", "PWD=123456"}) {
        const std::string clean = Lines("clean.txt", "[DIRECTORIES]|-%WINDIR%|&C:\\PAYROLL|+C:\\PAYROLL\\INBOX|"
                                                     "@%DESKTOP%|[FILES]|-.EXE|+SETUP.EXE|&.REG|[POLICIES]|0=1|1=0|"
                                                     "[TASKS]|REGEDIT.EXE      // Registry Editor|[OPTIONS]|" +
                                                     std::string(password));
        run = Tool({"check", clean});
        EXPECT_EQ(std::to_string(run.exitCode) + " " + run.output, "0 " + clean + ": no problems found\r\n");
    }
}
// Each case: the profile, the path, and parts of the answer in their order.
TEST_F(Vtprofile, ExplainNamesTheDecidingRulesAndWhy) {
    const std::string deep = WindowsDir + "\\SECRET";
    char temp[MAX_PATH] = {};
    const std::string tempDir = UpperCase(std::string(temp, GetTempPathA(MAX_PATH, temp) - 1));
    const struct { std::string profile, path; std::vector<std::string> says; } cases[] = {
        {"[DIRECTORIES]|-%WINDIR%|&%WINDIR%\\SECRET|+C:\\OTHER", deep + "\\PLANS\\",
         {"Folder " + deep + "\\PLANS\r\n  Access denied, decided by line 3, \"&%WINDIR%\\SECRET\".\r\n  %WINDIR% "
          "stands for " + WindowsDir + ".\r\n  The rule's path is therefore " + deep + ".\r\n  " + deep + " is the "
          "first " + std::to_string(deep.size()) + " characters of " + deep + "\\PLANS",
          "Built-in exceptions: none covers it.\r\n"}},
        {"[DIRECTORIES]|&C:\\PAYROLL|+C:\\PAYROLL\\INBOX", "c:\\payroll\\inbox", {"Folder C:\\PAYROLL\\INBOX\r\n  "
         "Full access (read/write), decided by line 3", "The rule names this folder itself (its own rule)."}},
        {"[DIRECTORIES]|#C:\\PAYROLL|[FILES]|+NOTE.TXT|-.DOC", "C:\\PAYROLL\\2024\\PLAN.DOC",
         {"Folder C:\\PAYROLL\\2024, where the file lies\r\n  Access denied, invisible in the Explorer, decided by "
          "line 2, \"#C:\\PAYROLL\".", "File PLAN.DOC\r\n  Read only access by line 5, \"-.DOC\", a rule for every "
          "file of type .DOC.\r\n"}},
        {"[FILES]|&BOOT.INI|-.INI", "C:\\BOOT.INI", {"  No folder rule covers it: Full access (read/write).",
         "  Access denied by line 2, \"&BOOT.INI\", a rule for every file of this name in any folder.\r\n",
         "  Read only access by line 3, \"-.INI\""}},
        {"[DIRECTORIES]|&C:\\WIN", "C:\\WINDOWS2", {"Access denied, decided by line 2", "C:\\WIN is the first 6 "
         "characters of C:\\WINDOWS2", "Note: rules match by leading characters, not by whole folder names"}},
        {"[DIRECTORIES]|&C:", tempDir + "\\WORK\\A.TMP", {"Access denied, decided by line 2, \"&C:\"",
         "Built-in exception: the driver always gives full access to " + tempDir + ", whatever the profile says"}},
        {"[FILES]|&.DAT", "C:\\USERS\\ANNA\\NTUSER.DAT", {"Access denied by line 2, \"&.DAT\"", "to NTUSER.DAT"}},
        {"[DIRECTORIES]|&C:\\DATA|-C:\\DATA|[FILES]|-.GZ", "C:\\DATA\\A.TAR.GZ", {"Read only access, decided by "
         "line 3", "  Read only access by line 5, \"-.GZ\", a rule for every file of type .GZ.\r\n"}},
    };
    for (const auto& c : cases) {
        ProcessResult run = Tool({"explain", Lines("explain.txt", c.profile), c.path});
        size_t at = 0;
        EXPECT_EQ(run.exitCode, 0u) << run.errors;
        for (const std::string& part : c.says)
            EXPECT_NE(at = run.output.find(part, at), std::string::npos) << part << "\n" << run.output;
    }
}
TEST_F(Vtprofile, DecodeAndEncodeGiveBackTheSavedBytesAndFailuresAreReported) {
    CreateProfileLists();
    ProfilesDir = dir;
    Profile.Folders = {"-%WINDIR%", "&C:\\PAYROLL", "+C:\\PAYROLL\\INBOX", "", "-C:\\"};
    for (int c = 1; c < 256; ++c) Profile.Folders.back() += c == '\r' || c == '\n' ? 'x' : char(c);
    Profile.Files = {"&.REG", "-BOOT.INI"};
    for (int row = 0; row < 32; ++row) Profile.Policies.push_back(std::to_string(row) + "=" + std::to_string(row % 3));
    Profile.Tasks = {"REGEDIT.EXE      // Registry Editor  (Microsoft)", "CMD.EXE"};
    ASSERT_TRUE(SaveProfile("saved", 3000000000u));
    ProcessResult decoded = Tool({"decode", dir + "saved.vtp"});
    EXPECT_EQ(decoded.output.find("[DIRECTORIES]\r\n-%WINDIR%\r\n&C:\\PAYROLL\r\n"), 0u) << decoded.output;
    EXPECT_NE(decoded.output.find("[OPTIONS]\r\nPWD=3000000000\r\n[END1]\r\n"), std::string::npos);
    ASSERT_TRUE(WriteWholeFile(dir + "saved.txt", decoded.output));
    ProcessResult encoded = Tool({"encode", dir + "saved.txt", dir + "again.vtp"});
    EXPECT_EQ(decoded.exitCode + encoded.exitCode, 0u) << decoded.errors << encoded.errors;
    EXPECT_EQ(ReadWholeFile(dir + "again.vtp"), ReadWholeFile(dir + "saved.vtp"));
    // Each says on the console with exit code 0, else on the error output.
    const std::string missing = dir + "missing.vtp", random = dir + "random.vtp", otherKey = dir + "other.vtp",
                      unheaded = Lines("unheaded.txt", "-C:\\DATA|&.EXE"), out = dir + "out.vtp";
    std::string bytes, scrambled = ReadWholeFile(dir + "saved.vtp");
    for (unsigned seed = 7; bytes.size() < 4096;) bytes += char((seed = seed * 1103515245 + 12345) >> 16);
    ASSERT_TRUE(WriteWholeFile(random, bytes));
    auto lineEnd = [](char c) { return c == '\r' || c == '\n'; };
    for (size_t i = 3; i < scrambled.size(); ++i)  // the same bytes as scrambled with a key one bit off
        if (!lineEnd(scrambled[i]) && !lineEnd(char(scrambled[i] ^ 1))) scrambled[i] ^= 1;
    ASSERT_TRUE(WriteWholeFile(otherKey, scrambled));
    const struct { std::vector<std::string> args; DWORD exitCode; std::string says; } cases[] = {
        {{"/?"}, 0, "vtprofile encode TEXT OUT.vtp      writes a plain-text profile as a profile file"},
        {{"decode"}, 2, "vtprofile explain FILE.vtp PATH"},
        {{"decode", missing}, 2, "cannot open " + missing},
        {{"explain", missing, "C:\\"}, 2, "cannot open " + missing},
        {{"encode", dir + "saved.txt", dir}, 2, "Cannot save profile: "},
        {{"check", random}, 2, random + " is no profile: no line is a section header such as [DIRECTORIES]"},
        {{"encode", random, out}, 2, random + " is no profile"},
        {{"check", otherKey}, 2, "(is it scrambled with another key?)"},
        {{"check", unheaded}, 2, unheaded + " is no profile"},
    };
    for (const auto& c : cases) {
        ProcessResult run = Tool(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.says;
        EXPECT_NE((c.exitCode ? run.errors : run.output).find(c.says), std::string::npos) << run.output << run.errors;
    }
    EXPECT_EQ(GetFileAttributesA(out.c_str()), INVALID_FILE_ATTRIBUTES);
}
