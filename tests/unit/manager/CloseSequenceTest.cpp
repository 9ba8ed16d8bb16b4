// The close sequence: its warnings, the verification text byte for byte,
// the question to enable protection, and the save question asked once.
#include "ManagerIds.h"
#include "ManagerTest.h"

#include <string>
#include <vector>

namespace {

struct Box {
    std::string caption;
    std::string text;
    std::string icon;
    std::string buttons;
};

const std::string Head = "IMPORTANT! Please verify your settings:\r\n\n";
const std::string AutoStartOn = "  - protection WILL BE ENABLED at Windows startup;\r\n";
const std::string AutoStartOff = "  - protection WILL NOT BE enabled at Windows startup;\r\n";
const std::string ByUser = "  - program will load profiles depending on logged user;\r\n";
const std::string NotByUser = "  - program will load default profile (not depending on logged user);\r\n";
const std::string UseDefaultOn =
    "  - program will use a default profile, when profile for current logged user was not prepared.\r\n";
const std::string UseDefaultOff =
    "  - program will not load any profiles, when profile for current logged user will not be found.\r\n";
const std::string Tail =
    "\r\nAdministrator's password is installed, default user password is installed."
    "\r\n\nIf there is something wrong, click NO button, otherwise click YES button."
    "\r\n\nRemember, if anything will work wrong after enabling protection, you can restore access settings, "
    "rebooting computer in the \"safe mode\".";

Box Verification(const std::string& lines)
{
    return {"Settings", Head + lines + Tail, "information", "yes,no"};
}

const Box EnableQuestion = {"Protection", "Enable protection at exit from the program?", "question", "yes,no"};
const Box SaveQuestion = {"Save", "Profile was changed, but not saved. Save it now?", "question", "yes,no"};

struct CloseCase {
    const char* name;
    bool stored;
    const char* administrator;
    const char* toggle;
    bool autoStart, userControl, useDefault;
    const char* answer;
    std::vector<Box> boxes;
    bool closes;
};

const CloseCase CloseCases[] = {
    {"settings never stored", false, "admin", "toggle", false, false, false, "ok",
     {{"Warning", "You have not specified required start parameters. Please verify settings.", "warning", "ok"}},
     false},
    {"no administrator password", true, nullptr, "toggle", false, false, false, "ok",
     {{"Warning",
       "You have not specified an administrator password. This password will be used for access to this Profile "
       "manager.",
       "warning", "ok"}},
     false},
    {"no toggle password", true, "admin", nullptr, false, false, false, "ok",
     {{"Warning",
       "You have not specified a default toggle protection password. This password will be used for disabling "
       "protection.",
       "warning", "ok"}},
     false},
    {"UserControl off: two setting lines; No keeps the window", true, "admin", "toggle", true, false, true, "no",
     {Verification(AutoStartOn + NotByUser)}, false},
    {"UserControl and UseDefault on", true, "admin", "toggle", false, true, true, "no",
     {Verification(AutoStartOff + ByUser + UseDefaultOn)}, false},
    {"UserControl on, UseDefault off", true, "admin", "toggle", false, true, false, "no",
     {Verification(AutoStartOff + ByUser + UseDefaultOff)}, false},
    {"Yes and Yes: protection enabled and the window closed", true, "admin", "toggle", true, true, false, "yes",
     {Verification(AutoStartOn + ByUser + UseDefaultOff), EnableQuestion}, true},
};

void ExpectBoxes(const std::vector<SeenBox>& seen, const std::vector<Box>& expected, const char* name)
{
    ASSERT_EQ(seen.size(), expected.size()) << name;
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].caption, expected[i].caption) << name;
        EXPECT_EQ(seen[i].text, expected[i].text) << name;
        EXPECT_EQ(seen[i].icon, expected[i].icon) << name;
        EXPECT_EQ(seen[i].buttons, expected[i].buttons) << name;
    }
}

bool Heard(const std::vector<HeardMessage>& heard, const char* name)
{
    for (const HeardMessage& m : heard)
        if (m.name == name) return true;
    return false;
}

class CloseSequence : public ManagerWindow {
protected:
    void SetUp() override
    {
        ManagerWindow::SetUp();
        ShowWindow(Form1->Handle(), SW_SHOW);
    }
    void PressCloseBox() { SendMessageA(Form1->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }
    bool StillOpen() { return IsWindowVisible(Form1->Handle()) && !QuitRequested(); }
};

}  // namespace

TEST_F(CloseSequence, FollowsTheSettingsAndTheAnswers) {
    for (const CloseCase& c : CloseCases) {
        SetPasswords(c.administrator, c.toggle);
        GlobalSettings.SettingsStored = c.stored;
        GlobalSettings.AutoStart = c.autoStart;
        GlobalSettings.UserControl = c.userControl;
        GlobalSettings.UseDefault = c.useDefault;
        MessageListener listener;
        BoxAnswerer answerer(c.answer);
        CloseWhenShown settingsDialog("TForm3");
        PressCloseBox();
        ExpectBoxes(answerer.WaitSeen(c.boxes.size()), c.boxes, c.name);
        EXPECT_EQ(StillOpen(), !c.closes) << c.name;
        EXPECT_EQ(Heard(HeardUpToMarker(listener), "Vantrel.Start"), c.closes) << c.name;
        ShowWindow(Form1->Handle(), SW_SHOW);
    }
}

TEST_F(CloseSequence, UnsavedChangesAreAskedAboutOnceAlsoThroughExit) {
    SetPasswords("admin", "toggle");
    GlobalSettings.SettingsStored = true;
    for (bool throughExit : {true, false}) {
        Form1->ProfileChanged = true;
        BoxAnswerer answerer("no");
        if (throughExit) SendMessageA(Form1->Handle(), WM_COMMAND, IDM_Exit1, 0);
        else PressCloseBox();
        ExpectBoxes(answerer.WaitSeen(2), {SaveQuestion, Verification(AutoStartOff + NotByUser)},
                    throughExit ? "Exit" : "close box");
        EXPECT_FALSE(Form1->ProfileChanged);
        PressCloseBox();
        std::vector<SeenBox> seen = answerer.WaitSeen(3);
        ASSERT_EQ(seen.size(), 3u);
        EXPECT_EQ(seen[2].caption, "Settings");
        EXPECT_TRUE(StillOpen());
    }
}
