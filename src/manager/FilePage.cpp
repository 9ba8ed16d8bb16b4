#include "FilePage.h"
#include "AccessKinds.h"
#include "AddFileDialog.h"
#include "FileRules.h"
#include "ManagerIds.h"
#include "UProfiles.h"

namespace {

const char* const FileHelp =
    "On this tab you can to set up access rights for concrete files or file types. Click \"Add a file\" button, "
    "choose the file and mark it as \"Read only\" (user cannot to change or delete file), \"No access\" (user "
    "cannot read/write the file) or \"Full access\".";

constexpr int ButtonPanelWidth = 105;
constexpr int ButtonPanelHeight = 137;

}  // namespace

TFilePage::TFilePage()
    : TListPage({Panel6, Form1Id::Panel6, PageColors::Group, ListBox2, Panel10, Form1Id::Panel10, StaticText2,
                 Form1Id::StaticText2, FileHelp})
{
}

void TFilePage::CreateContents(int width, int height)
{
    CreateList(Form1Id::ListBox2, 4, 4, width - ButtonPanelWidth - 12, height - 8);
    ListBox2.OnKeyDown = [this](TControl* sender, WORD& key, unsigned shift) { ListBox2KeyDown(sender, key, shift); };
    Panel8.Create(&Panel6, Form1Id::Panel8, width - ButtonPanelWidth - 4, 4, ButtonPanelWidth, ButtonPanelHeight,
                  TBevel::None);
    Panel8.SetAnchors(akTop | akRight);
    Panel8.SetColor(PageColors::AccessPanel);
    const struct {
        TSpeedButton* button;
        int id;
        const char* caption;
        int glyph;
        void (TFilePage::*handler)(TControl*);
    } buttons[] = {
        {&Button1, Form1Id::Button1, "Add file", Glyph::AddFile, &TFilePage::Button1Click},
        {&Button3, Form1Id::Button3, "Edit", Glyph::EditFile, &TFilePage::Button3Click},
        {&Button2, Form1Id::Button2, "Remove", Glyph::RemoveFile, &TFilePage::Button2Click},
    };
    int top = 8;
    for (const auto& b : buttons) {
        b.button->Create(&Panel8, b.id, b.caption, 8, top, 89, 38);
        b.button->SetGlyph(&ButtonGlyphs(), b.glyph);
        b.button->SetFontColor(GetSysColor(COLOR_WINDOW));
        auto handler = b.handler;
        b.button->OnClick = [this, handler](TControl* sender) { (this->*handler)(sender); };
        top += 42;
    }
}

void TFilePage::ShowFileRules()
{
    SortFileRules();
    ListBox2.SetLines(FileRuleLines());
}

bool TFilePage::SelectedName(std::string& name) const
{
    const int line = ListBox2.ItemIndex();
    if (line < 0) return false;
    name = FileRuleNameOfLine(ListBox2.Item(line));
    return true;
}

void TFilePage::Button1Click(TControl*)
{
    if (AddFileDialog->QueryNewRules() != mrOk) return;
    ProfileEdited();
    AddFileRules(AddFileDialog->AddedFileRules);
    ShowFileRules();
}

void TFilePage::Button3Click(TControl*)
{
    std::string name;
    if (!SelectedName(name)) return;
    // Each entry of that name in turn, until one is edited.
    for (size_t at = FindFileRule(name); at != std::string::npos; at = FindFileRule(name, at + 1)) {
        if (AddFileDialog->QueryChangedRule(name, EntryCode(Profile.Files[at])) != mrOk) continue;
        ReplaceFileRule(at, AddFileDialog->AddedFileRules);
        ProfileEdited();
        break;
    }
    ShowFileRules();
}

void TFilePage::Button2Click(TControl*)
{
    std::string name;
    if (!SelectedName(name)) return;
    ProfileEdited();
    RemoveFileRule(name);
    ShowFileRules();
}

void TFilePage::ListBox2KeyDown(TControl*, WORD& key, unsigned)
{
    HandleListKey(ListBox2, key,
                  {[this] { Button2Click(&Button2); }, [this] { Button1Click(&Button1); },
                   [this] { Button3Click(&Button3); }});
}
