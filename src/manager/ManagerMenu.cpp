// TManagerWindow's main menu: its items, and the two handlers that draw every item.
#include "AboutBox.h"
#include "ManagerIds.h"
#include "ManagerWindow.h"
#include "SettingsDialog.h"

#include <vector>

namespace {

struct MenuRow {
    int menu;  // -1: an item of the menu bar; otherwise the index of its menu
    int id;
    const char* name;
    const char* caption;
    unsigned shortCut;
    int image;
    void (TManagerWindow::*click)();
};

const MenuRow MenuRows[] = {
    {-1, IDM_FileMenu, "FileMenu", "&File", 0, -1, nullptr},
    {0, IDM_NewProfile, "NewProfile", "&New profile", scCtrl | 'N', 0, &TManagerWindow::OnNewProfile},
    {0, IDM_OpenProfile, "OpenProfile", "&Open profile", scCtrl | 'O', 1, &TManagerWindow::OnOpenProfile},
    {0, IDM_SaveProfile, "SaveProfile", "&Save profile", scCtrl | 'S', 2, &TManagerWindow::OnSaveProfile},
    {0, IDM_SaveProfileAsDefault, "SaveProfileAsDefault", "Save profile as &default", 0, 3,
     &TManagerWindow::OnSaveProfileAsDefault},
    {0, IDM_ProfileWizard, "ProfileWizard", "Profile Creation Wizard", 0, -1, &TManagerWindow::ShowWizard},
    {0, IDM_FileSeparator1, "FileSeparator1", "-", 0, -1, nullptr},
    {0, IDM_Settings, "Settings", "S&ettings", 0, 4, nullptr},
    {0, IDM_FileSeparator2, "FileSeparator2", "-", 0, -1, nullptr},
    {0, IDM_Exit, "Exit", "E&xit", scAlt | VK_F4, -1, &TManagerWindow::OnExit},
    {-1, IDM_ProtectionMenu, "ProtectionMenu", "&Protection", 0, -1, nullptr},
    {1, IDM_StartProtection, "StartProtection", "Start protection", VK_F6, 5, &TManagerWindow::OnStartProtection},
    {1, IDM_StopProtection, "StopProtection", "Stop protection", scCtrl | VK_F6, 6, &TManagerWindow::OnStopProtection},
    {-1, IDM_ComponentsMenu, "ComponentsMenu", "&Components", 0, -1, nullptr},
    {2, IDM_FolderProtection, "FolderProtection", "&Folder protection", 0, -1, nullptr},
    {2, IDM_FileProtection, "FileProtection", "&File protection", 0, -1, nullptr},
    {2, IDM_Restrictions, "Restrictions", "&Restrictions", 0, -1, nullptr},
    {2, IDM_DisabledPrograms, "DisabledPrograms", "Disabled programs", 0, -1, nullptr},
    {2, IDM_ProfileOptions, "ProfileOptions", "&Profile options", 0, -1, nullptr},
    {-1, IDM_HelpMenu, "HelpMenu", "&Help", 0, -1, nullptr},
    {3, IDM_Help, "Help", "&Help", VK_F1, 7, &TManagerWindow::OnHelp},
    {3, IDM_HelpSeparator1, "HelpSeparator1", "-", 0, -1, nullptr},
    {3, IDM_HomePage, "HomePage", "Visit Vantrel home page...", 0, -1, nullptr},
    {3, IDM_ContactAuthors, "ContactAuthors", "Contact with authors...", 0, -1, nullptr},
    {3, IDM_HelpSeparator2, "HelpSeparator2", "-", 0, -1, nullptr},
    {3, IDM_About, "About", "About", 0, -1, &TManagerWindow::OnAbout},
};

const COLORREF SelectedFill = RGB(182, 189, 210);
const COLORREF LineColor = RGB(96, 96, 96);
constexpr size_t MaxCaptionRest = 500;

int TextWidth(HDC dc, const std::string& text)
{
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// Every "&" of text as a letter of its own, for DrawText.
std::string PlainAmpersands(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        if (c == '&') escaped += '&';
        escaped += c;
    }
    return escaped;
}

// The caption split at its first "&": the text before it, the one character
// after it underlined, then at most 500 more; without an "&" the first
// character is the underlined one. It is drawn as one run of text, as the
// system draws a menu's text, so the letters keep the font's own spacing
// around the underlined one.
void DrawCaption(HDC dc, int x, int y, const std::string& caption)
{
    size_t amp = caption.find('&');
    std::string before = amp == std::string::npos ? std::string() : caption.substr(0, amp);
    std::string after = amp == std::string::npos ? caption : caption.substr(amp + 1, 1 + MaxCaptionRest);
    std::string text = before + "&" + PlainAmpersands(after);
    RECT area = {x, y, x, y};
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP);
}

