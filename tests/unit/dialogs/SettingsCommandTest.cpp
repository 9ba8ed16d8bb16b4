// The Settings command of the manager window: what it stores after the
// dialog, in the registry and through the command library, and the page it
// opens on from the menu and the toolbar.
#include "CommandLibrary.h"
#include "DialogForms.h"
#include "ManagerIds.h"
#include "RegValues.h"
#include "UProfiles.h"
#include "UQUPass.h"
#include "USettings.h"
#include "Unit1.h"

#include <commctrl.h>

namespace {

class SettingsCommand : public DialogTest {};

bool Stored(const char* name, DWORD& value)
{
    return ReadRegDword(HKEY_LOCAL_MACHINE, SettingsKey, name, value);
}

void StorePassword(const char* administrator, const char* toggle)
{
    if (administrator) {
        Command15(administrator);
        Command10();
    }
    if (toggle) {
        Command16(toggle);
        Command11();
    }
}

// Types the password twice into the change dialog and presses OK; Cancel when empty.
void EnterNewPassword(FormScript& script, TButton& button, const std::string& password)
{
    script.Do([&button] { Click(button.Handle()); })
        .WaitShown(FQUPass->Handle())
        .Do([password] {
            if (password.empty()) {
                Click(FQUPass->Button2.Handle());
                return;
            }
            Type(FQUPass->Edit1.Handle(), password);
            Type(FQUPass->Edit2.Handle(), password);
            Click(FQUPass->Button1.Handle());
        })
        .WaitUntil("the change dialog closed", [] { return !IsWindowVisible(FQUPass->Handle()); });
}

void RunSettings(FormScript& script, int page)
{
    script.Start();
    Form1->Settings1Click(page);
}

}  // namespace

TEST_F(SettingsCommand, CancelStoresNeitherPasswordsNorSwitches) {
    StorePassword("old admin", nullptr);
    FormScript script;
    script.WaitShown(Form3->Handle());
    EnterNewPassword(script, Form3->Button3, "new admin");
    EnterNewPassword(script, Form3->Button4, "new toggle");
    script.Do([] { ClickTab(Form3->PageControl1.Handle(), StartupPage); })
        .WaitUntil("the Startup page", [] { return IsWindowVisible(Form3->CheckBox3.Handle()) != FALSE; })
        .Do([] {
            Click(Form3->CheckBox3.Handle());
            Click(Form3->CheckBox2.Handle());
        })
        .Do([] { Click(Form3->Button2.Handle()); });
    RunSettings(script, PasswordsPage);

    EXPECT_TRUE(LibBool(Command14("old admin")));
    EXPECT_FALSE(LibBool(Command14("new admin")));
    EXPECT_FALSE(LibBool(Command17()));
    DWORD value = 0;
    EXPECT_FALSE(Stored("AutoStart", value));
    EXPECT_FALSE(Stored("UserControl", value));
    EXPECT_FALSE(GlobalSettings.AutoStart || GlobalSettings.UserControl);
    EXPECT_FALSE(GlobalSettings.SettingsStored);
}

TEST_F(SettingsCommand, OkWithoutNewPasswordsStoresTheSwitchesOnly) {
    struct Case {
        const char* name;
        std::vector<int> clicks;  // check boxes clicked, in order
        DWORD autoStart, userControl, useDefault;
    };
    const Case cases[] = {
        {"nothing changed", {}, 0, 0, 0},
        {"all three on", {SettingsId::CheckBox3, SettingsId::CheckBox2, SettingsId::CheckBox5}, 1, 1, 1},
        {"UseDefault cleared with UserControl", {SettingsId::CheckBox2, SettingsId::CheckBox5, SettingsId::CheckBox2},
         0, 0, 0},
    };
    for (const Case& c : cases) {
        SetUp();
        StorePassword("kept admin", "kept toggle");
        FormScript script;
        script.WaitShown(Form3->Handle()).Do([&c] {
            for (int id : c.clicks) Click(Form3->FindById(id)->Handle());
        });
        script.Do([] { Click(Form3->Button1.Handle()); });
        RunSettings(script, StartupPage);

        DWORD autoStart = 9, userControl = 9, useDefault = 9;
        EXPECT_TRUE(Stored("AutoStart", autoStart) && Stored("UserControl", userControl) &&
                    Stored("UseDefault", useDefault))
            << c.name;
        EXPECT_EQ(autoStart, c.autoStart) << c.name;
        EXPECT_EQ(userControl, c.userControl) << c.name;
        EXPECT_EQ(useDefault, c.useDefault) << c.name;
        EXPECT_TRUE(GlobalSettings.SettingsStored) << c.name;
        EXPECT_TRUE(LibBool(Command14("kept admin"))) << c.name;
        EXPECT_TRUE(LibBool(Command19("kept toggle"))) << c.name;
    }
}

