// The runtime environment as a process prepares it: folders from the system
// and the shell-folder values, the gap rule, the operating-system family, the
// registered messages and the system's error texts.
#include <gtest/gtest.h>
#include "MsgBox.h"
#include "RegValues.h"
#include "RuntimeEnv.h"
#include "StartupTest.h"
#include "VtTest.h"

namespace {

const char* const CurrentVersionKey = "Software\\Microsoft\\Windows\\CurrentVersion";
const char* const QuickLaunchTail = "\\Microsoft\\Internet Explorer\\Quick Launch";
const char* const InitialQuickLaunch = "C:\\WINDOWS\\APPLICATION DATA\\MICROSOFT\\INTERNET EXPLORER\\QUICK LAUNCH";

// Every value the runtime environment reads from the registry, restored at
// the end of each test.
class RuntimeEnv : public ::testing::Test {
protected:
    SavedRegValues machine{HKEY_LOCAL_MACHINE, ShellFoldersKey, {"Common Desktop", "Common Programs"}};
    SavedRegValues user{HKEY_CURRENT_USER, ShellFoldersKey, {"Desktop", "Programs", "AppData"}};
    SavedRegValues programFiles{HKEY_LOCAL_MACHINE, CurrentVersionKey, {"ProgramFilesDir"}};

