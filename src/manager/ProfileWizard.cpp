#include "ProfileWizard.h"
#include "ManagerIds.h"

#include <algorithm>

std::function<void()> TemplateBuilder;
TProfileWizard* ProfileWizard = nullptr;

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
    int box;  // for a box, its number n, 1 to 14
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

bool TProfileWizard::Create()
{
    if (!CreateForm(ProfileWizardClass, "Quick start Wizard", ClientWidth, ClientHeight, TBorderStyle::Dialog, true))
        return false;
    if (!BuildPages()) return false;
    BuildHeader();
    Numerals.Create(this, ProfileWizardId::Numerals, 8, 56, 72, 150);
    BuildButtons();
    Headers(0);
    return true;
}

// Laid over the page control's tabs, so pages change only through the buttons.
void TProfileWizard::BuildHeader()
{
    Header.Create(this, ProfileWizardId::Header, 0, 0, ClientWidth, HeaderHeight, TBevel::None);
    Header.SetColor(RGB(255, 255, 255));
    SetWindowPos(Header.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HeaderTitle.Create(&Header, ProfileWizardId::HeaderTitle, "", 32, 8, 400, 16, TAlignment::Left, false);
    HeaderTitle.SetFont(PageFont, PageFontHeight, FW_BOLD);
}

bool TProfileWizard::BuildPages()
{
    if (!Pages.Create(this, ProfileWizardId::Pages, 80, 16, 396, 285)) return false;
    // Hidden tabs must not take the focus either.
    SetWindowLongA(Pages.Handle(), GWL_STYLE, GetWindowLongA(Pages.Handle(), GWL_STYLE) & ~WS_TABSTOP);
    for (int page = 0; page < WizardPageCount; ++page) {
        TTabSheet& sheet = Sheets[static_cast<size_t>(page)];
        if (!Pages.AddSheet(sheet, ProfileWizardId::Page0 + page, PageTitles[page])) return false;
        RECT r = {};
        GetClientRect(sheet.Handle(), &r);
        PagePanels[static_cast<size_t>(page)].Create(&sheet, ProfileWizardId::PagePanel0 + page, 0, 0, r.right,
                                                     r.bottom);
        FillPage(page);
    }
    Pages.SetActivePageIndex(0);
    return true;
}

// The page's rows from top to bottom, each as high as its wrapped text.
void TProfileWizard::FillPage(int page)
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
            TCheckBox& box = Box(row.box);
            box.Create(&panel, ProfileWizardId::FirstBox + row.box - 1, row.text, RowLeft, top, width, height, true);
            box.SetFont(PageFont, PageFontHeight);
            top += height + BoxGap;
            continue;
        }
        int height = WrappedHeight(panel.Handle(), font, row.text, width - indent);
        auto label = std::make_unique<TLabel>();
        const int labelId = ProfileWizardId::FirstPageLabel + static_cast<int>(labels_.size());
        label->Create(&panel, labelId, row.text, RowLeft + indent, top, width - indent, height);
        label->SetFont(PageFont, PageFontHeight, weight);
        labels_.push_back(std::move(label));
        top += height + RowGap;
    }
}

void TProfileWizard::BuildButtons()
{
    BackButton.Create(this, ProfileWizardId::BackButton, "<&Back", 216, ButtonTop, ButtonWidth, ButtonHeight);
    BackButton.SetEnabled(false);
    BackButton.OnClick = [this](TControl*) { OnBack(); };
    NextButton.Create(this, ProfileWizardId::NextButton, "&Next>", 292, ButtonTop, ButtonWidth, ButtonHeight);
    NextButton.SetDefault();
    NextButton.OnClick = [this](TControl*) { OnNext(); };
    CancelButton.Create(this, ProfileWizardId::CancelButton, "&Cancel", 384, ButtonTop, ButtonWidth, ButtonHeight);
    CancelButton.SetCancel();
    CancelButton.OnClick = [this](TControl*) { OnCancel(); };
}

void TProfileWizard::Headers(int page)
{
    Numerals.SetText(page == 0 ? std::string() : std::to_string(page));
    if (page >= 0 && page < WizardPageCount) HeaderTitle.SetText(PageTitles[page]);
}

void TProfileWizard::MoveToPage(int page)
{
    Pages.SetActivePageIndex(page);
    Headers(page);
}

void TProfileWizard::OnNext()
{
    const int page = PageIndex();
    if (page == WizardPageCount - 1) {
        if (TemplateBuilder) TemplateBuilder();
        Hide();
        return;
    }
    if (page == WizardPageCount - 2) NextButton.SetText("&Finish");
    BackButton.SetEnabled(true);
    MoveToPage(page + 1);
}

void TProfileWizard::OnBack()
{
    const int page = PageIndex();
    if (page <= 0) return;
    NextButton.SetText("&Next>");
    // A button disabled under the focus drops it; Enter and Tab go on from Next.
    const bool hadFocus = BackButton.Focused();
    BackButton.SetEnabled(page != 1);
    if (hadFocus && !BackButton.Enabled()) NextButton.SetFocus();
    MoveToPage(page - 1);
}

void TProfileWizard::OnCancel()
{
    Hide();
}

WizardBoxes TProfileWizard::Boxes() const
{
    WizardBoxes boxes = {};
    for (size_t i = 0; i < boxes.size(); ++i) boxes[i] = CheckBoxes[i].Checked();
    return boxes;
}
