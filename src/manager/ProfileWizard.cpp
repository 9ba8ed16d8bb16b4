#include "ProfileWizard.h"
#include "ManagerIds.h"

#include <algorithm>

std::function<void()> TemplateBuilder;
TWizard* Wizard = nullptr;

namespace {

const char* const PageFont = "Tahoma";
constexpr int PageFontHeight = -11;  // 8 point
constexpr int ClientWidth = 474;
constexpr int ClientHeight = 326;
constexpr int HeaderHeight = 41;
constexpr int ButtonTop = 300;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
// Where the pages' rows start and how far they may reach, in panel pixels.
constexpr int RowLeft = 12;
constexpr int RowTop = 10;
constexpr int RowGap = 5;
constexpr int BoxGap = 2;
constexpr int NoteIndent = 18;
constexpr int BoxMinHeight = 17;

const char* const PageTitles[WizardPageCount] = {
    "Profile Creation Wizard", "Most important folders", "Protect file types", "System restrictions",
    "Profile template is ready"};

enum class RowKind { Text, Heading, Box, Note };

struct PageRow {
    int page;
    RowKind kind;
    int box;  // the n of CheckBox<n>, for a box
    const char* text;
};

const PageRow PageRows[] = {
    {0, RowKind::Text, 0,
     "This Wizard will helps you to create a template of protection profile, which will be used later by Vantrel "
     "driver. To continue, click Next button, to close this wizard, click Cancel button."},
    {1, RowKind::Box, 1, "Protect main Windows folder (read-only)."},
    {1, RowKind::Note, 0, "User cannot delete most of system files."},
    {1, RowKind::Box, 2, "Protect Program Files folder."},
    {1, RowKind::Note, 0,
     "User cannot delete or modify files and programs in your main Program Files folder. Pay attention, many "
     "programs installs itself in other folders. You need protect them separately."},
    {1, RowKind::Box, 3, "Protect Desktop from writing."},
    {1, RowKind::Note, 0, "User cannot create or delete shortcuts from Desktop."},
    {1, RowKind::Box, 4, "Protect Start menu from writing."},
    {1, RowKind::Note, 0, "User cannot create or delete shortcuts in Start menu (Programs or All programs submenu)."},
    {1, RowKind::Box, 5, "Protect Quick Launch panel from changing."},
    {1, RowKind::Note, 0, "User cannot create or delete shortcuts in Quick Launch panel."},
    {2, RowKind::Text, 0, "Protect following documents from deleting, modifying and creation."},
    {2, RowKind::Box, 7, "Programs and components (.exe,.com,.bat,.pif,.scr,.dll,.ocx,.ax)"},
    {2, RowKind::Box, 6, "Drivers ( .sys, .drv, .vxd, .386)"},
    {2, RowKind::Box, 8, "Documents ( .txt, .doc, .pdf, .hlp, .chm, .rtf)"},
    {2, RowKind::Box, 9, "Graphics (.bmp, .jpg, .gif, .png, .tif, .jpeg)"},
    {2, RowKind::Box, 10, "Internet pages ( .htm, .html)"},
    {2, RowKind::Box, 11, "OS loader files (95/98/xp)."},
    {3, RowKind::Heading, 0, "Registry"},
    {3, RowKind::Box, 13, "Do not allow edit System Registry through Registry Editor."},
    {3, RowKind::Box, 12, "Disable access to Control panel and it components"},
    {3, RowKind::Box, 14, "Disable DOS mode."},
    {4, RowKind::Text, 0,
     "Thank you, profile template is created, click Finish, to exit from the Wizard. In profile manager, you can "
     "check and modify any settings, prepared by this Wizard. Save profile before enabling protection."},
};

// The height text needs in font when it wraps at width, as DrawText measures it.
int WrappedHeight(HWND window, HFONT font, const char* text, int width)
{
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    RECT r = {0, 0, width, 0};
    DrawTextA(dc, text, -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return r.bottom;
}

}  // namespace

bool TWizard::Create()
{
    if (!CreateForm("TWizard", "Quick start Wizard", ClientWidth, ClientHeight, TBorderStyle::Dialog, true))
        return false;
    if (!BuildPages()) return false;
    BuildHeader();
    Numerals.Create(this, WizardId::Numerals, 8, 56, 72, 150);
    BuildButtons();
    Headers(0);
    return true;
}

// Laid over the page control's tabs, so pages change only through the buttons.
void TWizard::BuildHeader()
{
    Header.Create(this, WizardId::Header, 0, 0, ClientWidth, HeaderHeight, TBevel::None);
    Header.SetColor(RGB(255, 255, 255));
    SetWindowPos(Header.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HeaderTitle.Create(&Header, WizardId::HeaderTitle, "", 32, 8, 400, 16, TAlignment::Left, false);
    HeaderTitle.SetFont(PageFont, PageFontHeight, FW_BOLD);
}

bool TWizard::BuildPages()
{
    if (!PageControl1.Create(this, WizardId::PageControl1, 80, 16, 396, 285)) return false;
    // Hidden tabs must not take the focus either.
    SetWindowLongA(PageControl1.Handle(), GWL_STYLE, GetWindowLongA(PageControl1.Handle(), GWL_STYLE) & ~WS_TABSTOP);
    for (int page = 0; page < WizardPageCount; ++page) {
        TTabSheet& sheet = Pages[static_cast<size_t>(page)];
        if (!PageControl1.AddSheet(sheet, WizardId::Page0 + page, PageTitles[page])) return false;
        RECT r = {};
        GetClientRect(sheet.Handle(), &r);
        PagePanels[static_cast<size_t>(page)].Create(&sheet, WizardId::PagePanel0 + page, 0, 0, r.right, r.bottom);
        FillPage(page);
    }
    PageControl1.SetActivePageIndex(0);
    return true;
}

// The page's rows from top to bottom, each as high as its wrapped text.
void TWizard::FillPage(int page)
{
    TPanel& panel = PagePanels[static_cast<size_t>(page)];
    RECT client = {};
    GetClientRect(panel.Handle(), &client);
    const int width = client.right - 2 * RowLeft;
    int top = RowTop;
    for (const PageRow& row : PageRows) {
        if (row.page != page) continue;
        const int weight = row.kind == RowKind::Heading ? FW_BOLD : FW_NORMAL;
        const int indent = row.kind == RowKind::Note ? NoteIndent : 0;
        HFONT font = SharedFont(PageFont, PageFontHeight, weight, false);
        if (row.kind == RowKind::Box) {
            // The box itself and its gap take about 18 pixels of the width.
            int height = std::max(BoxMinHeight, WrappedHeight(panel.Handle(), font, row.text, width - 18));
            TCheckBox& box = CheckBox(row.box);
            box.Create(&panel, WizardId::CheckBox1 + row.box - 1, row.text, RowLeft, top, width, height, true);
            box.SetFont(PageFont, PageFontHeight);
            top += height + BoxGap;
            continue;
        }
        int height = WrappedHeight(panel.Handle(), font, row.text, width - indent);
        auto label = std::make_unique<TLabel>();
        const int labelId = WizardId::FirstPageLabel + static_cast<int>(labels_.size());
        label->Create(&panel, labelId, row.text, RowLeft + indent, top, width - indent, height);
        label->SetFont(PageFont, PageFontHeight, weight);
        labels_.push_back(std::move(label));
        top += height + RowGap;
    }
}

void TWizard::BuildButtons()
{
    Button1.Create(this, WizardId::Button1, "<&Back", 216, ButtonTop, ButtonWidth, ButtonHeight);
    Button1.SetEnabled(false);
    Button1.OnClick = [this](TControl*) { Button1Click(); };
    Button2.Create(this, WizardId::Button2, "&Next>", 292, ButtonTop, ButtonWidth, ButtonHeight);
    Button2.SetDefault();
    Button2.OnClick = [this](TControl*) { Button2Click(); };
    Button3.Create(this, WizardId::Button3, "&Cancel", 384, ButtonTop, ButtonWidth, ButtonHeight);
    Button3.SetCancel();
    Button3.OnClick = [this](TControl*) { Button3Click(); };
}

void TWizard::Headers(int page)
{
    Numerals.SetText(page == 0 ? std::string() : std::to_string(page));
    if (page >= 0 && page < WizardPageCount) HeaderTitle.SetText(PageTitles[page]);
}

void TWizard::MoveToPage(int page)
{
    PageControl1.SetActivePageIndex(page);
    Headers(page);
}

void TWizard::Button2Click()
{
    const int page = PageIndex();
    if (page == WizardPageCount - 1) {
        if (TemplateBuilder) TemplateBuilder();
        Hide();
        return;
    }
    if (page == WizardPageCount - 2) Button2.SetText("&Finish");
    Button1.SetEnabled(true);
    MoveToPage(page + 1);
}

void TWizard::Button1Click()
{
    const int page = PageIndex();
    if (page <= 0) return;
    Button2.SetText("&Next>");
    // A button disabled under the focus drops it; Enter and Tab go on from Next.
    const bool hadFocus = Button1.Focused();
    Button1.SetEnabled(page != 1);
    if (hadFocus && !Button1.Enabled()) Button2.SetFocus();
    MoveToPage(page - 1);
}

void TWizard::Button3Click()
{
    Hide();
}

WizardBoxes TWizard::Boxes() const
{
    WizardBoxes boxes = {};
    for (size_t i = 0; i < boxes.size(); ++i) boxes[i] = CheckBoxes[i].Checked();
    return boxes;
}
