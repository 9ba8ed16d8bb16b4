#include "ManagerWindow.h"
#include "AdminPasswordPrompt.h"
#include "AgentRequest.h"
#include "Application.h"
#include "CommandLibrary.h"
#include "CommandLine.h"
#include "DataFiles.h"
#include "ManagerIds.h"
#include "MsgBox.h"
#include "ProfileWizard.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"

TManagerWindow* ManagerWindow = nullptr;

namespace {

constexpr int ClientWidth = 538;
constexpr int ClientHeight = 441;
constexpr int ToolBarHeight = 23;

struct ToolButton {
    TSpeedButton TManagerWindow::*button;
    int id;
    int left;
    int width;
    const char* caption;
    int image;
};

const ToolButton ToolButtons[] = {
    {&TManagerWindow::SaveButton, ManagerWindowId::SaveButton, 8, 97, "Save profile", 2},
    {&TManagerWindow::SettingsButton, ManagerWindowId::SettingsButton, 104, 97, "Global settings", 4},
    {&TManagerWindow::StartButton, ManagerWindowId::StartButton, 203, 110, "Enable protection", 5},
    {&TManagerWindow::StopButton, ManagerWindowId::StopButton, 315, 107, "Disable protection", 6},
};

}  // namespace

bool TManagerWindow::Create()
{
    if (!CreateForm(ManagerWindowClass, "VT Vantrel", ClientWidth, ClientHeight, TBorderStyle::Sizeable)) return false;
    OnShow = [this](TControl*) { OnShown(); };
    OnCloseQuery = [this](TForm*, bool& canClose) { OnCloseAsked(canClose); };
    OnCreate();
    return true;
}

void TManagerWindow::OnCreate()
{
    ImageMenu.Create();
    ImageMenu.AddStrip(LoadBitmapResource("MENUSTRIP"), LoadBitmapResource("MENUMASK"));
    BuildMenu();
    BuildToolBar();
    BuildPages();
    TemplateBuilder = [this] { BuildProfileTemplate(); };
}

void TManagerWindow::BuildToolBar()
{
    ToolBar.Create(this, ManagerWindowId::ToolBar, 0, 0, ClientWidth, ToolBarHeight, TBevel::Raised);
    ToolBar.SetAnchors(akLeft | akTop | akRight);
    for (const ToolButton& b : ToolButtons) {
        TSpeedButton& button = this->*b.button;
        button.Create(&ToolBar, b.id, b.caption, b.left, 2, b.width, 19);
        button.SetGlyph(&ImageMenu, b.image);
    }
    SaveButton.OnClick = [this](TControl*) { OnSaveProfile(); };
    SettingsButton.OnClick = [this](TControl*) { ShowSettings(0); };
    StartButton.OnClick = [this](TControl*) { OnStartProtection(); };
    StopButton.OnClick = [this](TControl*) { OnStopProtection(); };
}

void TManagerWindow::BuildPages()
{
    Tabs.Create(this, ManagerWindowId::Tabs, 0, ToolBarHeight, ClientWidth, ClientHeight - ToolBarHeight);
    Tabs.SetAnchors(akLeft | akTop | akRight | akBottom);
    Tabs.AddSheet(FolderTab, ManagerWindowId::FolderTab, "Folder protection");
    Tabs.AddSheet(FileTab, ManagerWindowId::FileTab, "File protection");
    Tabs.AddSheet(RestrictionsTab, ManagerWindowId::RestrictionsTab, "Restrictions");
    Tabs.AddSheet(ProgramsTab, ManagerWindowId::ProgramsTab, "Disabled programs");
    Tabs.AddSheet(OptionsTab, ManagerWindowId::OptionsTab, "Profile options");
    CreateEditingPages();
    BuildOptionsPage();
    Tabs.SetActivePageIndex(3);
}

void TManagerWindow::CreateEditingPages()
{
    FolderPage.Create(FolderTab);
    FilePage.Create(FileTab);
    RestrictionsPage.Create(RestrictionsTab);
    ProgramsPage.Create(ProgramsTab);
    for (TEditingPage* page :
         {static_cast<TEditingPage*>(&FolderPage), static_cast<TEditingPage*>(&FilePage),
          static_cast<TEditingPage*>(&RestrictionsPage), static_cast<TEditingPage*>(&ProgramsPage)})
        page->OnProfileEdited = [this] { ProfileChanged = true; };
}

void TManagerWindow::InitProfilePages()
{
    // Without the pictures the tree shows no images and no marks.
    if (LoadFolderImages(FolderImages)) FolderPage.SetImages(&FolderImages);
    CreateProfileLists();
    GrayAllPolicies(RestrictionsPage.Policies());
}

int TManagerWindow::FillDriveList()
{
    return FolderPage.FillDriveList();
}

void TManagerWindow::RebuildFolderTree()
{
    FolderPage.RebuildFolderTree();
}

void TManagerWindow::SetUpProfilePages()
{
    InitProfilePages();
    FolderPage.SpecialFolderButton.SetGlyph(&FolderImages, 0);
    FolderPage.DriveBox.SetItemIndex(FillDriveList());
    RebuildFolderTree();
}

void TManagerWindow::OnShown()
{
    LoadSettings();
    SetUpProfilePages();
    if (LibBool(Command13())) {
        std::string typed = QueryAdministratorPassword();
        if (!LibBool(Command14(typed.c_str()))) {
            ShowMessage("Administrator's password is incorrect.", "Vantrel", MB_OK | MB_ICONINFORMATION);
            Application.Terminate();
            return;
        }
    }
    RequestAgent(MsgStop);
    if (StartupProfilePath.empty()) LoadProfileIntoWindow(ProfilesDir + "default.vtp");
    else if (!LoadProfileIntoWindow(StartupProfilePath)) ShowWizard();
}

void TManagerWindow::ShowWizard()
{
    ProfileWizard->Show();
}
