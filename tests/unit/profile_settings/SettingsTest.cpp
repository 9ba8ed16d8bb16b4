// Global settings in the real registry and the choice of the start-up profile.
#include "RegValues.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtTest.h"

#include <gtest/gtest.h>

namespace {

const char* const Key = "Software\\VtLock";

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, Key);
        GlobalSettings = TGlobalSettings();
        dir_ = NewTempDir("settings");
        ASSERT_FALSE(dir_.empty());
    }

    void TearDown() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, Key); }

    void Load()
    {
        LoadSettings();
        ProfilesDir = dir_;
    }

    static void SetRaw(const char* name, DWORD type, const std::string& data)
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, Key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                 &key, nullptr));
        RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(data.size()));
        RegCloseKey(key);
    }

    void SetFile(const std::string& name, bool present)
    {
        if (present)
            ASSERT_TRUE(WriteWholeFile(dir_ + name, "[FILES]\r\n-" + name + "\r\n"));
        else
            DeleteFileA((dir_ + name).c_str());
    }

    std::string dir_;
};

std::string Dword(DWORD value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

TEST_F(SettingsTest, MissingKeyGivesDefaults)
{
    GlobalSettings = {true, true, true, true};
    Load();
    EXPECT_FALSE(GlobalSettings.AutoStart);
    EXPECT_FALSE(GlobalSettings.UserControl);
    EXPECT_FALSE(GlobalSettings.UseDefault);
    EXPECT_FALSE(GlobalSettings.SettingsStored);
}

TEST_F(SettingsTest, FlagIsTrueOnlyForTheNumberOne)
{
    struct Case {
        const char* what;
        DWORD type;
        std::string data;
        bool flag, stored;
    };
    const Case cases[] = {
        {"DWORD 1", REG_DWORD, Dword(1), true, true},
        {"DWORD 0", REG_DWORD, Dword(0), false, true},
        {"DWORD 2", REG_DWORD, Dword(2), false, true},
        {"DWORD 257", REG_DWORD, Dword(257), false, true},
        {"binary 1 0 0 0", REG_BINARY, Dword(1), true, true},
        {"string \"1\"", REG_SZ, std::string("1", 2), false, true},
        {"string too long to read", REG_SZ, std::string("1234", 5), false, false},
        {"eight bytes", REG_QWORD, Dword(1) + Dword(0), false, false},
    };
    const char* const names[] = {"AutoStart", "UserControl", "UseDefault"};
    for (const Case& c : cases) {
        for (int which = 0; which < 3; ++which) {
            SCOPED_TRACE(std::string(c.what) + " as " + names[which]);
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, Key);
            SetRaw(names[which], c.type, c.data);
            Load();
            bool flags[] = {GlobalSettings.AutoStart, GlobalSettings.UserControl, GlobalSettings.UseDefault};
            for (int i = 0; i < 3; ++i) EXPECT_EQ(i == which && c.flag, flags[i]) << names[i];
            EXPECT_EQ(which == 0 && c.stored, GlobalSettings.SettingsStored);
        }
    }
}

TEST_F(SettingsTest, SaveWritesOneOrZeroAndLoadsBack)
{
    for (int bits = 0; bits < 8; ++bits) {
        SCOPED_TRACE(bits);
        GlobalSettings = {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, true};
        SaveSettings();
        const char* const names[] = {"AutoStart", "UserControl", "UseDefault"};
        for (int i = 0; i < 3; ++i) {
            DWORD type = 0, value = 99, size = sizeof value;
            EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_LOCAL_MACHINE, Key, names[i], RRF_RT_ANY, &type, &value,
                                                  &size));
            EXPECT_EQ(DWORD(REG_DWORD), type);
            EXPECT_EQ(DWORD((bits >> i) & 1), value) << names[i];
        }
        GlobalSettings = TGlobalSettings();
        Load();
        EXPECT_EQ((bits & 1) != 0, GlobalSettings.AutoStart);
        EXPECT_EQ((bits & 2) != 0, GlobalSettings.UserControl);
        EXPECT_EQ((bits & 4) != 0, GlobalSettings.UseDefault);
        EXPECT_TRUE(GlobalSettings.SettingsStored);
    }
}

