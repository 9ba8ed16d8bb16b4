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
    {Form1Id::Vantrelfolder1, "Vantrelfolder1", "Vantrel folder"},
    {Form1Id::N5, "N5", "-"},
    {Form1Id::Desktopallusers1, "Desktopallusers1", "Desktop (all users)"},
    {Form1Id::Desktopcurrentuser1, "Desktopcurrentuser1", "Desktop (current user)"},
    {Form1Id::Programsmenuallusers1, "Programsmenuallusers1", "Programs menu (all users)"},
    {Form1Id::Programsmenucurrentuser1, "Programsmenucurrentuser1", "Programs menu (current user)"},
    {Form1Id::ProgramFilesfolder1, "ProgramFilesfolder1", "Program Files folder"},
    {Form1Id::Windowsfolder1, "Windowsfolder1", "Windows folder"},
    {Form1Id::WindowsSystemfolder1, "WindowsSystemfolder1", "Windows System folder"},
    {Form1Id::Startupdirectorycurrentuser1, "Startupdirectorycurrentuser1", "Startup directory (current user)"},
};

}  // namespace

void TFolderPage::Create(TTabSheet& sheet)
{
    sheet_ = &sheet;
    CreateAccessButtons();
    CreateTreePanel();
    CreateRuleGroup();
    CreateHelpBox(sheet, Panel9, Form1Id::Panel9, StaticText1, Form1Id::StaticText1, FolderHelp);
    CreateSpecialFolderMenu();
}

void TFolderPage::CreateAccessButtons()
{
    RECT client = {};
    GetClientRect(sheet_->Handle(), &client);
    Panel1.Create(sheet_, Form1Id::Panel1, 0, 0, client.right, AccessPanelHeight, TBevel::None);
    Panel1.SetAnchors(akLeft | akTop | akRight);
    Panel1.SetColor(PageColors::AccessPanel);
    const struct {
        TSpeedButton* button;
        int id;
        const char* caption;
        int glyph;
        int group;
    } buttons[] = {
        {&SpeedButton1, Form1Id::SpeedButton1, "Read Only", Glyph::ReadOnly, 1},
        {&SpeedButton2, Form1Id::SpeedButton2, "Hidden", Glyph::Hidden, 2},
        {&SpeedButton3, Form1Id::SpeedButton3, "No Access", Glyph::NoAccess, 3},
        {&SpeedButton4, Form1Id::SpeedButton4, "Full access", Glyph::FullAccess, 0},
    };
    int left = 8;
    for (const auto& b : buttons) {
        b.button->Create(&Panel1, b.id, b.caption, left, 4, AccessButtonWidth, 38);
        b.button->SetGroupIndex(b.group);
        b.button->SetAllowAllUp(true);
        b.button->SetGlyph(&ButtonGlyphs(), b.glyph);
        b.button->SetFontColor(White);
        b.button->OnClick = [this](TControl* sender) { SpeedButton1Click(sender); };
        left += AccessButtonWidth;
    }
}

void TFolderPage::CreateTreePanel()
{
    RECT client = {};
    GetClientRect(sheet_->Handle(), &client);
    const int height = client.bottom - AccessPanelHeight - RuleGroupHeight - HelpPanelHeight;
    Panel2.Create(sheet_, Form1Id::Panel2, 0, AccessPanelHeight, client.right, height, TBevel::None);
    Panel2.SetAnchors(akLeft | akTop | akRight | akBottom);
    Panel2.SetColor(PageColors::SkyBlue);
    DriveLabel.Create(&Panel2, Form1Id::DriveLabel, "Disk drive:", 8, 8, 60, 13, TAlignment::Left, false);
    ComboBox1.Create(&Panel2, Form1Id::ComboBox1, 72, 4, 185);
    ComboBox1.OnChange = [this](TControl* sender) { ComboBox1Change(sender); };
    SpeedButton13.Create(&Panel2, Form1Id::SpeedButton13, "Special folder", 264, 4, 97, 20);
    SpeedButton13.OnClick = [this](TControl* sender) { Button5Click(sender); };
    TreeView1.Create(&Panel2, Form1Id::TreeView1, 8, 30, client.right - 16, height - 36);
    TreeView1.SetAnchors(akLeft | akTop | akRight | akBottom);
    TreeView1.SetBackground(PageColors::List);
    TreeView1.SetIndent(19);
    TreeView1.OnExpanding = [this](TControl* sender, HTREEITEM node, bool& allow) {
        TreeView1Expanding(sender, node, allow);
    };
    TreeView1.OnChange = [this](TControl* sender, HTREEITEM node) { TreeView1Change(sender, node); };
}

