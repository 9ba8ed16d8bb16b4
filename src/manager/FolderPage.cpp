// The folder tab's controls, laid out at the window's pixels and bound to
// their handlers.
#include "FolderPage.h"
#include "ManagerIds.h"

namespace {

constexpr int AccessPanelHeight = 45;
constexpr int AccessButtonWidth = 97;
constexpr int RuleButtonSize = 25;
constexpr COLORREF White = RGB(255, 255, 255);

const char* const FolderHelp =
    "On this tab you can restrict access to folders of your computer. You can mark any folder, as \"Read only\" "
    "(user cannot write, delete and rename files in the folder), \"Hidden\" (user cannot view contents of the "
    "folder), \"No access\" "
    "(files in the folder will not be readable/writable), or combination of these rights.";

struct SpecialFolderItem {
    int id;
    const char* name;
    const char* caption;
};

const SpecialFolderItem SpecialFolderItems[] = {
    {ManagerWindowId::VantrelFolderItem, "Vantrelfolder1", "Vantrel folder"},
    {ManagerWindowId::SpecialFolderSeparator, "N5", "-"},
    {ManagerWindowId::DesktopAllUsersItem, "Desktopallusers1", "Desktop (all users)"},
    {ManagerWindowId::DesktopCurrentUserItem, "Desktopcurrentuser1", "Desktop (current user)"},
    {ManagerWindowId::ProgramsMenuAllUsersItem, "Programsmenuallusers1", "Programs menu (all users)"},
    {ManagerWindowId::ProgramsMenuCurrentUserItem, "Programsmenucurrentuser1", "Programs menu (current user)"},
    {ManagerWindowId::ProgramFilesItem, "ProgramFilesfolder1", "Program Files folder"},
    {ManagerWindowId::WindowsFolderItem, "Windowsfolder1", "Windows folder"},
    {ManagerWindowId::SystemFolderItem, "WindowsSystemfolder1", "Windows System folder"},
    {ManagerWindowId::StartupFolderItem, "Startupdirectorycurrentuser1", "Startup directory (current user)"},
};

}  // namespace

void TFolderPage::Create(TTabSheet& sheet)
{
    sheet_ = &sheet;
    CreateAccessButtons();
    CreateTreePanel();
    CreateRuleGroup();
    CreateHelpBox(sheet, FolderHelpPanel, ManagerWindowId::FolderHelpPanel, FolderHelpBox,
                  ManagerWindowId::FolderHelpBox, FolderHelp);
    CreateSpecialFolderMenu();
}

void TFolderPage::CreateAccessButtons()
{
    RECT client = {};
    GetClientRect(sheet_->Handle(), &client);
    AccessPanel.Create(sheet_, ManagerWindowId::AccessPanel, 0, 0, client.right, AccessPanelHeight, TBevel::None);
    AccessPanel.SetAnchors(akLeft | akTop | akRight);
    AccessPanel.SetColor(PageColors::AccessPanel);
    const struct {
        TSpeedButton* button;
        int id;
        const char* caption;
        int glyph;
        int group;
    } buttons[] = {
        {&ReadOnlyButton, ManagerWindowId::ReadOnlyButton, "Read Only", Glyph::ReadOnly, 1},
        {&HiddenButton, ManagerWindowId::HiddenButton, "Hidden", Glyph::Hidden, 2},
        {&NoAccessButton, ManagerWindowId::NoAccessButton, "No Access", Glyph::NoAccess, 3},
        {&FullAccessButton, ManagerWindowId::FullAccessButton, "Full access", Glyph::FullAccess, 0},
    };
    int left = 8;
    for (const auto& b : buttons) {
        b.button->Create(&AccessPanel, b.id, b.caption, left, 4, AccessButtonWidth, 38);
        b.button->SetGroupIndex(b.group);
        b.button->SetAllowAllUp(true);
        b.button->SetGlyph(&ButtonGlyphs(), b.glyph);
        b.button->SetFontColor(White);
        b.button->OnClick = [this](TControl* sender) { OnAccessButton(sender); };
        left += AccessButtonWidth;
    }
}

