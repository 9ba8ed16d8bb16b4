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
    : TListPage({FilePanel, ManagerWindowId::FilePanel, PageColors::Group, FileRuleList, FileHelpPanel,
                 ManagerWindowId::FileHelpPanel, FileHelpBox, ManagerWindowId::FileHelpBox, FileHelp})
{
}

void TFilePage::CreateContents(int width, int height)
{
    CreateList(ManagerWindowId::FileRuleList, 4, 4, width - ButtonPanelWidth - 12, height - 8);
    FileRuleList.OnKeyDown = [this](TControl* sender, WORD& key, unsigned shift) { OnFileListKey(sender, key, shift); };
    FileButtons.Create(&FilePanel, ManagerWindowId::FileButtons, width - ButtonPanelWidth - 4, 4, ButtonPanelWidth,
                       ButtonPanelHeight, TBevel::None);
    FileButtons.SetAnchors(akTop | akRight);
    FileButtons.SetColor(PageColors::AccessPanel);
    const struct {
        TSpeedButton* button;
        int id;
        const char* caption;
        int glyph;
        void (TFilePage::*handler)(TControl*);
    } buttons[] = {
        {&AddFileButton, ManagerWindowId::AddFileButton, "Add file", Glyph::AddFile, &TFilePage::OnAddFile},
        {&EditFileButton, ManagerWindowId::EditFileButton, "Edit", Glyph::EditFile, &TFilePage::OnEditFile},
        {&RemoveFileButton, ManagerWindowId::RemoveFileButton, "Remove", Glyph::RemoveFile, &TFilePage::OnRemoveFile},
    };
    int top = 8;
    for (const auto& b : buttons) {
        b.button->Create(&FileButtons, b.id, b.caption, 8, top, 89, 38);
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
    FileRuleList.SetLines(FileRuleLines());
}

bool TFilePage::SelectedName(std::string& name) const
{
    const int line = FileRuleList.ItemIndex();
    if (line < 0) return false;
    name = FileRuleNameOfLine(FileRuleList.Item(line));
    return true;
}

void TFilePage::OnAddFile(TControl*)
{
    if (AddFileDialog->QueryNewRules() != mrOk) return;
    ProfileEdited();
    AddFileRules(AddFileDialog->AddedFileRules);
    ShowFileRules();
}

void TFilePage::OnEditFile(TControl*)
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

void TFilePage::OnRemoveFile(TControl*)
{
    std::string name;
    if (!SelectedName(name)) return;
    ProfileEdited();
    RemoveFileRule(name);
    ShowFileRules();
}

void TFilePage::OnFileListKey(TControl*, WORD& key, unsigned)
{
    HandleListKey(FileRuleList, key,
                  {[this] { OnRemoveFile(&RemoveFileButton); }, [this] { OnAddFile(&AddFileButton); },
                   [this] { OnEditFile(&EditFileButton); }});
}