void TFolderPage::CreateRuleGroup()
{
    RECT client = {};
    GetClientRect(sheet_->Handle(), &client);
    const int width = client.right;
    GroupBox1.Create(sheet_, Form1Id::GroupBox1, "Profile", 0, client.bottom - HelpPanelHeight - RuleGroupHeight,
                     width, RuleGroupHeight);
    GroupBox1.SetAnchors(akLeft | akRight | akBottom);
    GroupBox1.SetColor(PageColors::Group);
    const int column = width - RuleButtonSize - 6;
    ListBox1.Create(&GroupBox1, Form1Id::ListBox1, 6, 15, column - 10, RuleGroupHeight - 21);
    ListBox1.SetAnchors(akLeft | akTop | akRight | akBottom);
    ListBox1.SetColor(PageColors::RuleList);
    ListBox1.OnKeyDown = [this](TControl* sender, WORD& key, unsigned shift) { ListBox1KeyDown(sender, key, shift); };
    const struct {
        TSpeedButton* button;
        int id;
        const char* hint;
        int glyph;
    } buttons[] = {
        {&SpeedButton9, Form1Id::SpeedButton9, "Add rule", Glyph::AddRule},
        {&SpeedButton10, Form1Id::SpeedButton10, "Delete rule", Glyph::DeleteRule},
        {&SpeedButton11, Form1Id::SpeedButton11, "Change rule", Glyph::ChangeRule},
    };
    int top = 13;
    for (const auto& b : buttons) {
        b.button->Create(&GroupBox1, b.id, "", column, top, RuleButtonSize, RuleButtonSize);
        b.button->SetAnchors(akTop | akRight);
        b.button->SetGlyph(&ButtonGlyphs(), b.glyph);
        b.button->SetHint(b.hint);
        top += RuleButtonSize;
    }
    // Bound as the form binds them: the button that reads "Delete rule"
    // runs SpeedButton11Click and "Change rule" runs SpeedButton10Click.
    SpeedButton9.OnClick = [this](TControl* sender) { SpeedButton9Click(sender); };
    SpeedButton10.OnClick = [this](TControl* sender) { SpeedButton11Click(sender); };
    SpeedButton11.OnClick = [this](TControl* sender) { SpeedButton10Click(sender); };
    SpeedButton12.Create(&GroupBox1, Form1Id::SpeedButton12, "", width - 22, 0, 20, 12);
    SpeedButton12.SetAnchors(akTop | akRight);
    SpeedButton12.SetGlyph(&ButtonGlyphs(), Glyph::EnlargeList);
    SpeedButton12.OnClick = [this](TControl* sender) { SpeedButton12Click(sender); };
}

void TFolderPage::CreateSpecialFolderMenu()
{
    for (const SpecialFolderItem& item : SpecialFolderItems)
        PopupMenu1.Add(item.id, item.name, item.caption)->OnClick = [this](TMenuItem* sender) {
            Startupdirectorycurrentuser1Click(sender);
        };
}

void TFolderPage::SetImages(const TImageList* images)
{
    TreeView1.SetImages(images);
    TreeView1.SetStateImages(images);
}
