#include "Unit1.h"
#include "AdminPasswordPrompt.h"
#include "AgentRequest.h"
#include "Application.h"
#include "CommandLibrary.h"
#include "CommandLine.h"
#include "ManagerIds.h"
#include "MsgBox.h"
#include "ProfileWizard.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"

TForm1* Form1 = nullptr;

namespace {

constexpr int ClientWidth = 538;
constexpr int ClientHeight = 441;
constexpr int ToolBarHeight = 23;

struct ToolButton {
    TSpeedButton TForm1::*button;
    int id;
    int left;
    int width;
    const char* caption;
    int image;
};

const ToolButton ToolButtons[] = {
    {&TForm1::SaveButton, Form1Id::SaveButton, 8, 97, "Save profile", 2},
    {&TForm1::SettingsButton, Form1Id::SettingsButton, 104, 97, "Global settings", 4},
    {&TForm1::StartButton, Form1Id::StartButton, 203, 110, "Enable protection", 5},
    {&TForm1::StopButton, Form1Id::StopButton, 315, 107, "Disable protection", 6},
};

}  // namespace

void Broadcast(UINT message)
{
    PostMessageA(HWND_BROADCAST, message, 0, 0);
}

bool TForm1::Create()
{
    if (!CreateForm("TForm1", "VT Vantrel", ClientWidth, ClientHeight, TBorderStyle::Sizeable)) return false;
    OnShow = [this](TControl*) { FormShow(); };
    OnCloseQuery = [this](TForm*, bool& canClose) { FormCloseQuery(canClose); };
    FormCreate();
    return true;
}

void TForm1::FormCreate()
{
    ImageMenu.Create();
    ImageMenu.AddStrip(LoadBitmapResource("MENUSTRIP"), LoadBitmapResource("MENUMASK"));
    BuildMenu();
    BuildToolBar();
    BuildPages();
    TemplateBuilder = [this] { BuildProfileTemplate(); };
}

void TForm1::BuildToolBar()
{
    ToolBar.Create(this, Form1Id::ToolBar, 0, 0, ClientWidth, ToolBarHeight, TBevel::Raised);
    ToolBar.SetAnchors(akLeft | akTop | akRight);
    for (const ToolButton& b : ToolButtons) {
        TSpeedButton& button = this->*b.button;
        button.Create(&ToolBar, b.id, b.caption, b.left, 2, b.width, 19);
        button.SetGlyph(&ImageMenu, b.image);
    }
    SaveButton.OnClick = [this](TControl*) { Saveprofile1Click(); };
    SettingsButton.OnClick = [this](TControl*) { Settings1Click(0); };
    StartButton.OnClick = [this](TControl*) { Startprotection1Click(); };
    StopButton.OnClick = [this](TControl*) { Stopprotection1Click(); };
}

void TForm1::BuildPages()
{
    PageControl1.Create(this, Form1Id::PageControl1, 0, ToolBarHeight, ClientWidth, ClientHeight - ToolBarHeight);
    PageControl1.SetAnchors(akLeft | akTop | akRight | akBottom);
    PageControl1.AddSheet(TabSheet1, Form1Id::TabSheet1, "Folder protection");
    PageControl1.AddSheet(TabSheet2, Form1Id::TabSheet2, "File protection");
    PageControl1.AddSheet(TabSheet4, Form1Id::TabSheet4, "Restrictions");
    PageControl1.AddSheet(TabSheet5, Form1Id::TabSheet5, "Disabled programs");
    PageControl1.AddSheet(TabSheet3, Form1Id::TabSheet3, "Profile options");
    CreateEditingPages();
    BuildOptionsPage();
    PageControl1.SetActivePageIndex(3);
}

void TForm1::FormShow()
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

void TForm1::ShowWizard()
{
    ProfileWizard->Show();
}