// The dialog shows what the registry holds, also a UseDefault that UserControl
// does not allow, and OK writes it back as it is.
TEST_F(SettingsCommand, OkWritesBackUseDefaultThatUserControlLeavesUnused) {
    WriteRegDword(HKEY_LOCAL_MACHINE, SettingsKey, "AutoStart", 1);
    WriteRegDword(HKEY_LOCAL_MACHINE, SettingsKey, "UserControl", 0);
    WriteRegDword(HKEY_LOCAL_MACHINE, SettingsKey, "UseDefault", 1);
    LoadSettings();
    bool shownChecked = false;
    FormScript script;
    script.WaitShown(Form3->Handle()).Do([&] {
        shownChecked = SendMessageA(Form3->CheckBox5.Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
        Click(Form3->Button1.Handle());
    });
    RunSettings(script, StartupPage);
    DWORD userControl = 9, useDefault = 9;
    EXPECT_TRUE(shownChecked);
    EXPECT_TRUE(Stored("UserControl", userControl) && Stored("UseDefault", useDefault));
    EXPECT_EQ(userControl, 0u);
    EXPECT_EQ(useDefault, 1u);
}

TEST_F(SettingsCommand, StoresTheLastPasswordEnteredWithEachButton) {
    FormScript script;
    script.WaitShown(Form3->Handle());
    EnterNewPassword(script, Form3->Button3, "first admin");
    EnterNewPassword(script, Form3->Button3, "second admin");
    EnterNewPassword(script, Form3->Button4, "first toggle");
    EnterNewPassword(script, Form3->Button4, "");
    script.Do([] { Click(Form3->Button1.Handle()); });
    RunSettings(script, PasswordsPage);

    EXPECT_TRUE(LibBool(Command13()));
    EXPECT_TRUE(LibBool(Command14("second admin")));
    EXPECT_FALSE(LibBool(Command14("first admin")));
    EXPECT_TRUE(LibBool(Command17()));
    EXPECT_TRUE(LibBool(Command19("first toggle")));
    EXPECT_FALSE(LibBool(Command19("second admin")));
    EXPECT_TRUE(GlobalSettings.SettingsStored);
}

// A password longer than the fields take is stored as typed up to the limit,
// and that is what the toggle dialog lets a user type again.
TEST_F(SettingsCommand, StoresOnlyWhatTheFieldsTook) {
    const std::string typed(VRCMD_TYPED_PASSWORD_MAX + 20, 't');
    FormScript script;
    script.WaitShown(Form3->Handle());
    EnterNewPassword(script, Form3->Button4, typed);
    script.Do([] { Click(Form3->Button1.Handle()); });
    RunSettings(script, PasswordsPage);
    EXPECT_TRUE(LibBool(Command19(typed.substr(0, VRCMD_TYPED_PASSWORD_MAX).c_str())));
    EXPECT_FALSE(LibBool(Command19(typed.c_str())));
}

TEST_F(SettingsCommand, MenuAndToolbarOpenTheStartupPage) {
    struct Case {
        const char* name;
        std::function<void()> open;
    };
    const Case cases[] = {
        {"S&ettings in the File menu", [] { PostMessageA(Form1->Handle(), WM_COMMAND, IDM_Settings1, 0); }},
        {"the Global settings button", [] { Click(Form1->SettingsButton.Handle()); }},
    };
    for (const Case& c : cases) {
        int page = -1;
        FormScript script;
        script.WaitShown(Form3->Handle()).Do([&] {
            page = static_cast<int>(SendMessageA(Form3->PageControl1.Handle(), TCM_GETCURSEL, 0, 0));
            Click(Form3->Button2.Handle());
        });
        // Left on the Passwords page last time.
        Form3->PageControl1.SetActivePageIndex(PasswordsPage);
        script.Start();
        c.open();
        EXPECT_TRUE(PumpUntil([&] { return script.Finished() && !IsWindowVisible(Form3->Handle()); })) << c.name;
        EXPECT_EQ(page, StartupPage) << c.name;
    }
}