// Remembers the canvas's brush and pen and puts them back.
class SavedCanvas {
public:
    explicit SavedCanvas(HDC dc)
        : dc_(dc), brush_(GetCurrentObject(dc, OBJ_BRUSH)), pen_(GetCurrentObject(dc, OBJ_PEN))
    {
    }
    ~SavedCanvas()
    {
        SelectObject(dc_, brush_);
        SelectObject(dc_, pen_);
        for (HGDIOBJ made : made_) DeleteObject(made);
    }
    void Use(HGDIOBJ object)
    {
        SelectObject(dc_, object);
        made_.push_back(object);
    }

private:
    HDC dc_;
    HGDIOBJ brush_;
    HGDIOBJ pen_;
    std::vector<HGDIOBJ> made_;
};

// The selection: filled and outlined, the text in black.
void DrawSelection(HDC dc, SavedCanvas& canvas, const RECT& rect)
{
    canvas.Use(CreateSolidBrush(SelectedFill));
    canvas.Use(CreatePen(PS_SOLID, 1, LineColor));
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    SetTextColor(dc, RGB(0, 0, 0));
}

}  // namespace

void TManagerWindow::BuildMenu()
{
    MenuBar.Create(&ImageMenu);
    std::vector<TMenuItem*> menus;
    for (const MenuRow& row : MenuRows) {
        TMenuItem* parent = row.menu < 0 ? nullptr : menus.at(static_cast<size_t>(row.menu));
        TMenuItem* item = MenuBar.Add(parent, row.id, row.name, row.caption, row.shortCut, row.image);
        if (!parent) {
            menus.push_back(item);
            item->OnAdvancedDrawItem = [this](TMenuItem* s, HDC dc, const RECT& r, UINT state) {
                DrawMenuBarItem(s, dc, r, state);
            };
            continue;
        }
        item->OnDrawItem = [this](TMenuItem* s, HDC dc, const RECT& r, bool selected) {
            DrawMenuItem(s, dc, r, selected);
        };
        if (row.click) item->OnClick = [this, click = row.click](TMenuItem*) { (this->*click)(); };
        if (row.menu == 2) item->OnClick = [this](TMenuItem* sender) { OnShowTab(sender); };
    }
    MenuBar.Find(IDM_Settings)->OnClick = [this](TMenuItem*) { ShowSettings(StartupPage); };
    MenuBar.Find(IDM_HomePage)->OnClick = [this](TMenuItem*) { OpenHomePage(Handle()); };
    MenuBar.Find(IDM_ContactAuthors)->OnClick = [this](TMenuItem*) { OpenSupportMail(Handle()); };
    SetMenu(&MenuBar);
}

void TManagerWindow::DrawMenuBarItem(TMenuItem* sender, HDC dc, const RECT& rect, UINT state)
{
    if (state & (ODS_SELECTED | ODS_HOTLIGHT)) {
        SavedCanvas canvas(dc);
        DrawSelection(dc, canvas, rect);
        if (sender->ImageIndex >= 0) ImageMenu.Draw(dc, rect.left + 2, rect.top + 2, sender->ImageIndex);
        DrawCaption(dc, rect.left + 5, rect.top + 1, sender->Caption);
        return;
    }
    FillRect(dc, &rect, GetSysColorBrush(COLOR_MENU));
    SetTextColor(dc, GetSysColor(COLOR_MENUTEXT));
    DrawCaption(dc, rect.left + 5, rect.top + 1, sender->Caption);
}

void TManagerWindow::DrawMenuItem(TMenuItem* sender, HDC dc, const RECT& rect, bool selected)
{
    SavedCanvas canvas(dc);
    if (selected) {
        DrawSelection(dc, canvas, rect);
    } else {
        FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
        RECT strip = {rect.left, rect.top, rect.left + 20, rect.bottom};
        FillRect(dc, &strip, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        canvas.Use(CreatePen(PS_SOLID, 1, LineColor));
        MoveToEx(dc, rect.left + 20, rect.top, nullptr);
        LineTo(dc, rect.left + 20, rect.bottom);
        SetTextColor(dc, GetSysColor(COLOR_MENUTEXT));
    }
    if (sender->ImageIndex >= 0) ImageMenu.Draw(dc, rect.left + 2, rect.top + 2, sender->ImageIndex);
    DrawCaption(dc, rect.left + 25, rect.top + 4, sender->Caption);
    std::string shortCut = sender->ShortCutText();
    TextOutA(dc, rect.right - 10 - TextWidth(dc, shortCut), rect.top + 3, shortCut.c_str(),
             static_cast<int>(shortCut.size()));
    if (!selected && sender->IsLine()) {
        MoveToEx(dc, rect.left, rect.top + 5, nullptr);
        LineTo(dc, rect.right, rect.top + 5);
    }
}