void TFolderPage::CreateTreePanel()
{
    RECT client = {};
    GetClientRect(sheet_->Handle(), &client);
    const int height = client.bottom - AccessPanelHeight - RuleGroupHeight - HelpPanelHeight;
    TreePanel.Create(sheet_, ManagerWindowId::TreePanel, 0, AccessPanelHeight, client.right, height, TBevel::None);
    TreePanel.SetAnchors(akLeft | akTop | akRight | akBottom);
    TreePanel.SetColor(PageColors::SkyBlue);
    DriveLabel.Create(&TreePanel, ManagerWindowId::DriveLabel, "Disk drive:", 8, 8, 60, 13, TAlignment::Left, false);
    DriveBox.Create(&TreePanel, ManagerWindowId::DriveBox, 72, 4, 185);
    DriveBox.OnChange = [this](TControl*) { OnDriveChosen(); };
    SpecialFolderButton.Create(&TreePanel, ManagerWindowId::SpecialFolderButton, "Special folder", 264, 4, 97, 20);
    SpecialFolderButton.OnClick = [this](TControl* sender) { OnSpecialFolderButton(sender); };
    FolderTree.Create(&TreePanel, ManagerWindowId::FolderTree, 8, 30, client.right - 16, height - 36);
    FolderTree.SetAnchors(akLeft | akTop | akRight | akBottom);
    FolderTree.SetBackground(PageColors::List);
    FolderTree.SetIndent(19);
    FolderTree.OnExpanding = [this](TControl* sender, HTREEITEM node, bool& allow) {
        OnFolderExpanding(sender, node, allow);
    };
    FolderTree.OnChange = [this](TControl* sender, HTREEITEM node) { OnFolderSelected(sender, node); };
}

void TFolderPage::CreateRuleGroup()
{
    RECT client = {};
    GetClientRect(sheet_->Handle(), &client);
    const int width = client.right;
    RuleGroup.Create(sheet_, ManagerWindowId::RuleGroup, "Profile", 0,
                     client.bottom - HelpPanelHeight - RuleGroupHeight, width, RuleGroupHeight);
    RuleGroup.SetAnchors(akLeft | akRight | akBottom);
    RuleGroup.SetColor(PageColors::Group);
    const int column = width - RuleButtonSize - 6;
    FolderRuleList.Create(&RuleGroup, ManagerWindowId::FolderRuleList, 6, 15, column - 10, RuleGroupHeight - 21);
    FolderRuleList.SetAnchors(akLeft | akTop | akRight | akBottom);
    FolderRuleList.SetColor(PageColors::RuleList);
    FolderRuleList.OnKeyDown = [this](TControl* sender, WORD& key, unsigned shift) {
        OnRuleListKey(sender, key, shift);
    };
    const struct {
        TSpeedButton* button;
        int id;
        const char* hint;
        int glyph;
    } buttons[] = {
        {&AddRuleButton, ManagerWindowId::AddRuleButton, "Add rule", Glyph::AddRule},
        {&DeleteRuleButton, ManagerWindowId::DeleteRuleButton, "Delete rule", Glyph::DeleteRule},
        {&ChangeRuleButton, ManagerWindowId::ChangeRuleButton, "Change rule", Glyph::ChangeRule},
    };
    int top = 13;
    for (const auto& b : buttons) {
        b.button->Create(&RuleGroup, b.id, "", column, top, RuleButtonSize, RuleButtonSize);
        b.button->SetAnchors(akTop | akRight);
        b.button->SetGlyph(&ButtonGlyphs(), b.glyph);
        b.button->SetHint(b.hint);
        top += RuleButtonSize;
    }
    // Bound as the form binds them: the button that reads "Delete rule"
    // runs OnChangeRule and "Change rule" runs OnDeleteRule.
    AddRuleButton.OnClick = [this](TControl* sender) { OnAddRule(sender); };
    DeleteRuleButton.OnClick = [this](TControl* sender) { OnChangeRule(sender); };
    ChangeRuleButton.OnClick = [this](TControl* sender) { OnDeleteRule(sender); };
    EnlargeButton.Create(&RuleGroup, ManagerWindowId::EnlargeButton, "", width - 22, 0, 20, 12);
    EnlargeButton.SetAnchors(akTop | akRight);
    EnlargeButton.SetGlyph(&ButtonGlyphs(), Glyph::EnlargeList);
    EnlargeButton.OnClick = [this](TControl* sender) { OnEnlargeRuleList(sender); };
}

void TFolderPage::CreateSpecialFolderMenu()
{
    for (const SpecialFolderItem& item : SpecialFolderItems)
        SpecialFolderMenu.Add(item.id, item.name, item.caption)->OnClick = [this](TMenuItem* sender) {
            OnSpecialFolderChosen(sender);
        };
}

void TFolderPage::SetImages(const TImageList* images)
{
    FolderTree.SetImages(images);
    FolderTree.SetStateImages(images);
}
