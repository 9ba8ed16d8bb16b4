// The verification text, the save summary, and whom a loaded file is for.
#include "ManagerTexts.h"

#include <gtest/gtest.h>

TEST(ManagerTexts, VerificationTextForEachSetting)
{
    const std::string head = "IMPORTANT! Please verify your settings:\r\n\n";
    const std::string tail =
        "\r\nAdministrator's password is installed, default user password is installed."
        "\r\n\nIf there is something wrong, click NO button, otherwise click YES button."
        "\r\n\nRemember, if anything will work wrong after enabling protection, you can restore access settings, "
        "rebooting computer in the \"safe mode\".";
    const struct {
        bool autoStart, userControl, useDefault;
        std::string lines;
    } cases[] = {
        {true, false, true,
         "  - protection WILL BE ENABLED at Windows startup;\r\n"
         "  - program will load default profile (not depending on logged user);\r\n"},
        {false, false, false,
         "  - protection WILL NOT BE enabled at Windows startup;\r\n"
         "  - program will load default profile (not depending on logged user);\r\n"},
        {true, true, true,
         "  - protection WILL BE ENABLED at Windows startup;\r\n"
         "  - program will load profiles depending on logged user;\r\n"
         "  - program will use a default profile, when profile for current logged user was not prepared.\r\n"},
        {false, true, false,
         "  - protection WILL NOT BE enabled at Windows startup;\r\n"
         "  - program will load profiles depending on logged user;\r\n"
         "  - program will not load any profiles, when profile for current logged user will not be found.\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VerificationText(c.autoStart, c.userControl, c.useDefault), head + c.lines + tail)
            << c.autoStart << c.userControl << c.useDefault;
}

TEST(ManagerTexts, SaveSummary)
{
    EXPECT_EQ(SaveSummary("", 3, 0, 12, 0),
              "This profile will be used as DEFAULT (main) profile.\r\n\n"
              "This profile contains restrictions for:\r\n"
              "3 folders,\r\n"
              "0 files,\r\n"
              "12 tasks,\r\n"
              "31 policy restrictions.\r\n"
              "To disable protection, user will use default toggle protection password.\r\n"
              "\r\nIf something above is wrong, you can cancel saving, clicking NO button. Save profile?");
    EXPECT_EQ(SaveSummary("alice", 10000, 250, 1, 0x80000001u),
              "This profile will be used for user \"alice\".\r\n\n"
              "This profile contains restrictions for:\r\n"
              "10000 folders,\r\n"
              "250 files,\r\n"
              "1 tasks,\r\n"
              "31 policy restrictions.\r\n"
              "To disable protection, user will use password, specified in the profile.\r\n"
              "\r\nIf something above is wrong, you can cancel saving, clicking NO button. Save profile?");
}

TEST(ManagerTexts, UserOfALoadedFile)
{
    const struct {
        const char* file;
        bool isDefault;
        const char* user;
    } cases[] = {
        {"C:\\VANTREL\\PROFILES\\default.vtp", true, ""},
        {"Default.Vtp", true, ""},
        {"D:DEFAULT.VTP", true, ""},
        {"C:\\P\\alice.vtp", false, "alice"},
        {"C:\\P\\alice.txt", false, "alice.txt"},
        {"C:\\P\\Bob.VtP", false, "Bob"},
        {"C:\\P\\x.vtp.vtp", false, "x.vtp"},
        {"C:\\P\\default.vtp.bak", false, "default.vtp.bak"},
        {"C:\\default.vtp\\carol", false, "carol"},
        {"C:\\P\\.vtp", false, ""},
        {"vtp", false, "vtp"},
    };
    for (const auto& c : cases) {
        ProfileUser user = ProfileUserOfFile(c.file);
        EXPECT_EQ(user.IsDefault, c.isDefault) << c.file;
        EXPECT_EQ(user.UserName, c.user) << c.file;
    }
}

TEST(ManagerTexts, WindowTitle)
{
    EXPECT_EQ(ProfileTitle(""), " Vantrel  - Default profile");
    EXPECT_EQ(ProfileTitle("alice"), " Vantrel  - alice");
}
