// Global settings in the real registry, the choice of the start-up profile
// and the profiles folder beside the program.
#include "RegValues.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtTest.h"

#include <gtest/gtest.h>

namespace {

const char* const Key = "Software\\VtLock";
const char* const Names[] = {"AutoStart", "UserControl", "UseDefault"};

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, Key);
        dir_ = NewTempDir("settings");
        ASSERT_FALSE(dir_.empty());
    }

    void Load()
    {
        GlobalSettings = {true, true, true, true};
        LoadSettings();
        ProfilesDir = dir_;
    }

    std::string dir_;
};

std::string Dword(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), sizeof value); }

// AutoStart alone also tells whether settings were ever stored.
TEST_F(SettingsTest, FlagIsTrueOnlyForTheNumberOne)
{
    struct Case {
        DWORD type;  // REG_NONE: no value
        std::string data;
        bool flag, stored;
    };
    const Case cases[] = {
        {REG_NONE, "", false, false},         {REG_DWORD, Dword(1), true, true},
        {REG_DWORD, Dword(0), false, true},   {REG_DWORD, Dword(257), false, true},
        {REG_BINARY, Dword(1), true, true},   {REG_SZ, std::string("1", 2), false, true},
        {REG_SZ, std::string("1234", 5), false, false},
    };
    for (const Case& c : cases) {
        for (int which = 0; which < 3; ++which) {
            SCOPED_TRACE(testing::Message() << Names[which] << " of type " << c.type << ", " << c.data.size() << " bytes");
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, Key);
            if (c.type != REG_NONE)
                RegSetKeyValueA(HKEY_LOCAL_MACHINE, Key, Names[which], c.type, c.data.data(), DWORD(c.data.size()));
            Load();
            const bool flags[] = {GlobalSettings.AutoStart, GlobalSettings.UserControl, GlobalSettings.UseDefault};
            for (int i = 0; i < 3; ++i) EXPECT_EQ(i == which && c.flag, flags[i]) << Names[i];
            EXPECT_EQ(which == 0 && c.stored, GlobalSettings.SettingsStored);
        }
    }
}

TEST_F(SettingsTest, SaveWritesOneOrZero)
{
    for (int bits : {5, 2}) {
        GlobalSettings = {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, false};
        SaveSettings();
        for (int i = 0; i < 3; ++i) {
            DWORD value = 99, size = sizeof value;
            EXPECT_EQ(ERROR_SUCCESS,
                      RegGetValueA(HKEY_LOCAL_MACHINE, Key, Names[i], RRF_RT_REG_DWORD, nullptr, &value, &size));
            EXPECT_EQ(DWORD((bits >> i) & 1), value) << Names[i];
        }
    }
}

TEST_F(SettingsTest, StartupProfileChoice)
{
    const std::string own = GetCurrentUserName() + ".vtp";
    ASSERT_NE(".vtp", own);
    struct Case {
        bool userControl, useDefault, ownFile, defaultFile;
        char chosen;  // 'o' own, 'd' default, '-' none
    };
    const Case cases[] = {
        {0, 0, 0, 0, '-'}, {0, 0, 0, 1, 'd'}, {0, 0, 1, 0, '-'}, {0, 0, 1, 1, 'd'},
        {0, 1, 0, 0, '-'}, {0, 1, 0, 1, 'd'}, {0, 1, 1, 0, '-'}, {0, 1, 1, 1, 'd'},
        {1, 0, 0, 0, '-'}, {1, 0, 0, 1, '-'}, {1, 0, 1, 0, 'o'}, {1, 0, 1, 1, 'o'},
        {1, 1, 0, 0, '-'}, {1, 1, 0, 1, 'd'}, {1, 1, 1, 0, 'o'}, {1, 1, 1, 1, 'o'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "UserControl " << c.userControl << ", UseDefault " << c.useDefault
                                        << ", own file " << c.ownFile << ", default file " << c.defaultFile);
        ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, Key, "UserControl", c.userControl));
        ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, Key, "UseDefault", c.useDefault));
        for (const auto& file : {std::make_pair(own, c.ownFile), std::make_pair(std::string("default.vtp"), c.defaultFile)})
            if (file.second)
                ASSERT_TRUE(WriteWholeFile(dir_ + file.first, "[FILES]\r\n"));
            else
                DeleteFileA((dir_ + file.first).c_str());
        Load();
        EXPECT_EQ(c.chosen == 'o' ? own : c.chosen == 'd' ? "default.vtp" : "", SelectStartupProfile());
    }
    // A file that cannot be read is not chosen.
    HANDLE locked = CreateFileA((dir_ + "default.vtp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, Key, "UserControl", 0));
    Load();
    EXPECT_EQ("", SelectStartupProfile());
    CloseHandle(locked);
}

// Run as a child from a copy of this program: loads the settings there and
// reports the profiles folder.
TEST(SettingsChild, LoadInCopy)
{
    char out[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("VT_SETTINGS_OUT", out, MAX_PATH)) GTEST_SKIP() << "run by the folder test only";
    InitRuntimeEnvironment();
    LoadSettings();
    ASSERT_TRUE(WriteWholeFile(out, ProfilesDir));
}

// Made for SYSTEM and Administrators only (what the profiles inside inherit
// is checked end to end, tests/e2e/driverservice).
TEST(ProfilesFolder, CreatedBesideTheProgramForAdministratorsOnly)
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const std::string app = NewTempDir("app"), copy = app + "settings.exe", out = NewTempDir("out") + "dir.txt";
    ASSERT_TRUE(CopyFileA(exe, copy.c_str(), FALSE));
    SetEnvironmentVariableA("VT_SETTINGS_OUT", out.c_str());
    ProcessResult run = RunAndWait(QuoteArgument(copy) + " --gtest_filter=SettingsChild.LoadInCopy");
    SetEnvironmentVariableA("VT_SETTINGS_OUT", nullptr);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(app + "Profiles\\", ReadWholeFile(out));
    ExpectOnlyAdministrators(FileDacl(app + "Profiles"), FILE_ALL_ACCESS, true);
}

}  // namespace
