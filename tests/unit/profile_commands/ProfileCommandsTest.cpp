#include "ProfileCommandsTest.h"
#include "CheckListBox.h"

void ProfileCommands::SetUp()
{
    ASSERT_TRUE(CreateManagerForms());
    // The start sequence finds no administrator password in a fresh prefix.
    Form1->Show();
    profiles = NewTempDir("profiles");
    ProfilesDir = profiles;
    SaveNotifyValue = 0;
}

void ProfileCommands::TearDown()
{
    DestroyManagerForms();
    RemoveTree(profiles);
}

std::string ProfileCommands::WriteProfile(const std::string& dir, const std::string& baseName,
                                          const ProfileSpec& spec)
{
    Profile.Folders = spec.folders;
    Profile.Files = spec.files;
    Profile.Tasks = spec.tasks;
    Profile.Policies = spec.policies;
    const std::string shown = ProfilesDir;
    ProfilesDir = dir;
    EXPECT_TRUE(SaveProfile(baseName, spec.passwordHash)) << dir << baseName;
    ProfilesDir = shown;
    return dir + baseName + ".vtp";
}

ProfileSpec ProfileCommands::ReadProfile(const std::string& path)
{
    EXPECT_TRUE(LoadProfile(path)) << path;
    ProfileSpec spec{Profile.Folders, Profile.Files, Profile.Tasks, Profile.Policies, Profile.PasswordHash};
    // The reader keeps the end marker with the options.
    EXPECT_EQ(Profile.Options, (TextList{"PWD=" + std::to_string(spec.passwordHash), "[END1]"}));
    return spec;
}

void ProfileCommands::Command(int menuId)
{
    SendMessageA(Form1->Handle(), WM_COMMAND, MAKEWPARAM(menuId, 0), 0);
}

HWND ProfileCommands::Control(int id)
{
    TControl* control = Form1->FindById(id);
    EXPECT_NE(control, nullptr) << "control " << id;
    return control ? control->Handle() : nullptr;
}

std::vector<std::string> ProfileCommands::Lines(int listId)
{
    HWND list = Control(listId);
    std::vector<std::string> lines;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::string text(static_cast<size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)) + 1, '\0');
        text.resize(static_cast<size_t>(SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]))));
        lines.push_back(text);
    }
    return lines;
}

std::vector<int> ProfileCommands::RestrictionStates()
{
    HWND list = Control(Form1Id::CheckListBox1);
    std::vector<int> states;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) states.push_back(static_cast<int>(SendMessageA(list, LB_GETITEMDATA, i, 0)));
    return states;
}

void ProfileCommands::ClickRestriction(int index)
{
    auto* list = dynamic_cast<TCheckListBox*>(Form1->FindById(Form1Id::CheckListBox1));
    ASSERT_NE(list, nullptr);
    Form1->PageControl1.SetActivePageIndex(2);
    SendMessageA(list->Handle(), LB_SETTOPINDEX, index, 0);
    RECT box = list->BoxRect(index);
    LPARAM at = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    SendMessageA(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list->Handle(), WM_LBUTTONUP, 0, at);
}

TextList PolicyLines(const std::vector<int>& states)
{
    TextList lines;
    for (size_t i = 0; i < states.size(); ++i) lines.push_back(std::to_string(i) + "=" + std::to_string(states[i]));
    return lines;
}
