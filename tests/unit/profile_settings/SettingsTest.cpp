// Global settings in the real registry, the choice of the start-up profile, and what a fresh process finds.
#include "RegValues.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtTest.h"
#include <gtest/gtest.h>
namespace {
const char* const Key = "Software\\VtLock";
const char* const Names[] = {"AutoStart", "UserControl", "UseDefault"};
struct SettingsTest : ::testing::Test {
    void SetUp() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, Key), dir_ = NewTempDir("settings"); }
    // The three flags and whether settings were stored, as loaded: "0101".
    std::string Load() {
        GlobalSettings = {true, true, true, true};
        LoadSettings();
        ProfilesDir = dir_;
        const TGlobalSettings& g = GlobalSettings;
        return {char('0' + g.AutoStart), char('0' + g.UserControl), char('0' + g.UseDefault), char('0' + g.SettingsStored)};
    }
    std::string dir_;
};
// A flag is set by the number 1 only; AutoStart alone tells whether settings were stored. Values of other
// types are read as numbers (tests/unit/startup).
TEST_F(SettingsTest, FlagsLoaded) {
    const std::pair<long long, char> cases[] = {{-1, '0'}, {1, '1'}, {0, '0'}, {257, '0'}};  // -1: no value
    for (const auto& c : cases)
        for (int which = 0; which < 3; ++which) {
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, Key);
            if (c.first >= 0) WriteRegDword(HKEY_LOCAL_MACHINE, Key, Names[which], DWORD(c.first));
            std::string want = "0000";
            want[which] = c.second, want[3] = which == 0 && c.first >= 0 ? '1' : '0';
            EXPECT_EQ(want, Load()) << Names[which] << " " << c.first;
        }
}
TEST_F(SettingsTest, SavedFlagsAndTheStartupProfileChoice) {
    const std::string own = GetCurrentUserName() + ".vtp";
    ASSERT_NE(".vtp", own);
    // By UserControl, UseDefault, the own file present, the default one present: 'o' own, 'd' default, '-' none.
    // The flags as saved, AutoStart among them, load back.
    const char chosen[] = "-d-d" "-d-d" "--oo" "-doo";
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE(i);
        GlobalSettings = {i % 3 == 0, (i >> 3 & 1) != 0, (i >> 2 & 1) != 0, false};
        const std::string flags = {char('0' + GlobalSettings.AutoStart), char('0' + (i >> 3 & 1)), char('0' + (i >> 2 & 1))};
        SaveSettings();
        for (const auto& file : {std::make_pair(own, i & 2), std::make_pair(std::string("default.vtp"), i & 1)})
            if (file.second) ASSERT_TRUE(WriteWholeFile(dir_ + file.first, "[FILES]\r\n"));
            else DeleteFileA((dir_ + file.first).c_str());
        EXPECT_EQ(flags + "1", Load());
        EXPECT_EQ(chosen[i] == 'o' ? own : chosen[i] == 'd' ? "default.vtp" : "", SelectStartupProfile());
    }
    // A file that cannot be read is not chosen.
    HANDLE locked = CreateFileA((dir_ + "default.vtp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, Key, "UserControl", 0));
    Load();
    EXPECT_EQ("", SelectStartupProfile());
    CloseHandle(locked);
}
// A copy of this program run on its own, told it runs on Windows NT 4.0: the folders it starts with where the
// registry names none; its profiles folder beside it, for SYSTEM and Administrators only; no system backup
// folder in its image on version 4.0 (on Windows 98: tests/e2e/protection98).
TEST(FreshProcess, OfACopiedProgramOnWindowsNt4) {
    char out[MAX_PATH] = {};
    if (GetEnvironmentVariableA("VT_CHILD_OUT", out, MAX_PATH)) {  // the copy
        InitRuntimeEnvironment(), LoadSettings(), BuildDriverImage();
        const std::string image(DriverImage.begin(), DriverImage.begin() + DriverImageSize);
        ASSERT_TRUE(WriteWholeFile(out, ProfilesDir + "|" + QuickLaunchDir + "|" + ProgramFilesDir +
                                            (image.find("\\SYSBCKUP") != std::string::npos ? "|SYSBCKUP" : "")));
        return;
    }
    DeleteRegValue(HKEY_CURRENT_USER, ShellFoldersKey, "AppData");
    DeleteRegValue(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\fresh.exe", "Version", "nt40"));
    GetModuleFileNameA(nullptr, out, MAX_PATH);
    const std::string app = NewTempDir("app"), copy = app + "fresh.exe", report = NewTempDir("out") + "report.txt";
    ASSERT_TRUE(CopyFileA(out, copy.c_str(), FALSE));
    SetEnvironmentVariableA("VT_CHILD_OUT", report.c_str());
    EXPECT_EQ(0u, RunAndWait(QuoteArgument(copy) + " --gtest_brief=1 --gtest_filter=FreshProcess.*").exitCode);
    SetEnvironmentVariableA("VT_CHILD_OUT", nullptr);
    EXPECT_EQ(app + "Profiles\\|C:\\WINDOWS\\APPLICATION DATA\\MICROSOFT\\INTERNET EXPLORER\\QUICK LAUNCH|"
                    "C:\\PROGRAM FILES", ReadWholeFile(report));
    ExpectOnlyAdministrators(FileDacl(app + "Profiles"), FILE_ALL_ACCESS, true);
}
}  // namespace
