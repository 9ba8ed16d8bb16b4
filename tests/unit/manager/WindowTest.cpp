// The window's frame: the Components menu, the Profile options tab, a
// profile loaded into the window, and where the folder pictures are found.
#include "ManagerIds.h"
#include "ManagerTest.h"

#include <commctrl.h>
#include <string>

namespace {

class Window : public ManagerWindow {
protected:
    void SetUp() override
    {
        ManagerWindow::SetUp();
        ShowWindow(Form1->Handle(), SW_SHOW);
    }
    HWND Control(int id) { return Form1->FindById(id)->Handle(); }
    bool IsEnabled(int id) { return IsWindowEnabled(Control(id)) != FALSE; }
    void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }
};

}  // namespace

TEST_F(Window, OpensOnDisabledProgramsAndTheComponentsMenuSelectsEachTab) {
    HWND tabs = Control(Form1Id::PageControl1);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 3);
    const int sheets[] = {Form1Id::TabSheet1, Form1Id::TabSheet2, Form1Id::TabSheet4, Form1Id::TabSheet5,
                          Form1Id::TabSheet3};
    const int items[] = {IDM_Folderprotection1, IDM_Fileprotection1, IDM_Restrictions1, IDM_Restrictedprograms1,
                         IDM_Profileoptions1};
    for (int k = 0; k < 5; ++k) {
        SendMessageA(Form1->Handle(), WM_COMMAND, items[k], 0);
        EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), k);
        for (int s = 0; s < 5; ++s) EXPECT_EQ(IsWindowVisible(Control(sheets[s])) != FALSE, s == k) << k << s;
    }
}

TEST_F(Window, UserChoiceEnablesTheNameFieldAndKeepsItsText) {
    SendMessageA(Form1->Handle(), WM_COMMAND, IDM_Profileoptions1, 0);
    HWND radio = Control(Form1Id::RadioGroup1);
    EXPECT_EQ(SendMessageA(GetDlgItem(radio, Form1Id::RadioGroup1 + 2), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(IsEnabled(Form1Id::Edit1));
    SetWindowTextA(Control(Form1Id::Edit1), "alice");
    Click(GetDlgItem(radio, Form1Id::RadioGroup1 + 1));
    EXPECT_TRUE(IsEnabled(Form1Id::Edit1));
    EXPECT_EQ(GetFocus(), Control(Form1Id::Edit1));
    Click(GetDlgItem(radio, Form1Id::RadioGroup1 + 2));
    EXPECT_FALSE(IsEnabled(Form1Id::Edit1));
    EXPECT_EQ(Form1->Edit1.Text(), "alice");
}

TEST_F(Window, DefaultPasswordBoxSwitchesTheOwnPasswordControlsAndKeepsTheHash) {
    Profile.PasswordHash = 1234;
    HWND box = Control(Form1Id::CheckBox1);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    for (bool own : {true, false}) {
        Click(box);
        EXPECT_EQ(IsEnabled(Form1Id::Label4), own);
        EXPECT_EQ(IsEnabled(Form1Id::Button4), own);
        EXPECT_EQ(Profile.OwnPassword, own);
        EXPECT_EQ(Profile.PasswordHash, 1234u);
    }
    EXPECT_FALSE(Form1->ProfileChanged);
}

TEST_F(Window, LoadedProfileSetsTheOptionsTabAndTheTitle) {
    struct Case {
        const char* user;  // as saved; "" for the default profile
        uint32_t hash;
        const char* file;  // as opened
        int choice;
        const char* name;
        const char* title;
    };
    const Case cases[] = {
        {"", 0, "default.vtp", 1, "", " Vantrel  - Default profile"},
        {"alice", 77, "alice.vtp", 0, "alice", " Vantrel  - alice"},
        {"", 0, "DEFAULT.VTP", 1, "", " Vantrel  - Default profile"},
    };
    HWND radio = Control(Form1Id::RadioGroup1);
    for (const Case& c : cases) {
        Profile = TProfile();
        ASSERT_TRUE(SaveProfile(c.user, c.hash));
        ASSERT_TRUE(Form1->LoadProfileIntoWindow(ProfilesDir + c.file)) << c.file;
        EXPECT_EQ(SendMessageA(GetDlgItem(radio, Form1Id::RadioGroup1 + 1 + c.choice), BM_GETCHECK, 0, 0),
                  BST_CHECKED)
            << c.file;
        EXPECT_EQ(Form1->Edit1.Text(), c.name) << c.file;
        bool own = c.hash != 0;
        EXPECT_EQ(SendMessageA(Control(Form1Id::CheckBox1), BM_GETCHECK, 0, 0), own ? BST_UNCHECKED : BST_CHECKED);
        EXPECT_EQ(IsEnabled(Form1Id::Button4), own) << c.file;
        EXPECT_EQ(Form1->Text(), c.title);
    }
    Form1->SetText("VT Vantrel");
    EXPECT_FALSE(Form1->LoadProfileIntoWindow(ProfilesDir + "nobody.vtp"));
    EXPECT_EQ(Form1->Text(), "VT Vantrel");
}

// Cells of a strip the test writes: a 24-bit colour strip and its mask.
void WriteStrip(const std::string& folder, int cells)
{
    for (const char* name : {"folders.bmp", "foldersmask.bmp"}) {
        BITMAPINFOHEADER header = {sizeof header, 16 * cells, 16, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        int rowBytes = (16 * cells * 3 + 3) & ~3;
        std::string pixels(static_cast<size_t>(rowBytes) * 16, '\0');
        BITMAPFILEHEADER file = {0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof header};
        file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
        std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
        bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
        ASSERT_TRUE(WriteWholeFile(folder + name, bytes + pixels));
    }
}

TEST_F(Window, FolderPicturesComeFromTheCurrentFolderElseFromTheProgramsFolder) {
    char start[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, start);
    std::string elsewhere = NewTempDir("elsewhere");
    std::string own = NewTempDir("ownstrip");
    WriteStrip(own, 3);
    struct Case {
        const std::string& folder;
        int cells;
    };
    const Case cases[] = {{elsewhere, 7}, {own, 3}};
    for (const Case& c : cases) {
        SetCurrentDirectoryA(c.folder.c_str());
        DestroyManagerForms();
        ASSERT_TRUE(CreateManagerForms());
        Form1->InitProfilePages();
        EXPECT_EQ(Form1->ImageList1.Count(), c.cells) << c.folder;
    }
    SetCurrentDirectoryA(start);
    RemoveTree(elsewhere);
    RemoveTree(own);
}