    // Writes the value, or deletes it when text is null.
    static void Put(HKEY root, const char* subkey, const char* name, const char* text)
    {
        if (text)
            ASSERT_TRUE(WriteRegString(root, subkey, name, text));
        else
            DeleteRegValue(root, subkey, name);
    }
};

std::string SystemFolder(UINT (WINAPI* query)(LPSTR, UINT))
{
    char buffer[MAX_PATH + 1] = {};
    query(buffer, MAX_PATH);
    return buffer;
}

TEST_F(RuntimeEnv, SystemFoldersUpperCased)
{
    InitRuntimeEnvironment();
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    EXPECT_EQ(UpperCase(SystemFolder(GetSystemDirectoryA)), SystemDir);
    EXPECT_EQ(UpperCase(SystemFolder(GetWindowsDirectoryA)), WindowsDir);
    EXPECT_EQ(UpperCase(temp), TempDir);
    EXPECT_EQ('\\', TempDir.back());
    EXPECT_EQ(TempDir, UserTempDir);
}

TEST_F(RuntimeEnv, RegisteredMessagesMatchTheirNames)
{
    InitRuntimeEnvironment();
    const std::pair<const char*, UINT*> messages[] = {
        {"Corvane2.TaskMan1", &MsgTaskMan}, {"Vantrel.Start", &MsgStart},   {"Vantrel.Stop", &MsgStop},
        {"Vantrel.StopAgent", &MsgStopAgent}, {"Vantrel.Ask", &MsgAsk},       {"Vantrel.Saved", &MsgSaved},
        {"Vantrel.Enable", &MsgEnable},     {"Vantrel.Disable", &MsgDisable},
    };
    for (const auto& m : messages) {
        SCOPED_TRACE(m.first);
        EXPECT_GE(*m.second, 0xC000u);
        EXPECT_EQ(RegisterWindowMessageA(m.first), *m.second);
    }
}

TEST_F(RuntimeEnv, OnlyLettersAToZAreUpperCased)
{
    Put(HKEY_LOCAL_MACHINE, CurrentVersionKey, "ProgramFilesDir", "d:\\Programme \xE9t\xE9");
    Put(HKEY_LOCAL_MACHINE, ShellFoldersKey, "Common Desktop", "c:\\all\\Desktop-\xE0\xC9");
    Put(HKEY_LOCAL_MACHINE, ShellFoldersKey, "Common Programs", "c:\\all\\start menu\\programs");
    Put(HKEY_CURRENT_USER, ShellFoldersKey, "Desktop", "c:\\users\\jos\xE9\\desktop");
    Put(HKEY_CURRENT_USER, ShellFoldersKey, "Programs", "c:\\users\\jos\xE9\\programs 1_2");
    Put(HKEY_CURRENT_USER, ShellFoldersKey, "AppData", "c:\\users\\jos\xE9\\appdata\\roaming");
    InitRuntimeEnvironment();
    EXPECT_EQ("D:\\PROGRAMME \xE9T\xE9", ProgramFilesDir);
    EXPECT_EQ("C:\\ALL\\DESKTOP-\xE0\xC9", CommonDesktopDir);
    EXPECT_EQ("C:\\ALL\\START MENU\\PROGRAMS", CommonProgramsDir);
    EXPECT_EQ("C:\\USERS\\JOS\xE9\\DESKTOP", DesktopDir);
    EXPECT_EQ("C:\\USERS\\JOS\xE9\\PROGRAMS 1_2", ProgramsDir);
    const std::string appData = "C:\\USERS\\JOS\xE9\\APPDATA\\ROAMING";
    EXPECT_EQ(appData, QuickLaunchDir.substr(0, appData.size()));
    EXPECT_EQ(UpperCase(appData + QuickLaunchTail), UpperCase(QuickLaunchDir));
}

struct GapCase {
    const char* name;
    const char* commonDesktop;  // null: value missing
    const char* desktop;
    const char* commonPrograms;
    const char* programs;
    const char* wantCommonDesktop;
    const char* wantDesktop;
    const char* wantCommonPrograms;
    const char* wantPrograms;
};

TEST_F(RuntimeEnv, MissingFoldersFilledFromTheOtherSide)
{
    const GapCase cases[] = {
        {"all present", "c:\\cd", "c:\\d", "c:\\cp", "c:\\p", "C:\\CD", "C:\\D", "C:\\CP", "C:\\P"},
        {"no machine-wide folders", nullptr, "c:\\d", nullptr, "c:\\p", "C:\\D", "C:\\D", "C:\\P", "C:\\P"},
        {"no per-user folders", "c:\\cd", nullptr, "c:\\cp", nullptr, "C:\\CD", "C:\\CD", "C:\\CP", "C:\\CP"},
        {"empty texts count as missing", "", "c:\\d", "c:\\cp", "", "C:\\D", "C:\\D", "C:\\CP", "C:\\CP"},
        {"nothing at all", nullptr, nullptr, nullptr, nullptr, "", "", "", ""},
    };
    for (const GapCase& c : cases) {
        SCOPED_TRACE(c.name);
        Put(HKEY_LOCAL_MACHINE, ShellFoldersKey, "Common Desktop", c.commonDesktop);
        Put(HKEY_CURRENT_USER, ShellFoldersKey, "Desktop", c.desktop);
        Put(HKEY_LOCAL_MACHINE, ShellFoldersKey, "Common Programs", c.commonPrograms);
        Put(HKEY_CURRENT_USER, ShellFoldersKey, "Programs", c.programs);
        InitRuntimeEnvironment();
        EXPECT_EQ(c.wantCommonDesktop, CommonDesktopDir);
        EXPECT_EQ(c.wantDesktop, DesktopDir);
        EXPECT_EQ(c.wantCommonPrograms, CommonProgramsDir);
        EXPECT_EQ(c.wantPrograms, ProgramsDir);
    }
}

TEST_F(RuntimeEnv, MissingValuesKeepTheInitialFolders)
{
    Put(HKEY_CURRENT_USER, ShellFoldersKey, "AppData", nullptr);
    Put(HKEY_LOCAL_MACHINE, CurrentVersionKey, "ProgramFilesDir", nullptr);
    std::map<std::string, std::string> fresh = ChildEnvironment();
    ASSERT_FALSE(fresh.empty());
    EXPECT_EQ(InitialQuickLaunch, fresh["QuickLaunchDir"]);
    EXPECT_EQ("C:\\PROGRAM FILES", fresh["ProgramFilesDir"]);
}

TEST_F(RuntimeEnv, WindowsFamilyFromTheReportedVersion)
{
    char exe[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const std::string appKey = std::string("Software\\Wine\\AppDefaults\\") + (strrchr(exe, '\\') + 1);
    SavedRegValues version(HKEY_CURRENT_USER, appKey, {"Version"});
    const std::pair<const char*, const char*> cases[] = {
        {"win98", "0"}, {"nt40", "1"}, {"winxp", "1"}, {"win7", "1"}, {nullptr, "1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first ? c.first : "default");
        Put(HKEY_CURRENT_USER, appKey.c_str(), "Version", c.first);
        EXPECT_EQ(c.second, ChildEnvironment()["IsWindowsNT"]);
    }
}

TEST(SystemErrorText, TrailingBlanksAndFullStopsRemoved)
{
    for (DWORD code : {ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_INVALID_PARAMETER,
                       ERROR_SERVICE_DOES_NOT_EXIST, ERROR_SERVICE_ALREADY_RUNNING, ERROR_ALREADY_EXISTS}) {
        SCOPED_TRACE(code);
        char raw[1024] = {};
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, raw,
                       sizeof raw, nullptr);
        std::string text = SystemErrorText(code);
        ASSERT_FALSE(text.empty());
        EXPECT_LE(text.size(), 256u);
        EXPECT_EQ(0u, std::string(raw).find(text));
        unsigned char last = static_cast<unsigned char>(text.back());
        EXPECT_GT(last, ' ');
        EXPECT_NE('.', last);
        EXPECT_EQ(std::string::npos, text.find_first_of("\r\n"));
    }
}

TEST(SystemErrorText, UnknownCodeGivesEmptyText)
{
    EXPECT_EQ("", SystemErrorText(0x2FFFFFF1));
}

TEST(SystemErrorBox, PrefixAndErrorTextUnderTheDefaultCaption)
{
    BoxAnswerer answerer("ok");
    ShowSystemError("Cannot install the service: ", ERROR_ACCESS_DENIED);
    SetLastError(ERROR_FILE_NOT_FOUND);
    ShowSystemError("Cannot open the driver: ");
    std::vector<SeenBox> boxes = answerer.WaitSeen(2);
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("Cannot install the service: " + SystemErrorText(ERROR_ACCESS_DENIED), boxes[0].text);
    EXPECT_EQ("Cannot open the driver: " + SystemErrorText(ERROR_FILE_NOT_FOUND), boxes[1].text);
    for (const SeenBox& box : boxes) {
        EXPECT_EQ("Error", box.caption);
        EXPECT_EQ("error", box.icon);
        EXPECT_EQ("ok", box.buttons);
    }
}

TEST(SystemErrorBox, QuestionReturnsTheButtonPressed)
{
    BoxAnswerer answerer("no");
    EXPECT_EQ(IDNO, ShowMessage("Save the changes?", "Save", MB_YESNO | MB_ICONQUESTION));
    std::vector<SeenBox> boxes = answerer.WaitSeen(1);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Save", boxes[0].caption);
    EXPECT_EQ("Save the changes?", boxes[0].text);
    EXPECT_EQ("question", boxes[0].icon);
    EXPECT_EQ("yes,no", boxes[0].buttons);
}

}  // namespace