TEST_F(SettingsTest, StartupProfileChoice)
{
    const std::string user = GetCurrentUserName();
    ASSERT_FALSE(user.empty());
    const std::string own = user + ".vtp";
    struct Case {
        bool userControl, useDefault, ownFile, defaultFile;
        const char* chosen;  // "own", "default" or ""
    };
    const Case cases[] = {
        {false, false, false, false, ""},        {false, false, false, true, "default"},
        {false, false, true, false, ""},         {false, false, true, true, "default"},
        {false, true, false, false, ""},         {false, true, false, true, "default"},
        {false, true, true, false, ""},          {false, true, true, true, "default"},
        {true, false, false, false, ""},         {true, false, false, true, ""},
        {true, false, true, false, "own"},       {true, false, true, true, "own"},
        {true, true, false, false, ""},          {true, true, false, true, "default"},
        {true, true, true, false, "own"},        {true, true, true, true, "own"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "UserControl " << c.userControl << ", UseDefault " << c.useDefault
                                        << ", own file " << c.ownFile << ", default file " << c.defaultFile);
        ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, Key, "UserControl", c.userControl ? 1 : 0));
        ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, Key, "UseDefault", c.useDefault ? 1 : 0));
        SetFile(own, c.ownFile);
        SetFile("default.vtp", c.defaultFile);
        Load();
        std::string expected = std::string(c.chosen) == "own" ? own
                               : std::string(c.chosen) == "default" ? std::string("default.vtp")
                                                                    : std::string();
        EXPECT_EQ(expected, SelectStartupProfile());
    }
}

TEST_F(SettingsTest, ProfileSavedForAUserIsTheOneChosenForHim)
{
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, Key, "UserControl", 1));
    Load();
    CreateProfileLists();
    Profile.Folders = {"-C:\\MINE"};
    ASSERT_TRUE(SaveProfile(GetCurrentUserName(), 0));
    std::string chosen = SelectStartupProfile();
    EXPECT_EQ(GetCurrentUserName() + ".vtp", chosen);

    CreateProfileLists();
    ASSERT_TRUE(LoadProfile(ProfilesDir + chosen));
    EXPECT_EQ((TextList{"-C:\\MINE"}), Profile.Folders);
}

TEST_F(SettingsTest, ProfileFileThatCannotBeReadIsNotChosen)
{
    SetFile("default.vtp", true);
    HANDLE locked = CreateFileA((dir_ + "default.vtp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    Load();
    EXPECT_EQ("", SelectStartupProfile());
    CloseHandle(locked);
    EXPECT_EQ("default.vtp", SelectStartupProfile());
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

std::string ExeName()
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path, length);
    return full.substr(full.find_last_of('\\') + 1);
}

// Runs a copy of this program placed in appDir; returns the profiles folder it reported.
std::string ProfilesDirOfCopyIn(const std::string& appDir)
{
    std::string copy = appDir + ExeName();
    EXPECT_TRUE(CopyFileA((BinDir() + ExeName()).c_str(), copy.c_str(), FALSE));
    std::string out = NewTempDir("settings_out") + "dir.txt";
    SetEnvironmentVariableA("VT_SETTINGS_OUT", out.c_str());
    ProcessResult run = RunAndWait("\"" + copy + "\" --gtest_brief=1 --gtest_filter=SettingsChild.LoadInCopy");
    SetEnvironmentVariableA("VT_SETTINGS_OUT", nullptr);
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(0u, run.exitCode);
    return ReadWholeFile(out);
}

// Made for SYSTEM and Administrators only; a profile written into it inherits that.
TEST(ProfilesFolder, CreatedBesideTheProgramForAdministratorsOnly)
{
    std::string app = NewTempDir("app");
    EXPECT_EQ(app + "Profiles\\", ProfilesDirOfCopyIn(app));
    DWORD attributes = GetFileAttributesA((app + "Profiles").c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    ExpectOnlyAdministrators(FileDacl(app + "Profiles"), FILE_ALL_ACCESS, true);
    ASSERT_TRUE(WriteWholeFile(app + "Profiles\\default.vtp", "profile"));
    DaclView profile = FileDacl(app + "Profiles\\default.vtp");
    if (profile.kept)
        ExpectOnlyAdministrators(profile, FILE_ALL_ACCESS, false);
}

TEST(ProfilesFolder, ExistingFolderIsKept)
{
    std::string app = NewTempDir("app");
    ASSERT_TRUE(CreateDirectoryA((app + "Profiles").c_str(), nullptr));
    ASSERT_TRUE(WriteWholeFile(app + "Profiles\\default.vtp", "kept"));
    EXPECT_EQ(app + "Profiles\\", ProfilesDirOfCopyIn(app));
    EXPECT_EQ("kept", ReadWholeFile(app + "Profiles\\default.vtp"));
}

TEST(ProfilesFolder, FileInTheWayIsLeftAlone)
{
    std::string app = NewTempDir("app");
    ASSERT_TRUE(WriteWholeFile(app + "Profiles", "not a folder"));
    EXPECT_EQ(app + "Profiles\\", ProfilesDirOfCopyIn(app));
    EXPECT_EQ("not a folder", ReadWholeFile(app + "Profiles"));
}

}  // namespace
